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
    box.move(CentredPosition(platform.WindowRect(*window), outerSize, platform.WorkArea(window),
                             KeepInside::Whole));
    return platform.ExecModal(box);
}

}  // namespace mirelto
