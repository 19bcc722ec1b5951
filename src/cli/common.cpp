#include "common.h"

#include <cmath>
#include <cstdio>

#include <mirelto/design/circuit.h>
#include <mirelto/design/default_design.h>
#include <mirelto/design/filter.h>
#include <mirelto/numeric/finite.h>
#include <mirelto/tools/optimise.h>
#include <mirelto/tools/tolerance.h>
#include <mirelto/values/eseries.h>
#include <mirelto/values/value_format.h>
#include <mirelto/values/value_text.h>

namespace mirelto::cli {

namespace {

constexpr std::array<std::string_view, 3> kResistorNames{"--r1", "--r2", "--r3"};
constexpr std::array<std::string_view, 3> kCapacitorNames{"--c1", "--c2", "--c3"};

// The option as a message names it: a value read from the design file says so.
std::string Source(const Arguments& args, std::string_view option) {
    return args.Has(option) || !args.Design() ? std::string(option)
                                              : Concat(option, " (from the design file)");
}

// Whether a text holds no number, as a blank box: the window reads such a given part as its
// predecessor.
bool HoldsNoValue(const std::string& text) {
    return std::isnan(ParseValue(text));
}

// The help of the options whose defaults are the window's starting texts and selectors.
const std::string kFaHelp = Concat("real pole frequency, Hz (default ", DefaultDesign().fa, ")");
const std::string kFoHelp = Concat("pole pair frequency, Hz (default ", DefaultDesign().fo, ")");
const std::string kQHelp = Concat("pole pair quality factor (default ", DefaultDesign().q, ")");
std::string SeriesHelp(std::string_view ordinal, std::string_view capacitor,
                       std::string_view resistor) {
    return Concat("series of the ", ordinal, " computed part (LPF ", capacitor, ": ",
                  std::to_string(DefaultDesign().capacitorSeries), ", HPF ", resistor, ": ",
                  std::to_string(DefaultDesign().resistorSeries), ")");
}
const std::string kSeries1Help = SeriesHelp("first", "C1", "R1");
const std::string kSeries2Help = SeriesHelp("second", "C2", "R2");
const std::string kSeries3Help = SeriesHelp("third", "C3", "R3");

}  // namespace

const std::array<Option, 1> kDesignOptions{{
    {"--design", "FILE",
     "read mode, request, parts and series from a design file (.mirelto); options given here "
     "override it"},
}};

const std::array<Option, 2> kModeOptions{{
    {"--lpf", "", "low-pass form (the default)"},
    {"--hpf", "", "high-pass form"},
}};

const std::array<Option, 5> kRequestOptions{{
    {"--fa", "F", kFaHelp},
    {"--fo", "F", kFoHelp},
    {"--q", "Q", kQHelp},
    {"--response", "NAME", "a preset response in place of --fa --fo --q (see presets)"},
    {"--fc", "F", "the preset's frequency, Hz (what it means: see presets)"},
}};

const std::array<Option, 6> kComponentOptions{{
    {"--r1", "R", "R1, ohms"},
    {"--r2", "R", "R2, ohms"},
    {"--r3", "R", "R3, ohms"},
    {"--c1", "C", "C1, farads"},
    {"--c2", "C", "C2, farads"},
    {"--c3", "C", "C3, farads"},
}};

const std::array<Option, 3> kSeriesOptions{{
    {"--series1", "N", kSeries1Help},
    {"--series2", "N", kSeries2Help},
    {"--series3", "N", kSeries3Help},
}};

const std::array<Option, 2> kOutputOptions{{
    {"--json", "", "machine-readable output"},
    {"--help", "", "this help"},
}};

std::string StopText(ConstantStop stop, FaultKind fault, bool isLpf) {
    switch (stop) {
        case ConstantStop::Done:
            return {};
        case ConstantStop::Fault:
            return FaultText(fault);
        default:
            return OneLine(TextOf(*StopMessage(stop, isLpf)).english);
    }
}

std::vector<Option> Join(std::initializer_list<std::span<const Option>> lists) {
    std::vector<Option> all;
    for (std::span<const Option> list : lists) {
        all.insert(all.end(), list.begin(), list.end());
    }
    return all;
}

bool ReadIsLpf(const Arguments& args) {
    if (args.Has("--lpf") && args.Has("--hpf")) {
        throw UsageError("--hpf: --lpf and --hpf exclude each other");
    }
    if (!args.Has("--lpf") && !args.Has("--hpf") && args.Design()) {
        return args.Design()->isLpf;
    }
    return args.Has("--lpf") || (!args.Has("--hpf") && DefaultDesign().isLpf);
}

Request ReadRequest(const Arguments& args, bool isLpf) {
    Request r;
    if (args.Has("--response") || args.Has("--fc")) {
        for (std::string_view option : {"--fa", "--fo", "--q"}) {
            if (args.Has(option)) {
                throw UsageError(Concat(option, ": not with --response; give one or the other"));
            }
        }
        const std::string name = args.Text("--response").value_or("");
        const Preset* preset = FindPreset(name);
        if (preset == nullptr) {
            throw UsageError(Concat("--response: ",
                                    args.Has("--response")
                                        ? Concat("unknown response ", Quoted(name))
                                        : std::string("missing"),
                                    " (", PresetKeys(), ")"));
        }
        const auto fcText = args.Text("--fc");
        if (!fcText) {
            throw UsageError("--fc: missing (the preset's frequency, Hz)");
        }
        const PoleSet poles = PresetPoles(*preset, ParsePositive("--fc", *fcText), isLpf);
        r.faText = PresetValueText(poles.fa);
        r.foText = PresetValueText(poles.fo);
        r.qText = PresetValueText(poles.q);
        r.poles = {ParseValue(r.faText), ParseValue(r.foText), ParseValue(r.qText)};
        if (!IsPositiveFinite(r.poles.fa) || !IsPositiveFinite(r.poles.fo) ||
            !IsPositiveFinite(r.poles.q)) {
            throw UsageError(Concat("--fc: ", Quoted(*fcText), " gives no finite fa, fo, Q"));
        }
        return r;
    }
    r.faText = args.Text("--fa").value_or(std::string(DefaultDesign().fa));
    r.foText = args.Text("--fo").value_or(std::string(DefaultDesign().fo));
    r.qText = args.Text("--q").value_or(std::string(DefaultDesign().q));
    r.poles.fa = ParsePositive(Source(args, "--fa"), r.faText);
    r.poles.fo = ParsePositive(Source(args, "--fo"), r.foText);
    r.poles.q = ParsePositive(Source(args, "--q"), r.qText);
    return r;
}

GivenComponents ReadGiven(const Arguments& args, bool isLpf) {
    const auto& given = isLpf ? kResistorNames : kCapacitorNames;
    const auto& computed = isLpf ? kCapacitorNames : kResistorNames;
    for (std::string_view name : computed) {
        if (args.Has(name)) {
            throw UsageError(Concat(name, ": computed in ", isLpf ? "LPF" : "HPF", " mode; give ",
                                    given[0], " to ", given[2]));
        }
    }
    GivenComponents parts;
    for (std::size_t i = 0; i < 3; ++i) {
        std::optional<std::string> text = args.Text(given[i]);
        // A later part of the design holding no value is blank in the window too.
        if (text && i > 0 && !args.Has(given[i]) && HoldsNoValue(*text)) {
            text.reset();
        }
        if (text) {
            parts.texts[i] = *text;
            parts.values[i] = ParsePositive(Source(args, given[i]), *text);
        } else if (i == 0) {
            parts.texts[i] = isLpf ? DefaultDesign().resistor : DefaultDesign().capacitor;
            parts.values[i] = ParsePositive(given[i], parts.texts[i]);
        } else {
            parts.texts[i] = parts.texts[i - 1];
            parts.values[i] = parts.values[i - 1];
        }
    }
    return parts;
}

std::array<std::int32_t, 3> ReadSeries(const Arguments& args, bool isLpf) {
    std::array<std::int32_t, 3> series{};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::optional<std::string> text = args.Text(kSeriesOptions[i].name);
        if (text) {
            series[i] = ParseSeriesOption(kSeriesOptions[i].name, *text);
        } else if (args.Design()) {
            // The selector's text, read as the window reads it.
            const std::string& selector = args.Design()->series[(isLpf ? 3 : 0) + i];
            series[i] = ParseSeries(selector);
            CheckStandardSeries(Source(args, kSeriesOptions[i].name), series[i], selector);
        } else {
            series[i] = isLpf ? DefaultDesign().capacitorSeries : DefaultDesign().resistorSeries;
        }
    }
    return series;
}

Circuit ReadCircuit(const Arguments& args, bool isLpf) {
    ComponentValues parts{};
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        const std::string_view name = kComponentOptions[p].name;
        const std::optional<std::string> text = args.Text(name);
        if (!text || (!args.Has(name) && HoldsNoValue(*text))) {
            throw UsageError(Source(args, name) + ": missing (give all six parts)");
        }
        parts[p] = ParsePositive(Source(args, name), *text);
    }
    return CircuitOf(parts, isLpf);
}

std::string Shown(double value) {
    return FormatShown(value);
}

std::string Compact(double value) {
    const std::string shown = Shown(value);
    const std::size_t first = shown.find_first_not_of(' ');
    return first == std::string::npos ? shown : shown.substr(first);
}

std::string FixedText(double value, const char* format) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, value);
    const std::string_view shown = text.data();
    if (shown.find('-') != std::string_view::npos &&
        shown.find_first_of("123456789") == std::string_view::npos) {
        std::snprintf(text.data(), text.size(), format, 0.0);
    }
    return text.data();
}

std::string Counted(std::int64_t count, std::string_view noun) {
    return Concat(std::to_string(count), " ", noun, count == 1 ? "" : "s");
}

std::string OneLine(std::string_view text) {
    std::string line;
    bool inBreak = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            inBreak = true;
            continue;
        }
        if (inBreak && !line.empty()) {
            line += ' ';
        }
        inBreak = false;
        line += c;
    }
    return line;
}

Json CircuitJson(const Circuit& c) {
    const ComponentValues parts = ComponentsOf(c);
    Json json = Json::object();
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        json[ComponentName(p)] = JsonNumber(NominalValue(parts[p]));
    }
    return json;
}

Json PolesJson(const PoleSet& poles) {
    return {{"fa", JsonNumber(poles.fa)}, {"fo", JsonNumber(poles.fo)}, {"q", JsonNumber(poles.q)}};
}

Json RangeJson(const FrequencyRange& range) {
    return {{"low", JsonNumber(range.low)}, {"high", JsonNumber(range.high)}};
}

}  // namespace mirelto::cli
