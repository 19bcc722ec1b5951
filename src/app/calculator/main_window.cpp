#include "calculator/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>

#include <mirelto/design/design_state.h>

#include "analysis/analysis_window.h"
#include "calculator/help_window.h"
#include "desktop/error_display.h"
#include "desktop/language.h"
#include "desktop/message_box.h"
#include "files/file_commands.h"

namespace mirelto {

TFormMain* FormMain = nullptr;

namespace {

constexpr int kMainFontPixels = 13;
constexpr int kPrinterFontPoints = 9;
// The client area fits the controls: this much right of and below the Exit button.
constexpr int kRightMargin = 15;
constexpr int kBottomMargin = 8;

// A centred label narrower than its text grows to it, both sides alike, so that a translated link
// ("Analysis") shows whole over the same centre. The Japanese texts fit as defined.
void WidenAroundCentre(QLabel& label) {
    const int frame = label.width() - label.contentsRect().width();
    const int needed = label.fontMetrics().horizontalAdvance(label.text()) + frame;
    if (needed > label.width()) {
        const int grow = needed - label.width();
        label.setGeometry(label.geometry().adjusted(-grow / 2, 0, grow - grow / 2, 0));
    }
}

}  // namespace

void Tell(MessageId id) {
    ShowMessageCentered(MessageTextOf(id), TextOf(id).type, QMessageBox::Ok, 0, FormMain);
}

QString FileVersionText() {
    return QStringLiteral("%1.%2")
        .arg(MIRELTO_VERSION_MAJOR)
        .arg(MIRELTO_VERSION_MINOR, 2, 10, QLatin1Char('0'));
}

void PlaceAtStart(QWidget& window) {
    // Placed by its client area from here on, so that the frame goes around where it is put.
    window.setGeometry(window.geometry());
    Platform& platform = CurrentPlatform();
    const QMargins frame = platform.ExpectedFrame(window);
    const Rect workArea = platform.WorkArea(nullptr);
    const QPoint outer =
        CentredPosition(workArea, window.size().grownBy(frame), workArea, KeepInside::TopLeft);
    window.setGeometry(QRect(outer + QPoint(frame.left(), frame.top()), window.size()));
}

TFormMain::TFormMain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    FormMain = this;
    setupUi(this);
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(kMainFontPixels);
    setFont(font);
    for (QLabel* link : {Label19, LabelAnalysis}) {
        WidenAroundCentre(*link);
    }
    ImageLPF->load(QStringLiteral(":/schematic_lpf"));
    ImageHPF->load(QStringLiteral(":/schematic_hpf"));
    PrinterFont.setPointSize(kPrinterFontPoints);
    const auto parts = PartBoxes();
    for (std::size_t i = 0; i < kComponentCount; ++i) {
        hints_[i] = parts[i]->toolTip();
    }
    // The core reports an unrealisable request through this sink: a centred error box.
    previousSink_ = SetMessageSink([](MessageId id) { Tell(id); });
    WireControls();
    AnnounceChanges();
    FormCreate();
    files_ = new FileCommands(*this);
}

TFormMain::~TFormMain() {
    // The dialog works on the printer: it goes first.
    delete PrintDialog1;
    SetMessageSink(previousSink_);
    if (FormMain == this) {
        FormMain = nullptr;
    }
}

void TFormMain::FormCreate() {
    setWindowTitle(QCoreApplication::translate("TFormMain", "３次LPF/HPF Ver") + FileVersionText());
    const QRect exit = ButtonExit->geometry();
    // A fixed size: the window can neither grow nor be maximised.
    setFixedSize(exit.left() + exit.width() + kRightMargin,
                 exit.top() + exit.height() + kBottomMargin);
    DesignState.IsLpf = RadioButtonLpf->isChecked();
    SetFilterMode(RadioButtonLpf->isChecked());
    KeepCheckedRadioTheTabStop();
}

void TFormMain::KeepCheckedRadioTheTabStop() {
    // Qt makes a radio button a tab stop once it has had the focus, checked or not.
    for (QRadioButton* radio : {RadioButtonLpf, RadioButtonHPF}) {
        radio->setFocusPolicy(radio->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void TFormMain::WireControls() {
    // Every command runs guarded: a fault it raises reaches the general error display.
    const auto guarded = [this](void (TFormMain::*handler)()) {
        return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(ButtonCalc, &QPushButton::clicked, this, guarded(&TFormMain::ButtonCalcClick));
    connect(ButtonTF, &QPushButton::clicked, this, guarded(&TFormMain::ButtonTFClick));
    connect(ButtonClr, &QPushButton::clicked, this, guarded(&TFormMain::ButtonClrClick));
    connect(ButtonExit, &QPushButton::clicked, this, guarded(&TFormMain::ButtonExitClick));
    connect(ButtonPrint, &QPushButton::clicked, this, guarded(&TFormMain::ButtonPrintClick));
    connect(ButtonCopy, &QPushButton::clicked, this, guarded(&TFormMain::ButtonCopyClick));
    // A radio button's click is its becoming checked; the handler reads RadioButtonLpf alone.
    for (QRadioButton* radio : {RadioButtonLpf, RadioButtonHPF}) {
        connect(radio, &QRadioButton::toggled, this, [this, guarded](bool checked) {
            KeepCheckedRadioTheTabStop();
            if (checked) {
                guarded (&TFormMain::RadioButtonLpfClick)();
            }
        });
        radio->installEventFilter(this);
    }
    for (QLineEdit* edit : {EditFa, EditFo, EditQ, EditR1, EditR2, EditR3, EditFar, EditFor, EditQr,
                            EditC1, EditC2, EditC3}) {
        edit->installEventFilter(this);
    }
    for (QComboBox* combo : SeriesBoxes()) {
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
    }
    Label19->installEventFilter(this);
    LabelAnalysis->installEventFilter(this);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RadioButtonLpf || watched == RadioButtonHPF) {
        if (event->type() == QEvent::FocusIn) {
            // The button takes the tab stop as it takes the focus, checked or not (a press that
            // is dragged off leaves it unchecked): hand the stop back once it has.
            QMetaObject::invokeMethod(
                this, [this] { KeepCheckedRadioTheTabStop(); }, Qt::QueuedConnection);
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (qobject_cast<QLineEdit*>(watched) && watched->parent() == this) {
            return MoveFocusByKey(key);
        }
        // Combo boxes keep their arrows but never see the Enter character.
        return enter;
    }
    // The two link labels take a left click as a button takes its click: a release inside the
    // label that follows a press inside it.
    const bool link = watched == Label19 || watched == LabelAnalysis;
    const bool left = (event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseButtonRelease) &&
                      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (link && left) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool inside =
            static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        if (event->type() == QEvent::MouseButtonPress) {
            pressedLink_ = inside ? watched : nullptr;
            return true;
        }
        const bool clicked = inside && pressedLink_ == watched;
        pressedLink_ = nullptr;
        if (clicked) {
            RunGuarded(
                [this, watched] { watched == Label19 ? Label19Click() : LabelAnalysisClick(); });
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TFormMain::MoveFocusByKey(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            focusNextPrevChild(true);
            return true;
        case Qt::Key_Up:
            focusNextPrevChild(false);
            return true;
        default:
            return false;
    }
}

void TFormMain::RadioButtonLpfClick() {
    SetFilterMode(RadioButtonLpf->isChecked());
}

void TFormMain::ShowHints(bool resistors, bool show) {
    const std::size_t first = resistors ? 0 : 3;
    const auto boxes = PartBoxes(resistors);
    for (std::size_t i = 0; i < 3; ++i) {
        boxes[i]->setToolTip(show ? hints_[first + i] : QString());
    }
}

void TFormMain::SetOutputEnabled(bool enabled) {
    ButtonPrint->setEnabled(enabled);
    ButtonCopy->setEnabled(enabled);
}

void TFormMain::SetFilterMode(bool isLpf) {
    DesignState.IsLpf = isLpf;
    // A request of the other circuit form says nothing about this one's circuits; an opened
    // design starts afresh too.
    keptRequest_.reset();
    // The series of the computed parts: C1..C3 in LPF, R1..R3 in HPF.
    for (QComboBox* combo : SeriesBoxes(false)) {
        combo->setEnabled(isLpf);
    }
    for (QComboBox* combo : SeriesBoxes(true)) {
        combo->setEnabled(!isLpf);
    }
    ShowHints(false, !isLpf);
    ShowHints(true, isLpf);
    ImageLPF->setVisible(isLpf);
    ImageHPF->setVisible(!isLpf);
    // The window definition's two captions, so that they translate as one.
    const QString given = QCoreApplication::translate("TFormMain", "指定値");
    const QString result = QCoreApplication::translate("TFormMain", "結果");
    LabelR->setText(isLpf ? given : result);
    LabelC->setText(isLpf ? result : given);
    SetOutputEnabled(false);
}

void TFormMain::Label19Click() {
    // Made on first use: its text and fonts cost start-up time for a window most runs never open.
    if (!FormHelp) {
        new TFormHelp(this);
    }
    FormHelp->ShowHelp();
}

void TFormMain::LabelAnalysisClick() {
    // Made on first use: its plots cost start-up time, and most runs never open it.
    if (!analysis_) {
        analysis_ = new TFormAnalysis(*this);
        files_->AnalysisWindowMade(*analysis_);
        if (analysisInput_) {
            analysis_->Follow(*analysisInput_);
        }
    }
    analysis_->ShowAnalysis();
}

void TFormMain::NotifyAnalysis() {
    const DesignRecord& st = DesignState;
    if (st.ConstantMode) {
        keptRequest_ = KeptRequest{{st.Fa, st.Fo, st.Q}, st.IsLpf};
    }
    analysisInput_ = AnalysisInputFrom(st, keptRequest_);
    // The analysis only stores the input and posts the drawing: the calculation returns at once.
    if (analysisInput_) {
        emit Calculated(*analysisInput_);
    }
}

QPrinter& TFormMain::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        PrintDialog1 = new QPrintDialog(printer_.get(), this);
    }
    return *printer_;
}

void TFormMain::ButtonExitClick() {
    close();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!files_->MaySetDesignAside(this)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace mirelto
