#include "mirelto/tools/design_warnings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace mirelto {

namespace {

// Spreads from here on are written as a power of ten.
constexpr double kMostWholeSpread = 1e15;

bool Usable(double value) {
    return std::isfinite(value) && value > 0;
}

// The spread of three parts starting at `first`, when all three are usable and it is too wide.
void AddSpread(const ComponentValues& parts, std::size_t first, DesignWarning code, double limit,
               std::vector<DesignWarningItem>& warnings) {
    std::size_t largest = first, smallest = first;
    for (std::size_t p = first; p < first + 3; ++p) {
        if (!Usable(parts[p])) {
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
            if (Usable(parts[p]) && isOut(parts[p])) {
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

std::string SpreadText(double ratio) {
    if (std::isnan(ratio)) {
        return {};
    }
    if (!(ratio < kMostWholeSpread)) {
        // Digits by the dozen say nothing more than the power of ten; a ratio beyond the doubles
        // (1e300 over 1e-300) is at least the largest one.
        std::array<char, 32> text{};
        const double shown = std::min(ratio, std::numeric_limits<double>::max());
        const auto end = std::to_chars(text.data(), text.data() + text.size(), shown,
                                       std::chars_format::scientific, 1)
                             .ptr;
        std::string written = std::isinf(ratio) ? ">" : "";
        written.append(text.data(), end).append(":1");
        return written;
    }
    const long long tenths = std::llround(ratio * 10);
    if (tenths >= 1000) {
        return std::to_string(std::llround(ratio)) + ":1";
    }
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + ":1";
}

}  // namespace mirelto
