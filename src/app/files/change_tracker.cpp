#include "files/change_tracker.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QWidget>

#include "desktop/message_box.h"

namespace mirelto {

ChangeTracker::ChangeTracker(std::function<DesignFile()> current, QObject* parent)
    : QObject(parent), current_(std::move(current)) {}

void ChangeTracker::Watch(QWidget& window) {
    windows_.append({&window, window.windowTitle()});
    // Every control that a design holds is one of these; the others cost a comparison.
    for (auto* edit : window.findChildren<QLineEdit*>()) {
        connect(edit, &QLineEdit::textChanged, this, &ChangeTracker::Refresh);
    }
    for (auto* combo : window.findChildren<QComboBox*>()) {
        connect(combo, &QComboBox::currentTextChanged, this, &ChangeTracker::Refresh);
    }
    for (auto* button : window.findChildren<QAbstractButton*>()) {
        connect(button, &QAbstractButton::toggled, this, &ChangeTracker::Refresh);
    }
    for (auto* spin : window.findChildren<QSpinBox*>()) {
        connect(spin, &QSpinBox::valueChanged, this, &ChangeTracker::Refresh);
    }
    for (auto* text : window.findChildren<QPlainTextEdit*>()) {
        connect(text, &QPlainTextEdit::textChanged, this, &ChangeTracker::Refresh);
    }
    Refresh();
}

void ChangeTracker::Settled(const QString& path) {
    path_ = path;
    settled_ = current_();
    Refresh();
}

void ChangeTracker::Reshown() {
    if (!path_.isEmpty()) {
        Settled(path_);
    }
}

bool ChangeTracker::Changed() const {
    return !path_.isEmpty() && settled_ && current_() != *settled_;
}

SetAside ChangeTracker::Ask(QWidget* over) const {
    if (!Changed()) {
        return SetAside::Discard;
    }
    const int answer = ShowMessageCentered(
        tr("%1 への変更を保存しますか?").arg(QFileInfo(path_).fileName()),
        MessageType::Confirmation, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
        0, over);
    switch (answer) {
        case QMessageBox::Save:
            return SetAside::Save;
        case QMessageBox::Discard:
            return SetAside::Discard;
        default:
            return SetAside::Cancel;
    }
}

void ChangeTracker::Refresh() {
    if (path_.isEmpty()) {
        return;
    }
    const bool changed = Changed();
    // Qt reads "[*]" in a caption as the change mark and "[*][*]" as the text "[*]".
    const QString name =
        QFileInfo(path_).fileName().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    for (const Watched& watched : windows_) {
        if (watched.window) {
            watched.window->setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, watched.caption));
            watched.window->setWindowModified(changed);
        }
    }
}

}  // namespace mirelto
