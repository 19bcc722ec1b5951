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

using namespace Qt::StringLiterals;

using mirelto::Rect;
using mirelto::TFormHelp;
using mirelto::TFormMain;
Q_DECLARE_METATYPE(mirelto::Rect)

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

    // Fresh help window; read its text; the 28 lines exactly, in order (golden/help_ja.txt,
    // which ends in a line break the window does not have).
    void textLines() {
        QCOMPARE(mirelto::FormHelp, help_);
        const QString text = help_->Memo1->toPlainText();
        QCOMPARE(text.split(QLatin1Char('\n')).size(), 28);
        const QString difference =
            mirelto::test::GoldenDifference(text + QLatin1Char('\n'), u"help_ja.txt"_s);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
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
        QCOMPARE(help_->windowTitle(), u"Help"_s);
        QCOMPARE(help_->font().family(), u"Tahoma"_s);
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
        // clang-format off
        QTest::newRow("centred, odd differences toward the top-left") << Rect{100, 100, 460, 520} << QSize(545, 463) << screen << QPoint(8, 79);
        QTest::newRow("main window at the top-left corner") << Rect{0, 0, 360, 420} << QSize(545, 463) << screen << QPoint(0, 0);
        QTest::newRow("task bar at the top") << Rect{300, 40, 660, 460} << QSize(545, 463) << Rect{0, 40, 1024, 768} << QPoint(208, 40);
        QTest::newRow("bottom-right corner: no clamping at right or bottom") << Rect{900, 600, 1260, 1020} << QSize(545, 463) << screen << QPoint(808, 579);
        QTest::newRow("monitor left of the primary") << Rect{-1300, 100, -940, 520} << QSize(545, 463) << Rect{-1280, 0, 0, 1024} << QPoint(-1280, 79);
        // clang-format on
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
        QTest::keyClicks(help_->Memo1, u"abc"_s);
        QVERIFY(help_->close());
        QVERIFY(help_->isHidden());
        QCOMPARE(mirelto::FormHelp, help_);
        ClickHelp();
        QVERIFY(help_->isVisible());
        QCOMPARE(help_->pos(), QPoint(40, 30));
        QVERIFY(help_->Memo1->toPlainText().endsWith(u"になります）。abc"_s));
    }
};

MIRELTO_QTEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
