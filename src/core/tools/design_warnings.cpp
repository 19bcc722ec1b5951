#include "mirelto/tools/design_warnings.h"

#include <cmath>

#include "mirelto/numeric/finite.h"
#include "mirelto/values/value_format.h"

namespace mirelto {

namespace {

// The part and its value as typed: "R3 = 360kΩ".
std::string PartText(const DesignWarningItem& warning, const Circuit& circuit) {
    const double value = ComponentsOf(circuit)[warning.part];
    return std::string(ComponentName(warning.part)) + " = " + FormatTyped(value) +
           (warning.part < 3 ? "\xCE\xA9" : "F");  // "Ω"
}

std::string Spread(const DesignWarningItem& warning, const char* kind, double limit) {
    return std::string(kind) + " values spread " + SpreadText(warning.ratio) + " (" +
           ComponentName(warning.part) + "/" + ComponentName(warning.otherPart) + ", more than " +
           FormatTyped(limit) + ":1): sensitive to tolerances and stray capacitance";
}

// The spread of three parts starting at `first`, when all three are usable and it is too wide.
void AddSpread(const ComponentValues& parts, std::size_t first, DesignWarning code, double limit,
               std::vector<DesignWarningItem>& warnings) {
    std::size_t largest = first, smallest = first;
    for (std::size_t p = first; p < first + 3; ++p) {
        if (!IsPositiveFinite(parts[p])) {
            return;
        }
        largest = parts[p] > parts[largest] ? p : largest;
        smallest = parts[p] < parts[smallest] ? p : smallest;
    }
    if (parts[largest] > limit * (1 + kWarningSlack) * parts[smallest]) {
        warnings.push_back({code, largest, smallest, parts[largest] / parts[smallest]});
    }
}

}  // namespace

std::vector<DesignWarningItem> DesignWarnings(const Circuit& circuit) {
    const ComponentValues parts = ComponentsOf(circuit);
    std::vector<DesignWarningItem> warnings;
    AddSpread(parts, 0, DesignWarning::ResistorSpread, kMaxResistorSpread, warnings);
    AddSpread(parts, 3, DesignWarning::CapacitorSpread, kMaxCapacitorSpread, warnings);
    const auto addEach = [&](std::size_t first, DesignWarning code, auto isOut) {
        for (std::size_t p = first; p < first + 3; ++p) {
            if (IsPositiveFinite(parts[p]) && isOut(parts[p])) {
                warnings.push_back({code, p});
            }
        }
    };
    addEach(0, DesignWarning::ResistorLow,
            [](double r) { return r < kMinResistor * (1 - kWarningSlack); });
    addEach(0, DesignWarning::ResistorHigh,
            [](double r) { return r > kMaxResistor * (1 + kWarningSlack); });
    addEach(3, DesignWarning::CapacitorLow,
            [](double c) { return c < kMinCapacitor * (1 - kWarningSlack); });
    return warnings;
}

std::string_view DesignWarningCode(DesignWarning code) {
    switch (code) {
        case DesignWarning::ResistorSpread:
            return "resistor-spread";
        case DesignWarning::CapacitorSpread:
            return "capacitor-spread";
        case DesignWarning::ResistorLow:
            return "resistor-low";
        case DesignWarning::ResistorHigh:
            return "resistor-high";
        case DesignWarning::CapacitorLow:
            return "capacitor-low";
    }
    return {};
}

std::string DescribeInEnglish(const DesignWarningItem& warning, const Circuit& circuit) {
    switch (warning.code) {
        case DesignWarning::ResistorSpread:
            return Spread(warning, "resistor", kMaxResistorSpread);
        case DesignWarning::CapacitorSpread:
            return Spread(warning, "capacitor", kMaxCapacitorSpread);
        case DesignWarning::ResistorLow:
            return PartText(warning, circuit) + " is below " + FormatTyped(kMinResistor) +
                   "\xCE\xA9: it loads the op-amp output";
        case DesignWarning::ResistorHigh:
            return PartText(warning, circuit) + " is above " + FormatTyped(kMaxResistor) +
                   "\xCE\xA9: its noise and the op-amp's bias currents grow";
        case DesignWarning::CapacitorLow:
            return PartText(warning, circuit) + " is below " + FormatTyped(kMinCapacitor) +
                   "F: stray and op-amp input capacitance shift the response";
    }
    return {};
}

std::string SpreadText(double ratio) {
    if (!std::isfinite(ratio)) {
        return {};
    }
    const long long tenths = std::llround(ratio * 10);
    if (tenths >= 1000) {
        return std::to_string(std::llround(ratio)) + ":1";
    }
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + ":1";
}

}  // namespace mirelto
