// What every window test shares: a pinned environment (offscreen platform unless one is set, a
// Japanese desktop for messages with "C" formats, the language that desktop chooses, 96 DPI, a
// temporary HOME and settings folder of its own) and a fake desktop that records message boxes
// instead of showing them, with window and work-area rectangles the test can set, a printer dialog
// that confirms or cancels as told, a save dialog that answers with the path it is given, and a
// clipboard that keeps what was copied; save and open dialogs answer with the path they are given.
#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

#include "desktop/fonts.h"
#include "desktop/language.h"

#include "desktop/platform.h"

class QPrinter;

namespace mirelto {
class TFormAnalysis;
class TFormMain;
}  // namespace mirelto

namespace mirelto::test {

struct ShownBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QPoint position;
    QSize size;
    QMessageBox::StandardButtons buttons;  // the box's buttons
    QStringList buttonTexts;               // their texts, in the order of the standard buttons
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    const QWidget* parent = nullptr;
};

class FakePlatform : public Platform {
  public:
    FakePlatform();
    ~FakePlatform() override;

    Rect WindowRect(const QWidget& window) const override;
    Rect WorkArea(const QWidget* window) const override;
    QMargins ExpectedFrame(QWidget& window) override;
    int ExecModal(QDialog& dialog) override;
    bool ExecPrintDialog(QPrintDialog& dialog) override;
    void SetClipboardText(const QString& text) override;
    void SetClipboardImage(const QImage& image) override;
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                            const QString& filters, QString* selectedFilter) override;
    QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filters) override;

    // Rectangles to report instead of the real ones (unset: the widget's own frame geometry,
    // a 1024 x 768 work area).
    std::optional<Rect> windowRect;
    Rect workArea{0, 0, 1024, 768};
    QMargins expectedFrame;  // the frame a window manager would announce
    QList<ShownBox> boxes;   // every modal box "shown", in order
    // The button the user presses in a box that has it; in any other box OK.
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    // The printer dialog: times shown, whether the user confirms, and what the user sets up on
    // the printer before confirming.
    int printDialogs = 0;
    bool confirmPrint = false;
    std::function<void(QPrinter&)> choosePrinter;
    QStringList copied;          // every text put on the clipboard, in order
    QList<QImage> copiedImages;  // every image put on the clipboard, in order
    // The save dialog: times shown, what it offered, and the user's answer (an empty path
    // cancels; an empty filter keeps the one offered).
    int saveDialogs = 0;
    QString offeredName, offeredFilters, offeredFilter;
    QString savePath, saveFilter;
    // The open dialog: times shown, and the user's answer (an empty path cancels).
    int openDialogs = 0;
    QString openPath;

  private:
    Platform* previous_;
};

// Watches every value axis of the plots on `area` (those there now) and keeps the largest
// number of dynamic ticks any of them was asked for at any change of range, interval or tick
// type: an axis lays its ticks out on each change, so a range set under an old interval can ask
// for billions and never return.
class TickWatch {
  public:
    explicit TickWatch(const QWidget& area);
    double MostTicks() const { return *most_; }
    void Reset() { *most_ = 0; }

  private:
    std::shared_ptr<double> most_ = std::make_shared<double>(0);
    std::unique_ptr<QObject> context_ = std::make_unique<QObject>();
};

// The form's control of that object name; a missing one ends the test program.
QWidget* Control(const QWidget& form, const QString& name);

// A fresh fake desktop and main window, shown at (100, 100) with no result yet; false when the
// window never became exposed.
bool OpenFreshMainWindow(std::unique_ptr<FakePlatform>& platform, std::unique_ptr<TFormMain>& form);

// Clicks the main window's 解析 link; the analysis window it opens.
TFormAnalysis* OpenAnalysis(TFormMain& form);

// Texts of named boxes and selectors, written "EditR2= 47k |ComboBoxC1=∞": a control's name, "=",
// its text as is (spaces kept), "|" before the next; a later name replaces an earlier one.
using Texts = QMap<QString, QString>;
Texts TextsOf(const QString& written);

// The text a box or a selector of the form shows.
QString ShownText(const QWidget& form, const QString& name);

// `text` against the file `name` under tests/app/golden/ (MIRELTO_UPDATE_GOLDEN=1 writes `text`
// into the file first): empty when they are the same, else where they part.
QString GoldenDifference(const QString& text, const QString& name);

// The resident memory of this program in kB, for the record.
long ResidentKb();

// Sets the environment the tests pin, with `desktopLocale` as the desktop's locale for messages
// (LC_MESSAGES; LANG and the C library keep "C"), and a temporary home (PinTemporaryHome); call
// first thing in main.
void PinTestEnvironment(const char* desktopLocale = "ja_JP.UTF-8");

// Moves HOME, the XDG folders and the temporary folder (TMPDIR) into a temporary folder of this
// run (removed at its end) and points the window's settings there; the program fails at its end
// if the user's own settings then name a file of this run, as a recent list written there
// would. (The user's folder is not compared as a whole: other programs may change it meanwhile.)
void PinTemporaryHome();
// The temporary home; empty before PinTemporaryHome.
QString TestHome();
// The user's own settings folder that PinTemporaryHome watches.
QString RealSettingsFolder();
// Whether that folder names no file of this run.
bool RealSettingsUntouched();
// Whether a file in `folder` or below it holds `text` (its file-name bytes).
bool FolderMentions(const QString& folder, const QString& text);

}  // namespace mirelto::test

// A main for one Qt Test class with the pinned environment, on a desktop of that locale, in the
// language the program chooses for it.
#define MIRELTO_QTEST_MAIN_IN(TestClass, desktopLocale)       \
    int main(int argc, char** argv) {                         \
        mirelto::test::PinTestEnvironment(desktopLocale);     \
        QApplication app(argc, argv);                         \
        mirelto::InstallLanguage(mirelto::DesktopLanguage()); \
        mirelto::RegisterFontSubstitutions();                 \
        TestClass test;                                       \
        return QTest::qExec(&test, argc, argv);               \
    }
#define MIRELTO_QTEST_MAIN(TestClass) MIRELTO_QTEST_MAIN_IN(TestClass, "ja_JP.UTF-8")
