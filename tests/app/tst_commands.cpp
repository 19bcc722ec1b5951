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

using mirelto::TFormMain;

namespace {

using Texts = QMap<QString, QString>;  // control name -> text

// What runs before the step under test.
enum class Before { Nothing, DefaultCalculation, InfinityCalculation };

const QString kWarning = QStringLiteral("警告");
const QString kError = QStringLiteral("エラー");

const Texts kDefaultResults = {{QStringLiteral("EditC1"), QStringLiteral("  6.800n")},
                               {QStringLiteral("EditC2"), QStringLiteral(" 15.000n")},
                               {QStringLiteral("EditC3"), QStringLiteral("  1.000n")},
                               {QStringLiteral("EditFar"), QStringLiteral("  1.395k")},
                               {QStringLiteral("EditFor"), QStringLiteral("  1.631k")},
                               {QStringLiteral("EditQr"), QStringLiteral("961.092m")}};

Texts With(Texts base, const Texts& more) {
    base.insert(more);
    return base;
}

Texts Infinity(const char* first, const char* second, const char* third) {
    return {{QString::fromLatin1(first), QStringLiteral("∞")},
            {QString::fromLatin1(second), QStringLiteral("∞")},
            {QString::fromLatin1(third), QStringLiteral("∞")}};
}

Texts Empty(std::initializer_list<const char*> names) {
    Texts texts;
    for (const char* name : names) {
        texts.insert(QString::fromLatin1(name), QString());
    }
    return texts;
}

}  // namespace

Q_DECLARE_METATYPE(Before)

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

    QString Shown(const QString& name) const {
        QWidget* control = Control(name);
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            return combo->currentText();
        }
        return qobject_cast<QLineEdit*>(control)->text();
    }

    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    void RunBefore(Before before) {
        if (before == Before::InfinityCalculation) {
            for (const char* name : {"ComboBoxC1", "ComboBoxC2", "ComboBoxC3"}) {
                Type(QString::fromLatin1(name), QStringLiteral("∞"));
            }
        }
        if (before != Before::Nothing) {
            Click(form_->ButtonCalc);
            QVERIFY(form_->ButtonPrint->isEnabled());
            platform_->boxes.clear();
        }
    }

    // The boxes show `expected`, at most one message was shown (none when `message` is empty)
    // and print/copy are enabled as `output` says.
    void Check(const Texts& expected, const QString& message, const QString& caption,
               QMessageBox::Icon icon, bool output) {
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            QVERIFY2(
                Shown(it.key()) == it.value(),
                qPrintable(it.key() + QStringLiteral(": \"") + Shown(it.key()) +
                           QStringLiteral("\" instead of \"") + it.value() + QStringLiteral("\"")));
        }
        if (message.isEmpty()) {
            QCOMPARE(platform_->boxes.size(), 0);
        } else {
            QCOMPARE(platform_->boxes.size(), 1);
            const mirelto::test::ShownBox& box = platform_->boxes.front();
            QCOMPARE(box.text, message);
            QCOMPARE(box.caption, caption);
            QCOMPARE(box.icon, icon);
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QCOMPARE(form_->ButtonPrint->isEnabled(), output);
        QCOMPARE(form_->ButtonCopy->isEnabled(), output);
    }

    void AddColumns() {
        QTest::addColumn<Before>("before");
        QTest::addColumn<bool>("hpf");
        QTest::addColumn<Texts>("typed");
        QTest::addColumn<Texts>("expected");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<bool>("output");
    }

    // Runs the row's steps, then clicks `button` and checks.
    void RunRow(QPushButton* button) {
        QFETCH(Before, before);
        QFETCH(bool, hpf);
        QFETCH(Texts, typed);
        QFETCH(Texts, expected);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(bool, output);
        RunBefore(before);
        if (hpf) {
            QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
            QVERIFY(form_->RadioButtonHPF->isChecked());
        }
        for (auto it = typed.begin(); it != typed.end(); ++it) {
            Type(it.key(), it.value());
        }
        Click(button);
        Check(expected, message, caption, icon, output);
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
        const QString fault = mirelto::ApplicationTitle();
        const auto none = QMessageBox::NoIcon;
        QTest::newRow("default LPF, E6")
            << Before::Nothing << false << Texts{}
            << With(kDefaultResults, {{QStringLiteral("EditR2"), QStringLiteral("22k")},
                                      {QStringLiteral("EditR3"), QStringLiteral("22k")}})
            << QString() << QString() << none << true;
        const Texts infinityResults = {{QStringLiteral("EditC1"), QStringLiteral("  7.095n")},
                                       {QStringLiteral("EditC2"), QStringLiteral(" 18.070n")},
                                       {QStringLiteral("EditC3"), QStringLiteral("  1.031n")},
                                       {QStringLiteral("EditFar"), QStringLiteral("  1.420k")},
                                       {QStringLiteral("EditFor"), QStringLiteral("  1.420k")},
                                       {QStringLiteral("EditQr"), QStringLiteral("  1.000")}};
        QTest::newRow("C selectors at infinity")
            << Before::Nothing << false << Infinity("ComboBoxC1", "ComboBoxC2", "ComboBoxC3")
            << infinityResults << QString() << QString() << none << true;
        QTest::newRow("C selectors not integers")
            << Before::Nothing << false
            << Texts{{QStringLiteral("ComboBoxC1"), QStringLiteral("abc")},
                     {QStringLiteral("ComboBoxC2"), QStringLiteral("abc")},
                     {QStringLiteral("ComboBoxC3"), QStringLiteral("abc")}}
            << infinityResults << QString() << QString() << none << true;
        QTest::newRow("C selectors at 24")
            << Before::Nothing << false
            << Texts{{QStringLiteral("ComboBoxC1"), QStringLiteral("24")},
                     {QStringLiteral("ComboBoxC2"), QStringLiteral("24")},
                     {QStringLiteral("ComboBoxC3"), QStringLiteral("24")}}
            << Texts{{QStringLiteral("EditC1"), QStringLiteral("  6.800n")},
                     {QStringLiteral("EditC2"), QStringLiteral(" 18.000n")},
                     {QStringLiteral("EditC3"), QStringLiteral("  1.000n")},
                     {QStringLiteral("EditFar"), QStringLiteral("  1.513k")},
                     {QStringLiteral("EditFor"), QStringLiteral("  1.430k")},
                     {QStringLiteral("EditQr"), QStringLiteral("  1.008")}}
            << QString() << QString() << none << true;
        QTest::newRow("HPF as defined")
            << Before::Nothing << true << Texts{}
            << Texts{{QStringLiteral("EditC2"), QStringLiteral("3.3n")},
                     {QStringLiteral("EditC3"), QStringLiteral("3.3n")},
                     {QStringLiteral("EditR1"), QStringLiteral(" 24.000k")},
                     {QStringLiteral("EditR2"), QStringLiteral(" 10.000k")},
                     {QStringLiteral("EditR3"), QStringLiteral("160.000k")},
                     {QStringLiteral("EditFar"), QStringLiteral("  1.463k")},
                     {QStringLiteral("EditFor"), QStringLiteral("  1.413k")},
                     {QStringLiteral("EditQr"), QStringLiteral("974.097m")}}
            << QString() << QString() << none << true;
        QTest::newRow("HPF with C 10n, 4.7n, 2.2n")
            << Before::Nothing << true
            << Texts{{QStringLiteral("EditC1"), QStringLiteral("10n")},
                     {QStringLiteral("EditC2"), QStringLiteral("4.7n")},
                     {QStringLiteral("EditC3"), QStringLiteral("2.2n")}}
            << Texts{{QStringLiteral("EditR1"), QStringLiteral("  9.100k")},
                     {QStringLiteral("EditR2"), QStringLiteral(" 13.000k")},
                     {QStringLiteral("EditR3"), QStringLiteral("110.000k")},
                     {QStringLiteral("EditFar"), QStringLiteral("  1.384k")},
                     {QStringLiteral("EditFor"), QStringLiteral("  1.472k")},
                     {QStringLiteral("EditQr"), QStringLiteral("997.323m")}}
            << QString() << QString() << none << true;
        // A result beyond 1e17 in its row shows in exponent form, not as 285 digits.
        QTest::newRow("HPF with C3 1e-300")
            << Before::Nothing << true
            << Texts{{QStringLiteral("EditC3"), QStringLiteral("1e-300")}}
            << Texts{{QStringLiteral("EditR1"), QStringLiteral(" 22.000k")},
                     {QStringLiteral("EditR2"), QStringLiteral(" 24.000k")},
                     {QStringLiteral("EditR3"), QStringLiteral("2.400000000003036E284T")},
                     {QStringLiteral("EditFar"), QStringLiteral("  1.404k")},
                     {QStringLiteral("EditFor"), QStringLiteral("  1.443k")},
                     {QStringLiteral("EditQr"), QStringLiteral("993.761m")}}
            << QString() << QString() << none << true;
        QTest::newRow("blank R3 copies R2's text with its spaces")
            << Before::Nothing << false
            << Texts{{QStringLiteral("EditR2"), QStringLiteral(" 47k ")}}
            << Texts{{QStringLiteral("EditR3"), QStringLiteral(" 47k ")},
                     {QStringLiteral("EditC1"), QStringLiteral("  6.800n")},
                     {QStringLiteral("EditC2"), QStringLiteral("  6.800n")},
                     {QStringLiteral("EditC3"), QStringLiteral("680.000p")},
                     {QStringLiteral("EditFar"), QStringLiteral("  1.224k")},
                     {QStringLiteral("EditFor"), QStringLiteral("  1.468k")},
                     {QStringLiteral("EditQr"), QStringLiteral("  1.101")}}
            << QString() << QString() << none << true;
        QTest::newRow("R2 47k, R3 100k")
            << Before::Nothing << false
            << Texts{{QStringLiteral("EditR2"), QStringLiteral("47k")},
                     {QStringLiteral("EditR3"), QStringLiteral("100k")}}
            << Texts{{QStringLiteral("EditC1"), QStringLiteral("  6.800n")},
                     {QStringLiteral("EditC2"), QStringLiteral("  4.700n")},
                     {QStringLiteral("EditC3"), QStringLiteral("470.000p")},
                     {QStringLiteral("EditFar"), QStringLiteral("  1.286k")},
                     {QStringLiteral("EditFor"), QStringLiteral("  1.421k")},
                     {QStringLiteral("EditQr"), QStringLiteral("  1.064")}}
            << QString() << QString() << none << true;
        const Texts cleared = Empty({"EditC1", "EditC2", "EditC3", "EditFar", "EditFor", "EditQr"});
        QTest::newRow("unrealisable after a result")
            << Before::DefaultCalculation << false
            << Texts{{QStringLiteral("EditR2"), QStringLiteral("4.7k")},
                     {QStringLiteral("EditR3"), QString()}}
            << With(cleared, {{QStringLiteral("EditR3"), QStringLiteral("4.7k")}})
            << QStringLiteral(
                   "この条件では実現できません(C < 0)\r\n\r\nR1<R2<=R3 "
                   "で比を大きくすると実現できます")
            << kError << QMessageBox::Critical << false;
        QTest::newRow("empty fa after a result keeps the results")
            << Before::DefaultCalculation << false << Texts{{QStringLiteral("EditFa"), QString()}}
            << kDefaultResults << QStringLiteral("faに値を入力してください") << kWarning
            << QMessageBox::Warning << false;
        QTest::newRow("fo not a number")
            << Before::Nothing << false << Texts{{QStringLiteral("EditFo"), QStringLiteral("abc")}}
            << Texts{} << QStringLiteral("foに値を入力してください") << kWarning
            << QMessageBox::Warning << false;
        QTest::newRow("Q empty") << Before::Nothing << false << Texts{{QStringLiteral("EditQ"), {}}}
                                 << Texts{} << QStringLiteral("Qに値を入力してください") << kWarning
                                 << QMessageBox::Warning << false;
        QTest::newRow("Q zero") << Before::Nothing << false
                                << Texts{{QStringLiteral("EditQ"), QStringLiteral("0")}} << Texts{}
                                << QStringLiteral("ゼロ以下の伝達関数パラメータは不正です")
                                << kError << QMessageBox::Critical << false;
        QTest::newRow("fa negative")
            << Before::Nothing << false << Texts{{QStringLiteral("EditFa"), QStringLiteral("-1k")}}
            << Texts{} << QStringLiteral("ゼロ以下の伝達関数パラメータは不正です") << kError
            << QMessageBox::Critical << false;
        QTest::newRow("missing R1 after a result empties the results first")
            << Before::DefaultCalculation << false << Texts{{QStringLiteral("EditR1"), QString()}}
            << cleared << QStringLiteral("R1に値を入力してください") << kWarning
            << QMessageBox::Warning << false;
        QTest::newRow("missing C1 in HPF")
            << Before::Nothing << true << Texts{{QStringLiteral("EditC1"), QString()}}
            << Empty({"EditR1", "EditR2", "EditR3", "EditFar", "EditFor", "EditQr"})
            << QStringLiteral("C1に値を入力してください") << kWarning << QMessageBox::Warning
            << false;
        // A part of zero or less is refused after the blank filling, before any arithmetic;
        // printing and copying end disabled although a result stood before.
        const QString nonPositive = QStringLiteral("ゼロ以下の部品定数は不正です");
        QTest::newRow("zero R2 after a result")
            << Before::DefaultCalculation << false
            << Texts{{QStringLiteral("EditR2"), QStringLiteral("0")},
                     {QStringLiteral("EditR3"), QString()}}
            << With(cleared, {{QStringLiteral("EditR3"), QStringLiteral("0")}}) << nonPositive
            << kError << QMessageBox::Critical << false;
        QTest::newRow("negative R1 after a result")
            << Before::DefaultCalculation << false
            << Texts{{QStringLiteral("EditR1"), QStringLiteral("-1")}}
            << With(cleared, {{QStringLiteral("EditR1"), QStringLiteral("-1")}}) << nonPositive
            << kError << QMessageBox::Critical << false;
        QTest::newRow("negative R2 and R3 would be rejected as unrealisable")
            << Before::Nothing << false
            << Texts{{QStringLiteral("EditR2"), QStringLiteral("-22k")},
                     {QStringLiteral("EditR3"), QString()}}
            << With(cleared, {{QStringLiteral("EditR3"), QStringLiteral("-22k")}}) << nonPositive
            << kError << QMessageBox::Critical << false;
        // A fault still leaves printing and copying disabled although a result stood before.
        QTest::newRow("R1 1e-300 after a result overflows")
            << Before::DefaultCalculation << false
            << Texts{{QStringLiteral("EditR1"), QStringLiteral("1e-300")}}
            << With(cleared, {{QStringLiteral("EditR1"), QStringLiteral("1e-300")}})
            << QStringLiteral("Floating point overflow.") << fault << QMessageBox::Critical
            << false;
        QTest::newRow("negative C3 in HPF")
            << Before::Nothing << true
            << Texts{{QStringLiteral("EditC2"), QStringLiteral("3.3n")},
                     {QStringLiteral("EditC3"), QStringLiteral("-3.3n")}}
            << Empty({"EditR1", "EditR2", "EditR3", "EditFar", "EditFor", "EditQr"}) << nonPositive
            << kError << QMessageBox::Critical << false;
        const Texts narrowRequest = {{QStringLiteral("EditFa"), QStringLiteral("10k")},
                                     {QStringLiteral("EditFo"), QStringLiteral("100")},
                                     {QStringLiteral("EditQ"), QStringLiteral("10")},
                                     {QStringLiteral("EditC1"), QStringLiteral("2.2n")},
                                     {QStringLiteral("EditC2"), QStringLiteral("22n")},
                                     {QStringLiteral("EditC3"), QStringLiteral("22n")}};
        QTest::newRow("HPF 10k/100/10, R unrounded: the circuit meets the request")
            << Before::Nothing << true
            << With(narrowRequest, Infinity("ComboBoxR1", "ComboBoxR2", "ComboBoxR3"))
            << Texts{{QStringLiteral("EditFar"), QStringLiteral(" 10.000k")},
                     {QStringLiteral("EditFor"), QStringLiteral("100.000")},
                     {QStringLiteral("EditQr"), QStringLiteral(" 10.000")}}
            << QString() << QString() << none << true;
        QTest::newRow("HPF 10k/100/10, R selectors 24")
            << Before::Nothing << true
            << With(narrowRequest, {{QStringLiteral("ComboBoxR1"), QStringLiteral("24")},
                                    {QStringLiteral("ComboBoxR2"), QStringLiteral("24")},
                                    {QStringLiteral("ComboBoxR3"), QStringLiteral("24")}})
            << Texts{{QStringLiteral("EditR1"), QStringLiteral("  7.500k")},
                     {QStringLiteral("EditR2"), QStringLiteral("  3.900")},
                     {QStringLiteral("EditR3"), QStringLiteral("  1.300G")},
                     {QStringLiteral("EditFar"), QStringLiteral("  9.635k")},
                     {QStringLiteral("EditFor"), QStringLiteral("101.656")},
                     {QStringLiteral("EditQr"), QStringLiteral("  9.480")}}
            << QString() << QString() << none << true;
    }
    void constantCalculation() { RunRow(form_->ButtonCalc); }

    // Window after the row's steps; click "伝達関数"; fa, fo, Q of the six boxes as typed (no
    // blank filling), the message and print/copy state of the row.
    void transferFunction_data() {
        AddColumns();
        const auto none = QMessageBox::NoIcon;
        QTest::newRow("after the default calculation")
            << Before::DefaultCalculation << false << Texts{} << kDefaultResults << QString()
            << QString() << none << true;
        QTest::newRow("after the infinity calculation")
            << Before::InfinityCalculation << false << Texts{}
            << Texts{{QStringLiteral("EditFar"), QStringLiteral("  1.420k")},
                     {QStringLiteral("EditFor"), QStringLiteral("  1.420k")},
                     {QStringLiteral("EditQr"), QStringLiteral("  1.000")}}
            << QString() << QString() << none << true;
        QTest::newRow("same values read as HPF")
            << Before::DefaultCalculation << true << Texts{}
            << Texts{{QStringLiteral("EditFar"), QStringLiteral("  7.234k")},
                     {QStringLiteral("EditFor"), QStringLiteral("716.304")},
                     {QStringLiteral("EditQr"), QStringLiteral("274.443m")}}
            << QString() << QString() << none << true;
        QTest::newRow("blanks as defined")
            << Before::Nothing << false << Texts{}
            << Empty({"EditFar", "EditFor", "EditQr", "EditR2", "EditR3", "EditC2", "EditC3"})
            << QStringLiteral("R1,R2,R3,C1,C2,C3 に値をセットしてください") << kWarning
            << QMessageBox::Warning << false;
        // A part of zero or less is refused before any arithmetic: nothing shown, printing and
        // copying disabled although a result stood before.
        const QString nonPositive = QStringLiteral("ゼロ以下の部品定数は不正です");
        const Texts noResult = Empty({"EditFar", "EditFor", "EditQr"});
        QTest::newRow("zero C3 after a result")
            << Before::DefaultCalculation << false
            << Texts{{QStringLiteral("EditC3"), QStringLiteral("0")}} << noResult << nonPositive
            << kError << QMessageBox::Critical << false;
        QTest::newRow("negative R1 after a result")
            << Before::DefaultCalculation << false
            << Texts{{QStringLiteral("EditR1"), QStringLiteral("-1")}} << noResult << nonPositive
            << kError << QMessageBox::Critical << false;
        QTest::newRow("negative C1 after a result")
            << Before::DefaultCalculation << false
            << Texts{{QStringLiteral("EditC1"), QStringLiteral("-22k")}} << noResult << nonPositive
            << kError << QMessageBox::Critical << false;
        QTest::newRow("negative R3 in HPF")
            << Before::DefaultCalculation << true
            << Texts{{QStringLiteral("EditR3"), QStringLiteral("-1")}} << noResult << nonPositive
            << kError << QMessageBox::Critical << false;
    }
    void transferFunction() { RunRow(form_->ButtonTF); }

    // Window after the row's steps; click "クリア"; the twelve boxes empty, selectors and
    // print/copy state unchanged.
    void clearing_data() {
        AddColumns();
        const Texts emptied =
            With(Empty({"EditFa", "EditFo", "EditQ", "EditR1", "EditR2", "EditR3", "EditFar",
                        "EditFor", "EditQr", "EditC1", "EditC2", "EditC3"}),
                 {{QStringLiteral("ComboBoxC1"), QStringLiteral("∞")},
                  {QStringLiteral("ComboBoxR1"), QStringLiteral("24")}});
        QTest::newRow("after a result")
            << Before::InfinityCalculation << false << Texts{} << emptied << QString() << QString()
            << QMessageBox::NoIcon << true;
        QTest::newRow("after a mode switch")
            << Before::InfinityCalculation << true << Texts{} << emptied << QString() << QString()
            << QMessageBox::NoIcon << false;
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
        QTest::newRow("letter") << QStringLiteral("abc") << QStringLiteral("abc.");
        QTest::newRow("full stop already") << QStringLiteral("a.") << QStringLiteral("a.");
        QTest::newRow("closing bracket is below the full stop")
            << QStringLiteral("x)") << QStringLiteral("x)");
        QTest::newRow("slash is above the full stop")
            << QStringLiteral("x/") << QStringLiteral("x/.");
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
