// The calculation commands driven through the real window: typed texts, button clicks, the texts
// the boxes then show, the messages shown and whether printing and copying are enabled.
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

#include <mirelto/design/design_state.h>

#include "app_test_support.h"
#include "calculator/help_window.h"
#include "calculator/main_window.h"
#include "desktop/error_display.h"

using namespace Qt::StringLiterals;

using mirelto::TFormMain;

namespace {

using mirelto::test::Texts;
using mirelto::test::TextsOf;

// What runs before the step under test.
enum class Before { Nothing, DefaultCalculation, InfinityCalculation };

// The message box a row expects: none, or one of these captions with its icon.
enum class Box { None, Warning, Error, Fault };

// The result boxes after 定数計算 of the window as it opens.
const QString kDefaultResults =
    u"EditC1=  6.800n|EditC2= 15.000n|EditC3=  1.000n|EditFar=  1.395k|EditFor=  1.631k|EditQr=961.092m"_s;

}  // namespace

Q_DECLARE_METATYPE(Before)
Q_DECLARE_METATYPE(Box)

class TestCommands : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;

    QWidget* Control(const QString& name) const { return mirelto::test::Control(*form_, name); }

    // Clears the box (or selector) and types the text into it.
    void Type(const QString& name, const QString& text) {
        QWidget* control = Control(name);
        QLineEdit* edit = qobject_cast<QLineEdit*>(control);
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            edit = combo->lineEdit();
        }
        QVERIFY(edit);
        edit->clear();
        for (const QChar ch : text) {
            // Key codes exist for ASCII only; "∞" arrives as text, as an input method sends it.
            if (ch.unicode() < 0x80) {
                QTest::keyClick(edit, ch.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
            }
        }
        QCOMPARE(edit->text(), text);
    }

    QString Shown(const QString& name) const { return mirelto::test::ShownText(*form_, name); }

    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    void RunBefore(Before before) {
        if (before == Before::InfinityCalculation) {
            for (const char* name : {"ComboBoxC1", "ComboBoxC2", "ComboBoxC3"}) {
                Type(QString::fromLatin1(name), u"∞"_s);
            }
        }
        if (before != Before::Nothing) {
            Click(form_->ButtonCalc);
            QVERIFY(form_->ButtonPrint->isEnabled());
            platform_->boxes.clear();
        }
    }

    // The boxes show `expected`, at most one message was shown (none when `box` is None) and
    // print/copy are enabled as `output` says.
    void Check(const Texts& expected, const QString& message, Box box, bool output) {
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            QVERIFY2(Shown(it.key()) == it.value(),
                     qPrintable(it.key() + u": \""_s + Shown(it.key()) + u"\" instead of \""_s +
                                it.value() + u"\""_s));
        }
        if (box == Box::None) {
            QCOMPARE(message, QString());
            QCOMPARE(platform_->boxes.size(), 0);
        } else {
            const QString captions[] = {{}, u"警告"_s, u"エラー"_s, mirelto::ApplicationTitle()};
            QCOMPARE(platform_->boxes.size(), 1);
            const mirelto::test::ShownBox& shown = platform_->boxes.front();
            QCOMPARE(shown.text, message);
            QCOMPARE(shown.caption, captions[int(box)]);
            QCOMPARE(shown.icon,
                     box == Box::Warning ? QMessageBox::Warning : QMessageBox::Critical);
            QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QCOMPARE(form_->ButtonPrint->isEnabled(), output);
        QCOMPARE(form_->ButtonCopy->isEnabled(), output);
    }

    // The steps before, the mode, the texts typed ("name=text|..."), then what the boxes show,
    // the message and its box, and whether printing and copying are enabled.
    void AddColumns() {
        QTest::addColumn<Before>("before");
        QTest::addColumn<bool>("hpf");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("message");
        QTest::addColumn<Box>("box");
        QTest::addColumn<bool>("output");
    }

    // Runs the row's steps, then clicks `button` and checks.
    void RunRow(QPushButton* button) {
        QFETCH(Before, before);
        QFETCH(bool, hpf);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(QString, message);
        QFETCH(Box, box);
        QFETCH(bool, output);
        RunBefore(before);
        if (hpf) {
            QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
            QVERIFY(form_->RadioButtonHPF->isChecked());
        }
        const Texts texts = TextsOf(typed);
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            Type(it.key(), it.value());
        }
        Click(button);
        Check(TextsOf(expected), message, box, output);
    }

  private slots:
    void init() {
        mirelto::DesignState.ResultValid = false;
        platform_ = std::make_unique<mirelto::test::FakePlatform>();
        form_ = std::make_unique<TFormMain>();
        new mirelto::TFormHelp(form_.get());
        form_->show();
    }
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // Window as defined (plus the row's steps and typed texts); click "定数計算"; the boxes,
    // message and print/copy state of the row.
    void constantCalculation_data() {
        AddColumns();
        const QString infinity =
            u"EditC1=  7.095n|EditC2= 18.070n|EditC3=  1.031n|EditFar=  1.420k|EditFor=  1.420k|EditQr=  1.000"_s;
        const QString cleared = u"EditC1=|EditC2=|EditC3=|EditFar=|EditFor=|EditQr=|"_s;
        const QString noParts = u"EditR1=|EditR2=|EditR3=|EditFar=|EditFor=|EditQr="_s;
        const QString narrow =
            u"EditFa=10k|EditFo=100|EditQ=10|EditC1=2.2n|EditC2=22n|EditC3=22n|"_s;
        const char* unrealisable =
            "この条件では実現できません(C < 0)\r\n\r\nR1<R2<=R3 で比を大きくすると実現できます";
        const char* nonPositive = "ゼロ以下の部品定数は不正です";
        const char* nonPositiveRequest = "ゼロ以下の伝達関数パラメータは不正です";
        const auto N = Before::Nothing;
        const auto D = Before::DefaultCalculation;
        // clang-format off
        QTest::newRow("default LPF, E6") << N << false << "" << kDefaultResults + u"|EditR2=22k|EditR3=22k"_s << "" << Box::None << true;
        QTest::newRow("C selectors at infinity") << N << false << "ComboBoxC1=∞|ComboBoxC2=∞|ComboBoxC3=∞" << infinity << "" << Box::None << true;
        QTest::newRow("C selectors not integers") << N << false << "ComboBoxC1=abc|ComboBoxC2=abc|ComboBoxC3=abc" << infinity << "" << Box::None << true;
        QTest::newRow("C selectors at 24") << N << false << "ComboBoxC1=24|ComboBoxC2=24|ComboBoxC3=24" << "EditC1=  6.800n|EditC2= 18.000n|EditC3=  1.000n|EditFar=  1.513k|EditFor=  1.430k|EditQr=  1.008" << "" << Box::None << true;
        QTest::newRow("HPF as defined") << N << true << "" << "EditC2=3.3n|EditC3=3.3n|EditR1= 24.000k|EditR2= 10.000k|EditR3=160.000k|EditFar=  1.463k|EditFor=  1.413k|EditQr=974.097m" << "" << Box::None << true;
        QTest::newRow("HPF with C 10n, 4.7n, 2.2n") << N << true << "EditC1=10n|EditC2=4.7n|EditC3=2.2n" << "EditR1=  9.100k|EditR2= 13.000k|EditR3=110.000k|EditFar=  1.384k|EditFor=  1.472k|EditQr=997.323m" << "" << Box::None << true;
        // A result beyond 1e17 in its row shows in exponent form, not as 285 digits.
        QTest::newRow("HPF with C3 1e-300") << N << true << "EditC3=1e-300" << "EditR1= 22.000k|EditR2= 24.000k|EditR3=2.400000000003036E284T|EditFar=  1.404k|EditFor=  1.443k|EditQr=993.761m" << "" << Box::None << true;
        QTest::newRow("blank R3 copies R2's text with its spaces") << N << false << "EditR2= 47k " << "EditR3= 47k |EditC1=  6.800n|EditC2=  6.800n|EditC3=680.000p|EditFar=  1.224k|EditFor=  1.468k|EditQr=  1.101" << "" << Box::None << true;
        QTest::newRow("R2 47k, R3 100k") << N << false << "EditR2=47k|EditR3=100k" << "EditC1=  6.800n|EditC2=  4.700n|EditC3=470.000p|EditFar=  1.286k|EditFor=  1.421k|EditQr=  1.064" << "" << Box::None << true;
        QTest::newRow("unrealisable after a result") << D << false << "EditR2=4.7k|EditR3=" << cleared + u"EditR3=4.7k"_s << unrealisable << Box::Error << false;
        QTest::newRow("empty fa after a result keeps the results") << D << false << "EditFa=" << kDefaultResults << "faに値を入力してください" << Box::Warning << false;
        QTest::newRow("fo not a number") << N << false << "EditFo=abc" << "" << "foに値を入力してください" << Box::Warning << false;
        QTest::newRow("Q empty") << N << false << "EditQ=" << "" << "Qに値を入力してください" << Box::Warning << false;
        QTest::newRow("Q zero") << N << false << "EditQ=0" << "" << nonPositiveRequest << Box::Error << false;
        QTest::newRow("fa negative") << N << false << "EditFa=-1k" << "" << nonPositiveRequest << Box::Error << false;
        QTest::newRow("missing R1 after a result empties the results first") << D << false << "EditR1=" << cleared << "R1に値を入力してください" << Box::Warning << false;
        QTest::newRow("missing C1 in HPF") << N << true << "EditC1=" << noParts << "C1に値を入力してください" << Box::Warning << false;
        // A part of zero or less is refused after the blank filling, before any arithmetic;
        // printing and copying end disabled although a result stood before.
        QTest::newRow("zero R2 after a result") << D << false << "EditR2=0|EditR3=" << cleared + u"EditR3=0"_s << nonPositive << Box::Error << false;
        QTest::newRow("negative R1 after a result") << D << false << "EditR1=-1" << cleared + u"EditR1=-1"_s << nonPositive << Box::Error << false;
        QTest::newRow("negative R2 and R3 would be rejected as unrealisable") << N << false << "EditR2=-22k|EditR3=" << cleared + u"EditR3=-22k"_s << nonPositive << Box::Error << false;
        // A fault still leaves printing and copying disabled although a result stood before.
        QTest::newRow("R1 1e-300 after a result overflows") << D << false << "EditR1=1e-300" << cleared + u"EditR1=1e-300"_s << "Floating point overflow." << Box::Fault << false;
        QTest::newRow("negative C3 in HPF") << N << true << "EditC2=3.3n|EditC3=-3.3n" << noParts << nonPositive << Box::Error << false;
        QTest::newRow("HPF 10k/100/10, R unrounded: the circuit meets the request") << N << true << narrow + u"ComboBoxR1=∞|ComboBoxR2=∞|ComboBoxR3=∞"_s << "EditFar= 10.000k|EditFor=100.000|EditQr= 10.000" << "" << Box::None << true;
        QTest::newRow("HPF 10k/100/10, R selectors 24") << N << true << narrow + u"ComboBoxR1=24|ComboBoxR2=24|ComboBoxR3=24"_s << "EditR1=  7.500k|EditR2=  3.900|EditR3=  1.300G|EditFar=  9.635k|EditFor=101.656|EditQr=  9.480" << "" << Box::None << true;
        // clang-format on
    }
    void constantCalculation() { RunRow(form_->ButtonCalc); }

    // Window after the row's steps; click "伝達関数"; fa, fo, Q of the six boxes as typed (no
    // blank filling), the message and print/copy state of the row.
    void transferFunction_data() {
        AddColumns();
        // A part of zero or less is refused before any arithmetic: nothing shown, printing and
        // copying disabled although a result stood before.
        const char* nonPositive = "ゼロ以下の部品定数は不正です";
        const char* noResult = "EditFar=|EditFor=|EditQr=";
        const auto D = Before::DefaultCalculation;
        // clang-format off
        QTest::newRow("after the default calculation") << D << false << "" << kDefaultResults << "" << Box::None << true;
        QTest::newRow("after the infinity calculation") << Before::InfinityCalculation << false << "" << "EditFar=  1.420k|EditFor=  1.420k|EditQr=  1.000" << "" << Box::None << true;
        QTest::newRow("same values read as HPF") << D << true << "" << "EditFar=  7.234k|EditFor=716.304|EditQr=274.443m" << "" << Box::None << true;
        QTest::newRow("blanks as defined") << Before::Nothing << false << "" << "EditFar=|EditFor=|EditQr=|EditR2=|EditR3=|EditC2=|EditC3=" << "R1,R2,R3,C1,C2,C3 に値をセットしてください" << Box::Warning << false;
        QTest::newRow("zero C3 after a result") << D << false << "EditC3=0" << noResult << nonPositive << Box::Error << false;
        QTest::newRow("negative R1 after a result") << D << false << "EditR1=-1" << noResult << nonPositive << Box::Error << false;
        QTest::newRow("negative C1 after a result") << D << false << "EditC1=-22k" << noResult << nonPositive << Box::Error << false;
        QTest::newRow("negative R3 in HPF") << D << true << "EditR3=-1" << noResult << nonPositive << Box::Error << false;
        // clang-format on
    }
    void transferFunction() { RunRow(form_->ButtonTF); }

    // Window after the row's steps; click "クリア"; the twelve boxes empty, selectors and
    // print/copy state unchanged.
    void clearing_data() {
        AddColumns();
        const char* emptied =
            "EditFa=|EditFo=|EditQ=|EditR1=|EditR2=|EditR3=|EditFar=|EditFor=|EditQr=|EditC1=|"
            "EditC2=|EditC3=|ComboBoxC1=∞|ComboBoxR1=24";
        // clang-format off
        QTest::newRow("after a result") << Before::InfinityCalculation << false << "" << emptied << "" << Box::None << true;
        QTest::newRow("after a mode switch") << Before::InfinityCalculation << true << "" << emptied << "" << Box::None << false;
        // clang-format on
    }
    void clearing() {
        RunRow(form_->ButtonClr);
        QVERIFY(mirelto::DesignState.ResultValid);
    }

    // A message text; add the full stop the general error display adds; only after a last
    // character above ".".
    void fullStop_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << u"abc"_s << u"abc."_s;
        QTest::newRow("full stop already") << u"a."_s << u"a."_s;
        QTest::newRow("closing bracket is below the full stop") << u"x)"_s << u"x)"_s;
        QTest::newRow("slash is above the full stop") << u"x/"_s << u"x/."_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void fullStop() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(mirelto::WithFullStop(text), shown);
    }
};

MIRELTO_QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
