// Working with a plot by mouse: the wheel zooms about the pointer, a left drag zooms into its
// rectangle, a middle or Shift+left drag pans, a double-click goes back to the whole plot; and a
// readout that follows the pointer with the values of every curve there. The readout looks the
// values up in what the plot was given: nothing is computed again.
#pragma once

#include <QObject>
#include <QPointF>
#include <QString>

#include <functional>

class QChartView;
class QLabel;

namespace mirelto {

class ChartInteraction : public QObject {
    Q_OBJECT

  public:
    // The readout's text at the plot's x value `x` (in the x axis's units); empty: none.
    using Readout = std::function<QString(double x)>;

    ChartInteraction(QChartView& view, Readout readout);

    // Back to the ranges the plot was last given.
    void Reset();
    // Zooms by `factor` (above 1: in) keeping the plot point under `pixel` (view coordinates)
    // in place.
    void ZoomAt(double factor, QPointF pixel);
    // Shows the readout for the pointer at `pixel` (view coordinates), or hides it outside the
    // plot area.
    void TrackAt(QPointF pixel);

    QLabel& ReadoutLabel() const { return *label_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QChartView& view_;
    const QObject* viewport_;
    Readout readout_;
    QLabel* label_;
    bool panning_ = false;
    QPointF panFrom_;
};

}  // namespace mirelto
