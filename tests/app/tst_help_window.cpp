// The help window: its fixed text, look, owner and placement, and what closing it does.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

#include "app_test_support.h"
#include "calculator/help_window.h"
#include "calculator/main_window.h"

using mirelto::Rect;
using mirelto::TFormHelp;
using mirelto::TFormMain;
Q_DECLARE_METATYPE(mirelto::Rect)

namespace {

const QStringList kHelpLines = {
    QStringLiteral("３次のLPFおよびHPFの定数と伝達関数の計算を行います。"),
    QString(),
    QStringLiteral("【回路定数の計算】"),
    QStringLiteral("「LPF」、「HPF」ラジオボタンで回路形式を選択します。"),
    QStringLiteral(
        "数値の入力には補助単位 n,u,m,k,M,G,Tを付けて入力できます( 1.2e-6 の様な指数表現も可)。"),
    QStringLiteral("最初に目的の伝達関数のパラメータ fa,fo,Qを入力します。"),
    QStringLiteral(
        "LPFの場合はR1,R2,R3に指定値を入力します(R2,R3がブランクの場合は前段の値を適用します)。"),
    QStringLiteral(
        "HPFの場合はC1,C2,C3に指定値を入力します(C2,C3がブランクの場合は前段の値を適用します)。"),
    QStringLiteral(
        "「定数計算」ボタンをクリックすると回路定数を計算し、結果の伝達関数を逆算して表示します。"),
    QStringLiteral("「印刷」ボタンで結果をテキストで印刷します。"),
    QStringLiteral("「コピー」ボタンで結果をテキストでクリップボードにコピーします。"),
    QString(),
    QStringLiteral("回路が実現できない場合、または部品間の定数値の差が大きい場合。"),
    QStringLiteral(
        "LPFの場合はR1<R2<=R3で抵抗比を大きくします(R1を小さくするだけでも効果が有ります)。"),
    QStringLiteral(
        "HPFの場合はC1>C2>=C3で容量比を大きくします(C1を大さくするだけでも効果が有ります)。"),
    QString(),
    QStringLiteral("伝達関数の結果の誤差を小さくしたい場合"),
    QStringLiteral(
        "LPFの場合はC1,C2,C3のE系列値を大きな値にするかR1,R2,R3を微調整して再計算します。"),
    QStringLiteral("HPFの場合はR1,R2,R3のE系列値を大きな値にして再計算します。"),
    QStringLiteral("E系列値に「∞」を指定した場合は計算値をそのまま出力します。"),
    QString(),
    QStringLiteral("【伝達関数の計算】"),
    QStringLiteral("R1,R2,R3,C1,C2.C3に値を入力して「伝達関数」ボタンをクリックすると結果のfa,fo,"
                   "Qを表示します。"),
    QString(),
    QStringLiteral("【３次ＬＰＦ単独使用の場合の伝達関数】"),
    QStringLiteral("fa=fo, Q=1.0 でバターワース（振幅最平坦）特性。"),
    QStringLiteral(" このとき ｆｃ=foでゲイン -3.01dB、 ステップ入力のオーバーシュート約8.2% 。"),
    QStringLiteral(" （Q=0.7071 に落とした場合は foでのゲイン -6.02dB,  オーバーシュート約1.4% "
                   "になります）。"),
};

}  // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;
    TFormHelp* help_ = nullptr;

    void ClickHelp() { QTest::mouseClick(form_->Label19, Qt::LeftButton); }

  private slots:
    void init() {
        platform_ = std::make_unique<mirelto::test::FakePlatform>();
        form_ = std::make_unique<TFormMain>();
        help_ = new TFormHelp(form_.get());
        form_->move(200, 100);
        form_->show();
    }
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // Fresh help window; read its text; the 28 lines exactly, in order.
    void textLines() {
        QCOMPARE(mirelto::FormHelp, help_);
        const QStringList lines = help_->Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 28);
        for (int i = 0; i < 28; ++i) {
            QVERIFY2(lines[i] == kHelpLines[i], qPrintable(QStringLiteral("line %1").arg(i + 1)));
        }
    }

    // Fresh help window; look at single characters; full-width where the text has them, a
    // leading ordinary space on lines 27 and 28.
    void characterForms_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("code");
        QTest::newRow("full-width 3 on line 1") << 1 << 0 << 0xFF13;
        QTest::newRow("full-width 3 on line 25") << 25 << 1 << 0xFF13;
        QTest::newRow("full-width L on line 25") << 25 << 3 << 0xFF2C;
        QTest::newRow("full-width bracket on line 26") << 26 << 20 << 0xFF08;
        QTest::newRow("space opens line 27") << 27 << 0 << 0x20;
        QTest::newRow("full-width f on line 27") << 27 << 6 << 0xFF46;
        QTest::newRow("space opens line 28") << 28 << 0 << 0x20;
        QTest::newRow("full-width bracket on line 28") << 28 << 1 << 0xFF08;
        QTest::newRow("ordinary L on line 4") << 4 << 1 << int('L');
    }
    void characterForms() {
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(int, code);
        const QStringList lines = help_->Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(int(lines.at(line - 1).at(column).unicode()), code);
        QVERIFY(!lines.at(line - 1).at(column + 1).isSpace());
    }

    // Fresh help window; read its look; caption, font, client size, scroll bars, wrapping,
    // editable, owner and window kind; hidden.
    void windowLook() {
        QCOMPARE(help_->windowTitle(), QStringLiteral("Help"));
        QCOMPARE(help_->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(help_->font().pixelSize(), 11);
        QCOMPARE(help_->Memo1->font(), help_->font());
        QCOMPARE(help_->size(), QSize(529, 424));
        QCOMPARE(help_->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(help_->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(help_->Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!help_->Memo1->isReadOnly());
        QCOMPARE(help_->parentWidget(), form_.get());
        QCOMPARE(help_->windowType(), Qt::Dialog);
        QVERIFY(help_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(help_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(help_->isHidden());
    }

    // Help window shown; resize it; the text box fills it and long lines wrap at its width.
    void resizeWraps() {
        ClickHelp();
        QCOMPARE(help_->Memo1->geometry(), QRect(0, 0, 529, 424));
        const QTextBlock longLine = help_->Memo1->document()->findBlockByNumber(4);
        const int linesAtFullWidth = longLine.layout()->lineCount();
        help_->resize(300, 200);
        QCOMPARE(help_->Memo1->geometry(), QRect(0, 0, 300, 200));
        QTRY_VERIFY(longLine.layout()->lineCount() > linesAtFullWidth);
    }

    // The main window's outer rectangle, the help window's outer size and the work area; first
    // placement; centred (division toward zero), moved right/down into the work area only.
    void firstPosition_data() {
        QTest::addColumn<Rect>("owner");
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<Rect>("workArea");
        QTest::addColumn<QPoint>("position");
        const Rect screen{0, 0, 1024, 768};
        QTest::newRow("centred, odd differences toward the top-left")
            << Rect{100, 100, 460, 520} << QSize(545, 463) << screen << QPoint(8, 79);
        QTest::newRow("main window at the top-left corner")
            << Rect{0, 0, 360, 420} << QSize(545, 463) << screen << QPoint(0, 0);
        QTest::newRow("task bar at the top") << Rect{300, 40, 660, 460} << QSize(545, 463)
                                             << Rect{0, 40, 1024, 768} << QPoint(208, 40);
        QTest::newRow("bottom-right corner: no clamping at right or bottom")
            << Rect{900, 600, 1260, 1020} << QSize(545, 463) << screen << QPoint(808, 579);
        QTest::newRow("monitor left of the primary")
            << Rect{-1300, 100, -940, 520} << QSize(545, 463) << Rect{-1280, 0, 0, 1024}
            << QPoint(-1280, 79);
    }
    void firstPosition() {
        QFETCH(Rect, owner);
        QFETCH(QSize, outer);
        QFETCH(Rect, workArea);
        QFETCH(QPoint, position);
        QCOMPARE(mirelto::HelpWindowPosition(owner, outer, workArea), position);
    }

    // Main window at 200,100 (352 x 392, no frame); click "Help"; the help window is centred
    // on it. Move it, close it, type into it, click "Help" again; same place, typed text kept.
    void showingsAndClosing() {
        platform_->windowRect = Rect{200, 100, 552, 492};
        ClickHelp();
        QVERIFY(help_->isVisible());
        QCOMPARE(help_->pos(), QPoint(200 + (352 - 529) / 2, 100 + (392 - 424) / 2));
        help_->move(40, 30);
        help_->Memo1->moveCursor(QTextCursor::End);
        QTest::keyClicks(help_->Memo1, QStringLiteral("abc"));
        QVERIFY(help_->close());
        QVERIFY(help_->isHidden());
        QCOMPARE(mirelto::FormHelp, help_);
        ClickHelp();
        QVERIFY(help_->isVisible());
        QCOMPARE(help_->pos(), QPoint(40, 30));
        QVERIFY(help_->Memo1->toPlainText().endsWith(QStringLiteral("になります）。abc")));
    }
};

MIRELTO_QTEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
