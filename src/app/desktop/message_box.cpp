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
    box.move(CentredPosition(platform.WindowRect(*window), outerSize, platform.WorkArea(window),
                             KeepInside::Whole));
    return platform.ExecModal(box);
}

}  // namespace mirelto
