#include "platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QPrintDialog>
#include <QScreen>
#include <QWidget>

namespace mirelto {

namespace {

Rect FromQRect(const QRect& r) {
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Platform* installed = nullptr;

}  // namespace

QPoint CentredTopLeftInside(const Rect& over, QSize outer, const Rect& workArea) {
    int left = over.left + (over.right - over.left - outer.width()) / 2;
    int top = over.top + (over.bottom - over.top - outer.height()) / 2;
    if (left < workArea.left) {
        left = workArea.left;
    }
    if (top < workArea.top) {
        top = workArea.top;
    }
    return {left, top};
}

QSize FramedSize(const QWidget& framed, QSize client) {
    const Rect outer = CurrentPlatform().WindowRect(framed);
    const QSize frame((outer.right - outer.left) - framed.width(),
                      (outer.bottom - outer.top) - framed.height());
    return client + frame;
}

Platform& CurrentPlatform() {
    static QtPlatform qtPlatform;
    return installed ? *installed : qtPlatform;
}

Platform* SetPlatform(Platform* platform) {
    Platform* previous = installed;
    installed = platform;
    return previous;
}

Rect QtPlatform::WindowRect(const QWidget& window) const {
    return FromQRect(window.frameGeometry());
}

Rect QtPlatform::WorkArea(const QWidget* window) const {
    // The screen that holds the largest part of the window, else the primary one.
    QScreen* screen = window ? window->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? FromQRect(screen->availableGeometry()) : Rect{};
}

int QtPlatform::ExecModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtPlatform::ExecPrintDialog(QPrintDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

void QtPlatform::SetClipboardText(const QString& text) {
    // setText replaces every format the clipboard held: the report is its only content.
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void QtPlatform::SetClipboardImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image, QClipboard::Clipboard);
}

QString QtPlatform::GetSaveFileName(QWidget* parent, const QString& caption,
                                    const QString& suggested, const QString& filters,
                                    QString* selectedFilter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filters, selectedFilter);
}

}  // namespace mirelto
