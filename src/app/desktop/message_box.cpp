#include "desktop/message_box.h"

#include <QApplication>
#include <QWidget>

namespace mirelto {

namespace {

struct TypeLook {
    QMessageBox::Icon icon;
    const char* caption;
};

TypeLook LookOf(MessageType type) {
    switch (type) {
        case MessageType::Warning:
            return {QMessageBox::Warning, "Warning"};
        case MessageType::Error:
            return {QMessageBox::Critical, "Error"};
        case MessageType::Information:
            return {QMessageBox::Information, "Information"};
        case MessageType::Confirmation:
            return {QMessageBox::Question, "Confirm"};
        case MessageType::Custom:
            break;
    }
    return {QMessageBox::NoIcon, ""};
}

QWidget* MainWindowOr(QWidget* window) {
    if (window) {
        return window;
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->parentWidget() && top->isWindow() && top->inherits("mirelto::TFormMain")) {
            return top;
        }
    }
    return nullptr;
}

}  // namespace

QPoint CenteredBoxPosition(const Rect& window, int width, int height, const Rect& workArea) {
    int top = window.top + (window.bottom - window.top - height) / 2;
    int left = window.left + (window.right - window.left - width) / 2;
    if (top < workArea.top) {
        top = workArea.top;
    }
    if (top > workArea.bottom - height) {
        top = workArea.bottom - height;
    }
    if (left < workArea.left) {
        left = workArea.left;
    }
    if (left > workArea.right - width) {
        left = workArea.right - width;
    }
    return {left, top};
}

Rect MonitorWorkArea(const QWidget* window) {
    return CurrentPlatform().WorkArea(MainWindowOr(const_cast<QWidget*>(window)));
}

int ShowMessageCentered(const QString& text, MessageType type, QMessageBox::StandardButtons buttons,
                        int /*helpContext*/, QWidget* window) {
    window = MainWindowOr(window);
    const TypeLook look = LookOf(type);
    QMessageBox box(look.icon, QString::fromLatin1(look.caption), text, buttons, window);
    if (buttons.testFlag(QMessageBox::Ok)) {
        box.setDefaultButton(QMessageBox::Ok);
    }
    if (!window) {
        return CurrentPlatform().ExecModal(box);
    }
    Platform& platform = CurrentPlatform();
    // The box is not shown yet, so its frame is not known: it gets the one the window has.
    box.adjustSize();
    const QSize outerSize = FramedSize(*window, box.size());
    box.move(CenteredBoxPosition(platform.WindowRect(*window), outerSize.width(),
                                 outerSize.height(), platform.WorkArea(window)));
    return platform.ExecModal(box);
}

}  // namespace mirelto
