// The pieces the response charts draw with: a chart's axes, samples as points, a curve and its
// pen, the extent of a set of values and the time unit of a plot.
#pragma once

#include <QColor>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QString>

#include <limits>
#include <vector>

class QAbstractAxis;
class QChart;
class QValueAxis;

namespace mirelto {

struct TimeUnit {
    double factor;
    QString name;
};

// The unit that shows the largest time of a plot with one to three integer digits.
TimeUnit TimeUnitFor(double largestSeconds);

// The smallest and largest finite values seen.
struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Add(const std::vector<double>& values);
    bool Valid() const { return low <= high; }
};

// The chart's value axis (vertical) and its first horizontal axis.
QValueAxis* YAxis(QChart& chart);
QAbstractAxis* XAxis(QChart& chart);

// A line series of `points`, attached to the chart's axes.
void AddCurve(QChart& chart, const QString& name, const QList<QPointF>& points, const QPen& pen);

// The finite samples as points, each coordinate scaled by its factor.
QList<QPointF> Points(const std::vector<double>& x, const std::vector<double>& y,
                      double xFactor = 1, double yFactor = 1);

// A curve's pen: two pixels wide.
QPen CurvePen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine);

}  // namespace mirelto
