// The desktop operations the calculator relies on, behind one replaceable interface: window and
// work-area rectangles, modal dialogs, the printer, save-file and open-file dialogs and the
// clipboard. The
// tests install a fake that records what would be shown and never blocks; the program runs on
// QtPlatform.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QSize>

class QDialog;
class QImage;
class QPrintDialog;
class QString;
class QWidget;

namespace mirelto {

// A screen rectangle in pixels; right and bottom lie just outside the area.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // The window's outer rectangle, frame and title bar included, in screen coordinates.
    virtual Rect WindowRect(const QWidget& window) const = 0;
    // The work area (screen less task bars and docks) of the screen that shows the window.
    virtual Rect WorkArea(const QWidget* window) const = 0;
    // The frame (border and title bar) the window manager will put around the window, asked for
    // before it is first shown; none where the desktop cannot tell. Gives the window its native
    // window, placed by its client area (see PlaceAtStart).
    virtual QMargins ExpectedFrame(QWidget& window) = 0;
    // Shows the dialog modally where it has been placed; returns its result when it closes.
    virtual int ExecModal(QDialog& dialog) = 0;
    // Lets the user choose the printer of the dialog; true when the choice is confirmed, and the
    // dialog's printer is then set up as chosen.
    virtual bool ExecPrintDialog(QPrintDialog& dialog) = 0;
    // Replaces the clipboard's content with the text, as Unicode text only.
    virtual void SetClipboardText(const QString& text) = 0;
    // Replaces the clipboard's content with the image.
    virtual void SetClipboardImage(const QImage& image) = 0;
    // Asks where to save a file: `suggested` is the name offered, `filters` the file types
    // (";;"-separated); `selectedFilter` holds the type offered first and receives the one
    // chosen. Returns the chosen path, or an empty text when the user cancels.
    virtual QString GetSaveFileName(QWidget* parent, const QString& caption,
                                    const QString& suggested, const QString& filters,
                                    QString* selectedFilter) = 0;
    // Asks which file to open: `directory` is where the dialog starts, `filters` the file types
    // (";;"-separated). Returns the chosen path, or an empty text when the user cancels.
    virtual QString GetOpenFileName(QWidget* parent, const QString& caption,
                                    const QString& directory, const QString& filters) = 0;
};

// The outer size a window of client size `client` will have once framed like `framed` (an
// unshown window has no frame yet).
QSize FramedSize(const QWidget& framed, QSize client);

// What a centred window keeps inside the work area: its top-left corner (a window, which the
// user can move), or the whole of it (a message box), its bottom-right corner where it is larger.
enum class KeepInside { TopLeft, Whole };

// Where a window of outer size `outer` goes centred over `over` (integer division), then moved
// into the work area, each axis on its own: right or down until its top-left corner lies inside;
// with KeepInside::Whole then left or up until its bottom-right corner does too.
QPoint CentredPosition(const Rect& over, QSize outer, const Rect& workArea, KeepInside keep);

// The platform in use; the Qt one unless a test has installed another.
Platform& CurrentPlatform();
// Installs `platform` (nullptr: back to the Qt one) and returns the one it replaces.
Platform* SetPlatform(Platform* platform);

class QtPlatform : public Platform {
  public:
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
};

}  // namespace mirelto
