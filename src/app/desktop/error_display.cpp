#include "desktop/error_display.h"

#include <QFileInfo>
#include <QMessageBox>

#include "desktop/platform.h"

namespace mirelto {

QString ApplicationTitle() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString WithFullStop(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.')) {
        return text + QLatin1Char('.');
    }
    return text;
}

void ShowApplicationError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), WithFullStop(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    CurrentPlatform().ExecModal(box);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace mirelto
