// The main window as the user meets it: its start state, the place and tab order of every
// control, the LPF/HPF switch, moving between fields with Enter and the arrows, the help link,
// where the window opens and the exit button.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <memory>

#include <mirelto/design/design_state.h>

#include "analysis/analysis_window.h"
#include "app_test_support.h"
#include "calculator/help_window.h"
#include "calculator/main_window.h"
#include "desktop/drawing.h"

using namespace Qt::StringLiterals;

using mirelto::Rect;
using mirelto::TFormHelp;
using mirelto::TFormMain;
Q_DECLARE_METATYPE(mirelto::Rect)

namespace {

const QStringList kSeriesItems = u"3 6 12 24 48 96 192 ∞"_s.split(u' ');

// The tab order of the window, first to last.
const QStringList kTabOrder =
    (u"EditFa EditFo EditQ EditR1 EditR2 EditR3 EditFar EditFor EditQr EditC1 "
     u"EditC2 EditC3 ComboBoxR1 ComboBoxR2 ComboBoxR3 ComboBoxC1 ComboBoxC2 "
     u"ComboBoxC3 ButtonClr RadioButtonHPF RadioButtonLpf ButtonCalc ButtonTF "
     u"ButtonPrint ButtonCopy ButtonExit"_s)
        .split(u' ');

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;

    QWidget* Control(const QString& name) const { return mirelto::test::Control(*form_, name); }

    // Shows the window and makes it the active one, as keyboard focus needs.
    bool ShowActive() {
        form_->show();
        QApplication::setActiveWindow(form_.get());
        form_->activateWindow();
        return QTest::qWaitForWindowActive(form_.get());
    }

  private slots:
    void init() {
        mirelto::DesignState.ResultValid = false;
        platform_ = std::make_unique<mirelto::test::FakePlatform>();
        form_ = std::make_unique<TFormMain>();
    }
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // Fresh window; nothing done; caption with version, fixed 352 x 392 client, no maximise.
    void windowAtStart() {
        QCOMPARE(mirelto::FileVersionText(), u"1.00"_s);
        QCOMPARE(form_->windowTitle(), u"３次LPF/HPF Ver1.00"_s);
        QCOMPARE(form_->size(), QSize(352, 392));
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        QVERIFY(!form_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(form_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QCOMPARE(mirelto::FormMain, form_.get());
        QVERIFY(mirelto::DesignState.IsLpf);
        QCOMPARE(mirelto::FormHelp, nullptr);
    }

    // Fresh window; read each control; text, enabled state and tool-tip hint as defined (the
    // hints of the C boxes are off in LPF mode).
    void controlAtStart_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("hint");
        const auto row = [](const char* name, const QString& text, bool enabled,
                            const QString& hint = {}) {
            QTest::newRow(name) << QString::fromLatin1(name) << text << enabled << hint;
        };
        row("EditFa", u"1.42k"_s, true);
        row("EditFo", u"1.42k"_s, true);
        row("EditQ", u"1.0"_s, true);
        row("EditR1", u"22k"_s, true, u"抵抗値を指定します"_s);
        row("EditR2", {}, true, u"省略時はR1を適用します"_s);
        row("EditR3", {}, true, u"省略時はR2を適用します"_s);
        row("EditFar", {}, true);
        row("EditFor", {}, true);
        row("EditQr", {}, true);
        row("EditC1", u"3.3n"_s, true);
        row("EditC2", {}, true);
        row("EditC3", {}, true);
        row("ComboBoxR1", u"24"_s, false);
        row("ComboBoxR2", u"24"_s, false);
        row("ComboBoxR3", u"24"_s, false);
        row("ComboBoxC1", u"6"_s, true);
        row("ComboBoxC2", u"6"_s, true);
        row("ComboBoxC3", u"6"_s, true);
        row("ButtonClr", u"クリア"_s, true);
        row("RadioButtonHPF", u"HPF"_s, true, u"LPF/HPFのモードを切り換えます"_s);
        row("RadioButtonLpf", u"LPF"_s, true, u"LPF/HPFのモードを切り換えます"_s);
        row("ButtonCalc", u"定数計算"_s, true, u"定数計算を実行します"_s);
        row("ButtonTF", u"伝達関数"_s, true, u"伝達関数計算を実行します"_s);
        row("ButtonPrint", u"印刷"_s, false, u"結果をテキストで印刷します"_s);
        row("ButtonCopy", u"コピー"_s, false, u"結果をテキストでクリップボードにコピーします"_s);
        row("ButtonExit", u"終了"_s, true);
        row("Label17", u"指定値"_s, true, u"要求する伝達関数"_s);
        row("Label16", u"結果"_s, true, u"結果の伝達関数"_s);
        row("Label18", u"Ｅ系列指定"_s, true);
        row("LabelR", u"指定値"_s, true);
        row("LabelC", u"結果"_s, true);
        row("Label19", u"Help"_s, true, u"クリックでヘルプを表示します"_s);
    }
    void controlAtStart() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(QString, hint);
        QWidget* control = Control(name);
        QString shown;
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            shown = edit->text();
            QVERIFY(!edit->isReadOnly());
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            shown = combo->currentText();
            QVERIFY(combo->isEditable());
            QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
            QStringList items;
            for (int i = 0; i < combo->count(); ++i) {
                items << combo->itemText(i);
            }
            QCOMPARE(items, kSeriesItems);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            shown = button->text();
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            shown = label->text();
        }
        QCOMPARE(shown, text);
        QCOMPARE(control->isEnabled(), enabled);
        QCOMPARE(control->toolTip(), hint);
    }

    // Fresh window; look at the pictures, radio buttons and help link; LPF picture only, LPF
    // checked, hand cursor on "Help".
    void picturesAndModeAtStart() {
        QVERIFY(!form_->ImageLPF->isHidden());
        QVERIFY(form_->ImageHPF->isHidden());
        QVERIFY(form_->ImageLPF->hasDrawing());
        QVERIFY(form_->ImageHPF->hasDrawing());
        QCOMPARE(mirelto::ApplicationIcon().availableSizes().size(), 4);
        QVERIFY(form_->RadioButtonLpf->isChecked());
        QVERIFY(!form_->RadioButtonHPF->isChecked());
        QCOMPARE(form_->Label19->cursor().shape(), Qt::PointingHandCursor);
    }

    // Fresh window; read each control's rectangle; left, top, width, height as laid out.
    void controlGeometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        const auto row = [](const char* name, int left, int top, int width, int height) {
            QTest::newRow(name) << QString::fromLatin1(name) << QRect(left, top, width, height);
        };
        const int editTops[] = {32, 59, 86, 143, 170, 197};
        const char* givenNames[] = {"EditFa", "EditFo", "EditQ", "EditR1", "EditR2", "EditR3"};
        const char* resultNames[] = {"EditFar", "EditFor", "EditQr", "EditC1", "EditC2", "EditC3"};
        for (int i = 0; i < 6; ++i) {
            row(givenNames[i], 37, editTops[i], 81, 21);
            row(resultNames[i], 156, editTops[i], 81, 21);
        }
        const char* combos[] = {"ComboBoxR1", "ComboBoxR2", "ComboBoxR3",
                                "ComboBoxC1", "ComboBoxC2", "ComboBoxC3"};
        const int comboTops[] = {32, 55, 78, 107, 130, 153};
        const char* comboLabels[] = {"Label10", "Label11", "Label12",
                                     "Label13", "Label14", "Label15"};
        for (int i = 0; i < 6; ++i) {
            row(combos[i], 287, comboTops[i], 50, 21);
            row(comboLabels[i], 265, comboTops[i] + 3, 20, 13);
        }
        const char* leftLabels[] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"};
        const char* midLabels[] = {"Label20", "Label21", "Label22", "Label7", "Label8", "Label9"};
        for (int i = 0; i < 6; ++i) {
            row(leftLabels[i], 15, editTops[i] + 3, 20, 13);
            row(midLabels[i], 134, editTops[i] + 3, 20, 13);
        }
        row("ButtonClr", 282, 197, 55, 25);
        row("RadioButtonHPF", 295, 288, 45, 17);
        row("RadioButtonLpf", 295, 265, 45, 17);
        row("ButtonCalc", 21, 359, 67, 25);
        row("ButtonTF", 92, 359, 67, 25);
        row("ButtonPrint", 163, 359, 55, 25);
        row("ButtonCopy", 222, 359, 55, 25);
        row("ButtonExit", 282, 359, 55, 25);
        row("Label17", 37, 16, 81, 13);
        row("Label16", 156, 16, 81, 13);
        row("Label18", 262, 16, 85, 13);
        row("LabelR", 37, 126, 81, 13);
        row("LabelC", 156, 126, 81, 13);
        row("Label19", 287, 333, 50, 13);
        row("ImageLPF", 21, 233, 260, 113);
        row("ImageHPF", 21, 233, 260, 113);
    }
    void controlGeometry() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QCOMPARE(Control(name)->geometry(), geometry);
    }

    // Fresh window; walk the focus chain; the controls come in tab order, and only the three
    // result boxes of fa, fo, Q and the unchecked radio button "HPF" are skipped by Tab.
    void tabOrder() {
        QStringList chain;
        for (QWidget* w = form_->EditFa; chain.size() < kTabOrder.size();
             w = w->nextInFocusChain()) {
            if (kTabOrder.contains(w->objectName()) && !chain.contains(w->objectName())) {
                chain << w->objectName();
            }
            QVERIFY(w->nextInFocusChain() != form_->EditFa || chain.size() == kTabOrder.size());
        }
        QCOMPARE(chain, kTabOrder);
        for (const QString& name : kTabOrder) {
            const bool skipped =
                name == QLatin1String("EditFar") || name == QLatin1String("EditFor") ||
                name == QLatin1String("EditQr") || name == QLatin1String("RadioButtonHPF");
            QCOMPARE(bool(Control(name)->focusPolicy() & Qt::TabFocus), !skipped);
        }
    }

    // Shown window, the mode switched by the listed mouse clicks or keys; Tab from "クリア"
    // stops on the checked radio button only, then on "定数計算"; Shift+Tab comes back to it.
    void radioTabStop_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("arrow");  // pressed in the focused checked button, 0 for none
        QTest::addColumn<QString>("stop");
        // clang-format off
        QTest::newRow("fresh window") << QStringList() << 0 << "RadioButtonLpf";
        QTest::newRow("HPF clicked") << QStringList{u"RadioButtonHPF"_s} << 0 << "RadioButtonHPF";
        QTest::newRow("HPF then LPF clicked") << QStringList{u"RadioButtonHPF"_s, u"RadioButtonLpf"_s} << 0 << "RadioButtonLpf";
        QTest::newRow("Down arrow in LPF") << QStringList() << int(Qt::Key_Down) << "RadioButtonHPF";
        QTest::newRow("HPF pressed and dragged off") << QStringList{u"press RadioButtonHPF"_s} << 0 << "RadioButtonLpf";
        // clang-format on
    }
    void radioTabStop() {
        QFETCH(QStringList, clicks);
        QFETCH(int, arrow);
        QFETCH(QString, stop);
        QVERIFY(ShowActive());
        for (const QString& click : clicks) {
            if (click.startsWith(QLatin1String("press "))) {
                QWidget* radio = Control(click.mid(6));
                QTest::mousePress(radio, Qt::LeftButton);
                QTest::mouseRelease(radio, Qt::LeftButton, {}, QPoint(-30, -30));
            } else {
                QTest::mouseClick(Control(click), Qt::LeftButton);
            }
        }
        if (arrow != 0) {
            form_->RadioButtonLpf->setFocus();
            QTRY_VERIFY(form_->RadioButtonLpf->hasFocus());
            QTest::keyClick(form_->RadioButtonLpf, Qt::Key(arrow));
        }
        QVERIFY(Control(stop)->property("checked").toBool());
        QCoreApplication::processEvents();  // the tab stop is handed back after a focus change
        form_->ButtonClr->setFocus();
        QTRY_VERIFY(form_->ButtonClr->hasFocus());
        QTest::keyClick(form_->ButtonClr, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), stop);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), u"ButtonCalc"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), stop);
    }

    // Window in LPF mode after a valid result; click the HPF (then LPF) radio button; selectors,
    // hints, picture and captions follow the mode, print/copy disabled, result boxes unchanged.
    void modeSwitch_data() {
        QTest::addColumn<bool>("toHpf");
        QTest::newRow("click HPF") << true;
        QTest::newRow("click HPF then LPF") << false;
    }
    void modeSwitch() {
        QFETCH(bool, toHpf);
        QVERIFY(ShowActive());
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QVERIFY(form_->ButtonPrint->isEnabled());
        const QString shownC1 = form_->EditC1->text();
        QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
        QVERIFY(form_->RadioButtonHPF->isChecked());
        if (!toHpf) {
            QTest::mouseClick(form_->RadioButtonLpf, Qt::LeftButton);
            QVERIFY(form_->RadioButtonLpf->isChecked());
        }
        const bool lpf = !toHpf;
        QCOMPARE(mirelto::DesignState.IsLpf, lpf);
        for (QComboBox* c : {form_->ComboBoxC1, form_->ComboBoxC2, form_->ComboBoxC3}) {
            QCOMPARE(c->isEnabled(), lpf);
        }
        for (QComboBox* c : {form_->ComboBoxR1, form_->ComboBoxR2, form_->ComboBoxR3}) {
            QCOMPARE(c->isEnabled(), !lpf);
        }
        QCOMPARE(form_->EditR2->toolTip().isEmpty(), !lpf);
        QCOMPARE(form_->EditC2->toolTip(), lpf ? QString() : u"省略時はC1を適用します"_s);
        QCOMPARE(form_->EditC1->toolTip(), lpf ? QString() : u"容量を指定します"_s);
        QCOMPARE(form_->EditC3->toolTip().isEmpty(), lpf);
        QCOMPARE(form_->ImageLPF->isVisible(), lpf);
        QCOMPARE(form_->ImageHPF->isVisible(), !lpf);
        QCOMPARE(form_->LabelR->text(), lpf ? u"指定値"_s : u"結果"_s);
        QCOMPARE(form_->LabelC->text(), lpf ? u"結果"_s : u"指定値"_s);
        QVERIFY(!form_->ButtonPrint->isEnabled());
        QVERIFY(!form_->ButtonCopy->isEnabled());
        QCOMPARE(form_->EditC1->text(), shownC1);
        QCOMPARE(form_->EditFar->text(), u"  1.395k"_s);
        QVERIFY(mirelto::DesignState.ResultValid);
    }

    // Shown, active window in a mode, focus in a field; press a key (with modifiers); the focus
    // lands on the expected control.
    void focusMove_data() {
        QTest::addColumn<bool>("hpf");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("to");
        const Qt::KeyboardModifiers none;
        // clang-format off
        QTest::newRow("Enter in EditQ") << false << "EditQ" << int(Qt::Key_Return) << none << "EditR1";
        QTest::newRow("keypad Enter in EditQ") << false << "EditQ" << int(Qt::Key_Enter) << none << "EditR1";
        QTest::newRow("Down in EditQ") << false << "EditQ" << int(Qt::Key_Down) << none << "EditR1";
        QTest::newRow("Enter in EditR3 skips result boxes") << false << "EditR3" << int(Qt::Key_Return) << none << "EditC1";
        QTest::newRow("Enter in EditC3, LPF") << false << "EditC3" << int(Qt::Key_Return) << none << "ComboBoxC1";
        QTest::newRow("Enter in EditC3, HPF") << true << "EditC3" << int(Qt::Key_Return) << none << "ComboBoxR1";
        QTest::newRow("Up in EditFa wraps") << false << "EditFa" << int(Qt::Key_Up) << none << "ButtonExit";
        QTest::newRow("Up in EditC1") << false << "EditC1" << int(Qt::Key_Up) << none << "EditR3";
        QTest::newRow("Enter in EditFar") << false << "EditFar" << int(Qt::Key_Return) << none << "EditC1";
        QTest::newRow("Shift+Enter in EditQ") << false << "EditQ" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier) << "EditR1";
        QTest::newRow("Ctrl+Up in EditFa") << false << "EditFa" << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::ControlModifier) << "ButtonExit";
        QTest::newRow("Enter in combo box stays") << false << "ComboBoxC2" << int(Qt::Key_Return) << none << "ComboBoxC2";
        QTest::newRow("Left in EditFo stays") << false << "EditFo" << int(Qt::Key_Left) << none << "EditFo";
        // clang-format on
    }
    void focusMove() {
        QFETCH(bool, hpf);
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, to);
        QVERIFY(ShowActive());
        if (hpf) {
            QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
        }
        Control(from)->setFocus();
        QTRY_VERIFY(Control(from)->hasFocus());
        const QString fromText = form_->ComboBoxC2->currentText();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        QTRY_VERIFY2(Control(to)->hasFocus(),
                     qPrintable(QApplication::focusWidget()->objectName()));
        QCOMPARE(form_->ComboBoxC2->currentText(), fromText);
        QCOMPARE(form_->ComboBoxC2->count(), kSeriesItems.size());
    }

    // Shown window, focus in a C selector showing "6"; type text and press keys; Down steps the
    // list, Up steps back, typed text with Enter never becomes an item.
    void comboBoxKeys() {
        QVERIFY(ShowActive());
        QComboBox* combo = form_->ComboBoxC1;
        combo->setFocus();
        QTRY_VERIFY(combo->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(combo->currentText(), u"12"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(combo->currentText(), u"6"_s);
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), u"33"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(combo->currentText(), u"33"_s);
        QCOMPARE(combo->count(), kSeriesItems.size());
        QVERIFY(combo->hasFocus());
    }

    // Shown window, no help window yet; click "Help" twice; one help window, made on the first
    // click, visible, not modal; the main window still takes input (a calculation runs).
    void helpLinkShowsHelpWindow() {
        QVERIFY(ShowActive());
        QTest::mouseClick(form_->Label19, Qt::LeftButton);
        QTest::mouseClick(form_->Label19, Qt::LeftButton);
        QCOMPARE(form_->findChildren<TFormHelp*>().size(), 1);
        QVERIFY(mirelto::FormHelp->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(form_->isEnabled());
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QCOMPARE(form_->EditC1->text(), u"  6.800n"_s);
        QVERIFY(platform_->boxes.isEmpty());
    }

    // Shown window; press the left button on a link, move, release; the link's window opens only
    // when both the press and the release are inside the label, as a push button's click.
    void linkClick_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QPoint>("press");    // (-1, -1): no press on the link
        QTest::addColumn<QPoint>("release");  // in the label's coordinates
        QTest::addColumn<bool>("opens");
        for (const char* link : {"Label19", "LabelAnalysis"}) {
            const QByteArray name(link);
            // clang-format off
            QTest::newRow(name + ", click") << link << QPoint(25, 6) << QPoint(25, 6) << true;
            QTest::newRow(name + ", moved within") << link << QPoint(2, 2) << QPoint(45, 10) << true;
            QTest::newRow(name + ", dragged off") << link << QPoint(25, 6) << QPoint(25, 40) << false;
            QTest::newRow(name + ", dragged off to the left") << link << QPoint(25, 6) << QPoint(-1, 6) << false;
            QTest::newRow(name + ", release without press") << link << QPoint(-1, -1) << QPoint(25, 6) << false;
            // clang-format on
        }
    }
    void linkClick() {
        QFETCH(QString, link);
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(bool, opens);
        QVERIFY(ShowActive());
        QWidget* label = Control(link);
        if (press != QPoint(-1, -1)) {
            QTest::mousePress(label, Qt::LeftButton, {}, press);
            QTest::mouseMove(label, release);
        }
        QTest::mouseRelease(label, Qt::LeftButton, {}, release);
        const bool help = link == QLatin1String("Label19");
        const auto shown = [&] {
            const QWidget* opened = help ? static_cast<QWidget*>(mirelto::FormHelp)
                                         : static_cast<QWidget*>(form_->AnalysisWindow());
            return opened != nullptr && opened->isVisible();
        };
        QCOMPARE(shown(), opens);
        // A later click still works: the dragged-off press left nothing behind.
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(25, 6));
        QVERIFY(shown());
    }

    // Shown window with the help window open, event loop running; click "終了"; the main window
    // closes and the event loop ends although the help window is still open.
    void exitButtonEndsProgram() {
        QVERIFY(ShowActive());
        QTest::mouseClick(form_->Label19, Qt::LeftButton);
        QTimer::singleShot(0, form_.get(),
                           [this] { QTest::mouseClick(form_->ButtonExit, Qt::LeftButton); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        watchdog.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!form_->isVisible());
    }

    // A window of outer size `outer` and a work area; where it opens; centred (integer division),
    // then moved right/down so its top-left corner lies in the work area.
    void openingPosition_data() {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<Rect>("workArea");
        QTest::addColumn<QPoint>("position");
        // clang-format off
        QTest::newRow("centred") << QSize(360, 420) << Rect{0, 0, 1024, 768} << QPoint(332, 174);
        QTest::newRow("odd difference, nearer the top-left") << QSize(361, 421) << Rect{0, 0, 1024, 768} << QPoint(331, 173);
        QTest::newRow("task bar at top") << QSize(360, 420) << Rect{0, 40, 1024, 768} << QPoint(332, 194);
        QTest::newRow("larger than work area, top-left kept inside") << QSize(1100, 800) << Rect{0, 30, 1024, 768} << QPoint(0, 30);
        QTest::newRow("monitor left of the primary") << QSize(360, 420) << Rect{-1280, 0, 0, 1024} << QPoint(-820, 302);
        // clang-format on
    }
    void openingPosition() {
        QFETCH(QSize, outer);
        QFETCH(Rect, workArea);
        QFETCH(QPoint, position);
        QCOMPARE(mirelto::CentredPosition(workArea, outer, workArea, mirelto::KeepInside::TopLeft),
                 position);
    }

    // Fresh, unshown window; a window manager that announces a frame; placed for the first
    // showing; the outer rectangle (client 352 x 392 plus frame) is centred in the work area,
    // so the client sits that frame's left and top inside it.
    void placeAtStart_data() {
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<Rect>("workArea");
        QTest::addColumn<QPoint>("client");
        // clang-format off
        QTest::newRow("no frame") << QMargins() << Rect{0, 0, 1024, 768} << QPoint(336, 188);
        // 354 x 415 outer: (1280 - 354) / 2 = 463, (1024 - 415) / 2 = 304
        QTest::newRow("title bar and border") << QMargins(1, 22, 1, 1) << Rect{0, 0, 1280, 1024} << QPoint(464, 326);
        QTest::newRow("thick frame, task bar at top") << QMargins(4, 30, 4, 4) << Rect{0, 40, 1024, 768} << QPoint(336, 221);
        // clang-format on
    }
    void placeAtStart() {
        QFETCH(QMargins, frame);
        QFETCH(Rect, workArea);
        QFETCH(QPoint, client);
        platform_->expectedFrame = frame;
        platform_->workArea = workArea;
        mirelto::PlaceAtStart(*form_);
        QCOMPARE(form_->geometry(), QRect(client, QSize(352, 392)));
    }

    // The window as a DesignSource; one control changed; how often each notification came. The
    // result boxes are the calculation's own: no edit of the input.
    void designSourceNotifications_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("modeChanges");
        QTest::addColumn<int>("edits");
        // clang-format off
        for (const char* box : {"EditFa", "EditFo", "EditQ", "EditR1", "EditR2", "EditR3", "EditC1", "EditC2", "EditC3"}) {
            QTest::newRow(box) << QString::fromLatin1(box) << 0 << 1;
        }
        for (const char* combo : {"ComboBoxR1", "ComboBoxR2", "ComboBoxR3", "ComboBoxC1", "ComboBoxC2", "ComboBoxC3"}) {
            QTest::newRow(combo) << QString::fromLatin1(combo) << 0 << 1;
        }
        for (const char* result : {"EditFar", "EditFor", "EditQr"}) {
            QTest::newRow(result) << QString::fromLatin1(result) << 0 << 0;
        }
        QTest::newRow("RadioButtonHPF") << QStringLiteral("RadioButtonHPF") << 1 << 0;
        // clang-format on
    }
    void designSourceNotifications() {
        QFETCH(QString, control);
        QFETCH(int, modeChanges);
        QFETCH(int, edits);
        mirelto::DesignSource& source = *form_;
        int modes = 0, edited = 0;
        QObject context;
        source.OnModeChanged(&context, [&modes] { ++modes; });
        source.OnInputEdited(&context, [&edited] { ++edited; });
        QWidget* widget = form_->findChild<QWidget*>(control);
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            box->setText(box->text() + QStringLiteral("0"));
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
        } else {
            qobject_cast<QRadioButton*>(widget)->click();
        }
        QCOMPARE(modes, modeChanges);
        QCOMPARE(edited, edits);
        QCOMPARE(source.IsLpf(), control != QStringLiteral("RadioButtonHPF"));
    }
};

MIRELTO_QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
