#include "op_amp_choice.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <mirelto/tools/noise.h>
#include <mirelto/tools/opamp_table.h>

#include "common.h"

namespace mirelto::cli {

namespace {

// A typed figure: its option and the figure it sets.
struct FigureOption {
    std::string_view option;
    OpAmpFigure figure;
    bool positive;  // above zero, else any number (a headroom may lie beyond a rail)
};
constexpr FigureOption kFigureOptions[] = {
    {"--gbw", OpAmpFigure::Gbw, true},
    {"--a0", OpAmpFigure::DcGain, true},
    {"--en", OpAmpFigure::VoltageNoise, false},
    {"--en-corner", OpAmpFigure::VoltageNoiseCorner, false},
    {"--in", OpAmpFigure::CurrentNoise, false},
    {"--in-corner", OpAmpFigure::CurrentNoiseCorner, false},
    {"--slew", OpAmpFigure::SlewRate, true},
    {"--supply", OpAmpFigure::Supply, true},
    {"--ro", OpAmpFigure::OutputResistance, false},
};

std::string TableProblemText(OpAmpTableProblem problem) {
    switch (problem) {
        case OpAmpTableProblem::NoPartColumn:
            return "the header has no \"part\" column";
        case OpAmpTableProblem::BadNumber:
            return "not a number";
        case OpAmpTableProblem::BadFlag:
            return "not yes, no or empty";
        case OpAmpTableProblem::NoName:
            return "a row without a part name";
        case OpAmpTableProblem::Unterminated:
            return "a quoted field is not closed";
        case OpAmpTableProblem::None:
            break;
    }
    return "unreadable";
}

double ReadFigure(const std::string& text, const FigureOption& f) {
    if (f.positive) {
        return ParsePositive(f.option, text);
    }
    const double value = ParseNumber(f.option, text);
    if (value < 0) {
        throw UsageError(Concat(f.option, ": must not be below zero: ", Quoted(text)));
    }
    return value;
}

// The figures' options and --swing-headroom (both swings) in the design file's figures.
const FigureOption* FigureOptionOf(std::string_view option) {
    for (const FigureOption& f : kFigureOptions) {
        if (f.option == option) {
            return &f;
        }
    }
    return nullptr;
}

}  // namespace

const std::array<Option, 10> kOpAmpFigureOptions{{
    {"--opamp", "NAME", "an op-amp of the table by name (see mirelto-cli opamps)"},
    {"--a0", "G", "op-amp open-loop DC gain, V/V (default: infinite)"},
    {"--en", "V", "op-amp input voltage noise density, V/sqrt(Hz) (4n: 4 nV/sqrt(Hz))"},
    {"--en-corner", "F", "its 1/f corner, Hz"},
    {"--in", "A", "op-amp input current noise density, A/sqrt(Hz)"},
    {"--in-corner", "F", "its 1/f corner, Hz"},
    {"--slew", "V/s", "op-amp slew rate, V/s (300k: 0.3 V/us)"},
    {"--supply", "V", "the supply rails, +V and -V"},
    {"--swing-headroom", "V", "the output's headroom to each rail, V (0: rail to rail)"},
    {"--ro", "OHMS", "op-amp open-loop output resistance"},
}};

const std::array<Option, 1> kAmplitudeOptions{{
    {"--amplitude", "V", "input sine amplitude (peak): output swing, slew and common-mode checks"},
}};

const std::array<Option, 2> kNoiseBandOptions{{
    {"--band", "F1:F2", "the noise band, Hz (default: the analysis window's range)"},
    {"--temperature", "C", "the resistors' temperature, degrees Celsius (default 27)"},
}};

std::string UserOpAmpTablePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return Concat(config, "/mirelto/opamps.csv");
    }
    const char* home = std::getenv("HOME");
    return Concat(home != nullptr ? home : "", "/.config/mirelto/opamps.csv");
}

std::vector<OpAmp> OpAmpTable() {
    std::vector<OpAmp> table(BuiltInOpAmps().begin(), BuiltInOpAmps().end());
    const std::string path = UserOpAmpTablePath();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return table;
    }
    std::ostringstream text;
    text << file.rdbuf();
    const OpAmpTableRead read = ParseOpAmpTable(text.str());
    if (read.problem != OpAmpTableProblem::None) {
        const std::string column =
            read.column.empty() ? std::string() : Concat(" (", read.column, ")");
        throw Refused("opamp-table", Concat(Printable(path), ": line ", std::to_string(read.line),
                                            column, ": ", TableProblemText(read.problem)));
    }
    table.insert(table.end(), read.opAmps.begin(), read.opAmps.end());
    return table;
}

std::optional<OpAmp> ReadOpAmp(const Arguments& args) {
    OpAmp typed;
    bool any = false;
    for (const FigureOption& f : kFigureOptions) {
        if (const auto text = OpAmpOptionText(args, f.option)) {
            FigureOf(typed, f.figure) = ReadFigure(*text, f);
            any = true;
        }
    }
    if (const auto text = OpAmpOptionText(args, "--swing-headroom")) {
        typed.swingLow = typed.swingHigh = ParseNumber("--swing-headroom", *text);
        any = true;
    }
    const auto name = OpAmpOptionText(args, "--opamp");
    if (!name) {
        return any ? std::optional(typed) : std::nullopt;
    }
    const std::vector<OpAmp> table = OpAmpTable();
    const OpAmp* part = FindOpAmp(table, *name);
    if (part == nullptr) {
        throw UsageError(Concat("--opamp: no op-amp ", Quoted(*name),
                                " in the table (see mirelto-cli opamps) nor in ",
                                Printable(UserOpAmpTablePath())));
    }
    return Overlaid(*part, typed);
}

std::optional<std::string> OpAmpOptionText(const Arguments& args, std::string_view option) {
    if (args.Has(option) || !args.Design() || !args.Design()->opAmp) {
        return args.Text(option);
    }
    const OpAmpSetting& saved = *args.Design()->opAmp;
    std::string text;
    if (option == "--opamp") {
        text = saved.name;
    } else if (option == "--amplitude") {
        text = saved.amplitude;
    } else if (option == "--band") {
        text = saved.bandLow.empty() ? std::string() : Concat(saved.bandLow, ":", saved.bandHigh);
    } else if (option == "--swing-headroom") {
        text = saved.figures[static_cast<std::size_t>(OpAmpFigure::SwingHigh)];
    } else if (const FigureOption* f = FigureOptionOf(option)) {
        text = saved.figures[static_cast<std::size_t>(f->figure)];
    }
    return text.empty() ? std::nullopt : std::optional(text);
}

bool Compensates(const Arguments& args) {
    return args.Has("--compensate") ||
           (args.Design() && args.Design()->opAmp && args.Design()->opAmp->compensate);
}

std::optional<OpAmpSetting> SavedOpAmpSetting(const Arguments& args) {
    OpAmpSetting setting;
    setting.name = OpAmpOptionText(args, "--opamp").value_or("");
    bool any = !setting.name.empty();
    for (const FigureOption& f : kFigureOptions) {
        setting.figures[static_cast<std::size_t>(f.figure)] =
            OpAmpOptionText(args, f.option).value_or("");
        any = any || !setting.figures[static_cast<std::size_t>(f.figure)].empty();
    }
    const std::string swing = OpAmpOptionText(args, "--swing-headroom").value_or("");
    setting.figures[static_cast<std::size_t>(OpAmpFigure::SwingLow)] = swing;
    setting.figures[static_cast<std::size_t>(OpAmpFigure::SwingHigh)] = swing;
    if (const auto band = OpAmpOptionText(args, "--band")) {
        const std::size_t colon = band->find(':');
        setting.bandLow = band->substr(0, colon);
        setting.bandHigh = colon == std::string::npos ? std::string() : band->substr(colon + 1);
    }
    setting.amplitude = OpAmpOptionText(args, "--amplitude").value_or("");
    setting.compensate = Compensates(args);
    any = any || !swing.empty() || !setting.bandLow.empty() || !setting.amplitude.empty();
    return any ? std::optional(setting) : std::nullopt;
}

std::optional<double> ReadAmplitude(const Arguments& args) {
    const auto text = OpAmpOptionText(args, "--amplitude");
    return text ? std::optional(ParsePositive("--amplitude", *text)) : std::nullopt;
}

FrequencyRange ReadBand(const Arguments& args) {
    const auto given = OpAmpOptionText(args, "--band");
    if (!given) {
        return {};
    }
    const std::string& text = *given;
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        throw UsageError(Concat("--band: not F1:F2 (20:20k): ", Quoted(text)));
    }
    const FrequencyRange band{ParsePositive("--band", text.substr(0, colon)),
                              ParsePositive("--band", text.substr(colon + 1))};
    if (!(band.low < band.high)) {
        throw UsageError(Concat("--band: the band must end above its start: ", Quoted(text)));
    }
    return band;
}

double ReadTemperature(const Arguments& args) {
    if (!args.Has("--temperature")) {
        return kDefaultNoiseTemperature;
    }
    const std::string text = *args.Text("--temperature");
    const double celsius = ParseNumber("--temperature", text);
    if (!(celsius > -kZeroCelsius)) {
        throw UsageError(Concat("--temperature: must be above absolute zero: ", Quoted(text)));
    }
    return celsius;
}

}  // namespace mirelto::cli
