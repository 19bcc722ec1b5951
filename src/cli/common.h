// What the commands share: the options naming the mode, the request, the parts and the series,
// read the way the window reads its boxes; the window's number format; JSON pieces.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <mirelto/design/circuit.h>
#include <mirelto/design/constant_calculation.h>
#include <mirelto/response/analysis.h>
#include <mirelto/tools/input_problem.h>
#include <mirelto/tools/presets.h>

#include "arguments.h"
#include "json.h"

namespace mirelto::cli {

// One command: its options, its help and what it runs. `run` writes to `out` and throws
// UsageError or Refused.
struct CommandInfo {
    std::string_view name;
    std::string_view summary;  // one line for mirelto-cli --help
    std::string_view description;
    std::vector<Option> options;
    std::string_view notes;
    void (*run)(const Arguments& args, std::ostream& out);
};

CommandInfo DesignCommand();
CommandInfo AnalyseCommand();
CommandInfo OptimiseCommand();
CommandInfo ToleranceCommand();
CommandInfo NetlistCommand();
CommandInfo PresetsCommand();
CommandInfo NoiseCommand();
CommandInfo OpAmpsCommand();

// The names --response takes ("bessel", "chebyshev-0.5-edge"), one per preset.
std::string PresetKey(const Preset& preset);
const Preset* FindPreset(std::string_view key);  // nullptr for an unknown name
std::string PresetKeys();                        // every name, comma-separated

// Option lists to build a command's list from.
std::vector<Option> Join(std::initializer_list<std::span<const Option>> lists);
extern const std::array<Option, 2> kModeOptions;       // --lpf --hpf
extern const std::array<Option, 5> kRequestOptions;    // --fa --fo --q --response --fc
extern const std::array<Option, 6> kComponentOptions;  // --r1 .. --c3
extern const std::array<Option, 3> kSeriesOptions;     // --series1 .. --series3
extern const std::array<Option, 2> kOutputOptions;     // --json --help
extern const std::array<Option, 1> kDesignOptions;     // --design, which every command takes

// --lpf or --hpf; else the design's mode; else LPF.
bool ReadIsLpf(const Arguments& args);

struct Request {
    PoleSet poles;
    std::string faText, foText, qText;  // as typed, for the report
};
// --fa, --fo, --q, the design's boxes or the window's texts where not given; or --response NAME
// --fc F: the preset's values as the window's presets write them into the boxes (in the form of
// the mode), read back from those texts.
Request ReadRequest(const Arguments& args, bool isLpf);

// The three parts the user gives in this mode (LPF: R1..R3, HPF: C1..C3) as the window reads
// them: a part not given (or, in the design, holding no value) takes the value and the text of
// the one before it, the first one the window's starting text. Naming a part the mode computes
// is a usage error.
struct GivenComponents {
    std::array<double, 3> values{};
    std::array<std::string, 3> texts;
};
GivenComponents ReadGiven(const Arguments& args, bool isLpf);

// --series1..3 for the computed parts; where not given, the design's selectors (read as the
// window reads them) or the window's starting ones.
std::array<std::int32_t, 3> ReadSeries(const Arguments& args, bool isLpf);

// All six parts, each required (the analysis of a given circuit).
Circuit ReadCircuit(const Arguments& args, bool isLpf);

// The window's result box text: FormatSI(value, 8, 3).
std::string Shown(double value);
// The same without the leading blanks.
std::string Compact(double value);
// A printf-style text of one number ("%+8.3f"); a value that rounds to zero is written as zero,
// never "-0.000".
std::string FixedText(double value, const char* format);
// The count and the noun, plural unless the count is one: "1 trial", "2 trials".
std::string Counted(std::int64_t count, std::string_view noun);
// A message of the calculation on one line: its CR LF runs become a blank.
std::string OneLine(std::string_view text);

// Where a constant calculation stopped, in English on one line.
std::string StopText(ConstantStop stop, FaultKind fault, bool isLpf);

Json CircuitJson(const Circuit& circuit);     // {"R1": ..., "C3": ...}
Json PolesJson(const PoleSet& poles);         // {"fa": ..., "fo": ..., "q": ...}
Json RangeJson(const FrequencyRange& range);  // {"low": ..., "high": ...}

}  // namespace mirelto::cli
