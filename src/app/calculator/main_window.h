// The calculator's main window: its controls (from the window definition), start-up settings,
// the LPF/HPF mode, keyboard navigation between the fields, the help and analysis links and the
// calculation commands. The arithmetic lives in the core; the window reads boxes and shows results.
#pragma once

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

#include <mirelto/design/constant_calculation.h>
#include <mirelto/design/messages.h>
#include <mirelto/response/analysis.h>

#include "calculator/analysis_input.h"
#include "desktop/platform.h"
#include "source/design_source.h"
#include "ui_main_window.h"

class QComboBox;
class QLineEdit;
class QPrintDialog;
class QPrinter;

namespace mirelto {

class FileCommands;
class TFormAnalysis;

// The analysis window and the design files see it as their DesignSource only.
class TFormMain : public QWidget, public Ui::TFormMain, public DesignSource {
    Q_OBJECT

  public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // Commands and handlers, wired to their controls.
    void ButtonCalcClick();
    void RadioButtonLpfClick();
    void ButtonExitClick();
    void Label19Click();
    void LabelAnalysisClick();
    void ButtonTFClick();
    void ButtonClrClick();
    void ButtonPrintClick();
    void ButtonCopyClick();

    // The report of what the value boxes hold now (see ComposeReport).
    QString BuildReport() const;

    void SetFilterMode(bool isLpf);
    // Enter and Down move the focus to the next field, Up to the previous one, wrapping around.
    // Returns whether the key was used.
    bool MoveFocusByKey(int key);

    // The six part boxes and their series selectors: R1, R2, R3, C1, C2, C3.
    std::array<QLineEdit*, kComponentCount> PartBoxes() const;
    std::array<QComboBox*, kComponentCount> SeriesBoxes() const;
    // R1..R3 of them (`resistors`) or C1..C3.
    std::array<QLineEdit*, 3> PartBoxes(bool resistors) const;
    std::array<QComboBox*, 3> SeriesBoxes(bool resistors) const;

    // The design source (see design_source.h).
    QWidget& Window() override { return *this; }
    bool IsLpf() const override;
    ConstantRequest CurrentRequest() const override;
    DesignTexts Texts() const override;
    const std::optional<AnalysisInput>& LastResult() const override { return analysisInput_; }
    void ShowTexts(const DesignTexts& design) override;
    void ApplyRequest(const std::array<QString, 3>& request) override;
    void ApplyParts(bool isLpf, const std::array<QString, kComponentCount>& parts) override;
    QMetaObject::Connection OnModeChanged(QObject* context, std::function<void()> call) override;
    QMetaObject::Connection OnInputEdited(QObject* context, std::function<void()> call) override;
    QMetaObject::Connection OnCalculated(QObject* context,
                                         std::function<void(const AnalysisInput&)> call) override;

    void ShowResults();
    void ClearResults();
    // An opened design's result shown again from its parts as saved, by the transfer-function
    // calculation: nothing is rounded again. One of the constant calculation keeps that command
    // and its request, for the report and the analysis window's comparison.
    void ShowSavedResult(bool byConstants);

    // The printer chosen last, made on first use (that loads the print system) together with
    // PrintDialog1, the dialog that chooses it; both are kept so a choice stays for the next print.
    QPrinter& Printer();
    // The analysis window, made on the first click of its link; null before.
    TFormAnalysis* AnalysisWindow() const { return analysis_; }
    // Opening and saving design files (Ctrl+O, Ctrl+S, Ctrl+Shift+S, drops).
    FileCommands& Files() { return *files_; }
    QPrintDialog* PrintDialog1 = nullptr;
    // The font the printer draws in: 9 points; a print job sets its name for the job's duration.
    QFont PrinterFont;

  signals:
    // The notifications of the design source.
    void ModeChanged();
    void InputEdited();
    void Calculated(const AnalysisInput& input);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A changed design file is saved or given up first; without one it closes as it always has.
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void WireControls();
    void ShowHints(bool resistors, bool show);
    void SetOutputEnabled(bool enabled);
    // Of the two radio buttons only the checked one is a tab stop.
    void KeepCheckedRadioTheTabStop();
    // Relays the controls' changes as the design source's notifications.
    void AnnounceChanges();
    // After a successful calculation: announces its input for the analysis (which draws it
    // later) and keeps it for a window made afterwards.
    void NotifyAnalysis();

    QString hints_[kComponentCount];  // EditR1..EditR3, EditC1..EditC3, as defined
    MessageSink previousSink_;
    std::unique_ptr<QPrinter> printer_;
    std::optional<AnalysisInput> analysisInput_;
    // The request later transfer-function calculations are compared with: set by a successful
    // constant calculation, dropped by one that fails and by a change of mode.
    std::optional<KeptRequest> keptRequest_;
    TFormAnalysis* analysis_ = nullptr;
    FileCommands* files_ = nullptr;
    QObject* pressedLink_ = nullptr;  // the link label under the last left press, if any
};

// The one main window, set before its creation handler runs.
extern TFormMain* FormMain;

// Shows a message of the calculation in the current language, of its type, with an OK button,
// centred over the main window.
void Tell(MessageId id);

// major.minor of the build's version, the minor with at least two digits ("1.00", "1.11").
QString FileVersionText();

// Places the window, not yet shown, where it first opens: its outer rectangle, with the frame
// that the window manager will add, centred in the work area.
void PlaceAtStart(QWidget& window);

}  // namespace mirelto
