// Start-up: the language of the desktop (or MIRELTO_LANG), the main window (the help window is
// made when first asked for), then the event loop until the main window closes. One optional
// argument, a design file opened once the window is shown.
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

#include <mirelto/design/design_state.h>

#include "calculator/main_window.h"
#include "desktop/drawing.h"
#include "desktop/error_display.h"
#include "desktop/fonts.h"
#include "desktop/language.h"
#include "desktop/platform.h"
#include "files/file_commands.h"

namespace {

// Qt's own message for a missing display is a plugin stack trace; say it in one line instead.
bool HasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) {
        return true;
    }
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "mirelto: no display found (DISPLAY is not set); it needs a desktop.\n");
        return 2;
    }
    mirelto::DesignState.ResultValid = false;
    mirelto::Application app(argc, argv);
    // The toolkit has taken its own options (-platform, -style) out by now.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 2) {
        std::fprintf(stderr, "mirelto: one design file at most (usage: mirelto [FILE])\n");
        return 2;
    }
    mirelto::InstallLanguage(mirelto::DesktopLanguage());
    app.setWindowIcon(mirelto::ApplicationIcon());
    mirelto::RegisterFontSubstitutions();

    mirelto::TFormMain formMain;
    mirelto::PlaceAtStart(formMain);
    formMain.show();
    if (arguments.size() == 2) {
        // From the event loop, so that a message about the file shows over the shown window.
        const QString path = arguments[1];
        QMetaObject::invokeMethod(
            &formMain,
            [&formMain, path] {
                mirelto::RunGuarded(
                    [&formMain, &path] { formMain.Files().OpenFile(path, &formMain); });
            },
            Qt::QueuedConnection);
    }
    return app.exec();
}
