// The curves of one plot, kept as Qt Charts series from one drawing to the next: a new drawing
// replaces their points, and a zoom or pan draws again only the samples its window needs (see
// DrawnPoints), so neither makes series, legend entries or axes anew.
#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QChart;
class QLineSeries;
class QPen;

namespace mirelto {

class PlotSeries : public QObject {
  public:
    // `count` hidden series on `chart`, on its first horizontal and vertical axes, in order.
    PlotSeries(QChart& chart, int count);

    // Slot `slot` shows the samples (x[i] * xFactor, y[i] * yFactor) as `name` with `pen`.
    void Show(int slot, const QString& name, const QPen& pen, const std::vector<double>& x,
              const std::vector<double>& y, double xFactor = 1, double yFactor = 1);
    // Every slot hidden and empty, out of the legend.
    void HideAll();
    // A new drawing: until End, range changes draw nothing and Show only keeps the samples.
    void Begin();
    // The slots shown since Begin drawn for the ranges as they are now, the others hidden.
    void End();

    QLineSeries* Series(int slot) const { return curves_[static_cast<std::size_t>(slot)].series; }

  private:
    struct Curve {
        QLineSeries* series = nullptr;
        std::vector<double> x, y;
        double xFactor = 1, yFactor = 1;
        bool shown = false;
    };
    void Redraw();
    void Draw(Curve& curve);
    void Empty(Curve& curve);  // no samples, no points, not shown
    void SetShown(Curve& curve, bool shown);

    QChart& chart_;
    std::vector<Curve> curves_;
    bool held_ = false;
};

}  // namespace mirelto
