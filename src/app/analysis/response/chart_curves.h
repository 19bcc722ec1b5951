// The pieces the response charts draw with: a chart's axes, a curve's pen, the extent of a set of
// values and the time unit of a plot.
#pragma once

#include <QColor>
#include <QPen>
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

// A curve's pen: two pixels wide.
QPen CurvePen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine);

}  // namespace mirelto
