#include "analysis/response/chart_interaction.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QXYSeries>

#include <cmath>

namespace mirelto {

namespace {

// One wheel notch (120 units) zooms by this factor.
constexpr double kWheelZoom = 1.25;
constexpr int kReadoutMargin = 4;

}  // namespace

ChartInteraction::ChartInteraction(QChartView& view, Readout readout)
    : QObject(&view),
      view_(view),
      viewport_(view.viewport()),
      readout_(std::move(readout)),
      label_(new QLabel(&view)) {
    view_.setRubberBand(QChartView::RectangleRubberBand);
    view_.viewport()->setMouseTracking(true);
    view_.viewport()->installEventFilter(this);
    label_->setObjectName(QStringLiteral("CursorReadout"));
    label_->setStyleSheet(QStringLiteral(
        "background: rgba(255, 255, 255, 220); border: 1px solid #999; padding: 2px;"));
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    label_->hide();
}

void ChartInteraction::Reset() {
    view_.chart()->zoomReset();
}

void ChartInteraction::ZoomAt(double factor, QPointF pixel) {
    QChart& chart = *view_.chart();
    const QRectF plot = chart.plotArea();
    const QPointF at = chart.mapFromScene(view_.mapToScene(pixel.toPoint()));
    if (!(factor > 0) || !plot.contains(at)) {
        return;
    }
    const double left = at.x() - (at.x() - plot.left()) / factor;
    const double top = at.y() - (at.y() - plot.top()) / factor;
    chart.zoomIn(QRectF(left, top, plot.width() / factor, plot.height() / factor));
}

void ChartInteraction::TrackAt(QPointF pixel) {
    QChart& chart = *view_.chart();
    const QPointF at = chart.mapFromScene(view_.mapToScene(pixel.toPoint()));
    const auto series = chart.series();
    QString text;
    if (chart.plotArea().contains(at) && !series.isEmpty()) {
        text = readout_(chart.mapToValue(at, series.first()).x());
    }
    if (text.isEmpty()) {
        label_->hide();
        return;
    }
    label_->setText(text);
    label_->adjustSize();
    const QPointF corner = view_.mapFromScene(chart.mapToScene(chart.plotArea().topLeft()));
    label_->move(static_cast<int>(corner.x()) + kReadoutMargin,
                 static_cast<int>(corner.y()) + kReadoutMargin);
    label_->show();
    label_->raise();
}

bool ChartInteraction::eventFilter(QObject* watched, QEvent* event) {
    // Compared with the pointer kept at the start: the viewport still sends events while the
    // view is being destroyed, when the view can no longer be asked for it.
    if (watched != viewport_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const double notches = wheel->angleDelta().y() / 120.0;
            if (notches != 0) {
                ZoomAt(std::pow(kWheelZoom, notches), wheel->position());
            }
            return true;
        }
        case QEvent::MouseButtonDblClick:
            Reset();
            return true;
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::MiddleButton ||
                (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ShiftModifier))) {
                panning_ = true;
                panFrom_ = mouse->position();
                return true;
            }
            return false;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (panning_) {
                const QPointF delta = mouse->position() - panFrom_;
                panFrom_ = mouse->position();
                view_.chart()->scroll(-delta.x(), delta.y());
            }
            TrackAt(mouse->position());
            return panning_;
        }
        case QEvent::MouseButtonRelease:
            if (panning_) {
                panning_ = false;
                return true;
            }
            return false;
        case QEvent::Leave:
            label_->hide();
            return false;
        default:
            return false;
    }
}

}  // namespace mirelto
