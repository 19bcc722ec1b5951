// The application's general error display: a fault or a failed platform operation that escapes a
// command is shown in a modal error box, and the window goes on taking input.
#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <utility>

namespace mirelto {

// The executable's file name without its extension: the caption of the general error box.
QString ApplicationTitle();

// The text with a full stop appended when its last character has a code above that of ".".
QString WithFullStop(const QString& text);

// Shows `text` (full stop by the rule above) with the application's title and the error icon.
void ShowApplicationError(const QString& text);

// Runs one command; whatever escapes it reaches the general error display.
template <class Command>
void RunGuarded(Command&& command) noexcept {
    try {
        std::forward<Command>(command)();
    } catch (const std::exception& error) {
        ShowApplicationError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowApplicationError(QStringLiteral("Unknown error"));
    }
}

// The event loop's last line of defence: an exception that escapes any event handler is shown
// instead of ending the program.
class Application : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace mirelto
