// Warnings and errors shown centred over a window (the main window in practice) and kept inside
// the work area of the screen that shows it.
#pragma once

#include <QMessageBox>
#include <QPoint>
#include <QString>

#include <mirelto/design/messages.h>

#include "desktop/platform.h"

class QWidget;

namespace mirelto {

// The work area of the screen that shows `window` (the main window when none is given).
Rect MonitorWorkArea(const QWidget* window);

// Shows a modal message box of the given type ("Warning", "Error", ...) with `buttons`, centred
// over `window` (the main window when none is given) and returns the button that closed it.
// The help context is accepted for the callers' sake; there is no help file.
int ShowMessageCentered(const QString& text, MessageType type, QMessageBox::StandardButtons buttons,
                        int helpContext, QWidget* window);

}  // namespace mirelto
