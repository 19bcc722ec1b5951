#include "calculator/help_window.h"

#include <QFont>

namespace mirelto {

TFormHelp* FormHelp = nullptr;

namespace {

constexpr int kHelpFontPixels = 11;
constexpr QSize kClientSize(529, 424);

}  // namespace

QPoint HelpWindowPosition(const Rect& owner, QSize outer, const Rect& workArea) {
    return CentredPosition(owner, outer, workArea, KeepInside::TopLeft);
}

TFormHelp::TFormHelp(QWidget* owner)
    // A dialog-type window owned by the main window: kept in front of it, no task-bar entry of
    // its own, minimised and closed with it; still resizable with minimise and maximise.
    : QWidget(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    FormHelp = this;
    setupUi(this);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kHelpFontPixels);
    setFont(font);
    resize(kClientSize);
}

TFormHelp::~TFormHelp() {
    if (FormHelp == this) {
        FormHelp = nullptr;
    }
}

void TFormHelp::ShowHelp() {
    if (!placed_ && parentWidget()) {
        QWidget& owner = *parentWidget();
        Platform& platform = CurrentPlatform();
        move(HelpWindowPosition(platform.WindowRect(owner), FramedSize(owner, size()),
                                platform.WorkArea(&owner)));
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

}  // namespace mirelto
