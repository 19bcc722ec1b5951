#include "desktop/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <utility>

namespace mirelto {

namespace {

struct TypeLook {
    QMessageBox::Icon icon;
    QString caption;
};

// The toolkit's standard captions, in the window's language.
TypeLook LookOf(MessageType type) {
    switch (type) {
        case MessageType::Warning:
            return {QMessageBox::Warning, QCoreApplication::translate("MessageBox", "警告")};
        case MessageType::Error:
            return {QMessageBox::Critical, QCoreApplication::translate("MessageBox", "エラー")};
        case MessageType::Information:
            return {QMessageBox::Information, QCoreApplication::translate("MessageBox", "情報")};
        case MessageType::Confirmation:
            return {QMessageBox::Question, QCoreApplication::translate("MessageBox", "確認")};
        case MessageType::Custom:
            break;
    }
    return {QMessageBox::NoIcon, QString()};
}

// The toolkit names its buttons in English when no translation of its own is installed; those
// a question asks with are named in the window's language.
void NameButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, QString> names[] = {
        {QMessageBox::Save, QCoreApplication::translate("MessageBox", "保存する(&S)")},
        {QMessageBox::Discard, QCoreApplication::translate("MessageBox", "保存しない(&N)")},
        {QMessageBox::Cancel, QCoreApplication::translate("MessageBox", "キャンセル")},
    };
    for (const auto& [button, name] : names) {
        if (QAbstractButton* shown = box.button(button)) {
            shown->setText(name);
        }
    }
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
    QMessageBox box(look.icon, look.caption, text, buttons, window);
    if (buttons.testFlag(QMessageBox::Ok)) {
        box.setDefaultButton(QMessageBox::Ok);
    } else if (buttons.testFlag(QMessageBox::Save)) {
        box.setDefaultButton(QMessageBox::Save);
    }
    NameButtons(box);
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
