// The help window: a fixed explanatory text in an editable box, owned by the main window,
// centred over it the first time it is shown and left where the user puts it afterwards; Esc
// closes it.
#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>

#include "desktop/platform.h"
#include "ui_help_window.h"

namespace mirelto {

class TFormHelp : public QWidget, public Ui::TFormHelp {
    Q_OBJECT

  public:
    explicit TFormHelp(QWidget* owner);
    ~TFormHelp() override;

    // Shows the window (placing it the first time) and brings it to the front.
    void ShowHelp();

  protected:
    // Esc closes (hides) the window, as it would a dialog; the text box leaves that key to it.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool placed_ = false;
};

// The one help window, made when the user first asks for it and kept, hidden on close.
extern TFormHelp* FormHelp;

// First placement: centred on the owner's outer rectangle (integer division), then moved right
// or down into the work area; the right and bottom edges are not tested.
QPoint HelpWindowPosition(const Rect& owner, QSize outer, const Rect& workArea);

}  // namespace mirelto
