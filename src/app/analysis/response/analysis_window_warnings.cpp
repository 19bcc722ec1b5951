#include "analysis/response/analysis_window_warnings.h"

#include <QCoreApplication>
#include <QStringList>

#include <mirelto/tools/design_warnings.h>
#include <mirelto/values/value_format.h>

namespace mirelto {

namespace {

QString Typed(double value) {
    return QString::fromStdString(FormatTyped(value));
}

QString Limit(double spread) {
    return Typed(spread) + QStringLiteral(":1");
}

QString WarningText(const DesignWarningItem& warning, const Circuit& circuit) {
    const QString part = QString::fromLatin1(ComponentName(warning.part));
    const QString other = QString::fromLatin1(ComponentName(warning.otherPart));
    const QString value = Typed(ComponentsOf(circuit)[warning.part]);
    const QString ratio = QString::fromStdString(SpreadText(warning.ratio));
    switch (warning.code) {
        case DesignWarning::ResistorSpread:
            return QCoreApplication::translate("AnalysisWindow",
                                               "抵抗値の比 %1/%2 が %3 です (%4 を超えています): "
                                               "誤差と浮遊容量の影響を受けやすくなります")
                .arg(part, other, ratio, Limit(kMaxResistorSpread));
        case DesignWarning::CapacitorSpread:
            return QCoreApplication::translate(
                       "AnalysisWindow",
                       "コンデンサ値の比 %1/%2 が %3 です (%4 を超えています): "
                       "誤差と浮遊容量の影響を受けやすくなります")
                .arg(part, other, ratio, Limit(kMaxCapacitorSpread));
        case DesignWarning::ResistorLow:
            return QCoreApplication::translate(
                       "AnalysisWindow",
                       "%1 = %2Ω は %3Ω 未満です: オペアンプの出力の負荷が重くなります")
                .arg(part, value, Typed(kMinResistor));
        case DesignWarning::ResistorHigh:
            return QCoreApplication::translate("AnalysisWindow",
                                               "%1 = %2Ω は %3Ω を超えています: "
                                               "抵抗の雑音とバイアス電流の影響が大きくなります")
                .arg(part, value, Typed(kMaxResistor));
        case DesignWarning::CapacitorLow:
            return QCoreApplication::translate(
                       "AnalysisWindow",
                       "%1 = %2F は %3F 未満です: 浮遊容量とオペアンプの入力容量の影響を受けます")
                .arg(part, value, Typed(kMinCapacitor));
    }
    return {};
}

}  // namespace

QString DesignWarningsText(const Circuit& circuit) {
    QStringList lines;
    for (const DesignWarningItem& warning : DesignWarnings(circuit)) {
        lines << QStringLiteral("⚠ ") + WarningText(warning, circuit);
    }
    return lines.join(QLatin1Char('\n'));
}

void ShowDesignWarnings(QLabel& label, const Circuit& circuit) {
    const QString text = DesignWarningsText(circuit);
    label.setText(text);
    label.setVisible(!text.isEmpty());
}

}  // namespace mirelto
