#include "desktop/drawing.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace mirelto {

DrawingView::DrawingView(QWidget* parent) : QWidget(parent) {}

namespace {

QString RenderingFile(const QString& base, bool doubled) {
    return base + (doubled ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
}

// Read as PNG, said outright: a reader left to guess asks every image-format plugin first, which
// loads each of them (and the SVG and JPEG libraries behind them) at start-up.
QPixmap ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

void DrawingView::load(const QString& base) {
    base_ = base;
    shown_ = QPixmap();
    update();
}

bool DrawingView::hasDrawing() const {
    return !base_.isEmpty() && QFile::exists(RenderingFile(base_, false)) &&
           QFile::exists(RenderingFile(base_, true));
}

void DrawingView::paintEvent(QPaintEvent*) {
    if (base_.isEmpty()) {
        return;
    }
    // Chosen at paint time, so a move to a screen of another scale repaints sharply.
    const bool doubled = devicePixelRatioF() > 1.0;
    if (shown_.isNull() || (shown_.devicePixelRatio() > 1.0) != doubled) {
        shown_ = ReadPng(RenderingFile(base_, doubled));
        shown_.setDevicePixelRatio(doubled ? 2.0 : 1.0);
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), shown_);
}

QIcon ApplicationIcon() {
    QIcon icon;
    // The sizes a title bar and a task switcher ask a window for.
    for (const int size : {16, 24, 32, 48}) {
        icon.addPixmap(ReadPng(QStringLiteral(":/mirelto_icon_%1.png").arg(size)));
    }
    return icon;
}

}  // namespace mirelto
