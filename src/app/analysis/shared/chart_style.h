// The analysis window's chart style, shared by the response and the tolerance plots: fonts,
// the empty chart, its view in a grid, and value-axis ticks that Qt lays out safely.
#pragma once

#include <QSize>
#include <QString>

#include <span>
#include <utility>
#include <vector>

class QCategoryAxis;
class QChart;
class QChartView;
class QFont;
class QGridLayout;
class QValueAxis;
class QWidget;

namespace mirelto {

// `base` at `pixels` pixels, bold if asked.
QFont SizedFont(const QFont& base, int pixels, bool bold = false);
// An empty chart in the window's style: `title` bold over narrow margins, square corners.
QChart* NewChart(const QString& title, const QFont& base);

// A view of `chart` in cell `index` of the two-column `grid` on `area`, named for the tests.
QChartView* AddChartView(QChart* chart, QWidget& area, QGridLayout& grid, const QString& name,
                         QSize minimum, int index);
// Empties the views' charts and hides their axes until the next data comes.
void ClearChartViews(std::span<QChartView* const> views);

// A tick interval of 1, 2 or 5 times a power of ten giving about five intervals over the span.
double NiceTickInterval(double span);
// Range and tick interval of a value axis, set so that Qt never lays out ticks for a range under
// the other one's interval.
void SetTicks(QValueAxis& axis, double low, double high, double interval);

// A value as a short SI text without unit: "20", "1k", "1.5k", "200µ", "2.2M"; up to four
// significant digits, trailing zeros dropped.
QString SiTickText(double value);

// The SI prefix symbol of `group` thousands ("µ" for -2, "" for 0, "k" for 1), from the core's
// table.
QString SiSymbol(int group);

// Ticks of a log-frequency axis from `low` to `high` (both positive): every decade when the
// range spans more than three, 1-2-5 in each decade down to one decade, and within a decade
// 1-2-5 steps of a linear interval. Each with its SiTickText label, ascending.
std::vector<std::pair<double, QString>> LogAxisTicks(double low, double high);

// The SI labels of a log axis from `low` to `high` on the category axis drawn under it: the
// category axis runs over log10 of the values, so its labels sit where the log axis has them.
void SetLogAxisLabels(QCategoryAxis& labels, double low, double high);

}  // namespace mirelto
