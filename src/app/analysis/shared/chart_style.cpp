#include "analysis/shared/chart_style.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFont>
#include <QGridLayout>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <string_view>

#include <mirelto/values/si_prefix.h>

namespace mirelto {

namespace {

constexpr int kTitlePixels = 12;

}  // namespace

QFont SizedFont(const QFont& base, int pixels, bool bold) {
    QFont font = base;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QChart* NewChart(const QString& title, const QFont& base) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(SizedFont(base, kTitlePixels, true));
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    return chart;
}

QChartView* AddChartView(QChart* chart, QWidget& area, QGridLayout& grid, const QString& name,
                         QSize minimum, int index) {
    auto* view = new QChartView(chart, &area);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(minimum);
    grid.addWidget(view, index / 2, index % 2);
    return view;
}

void ClearChartViews(std::span<QChartView* const> views) {
    for (QChartView* view : views) {
        view->chart()->removeAllSeries();
        for (QAbstractAxis* axis : view->chart()->axes()) {
            axis->setVisible(false);
        }
    }
}

// A tick interval of 1, 2 or 5 times a power of ten giving about five intervals over the span.
double NiceTickInterval(double span) {
    const double raw = span / 5;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (raw <= step * decade) {
            return step * decade;
        }
    }
    return 10 * decade;
}

// The axis lays out its ticks on every change: with dynamic ticks, a new range under the old
// interval (or the reverse) can ask for 1e20 ticks and never return. So the ticks are fixed while
// range and interval change, and dynamic again only once both belong together.
void SetTicks(QValueAxis& axis, double low, double high, double interval) {
    axis.setTickType(QValueAxis::TicksFixed);
    axis.setRange(low, high);
    axis.setTickAnchor(0);
    axis.setTickInterval(interval);
    axis.setTickType(QValueAxis::TicksDynamic);
}

QString SiTickText(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    if (value == 0) {
        return QStringLiteral("0");
    }
    // Pico to giga.
    constexpr int kUnitRow = static_cast<int>(kSiUnitRow);
    // Rounded to four digits first, so that 999.99 reads 1k and not 1000.
    const double rounded = QString::number(value, 'g', 4).toDouble();
    const int group = std::clamp(static_cast<int>(std::floor(std::log10(std::fabs(rounded)) / 3)),
                                 -kUnitRow, kUnitRow - 1);
    const double mantissa = rounded / std::pow(1000.0, group);
    return QString::number(mantissa, 'g', 4) + SiSymbol(group);
}

QString SiSymbol(int group) {
    const std::string_view symbol =
        kSiPrefixes.at(static_cast<std::size_t>(static_cast<int>(kSiUnitRow) + group)).symbol;
    return QString::fromUtf8(symbol.data(), static_cast<qsizetype>(symbol.size()));
}

std::vector<std::pair<double, QString>> LogAxisTicks(double low, double high) {
    std::vector<std::pair<double, QString>> ticks;
    if (!(low > 0 && high > low && std::isfinite(high))) {
        return ticks;
    }
    // A hair of slack so that a tick on an end is kept despite rounding.
    const double first = low * (1 - 1e-9), last = high * (1 + 1e-9);
    const double decades = std::log10(high / low);
    if (decades < 1) {
        const double interval = NiceTickInterval(high - low);
        for (double k = std::ceil(first / interval); k * interval <= last; ++k) {
            ticks.emplace_back(k * interval, SiTickText(k * interval));
        }
        return ticks;
    }
    const std::vector<double> steps =
        decades > 3 ? std::vector<double>{1} : std::vector<double>{1, 2, 5};
    const int lowest = static_cast<int>(std::floor(std::log10(low)));
    const int highest = static_cast<int>(std::ceil(std::log10(high)));
    for (int exponent = lowest; exponent <= highest; ++exponent) {
        const double decade = std::pow(10.0, exponent);
        for (const double step : steps) {
            const double v = step * decade;
            if (v >= first && v <= last) {
                ticks.emplace_back(v, SiTickText(v));
            }
        }
    }
    return ticks;
}

void SetLogAxisLabels(QCategoryAxis& labels, double low, double high) {
    for (const QString& label : labels.categoriesLabels()) {
        labels.remove(label);
    }
    if (!(low > 0 && high > low)) {
        return;
    }
    labels.setRange(std::log10(low), std::log10(high));
    labels.setStartValue(std::log10(low));
    for (const auto& [value, text] : LogAxisTicks(low, high)) {
        labels.append(text, std::log10(value));
    }
}

}  // namespace mirelto
