#include "analysis/shared/analysis_window_table.h"

#include <QCoreApplication>
#include <QLatin1Char>

#include <cmath>

#include <mirelto/values/value_format.h>

namespace mirelto {

namespace {

constexpr int kSignificantDigits = 4;
constexpr int kPercentDecimals = 2;
constexpr int kDecibelDecimals = 2;

// Fixed decimals; a value that rounds to zero shows unsigned, as "0.00".
QString Fixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return {};
    }
    const QString text = QString::number(value, 'f', decimals);
    for (const QChar c : text) {
        if (c != QLatin1Char('0') && c != QLatin1Char('.') && c != QLatin1Char('-')) {
            return text;
        }
    }
    return QString::number(0.0, 'f', decimals);
}

// With an explicit "+" on positive values, so an error reads as a direction.
QString Signed(double value, int decimals) {
    const QString text = Fixed(value, decimals);
    return value > 0 && text != Fixed(0.0, decimals) ? QLatin1Char('+') + text : text;
}

QString Decibels(double value) {
    return Fixed(value, kDecibelDecimals);
}

QString ErrorPercent(bool hasRequest, double requested, double built) {
    return hasRequest ? Signed(RelativeErrorPercent(requested, built), kPercentDecimals)
                      : QString();
}

}  // namespace

QString SignificantText(double value) {
    return QString::fromStdString(FormatSISignificant(value, kSignificantDigits));
}

QString ComparedRequestText(const Figures& requested) {
    return QCoreApplication::translate("AnalysisWindow",
                                       "要求 (最後の定数計算): fa = %1Hz, fo = %2Hz, Q = %3")
        .arg(SignificantText(requested.fa), SignificantText(requested.fo),
             SignificantText(requested.q));
}

FigureTable MakeFigureTable(const AnalysisResult& result, bool hasRequest) {
    const Figures& req = result.requestedFigures;
    const Figures& built = result.builtFigures;
    const auto requested = [hasRequest](const QString& text) {
        return hasRequest ? text : QString();
    };
    FigureTable table;
    const double none = std::nan("");
    const auto frequencyRow = [&](const QString& name, double r, double b) {
        table.values.append(
            {none, hasRequest ? r : none, b, hasRequest ? RelativeErrorPercent(r, b) : none});
        return QStringList{name, requested(SignificantText(r)), SignificantText(b),
                           ErrorPercent(hasRequest, r, b)};
    };
    const auto decibelRow = [&](const QString& name, double r, double b) {
        table.values.append({none, hasRequest ? r : none, b, none});
        return QStringList{name, requested(Decibels(r)), Decibels(b), QString()};
    };

    table.header = {QCoreApplication::translate("AnalysisWindow", "項目"),
                    QCoreApplication::translate("AnalysisWindow", "要求"),
                    QCoreApplication::translate("AnalysisWindow", "実回路"),
                    QCoreApplication::translate("AnalysisWindow", "誤差 [%]")};
    table.rows = {
        frequencyRow(QStringLiteral("fa [Hz]"), req.fa, built.fa),
        frequencyRow(QStringLiteral("fo [Hz]"), req.fo, built.fo),
        frequencyRow(QStringLiteral("Q"), req.q, built.q),
        frequencyRow(QCoreApplication::translate("AnalysisWindow", "−3 dB 周波数 [Hz]"), req.cutoff,
                     built.cutoff),
        decibelRow(QCoreApplication::translate("AnalysisWindow", "fo でのゲイン [dB]"),
                   req.gainAtFoDb, built.gainAtFoDb),
        decibelRow(QCoreApplication::translate("AnalysisWindow", "ピークゲイン [dB]"),
                   req.peak.gainDb, built.peak.gainDb),
    };
    if (!result.opAmp.empty()) {
        const Figures& opAmp = result.opAmpFigures;
        table.rows.append(
            frequencyRow(QCoreApplication::translate("AnalysisWindow", "実オペアンプ −3 dB [Hz]"),
                         req.cutoff, opAmp.cutoff));
        table.rows.append(
            decibelRow(QCoreApplication::translate("AnalysisWindow", "実オペアンプ ピーク [dB]"),
                       req.peak.gainDb, opAmp.peak.gainDb));
    }
    return table;
}

QString TabSeparated(const FigureTable& table) {
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = table.header.join(QLatin1Char('\t')) + lineEnd;
    for (const QStringList& row : table.rows) {
        text += row.join(QLatin1Char('\t')) + lineEnd;
    }
    return text;
}

QString OpAmpWarningText(const AnalysisResult& result) {
    if (result.opAmp.empty() || !result.opAmpWarning) {
        return {};
    }
    const Figures& ideal = result.builtFigures;
    const Figures& opAmp = result.opAmpFigures;
    QStringList shifts;
    const QString cutoffShift =
        Signed(RelativeErrorPercent(ideal.cutoff, opAmp.cutoff), kPercentDecimals);
    if (!cutoffShift.isEmpty()) {
        shifts << QCoreApplication::translate("AnalysisWindow", "−3 dB 周波数が %1 %")
                      .arg(cutoffShift);
    }
    const QString peakShift = Signed(opAmp.peak.gainDb - ideal.peak.gainDb, kDecibelDecimals);
    if (!peakShift.isEmpty()) {
        shifts
            << QCoreApplication::translate("AnalysisWindow", "ピークゲインが %1 dB").arg(peakShift);
    }
    return QCoreApplication::translate("AnalysisWindow",
                                       "⚠ このオペアンプでは理想オペアンプに比べて %1 変わります "
                                       "(許容: 1 % / 0.5 dB)。")
        .arg(shifts.join(QCoreApplication::translate("AnalysisWindow", "、")));
}

}  // namespace mirelto
