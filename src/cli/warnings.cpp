#include "warnings.h"

#include <mirelto/values/value_format.h>

#include "common.h"

namespace mirelto::cli {

namespace {

// The part and its value as typed: "R3 = 360kΩ".
std::string PartText(const DesignWarningItem& warning, const Circuit& circuit) {
    const double value = ComponentsOf(circuit)[warning.part];
    return Concat(ComponentName(warning.part), " = ", FormatTyped(value),
                  warning.part < 3 ? "\xCE\xA9" : "F");  // "Ω"
}

std::string Spread(const DesignWarningItem& warning, std::string_view kind, double limit) {
    return Concat(kind, " values spread ", SpreadText(warning.ratio), " (",
                  ComponentName(warning.part), "/", ComponentName(warning.otherPart),
                  ", more than ", FormatTyped(limit),
                  ":1): sensitive to tolerances and stray capacitance");
}

std::string Message(const DesignWarningItem& warning, const Circuit& circuit) {
    switch (warning.code) {
        case DesignWarning::ResistorSpread:
            return Spread(warning, "resistor", kMaxResistorSpread);
        case DesignWarning::CapacitorSpread:
            return Spread(warning, "capacitor", kMaxCapacitorSpread);
        case DesignWarning::ResistorLow:
            return Concat(PartText(warning, circuit), " is below ", FormatTyped(kMinResistor),
                          "\xCE\xA9: it loads the op-amp output");
        case DesignWarning::ResistorHigh:
            return Concat(PartText(warning, circuit), " is above ", FormatTyped(kMaxResistor),
                          "\xCE\xA9: its noise and the op-amp's bias currents grow");
        case DesignWarning::CapacitorLow:
            return Concat(PartText(warning, circuit), " is below ", FormatTyped(kMinCapacitor),
                          "F: stray and op-amp input capacitance shift the response");
    }
    return {};
}

}  // namespace

Json WarningsJson(const Circuit& circuit) {
    Json warnings = Json::array();
    for (const DesignWarningItem& w : DesignWarnings(circuit)) {
        warnings.push_back({{"code", DesignWarningCode(w.code)}, {"message", Message(w, circuit)}});
    }
    return warnings;
}

Json WithWarnings(Json document, const Circuit& circuit) {
    document["warnings"] = WarningsJson(circuit);
    return document;
}

void WriteWarnings(std::ostream& out, const Circuit& circuit, std::string_view prefix,
                   std::string_view lineEnd) {
    for (const DesignWarningItem& w : DesignWarnings(circuit)) {
        out << prefix << ": " << Message(w, circuit) << lineEnd;
    }
}

}  // namespace mirelto::cli
