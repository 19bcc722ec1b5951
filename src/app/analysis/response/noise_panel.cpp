#include "analysis/response/noise_panel.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>

#include <mirelto/values/value_format.h>

#include "analysis/response/chart_curves.h"
#include "analysis/response/chart_interaction.h"
#include "analysis/response/op_amp_panel.h"
#include "analysis/shared/chart_style.h"
#include "desktop/platform.h"
#include "desktop/table_copy.h"
#include "desktop/value_text_qt.h"

namespace mirelto {

namespace {

constexpr int kAxisPixels = 11;
// The density plot shows this many decades below its largest value: lower says nothing more.
constexpr double kDensityDecades = 4;

// Per source by NoiseSource, then the total.
const QColor kCurveColours[] = {{0x1f, 0x77, 0xb4}, {0xff, 0x7f, 0x0e}, {0x2c, 0xa0, 0x2c},
                                {0x94, 0x67, 0xbd}, {0x8c, 0x56, 0x4b}, {0xd6, 0x27, 0x28}};

QString SourceName(std::size_t source) {
    const std::string_view name = NoiseSourceName(static_cast<NoiseSource>(source));
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString TotalName() {
    return QCoreApplication::translate("AnalysisWindow", "合計");
}

QString Si(double value) {
    return QString::fromStdString(FormatSISignificant(value, 4));
}

// The curve's positive samples: a log axis takes nothing else.
QList<QPointF> LogPoints(const std::vector<double>& x, const std::vector<double>& y) {
    QList<QPointF> points;
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        if (x[i] > 0 && y[i] > 0 && std::isfinite(y[i])) {
            points.append({x[i], y[i]});
        }
    }
    return points;
}

QLogValueAxis* LogAxis(const QFont& font, const QString& title) {
    auto* axis = new QLogValueAxis;
    axis->setBase(10);
    axis->setMinorTickCount(-1);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setLabelsFont(font);
    axis->setTitleFont(font);
    axis->setTitleText(title);
    return axis;
}

// A band edge typed in the box; 0 (the plotted range's) when empty, NaN when not a frequency.
double BandEdge(const QLineEdit& box) {
    const QString text = box.text().trimmed();
    if (text.isEmpty()) {
        return 0;
    }
    const double value = ParseText(text);
    return std::isfinite(value) && value > 0 ? value : std::nan("");
}

// Whether the op-amp gives the density of its own noise source (the resistors' always are).
bool IsGiven(const NoiseResult& r, NoiseSource source) {
    const OpAmpFigure density = source == NoiseSource::VoltageNoise   ? OpAmpFigure::VoltageNoise
                                : source == NoiseSource::CurrentNoise ? OpAmpFigure::CurrentNoise
                                                                      : OpAmpFigure::Gbw;
    return std::find(r.missing.begin(), r.missing.end(), density) == r.missing.end();
}

QTableWidgetItem* ValueItem(const QString& text, double value) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetCopiedValue(*item, value);
    return item;
}

}  // namespace

NoisePanel::NoisePanel(QTabWidget& tabs, const OpAmpPanel& opAmp, QWidget& window)
    : QObject(&window), opAmp_(opAmp), page_(new QWidget) {
    page_->setObjectName(QStringLiteral("TabNoise"));
    auto* row = new QHBoxLayout(page_);
    auto* area = new QWidget;
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    QChart* chart = NewChart(tr("出力雑音密度"), window.font());
    const QFont axisFont = SizedFont(window.font(), kAxisPixels);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(axisFont);
    chart->addAxis(LogAxis(axisFont, tr("周波数 [Hz]")), Qt::AlignBottom);
    chart->addAxis(LogAxis(axisFont, tr("雑音密度 [V/√Hz]")), Qt::AlignLeft);
    view_ = AddChartView(chart, *area, *grid, QStringLiteral("ChartNoise"), {360, 280}, 0);
    interaction_ = new ChartInteraction(*view_, [this](double x) -> QString {
        if (!result_ || result_->frequency.empty()) {
            return {};
        }
        const auto& f = result_->frequency;
        const auto at = std::lower_bound(f.begin(), f.end(), x);
        const std::size_t i = std::min<std::size_t>(std::distance(f.begin(), at), f.size() - 1);
        QString text = QStringLiteral("f = %1Hz").arg(Si(f[i]));
        for (std::size_t s = 0; s < kNoiseSourceCount; ++s) {
            text += QStringLiteral("\n%1: %2V/√Hz").arg(SourceName(s), Si(result_->density[s][i]));
        }
        return text + QStringLiteral("\n%1: %2V/√Hz").arg(TotalName(), Si(result_->total[i]));
    });
    row->addWidget(area, 1);
    row->addWidget(MakeSide());
    tabs.addTab(page_, tr("雑音"));
}

QWidget* NoisePanel::MakeSide() {
    auto* side = new QWidget;
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(tr("帯域 (空欄: 表示範囲)")));
    auto* band = new QHBoxLayout;
    bandLow_ = new QLineEdit;
    bandLow_->setObjectName(QStringLiteral("EditNoiseBandLow"));
    bandHigh_ = new QLineEdit;
    bandHigh_->setObjectName(QStringLiteral("EditNoiseBandHigh"));
    bandLow_->setPlaceholderText(tr("例: 20"));
    bandHigh_->setPlaceholderText(tr("例: 20k"));
    band->addWidget(bandLow_);
    band->addWidget(new QLabel(QStringLiteral("–")));
    band->addWidget(bandHigh_);
    band->addWidget(new QLabel(QStringLiteral("Hz")));
    column->addLayout(band);
    for (QLineEdit* box : {bandLow_, bandHigh_}) {
        connect(box, &QLineEdit::editingFinished, this, &NoisePanel::Refresh);
    }

    table_ = new QTableWidget(0, 3);
    table_->setObjectName(QStringLiteral("TableNoise"));
    table_->setHorizontalHeaderLabels({tr("雑音源"), tr("RMS [V]"), tr("割合 [%]")});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setMinimumWidth(360);
    MakeTableCopyable(*table_);
    column->addWidget(table_, 1);

    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("LabelNoiseMessage"));
    message_->setWordWrap(true);
    column->addWidget(message_);

    copy_ = new QPushButton(tr("表をコピー"));
    copy_->setObjectName(QStringLiteral("ButtonCopyNoise"));
    copy_->setToolTip(tr("表をタブ区切りテキストでクリップボードにコピーします (Copy table)"));
    copy_->setEnabled(false);
    connect(copy_, &QPushButton::clicked, this,
            [this] { CurrentPlatform().SetClipboardText(TableText(*table_, true)); });
    column->addWidget(copy_);
    auto* reset = new QPushButton(tr("表示をリセット"));
    connect(reset, &QPushButton::clicked, this, [this] { interaction_->Reset(); });
    column->addWidget(reset);
    return side;
}

void NoisePanel::Follow(const AnalysisInput& input) {
    input_ = input;
    Refresh();
}

void NoisePanel::SetBandTexts(const QString& low, const QString& high) {
    bandLow_->setText(low);
    bandHigh_->setText(high);
    Refresh();
}

void NoisePanel::Refresh() {
    if (!input_) {
        return;
    }
    const double low = BandEdge(*bandLow_), high = BandEdge(*bandHigh_);
    const FrequencyRange plotted = PlotRange(*input_);
    NoiseInput input;
    input.circuit = input_->built;
    input.opAmp = opAmp_.Current();
    input.band = {low > 0 ? low : plotted.low, high > 0 ? high : plotted.high};
    input.range = plotted;  // the response plots' range
    input.points = input_->points;
    if (std::isnan(low) || std::isnan(high) || !(input.band.low < input.band.high)) {
        message_->setText(
            tr("帯域は 20 と 20k のように、低い周波数から高い周波数の順に正の値で"
               "入力してください (空欄: 表示範囲)。"));
        return;
    }
    result_ = AnalyseNoise(input);
    ShowResult();
    ShowCurves();
}

void NoisePanel::ShowResult() {
    const NoiseResult& r = *result_;
    table_->setRowCount(0);
    const auto addRow = [this](const QString& name, QTableWidgetItem* rms,
                               QTableWidgetItem* share) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        table_->setItem(row, 0, new QTableWidgetItem(name));
        table_->setItem(row, 1, rms);
        table_->setItem(row, 2, share);
    };
    for (std::size_t s = 0; s < kNoiseSourceCount; ++s) {
        const auto source = static_cast<NoiseSource>(s);
        if (!IsGiven(r, source)) {
            addRow(SourceName(s), ValueItem(tr("不明"), std::nan("")), new QTableWidgetItem);
            continue;
        }
        const double percent = 100 * r.Share(source);
        addRow(SourceName(s), ValueItem(Si(r.rms[s]), r.rms[s]),
               ValueItem(QString::number(percent, 'f', 1), percent));
    }
    addRow(TotalName(), ValueItem(Si(r.totalRms), r.totalRms),
           ValueItem(QStringLiteral("100.0"), 100));
    const bool hasRange = std::isfinite(r.dynamicRangeDb);
    addRow(tr("ダイナミックレンジ [dB]"),
           ValueItem(hasRange ? QString::number(r.dynamicRangeDb, 'f', 1) : tr("不明"),
                     r.dynamicRangeDb),
           new QTableWidgetItem);
    QString message = tr("%1Hz 〜 %2Hz, %3 °C")
                          .arg(Si(r.band.low), Si(r.band.high))
                          .arg(kDefaultNoiseTemperature);
    if (!hasRange) {
        message += QLatin1Char('\n') +
                   tr("ダイナミックレンジにはオペアンプの電源と出力振幅の値が必要です。");
    }
    message_->setText(message);
    copy_->setEnabled(true);
}

void NoisePanel::ShowCurves() {
    const NoiseResult& r = *result_;
    QChart& chart = *view_->chart();
    chart.removeAllSeries();
    const QList<QAbstractAxis*> x = chart.axes(Qt::Horizontal), y = chart.axes(Qt::Vertical);
    double top = 0;
    for (std::size_t i = 0; i <= kNoiseSourceCount; ++i) {
        const std::vector<double>& density = i < kNoiseSourceCount ? r.density[i] : r.total;
        const QList<QPointF> points = LogPoints(r.frequency, density);
        if (points.isEmpty()) {
            continue;
        }
        auto* series = new QLineSeries;
        series->setName(i < kNoiseSourceCount ? SourceName(i) : TotalName());
        series->setPen(
            CurvePen(kCurveColours[i], i < kNoiseSourceCount ? Qt::DashLine : Qt::SolidLine));
        series->replace(points);
        chart.addSeries(series);
        series->attachAxis(x.first());
        series->attachAxis(y.first());
        for (const QPointF& p : points) {
            top = std::max(top, p.y());
        }
    }
    if (!r.frequency.empty()) {
        x.first()->setRange(r.frequency.front(), r.frequency.back());
    }
    if (top > 0) {
        const double upper = std::pow(10, std::ceil(std::log10(top)));
        y.first()->setRange(upper * std::pow(10, -kDensityDecades), upper);
    }
}

}  // namespace mirelto
