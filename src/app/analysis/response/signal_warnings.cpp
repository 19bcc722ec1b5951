#include "analysis/response/signal_warnings.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

#include <mirelto/values/value_format.h>

namespace mirelto {

namespace {

QString Si(double value) {
    return QString::fromStdString(FormatSISignificant(value, 3));
}

QString WarningText(SignalWarning warning, const SignalLimits& limits, const OpAmp& opAmp) {
    switch (warning) {
        case SignalWarning::NotUnityGainStable:
            return QCoreApplication::translate("AnalysisWindow",
                                               "%1 は利得 1 (ボルテージフォロワ) で安定しません: "
                                               "この回路では発振するおそれがあります")
                .arg(QString::fromStdString(opAmp.name));
        case SignalWarning::OutputSwing:
            return QCoreApplication::translate(
                       "AnalysisWindow",
                       "出力の最大 %1V (%2Hz) が出力振幅の限界 ±%3V を超えています: "
                       "出力がクリップします")
                .arg(Si(limits.largestOutput), Si(limits.outputFrequency), Si(limits.swingLimit));
        case SignalWarning::SlewRate:
            return QCoreApplication::translate(
                       "AnalysisWindow",
                       "必要なスルーレート %1V/s (%2Hz) がオペアンプの %3V/s を超えています: "
                       "出力が歪みます")
                .arg(Si(limits.largestSlew), Si(limits.slewFrequency), Si(opAmp.slewRate));
        case SignalWarning::CommonMode:
            return QCoreApplication::translate(
                       "AnalysisWindow", "入力の最大 %1V が同相入力範囲の限界 ±%2V を超えています")
                .arg(Si(limits.largestOutput), Si(limits.commonModeLimit));
    }
    return {};
}

}  // namespace

QString SignalWarningsText(const SignalLimits& limits, const OpAmp& opAmp) {
    QStringList lines;
    for (const SignalWarning warning : limits.warnings) {
        lines << QStringLiteral("⚠ ") + WarningText(warning, limits, opAmp);
    }
    return lines.join(QLatin1Char('\n'));
}

QString SignalMarginsText(const SignalLimits& limits, const OpAmp& opAmp) {
    QStringList lines;
    if (std::isfinite(limits.swingLimit)) {
        lines << QCoreApplication::translate("AnalysisWindow", "出力 最大 %1V / 限界 ±%2V")
                     .arg(Si(limits.largestOutput), Si(limits.swingLimit));
    }
    if (IsGiven(opAmp.slewRate)) {
        lines << QCoreApplication::translate("AnalysisWindow", "スルーレート 必要 %1V/s / %2V/s")
                     .arg(Si(limits.largestSlew), Si(opAmp.slewRate));
    }
    if (std::isfinite(limits.fullPowerBandwidth)) {
        lines << QCoreApplication::translate("AnalysisWindow", "フルパワー帯域 %1Hz")
                     .arg(Si(limits.fullPowerBandwidth));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace mirelto
