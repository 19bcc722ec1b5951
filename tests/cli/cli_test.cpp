// mirelto-cli as a user runs it: help, usage errors (one line naming the option, status 2),
// refusals (status 1), the design report byte for byte against the window's, and the --json
// documents read back with a strict reader (nlohmann's parser).
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include <mirelto/core.h>
#include <nlohmann/json.hpp>

#include "common.h"
#include "golden.h"
#include "process.h"
#include "test_support.h"

namespace mirelto::test {
namespace {

using test::PrintTo;  // found by the printer through this namespace

using Json = nlohmann::ordered_json;
using cli::FindPreset;
using cli::PresetKey;

const std::vector<std::string> kCommands{"design",    "analyse", "optimise",
                                         "tolerance", "netlist", "presets"};

class CommandHelpTest : public testing::TestWithParam<std::string> {};

// A command with --help (and -h); run; status 0, its usage and options on standard output,
// --json among them, nothing on standard error.
TEST_P(CommandHelpTest, PrintsUsageAndOptions) {
    for (const char* flag : {"--help", "-h"}) {
        const Outcome o = RunCli({GetParam(), flag});
        EXPECT_EQ(o.status, 0);
        EXPECT_TRUE(o.out.starts_with("Usage: mirelto-cli " + GetParam() + " [options]\n"))
            << o.out;
        EXPECT_NE(o.out.find("  --json "), std::string::npos);
        EXPECT_NE(o.out.find("  --help "), std::string::npos);
        EXPECT_EQ(o.err, "");
    }
    EXPECT_EQ(RunCli({"help", GetParam()}).out, RunCli({GetParam(), "--help"}).out);
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandHelpTest, testing::ValuesIn(kCommands),
                         [](const auto& info) { return info.param; });

// mirelto-cli --help; run; every command listed, the exit statuses explained.
TEST(MainHelpTest, ListsEveryCommand) {
    const Outcome o = RunCli({"--help"});
    EXPECT_EQ(o.status, 0);
    for (const std::string& command : kCommands) {
        EXPECT_NE(o.out.find("\n  " + command + " "), std::string::npos) << command;
    }
    EXPECT_NE(o.out.find("Exit status: 0"), std::string::npos);
}

struct UsageCase {
    std::string name;
    std::vector<std::string> args;
    std::string named;  // what the one line must name
};

class UsageErrorTest : public testing::TestWithParam<UsageCase> {};

// A bad command line; run; status 2, nothing on standard output, one line on standard error
// that starts with the program and names the option.
TEST_P(UsageErrorTest, OneLineNamingTheOption) {
    const UsageCase& c = GetParam();
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.out, "");
    ASSERT_FALSE(o.err.empty());
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_TRUE(o.err.ends_with("\n"));
    EXPECT_EQ(o.err.find('\r'), std::string::npos);
    EXPECT_TRUE(o.err.starts_with("mirelto-cli")) << o.err;
    EXPECT_NE(o.err.find(c.named), std::string::npos) << o.err;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(BadCommandLines, UsageErrorTest, testing::Values(
    UsageCase{"NotAValue", {"design", "--fa", "abc"}, "--fa: not a value: \"abc\""},
    UsageCase{"EmptyValue", {"design", "--r1", ""}, "--r1: not a value"},
    UsageCase{"MissingValueAtEnd", {"design", "--q"}, "--q: needs a value"},
    UsageCase{"MissingValueBeforeOption", {"design", "--fa", "--fo", "1k"}, "--fa: needs a value"},
    UsageCase{"UnknownOption", {"design", "--bogus", "1"}, "unknown option \"--bogus\""},
    UsageCase{"NegativeRequest", {"design", "--q", "-1"}, "--q: must be above zero"},
    UsageCase{"ComputedComponentGiven", {"design", "--c1", "1n"}, "--c1: computed in LPF mode"},
    UsageCase{"ComputedResistorGiven", {"design", "--hpf", "--r2", "10k"}, "--r2: computed in HPF mode"},
    UsageCase{"BothModes", {"design", "--lpf", "--hpf"}, "--hpf"},
    UsageCase{"BadSeries", {"design", "--series2", "E7x"}, "--series2: not a series"},
    UsageCase{"SeriesSeven", {"design", "--series1", "7"}, "--series1: not a standard series: \"7\" (E3, E6, E12, E24, E48, E96, E192; 0 or inf for none)"},
    UsageCase{"GivenSeriesTwenty", {"optimise", "--given-series", "E20"}, "--given-series: not a standard series: \"E20\""},
    UsageCase{"FlagWithValue", {"design", "--json=1"}, "--json: takes no value"},
    UsageCase{"StrayWord", {"design", "22k"}, "unexpected argument \"22k\""},
    UsageCase{"LineBreakInValue", {"design", "--fa", "1\n2"}, "--fa: not a value: \"1?2\""},
    UsageCase{"MissingComponent", {"analyse", "--r1", "22k"}, "--r2: missing"},
    UsageCase{"ZeroComponent", With({"analyse"}, With(kDefaultLowPassCircuit, {"--c3", "0"})), "--c3: must be above zero"},
    UsageCase{"TooManySteps", {"optimise", "--steps", "4"}, "--steps: must be a whole number"},
    UsageCase{"FractionalCount", {"optimise", "--count", "2.5"}, "--count"},
    UsageCase{"BadGivenSeries", {"optimise", "--given-series", "many"}, "--given-series"},
    UsageCase{"UnknownResponse", {"design", "--response", "bessle", "--fc", "10k"}, "--response: unknown response \"bessle\" (butterworth, bessel, bessel-delay"},
    UsageCase{"FcWithoutResponse", {"optimise", "--fc", "10k"}, "--response: missing"},
    UsageCase{"ResponseWithoutFc", {"design", "--response", "bessel"}, "--fc: missing"},
    UsageCase{"NegativeFc", {"optimise", "--response", "legendre", "--fc", "-1"}, "--fc: must be above zero"},
    UsageCase{"ResponseAndQ", {"design", "--response", "bessel", "--fc", "10k", "--q", "1"}, "--q: not with --response"},
    UsageCase{"UnknownRanking", {"optimise", "--rank", "delay"}, "--rank: unknown ranking"},
    UsageCase{"RankingInCapitals", {"optimise", "--rank", "Poles"}, "--rank"},
    UsageCase{"EmptyRanking", {"optimise", "--rank", ""}, "--rank"},
    UsageCase{"BadDistribution", With({"tolerance"}, With(kDefaultLowPassCircuit, {"--distribution", "flat"})), "--distribution"},
    UsageCase{"WholeTolerance", With({"tolerance"}, With(kDefaultLowPassCircuit, {"--tol-r", "100"})), "--tol-r: must be 0 to below 100 %"},
    UsageCase{"NegativeSeed", With({"tolerance"}, With(kDefaultLowPassCircuit, {"--seed", "-1"})), "--seed"},
    UsageCase{"NoTrials", With({"tolerance"}, With(kDefaultLowPassCircuit, {"--trials", "0"})), "--trials"},
    UsageCase{"NoPoints", With({"netlist"}, With(kDefaultLowPassCircuit, {"--points-per-decade", "0"})), "--points-per-decade"},
    UsageCase{"BackwardsSweep", With({"netlist"}, With(kDefaultLowPassCircuit, {"--from", "10k", "--to", "1k"})), "--to"},
    UsageCase{"StartBeyondTheEnd", With({"netlist"}, With(kDefaultLowPassCircuit, {"--from", "1G"})), "--from: the sweep must start below its end"},
    UsageCase{"EndBelowTheStart", With({"netlist"}, With(kDefaultLowPassCircuit, {"--to", "1"})), "--to: the sweep must end above its start"},
    // A pasted page is quoted by its first 40 characters.
    UsageCase{"LongValueCut", {"design", "--fa", std::string(10000, '7') + "x"}, "--fa: not a value: \"" + std::string(40, '7') + "...\"\n"},
    UsageCase{"LongCommandCut", {std::string(100, 'z')}, "unknown command \"" + std::string(40, 'z') + "...\""},
    UsageCase{"ZeroGbw", {"design", "--gbw", "0"}, "--gbw: must be above zero: \"0\""},
    UsageCase{"NegativeGbw", With({"analyse", "--gbw", "-1M"}, kDefaultLowPassCircuit), "--gbw: must be above zero"},
    UsageCase{"NaNGbw", With({"tolerance", "--gbw", "nan"}, kDefaultLowPassCircuit), "--gbw: not a value: \"nan\""},
    UsageCase{"TextGbw", {"design", "--gbw", "fast"}, "--gbw: not a value"},
    UsageCase{"CutExponentGbw", {"design", "--gbw", "1e"}, "--gbw: not a value: \"1e\""},
    UsageCase{"OverflowingGbw", {"design", "--gbw", "1e999"}, "--gbw: not a value"},
    UsageCase{"UnknownCommand", {"frobnicate"}, "unknown command \"frobnicate\""},
    UsageCase{"NoCommand", {}, "no command"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// The last line analyse prints for a circuit: its -3 dB frequency.
std::string CutoffLineOf(const std::vector<std::string>& circuit) {
    const std::string out = RunCli(With({"analyse"}, circuit)).out;
    return out.substr(out.rfind("f(-3dB) = "));
}

// design with no options, and with --hpf; run; the window's report of the default request
// (the golden files hold the window's texts), byte for byte with CR LF, then the -3 dB line
// analyse prints for the circuit it built.
TEST(DesignTest, DefaultRequestsPrintTheWindowsReport) {
    const Outcome low = RunCli({"design"});
    EXPECT_EQ(low.status, 0);
    EXPECT_TRUE(MatchesGolden(low.out, "design_lpf.txt"));
    EXPECT_TRUE(low.out.ends_with(CutoffLineOf(kDefaultLowPassCircuit)));
    EXPECT_EQ(low.err, "");
    const Outcome high = RunCli({"design", "--hpf"});
    EXPECT_EQ(high.status, 0);
    EXPECT_TRUE(MatchesGolden(high.out, "design_hpf.txt"));
    EXPECT_TRUE(high.out.ends_with(CutoffLineOf(With({"--hpf"}, kDefaultHighPassParts))));
}

// A command line and the golden file of what it prints.
struct GoldenCase {
    std::string name;
    std::vector<std::string> args;
    std::string golden;
};

class DesignReportTest : public testing::TestWithParam<GoldenCase> {};

// Typed texts, blanks and series spelt in each way the selectors take; run design; the window's
// report byte for byte, the -3 dB line, then a line per design warning.
TEST_P(DesignReportTest, PrintsTheWindowsReport) {
    const Outcome o = RunCli(GetParam().args);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(MatchesGolden(o.out, GetParam().golden));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Requests, DesignReportTest, testing::Values(
    // R3 left out takes R2's text.
    GoldenCase{"BlankR3TakesR2", {"design", "--fa", "2k", "--fo", "1.5e3", "--q", "0.8", "--r1", "10k", "--r2", "4k7", "--series1", "12", "--series2", "E12", "--series3=12"}, "design_blank_r3.txt"},
    GoldenCase{"HighPassUnrounded", {"design", "--hpf", "--fa", "1k", "--fo", "1.2k", "--q", "2", "--c1", "10n", "--c2", "4.7n", "--series1", "inf", "--series2", "0", "--series3", "\xE2\x88\x9E"}, "design_hpf_unrounded.txt"},
    // The 50 Hz HPF on E24: the report as the window's, then the spread's warning.
    GoldenCase{"HighPassSpreadWarns", {"design", "--hpf", "--fa", "93.18167", "--fo", "54.6139", "--q", "1.706189", "--c1", "100n", "--series1", "24", "--series2", "24", "--series3", "24"}, "design_hpf_spread.txt"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// Resistor ratios the synthesis cannot realise; run design; status 1, the window's message on
// one line of standard error, nothing on standard output.
TEST(DesignTest, UnrealisableRequestIsRefused) {
    const Outcome o = RunCli({"design", "--r2", "7.3k"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err,
              "mirelto-cli design: This request cannot be realised (C < 0). Widen the ratios "
              "with R1 < R2 <= R3 to realise it.\n");
}

// The default LPF circuit; run analyse; the window's transfer-function report and the -3 dB line.
TEST(AnalyseTest, PrintsTheTransferFunctionReport) {
    const Outcome o = RunCli(With({"analyse"}, kDefaultLowPassCircuit));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(MatchesGolden(o.out, "analyse_lpf.txt"));
}

// Parts whose time constants overflow a double; run analyse; status 1 with one line saying the
// analysis found no poles, nothing on standard output.
TEST(AnalyseTest, OverflowingPartsAreRefused) {
    const Outcome o = RunCli({"analyse", "--r1", "1e200", "--r2", "1e200", "--r3", "1e200", "--c1",
                              "1e200", "--c2", "1e200", "--c3", "1e200"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "mirelto-cli analyse: the circuit has no real pole and complex pole pair\n");
}

struct JsonErrorCase {
    std::string name;
    std::vector<std::string> args;  // with --json
    int status;
    std::string code, message;
};

class JsonErrorTest : public testing::TestWithParam<JsonErrorCase> {};

// A refused command line or calculation with --json; run; the exit status of the case, its
// English line on standard error, and on standard output only the error object with its code
// and the same message.
TEST_P(JsonErrorTest, PrintsTheErrorObject) {
    const JsonErrorCase& c = GetParam();
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.err, "mirelto-cli " + c.args[0] + ": " + c.message + "\n");
    EXPECT_EQ(Json::parse(o.out), Json({{"error", {{"code", c.code}, {"message", c.message}}}}))
        << o.out;
}

const std::vector<std::string> kOverflowingCircuit{"--r1", "1e200", "--r2", "1e200",
                                                   "--r3", "1e200", "--c1", "1e200",
                                                   "--c2", "1e200", "--c3", "1e200"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Refusals, JsonErrorTest, testing::Values(
    JsonErrorCase{"BadValue", {"design", "--json", "--fa", "abc"}, 2, "usage", "--fa: not a value: \"abc\""},
    JsonErrorCase{"BadGbw", With({"analyse", "--json", "--gbw", "0"}, kDefaultLowPassCircuit), 2, "usage", "--gbw: must be above zero: \"0\""},
    JsonErrorCase{"UnrealisableLowPass", {"design", "--json", "--r2", "7.3k"}, 1, "unrealisable-lpf", "This request cannot be realised (C < 0). Widen the ratios with R1 < R2 <= R3 to realise it."},
    JsonErrorCase{"UnrealisableHighPass", {"optimise", "--json", "--hpf", "--c1", "1n", "--c2", "100n"}, 1, "unrealisable-hpf", "This request cannot be realised (R < 0). Widen the ratios with C1 > C2 >= C3 to realise it."},
    JsonErrorCase{"NoPoles", With({"tolerance", "--json"}, kOverflowingCircuit), 1, "no-poles", "the circuit has no real pole and complex pole pair"},
    JsonErrorCase{"MissingDesignFile", {"netlist", "--json", "--design", "/nonexistent/x.mirelto"}, 1, "design-file-not-found", "--design: /nonexistent/x.mirelto: no such file"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

struct AliasCase {
    std::string name;
    std::string alias, command;
    std::vector<std::string> args;  // a run that succeeds
    std::string shownAs;            // how its usage line and messages name the command
};

class AliasTest : public testing::TestWithParam<AliasCase> {};

// Another spelling of a command; run it as text, as --json, with --help and with a bad option;
// the command's own output, and the usage line and message prefix name it as the row says
// ("analyze" keeps what it printed when it was the command's name).
TEST_P(AliasTest, RunsTheCommand) {
    const AliasCase& c = GetParam();
    for (const std::vector<std::string>& more :
         {std::vector<std::string>{}, std::vector<std::string>{"--json"}}) {
        const Outcome alias = RunCli(With(With({c.alias}, c.args), more));
        EXPECT_EQ(alias.status, 0) << alias.err;
        EXPECT_EQ(alias.out, RunCli(With(With({c.command}, c.args), more)).out);
    }
    EXPECT_TRUE(RunCli({c.alias, "--help"})
                    .out.starts_with("Usage: mirelto-cli " + c.shownAs + " [options]\n"));
    EXPECT_EQ(RunCli({c.alias, "--bogus"}).err,
              "mirelto-cli " + c.shownAs + ": unknown option \"--bogus\"\n");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Spellings, AliasTest, testing::Values(
    AliasCase{"Analyze", "analyze", "analyse", kDefaultLowPassCircuit, "analyze"},
    AliasCase{"Optimize", "optimize", "optimise", {"--steps", "1"}, "optimise"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// The document a command prints, read in the order it was written.
Json JsonOf(const std::vector<std::string>& args) {
    const Outcome o = RunCli(args);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    return Json::parse(o.out);
}

class JsonKeysTest : public testing::TestWithParam<GoldenCase> {};

// Each command with --json; read it; one line feed ends it, the strict reader takes it, and the
// document (its top-level keys in the order the command writes them) is the golden one.
TEST_P(JsonKeysTest, KeysComeInTheirOrder) {
    const Outcome o = RunCli(GetParam().args);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(o.out.ends_with("}\n")) << o.out;
    EXPECT_TRUE(Json::accept(o.out));
    EXPECT_TRUE(MatchesGolden(o.out, GetParam().golden));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, JsonKeysTest, testing::Values(
    GoldenCase{"Design", {"design", "--json"}, "design.json"},
    GoldenCase{"Analyse", With({"analyse", "--json"}, kDefaultLowPassCircuit), "analyse.json"},
    GoldenCase{"Optimise", {"optimise", "--json", "--steps", "1", "--count", "2"}, "optimise.json"},
    GoldenCase{"Tolerance", With({"tolerance", "--json", "--trials", "10"}, kDefaultLowPassCircuit), "tolerance.json"},
    GoldenCase{"Presets", {"presets", "--json"}, "presets.json"},
    GoldenCase{"Netlist", With({"netlist", "--json"}, kDefaultLowPassCircuit), "netlist.json"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

struct WarningsCase {
    std::string name;
    std::vector<std::string> args;       // run with --json, then as text
    std::string where;                   // the JSON pointer of the "warnings" array
    std::vector<std::string> codes;      // its codes in order
    std::vector<std::string> textLines;  // the lines of the text run that start with "Warning"
};

class WarningsTest : public testing::TestWithParam<WarningsCase> {};

// A command on a circuit that warns or not; run with --json and as text; the codes where the row
// says, and the text's warning lines, each ending as the command's lines end.
TEST_P(WarningsTest, AreInTheJsonAndTheText) {
    const WarningsCase& c = GetParam();
    const Json doc = JsonOf(With(c.args, {"--json"}));
    std::vector<std::string> codes;
    for (const Json& w : doc.at(Json::json_pointer(c.where))) {
        codes.push_back(w.at("code"));
        EXPECT_FALSE(w.at("message").get<std::string>().empty());
    }
    EXPECT_EQ(codes, c.codes);
    const Outcome text = RunCli(c.args);
    std::vector<std::string> lines;
    for (std::size_t at = text.out.find("\nWarning"); at != std::string::npos;
         at = text.out.find("\nWarning", at + 1)) {
        lines.push_back(text.out.substr(at + 1, text.out.find('\n', at + 1) - at));
    }
    EXPECT_EQ(lines, c.textLines);
}

const std::vector<std::string> kHighPass50Hz{
    "--hpf",     "--response", "chebyshev-0.5", "--fc", "50",        "--c1", "100n",
    "--series1", "24",         "--series2",     "24",   "--series3", "24"};

// The text lines of a circuit that draws every kind of warning.
const std::vector<std::string> kEveryKindLines{
    "Warning: resistor values spread 3235:1 (R2/R1, more than 30:1): sensitive to tolerances and "
    "stray capacitance\r\n",
    "Warning: capacitor values spread 45.5:1 (C2/C1, more than 30:1): sensitive to tolerances and "
    "stray capacitance\r\n",
    "Warning: R1 = 680Ω is below 1kΩ: it loads the op-amp output\r\n",
    "Warning: R2 = 2.2MΩ is above 1MΩ: its noise and the op-amp's bias currents grow\r\n",
    "Warning: R3 = 2.2MΩ is above 1MΩ: its noise and the op-amp's bias currents grow\r\n",
    "Warning: C1 = 22pF is below 100pF: stray and op-amp input capacitance shift the response\r\n",
    "Warning: C3 = 47pF is below 100pF: stray and op-amp input capacitance shift the response\r\n"};

// The text lines of optimise over the 50 Hz HPF: its best row, then its plain rounding.
const std::vector<std::string> kHighPass50HzLines{
    "Warning (rank 1): resistor values spread 100:1 (R3/R2, more than 30:1): sensitive to "
    "tolerances and stray capacitance\n",
    "Warning (plain rounding): resistor values spread 120:1 (R3/R2, more than 30:1): sensitive to "
    "tolerances and stray capacitance\n"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, WarningsTest, testing::Values(
    WarningsCase{"DesignWithout", {"design"}, "/warnings", {}, {}},
    WarningsCase{"AnalyseWithout", With({"analyse"}, kDefaultLowPassCircuit), "/warnings", {}, {}},
    WarningsCase{"AnalyseLowResistor", {"analyse", "--r1", "680", "--r2", "1k", "--r3", "1k", "--c1", "68n", "--c2", "150n", "--c3", "10n"}, "/warnings", {"resistor-low"}, {"Warning: R1 = 680Ω is below 1kΩ: it loads the op-amp output\r\n"}},
    WarningsCase{"AnalyseEveryKind", {"analyse", "--r1", "680", "--r2", "2.2M", "--r3", "2.2M", "--c1", "22p", "--c2", "1n", "--c3", "47p"}, "/warnings", {"resistor-spread", "capacitor-spread", "resistor-low", "resistor-high", "resistor-high", "capacitor-low", "capacitor-low"}, kEveryKindLines},
    WarningsCase{"OptimiseBestRow", With({"optimise", "--count", "3"}, kHighPass50Hz), "/best/0/warnings", {"resistor-spread"}, kHighPass50HzLines},
    WarningsCase{"OptimisePlainRounding", With({"optimise", "--count", "3"}, kHighPass50Hz), "/plainRounding/warnings", {"resistor-spread"}, kHighPass50HzLines},
    // The default request's best row is its plain rounding: clean, and written once.
    WarningsCase{"OptimiseWithout", {"optimise", "--steps", "1"}, "/best/0/warnings", {}, {}}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// design --json; read it; the numbers are the back-calculation's doubles exactly, the report the
// text design prints.
TEST(JsonOutputTest, DesignCarriesExactNumbersAndTheReport) {
    const Json doc = JsonOf({"design", "--json"});
    DesignDefaultInTheWindow(true, 6);
    EXPECT_EQ(doc.at("command"), "design");
    EXPECT_EQ(doc.at("mode"), "LPF");
    EXPECT_EQ(doc.at("result").at("fa").get<double>(), DesignState.FaResult);
    EXPECT_EQ(doc.at("result").at("fo").get<double>(), DesignState.FoResult);
    EXPECT_EQ(doc.at("result").at("q").get<double>(), DesignState.QResult);
    // A preferred value is written as its decimal value, the number the part is sold as.
    EXPECT_EQ(doc.at("circuit").at("C2").get<double>(), NominalValue(DesignState.ResC2));
    EXPECT_EQ(doc.at("circuit").at("C2").dump(), "1.5e-08");
    EXPECT_EQ(doc.at("circuit").at("R1"), 22000);
    EXPECT_EQ(doc.at("series"), Json({6, 6, 6}));
    EXPECT_EQ(doc.at("relativeError").at("fo").get<double>(), (DesignState.FoResult - 1420) / 1420);
    EXPECT_TRUE(RunCli({"design"}).out.starts_with(doc.at("report").get<std::string>()));
    // The -3 dB frequency of the built circuit, as analyse finds it for the same parts typed as
    // their decimal values.
    const double analysed =
        JsonOf(With({"analyse", "--json"}, kDefaultLowPassCircuit)).at("result").at("cutoff");
    EXPECT_NEAR(doc.at("result").at("cutoff").get<double>(), analysed, 1e-9 * analysed);
}

// analyse --json; read it; the command named as before, fa, fo, Q of CircuitPoles and a -3 dB
// frequency inside the range.
TEST(JsonOutputTest, AnalyseCarriesTheCutoff) {
    const Json doc = JsonOf(With({"analyse", "--json"}, kDefaultLowPassCircuit));
    EXPECT_EQ(doc.at("command"), "analyze");
    const PoleSet poles = CircuitPoles(kDefaultLowPass);
    EXPECT_EQ(doc.at("result").at("fo").get<double>(), poles.fo);
    const double cutoff = doc.at("result").at("cutoff").get<double>();
    EXPECT_GT(cutoff, doc.at("range").at("low").get<double>());
    EXPECT_LT(cutoff, doc.at("range").at("high").get<double>());
    EXPECT_NEAR(cutoff, 1492, 1);
}

struct GbwCase {
    std::string name;
    std::vector<std::string> args;  // a command with --json
    std::string alsoOpAmp;          // a figure of the document taken with the op-amp as well
};

class GbwTest : public testing::TestWithParam<GbwCase> {};

Circuit CircuitOfJson(const Json& doc) {
    ComponentValues parts{};
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        parts[p] = doc.at("circuit").at(ComponentName(p)).get<double>();
    }
    return CircuitOf(parts, doc.at("mode") == "LPF");
}

// A command with --gbw 10k, and 1G; read the JSON and the text; the op-amp's -3 dB frequency and
// peak are the analysis window's for the same circuit, a slow op-amp pulls the LPF's -3 dB point
// down and warns in both outputs, a fast one stays within the window's 1 % and does not.
TEST_P(GbwTest, GivesTheWindowsOpAmpFigures) {
    const GbwCase& c = GetParam();
    for (const char* gbw : {"10k", "1G"}) {
        const Json doc = JsonOf(With(c.args, {"--gbw", gbw}));
        const Json& opAmp = doc.at("opAmp");
        EXPECT_EQ(opAmp.at("gbw"), ParseValue(gbw));
        AnalysisInput input;
        input.hasRequest = false;
        input.built = CircuitOfJson(doc);
        input.opAmpGbw = ParseValue(gbw);
        const Figures window = Analyse(input).opAmpFigures;
        const double cutoff = opAmp.at("cutoff").get<double>();
        EXPECT_NEAR(cutoff, window.cutoff, 1e-9 * window.cutoff) << gbw;
        EXPECT_NEAR(opAmp.at("peak").at("gainDb").get<double>(), window.peak.gainDb, 1e-6);
        if (!c.alsoOpAmp.empty()) {
            EXPECT_NEAR(doc.at(Json::json_pointer(c.alsoOpAmp)).get<double>(), cutoff,
                        1e-9 * cutoff);
        }
        const double ideal = Analyse(input).builtFigures.cutoff;
        const bool slow = gbw == std::string("10k");
        EXPECT_EQ(cutoff < 0.99 * ideal, slow) << cutoff << " " << ideal;
        EXPECT_EQ(opAmp.at("warning").is_string(), slow);
        std::vector<std::string> text = With(c.args, {"--gbw", gbw});
        std::erase(text, "--json");
        const std::string out = RunCli(text).out;
        EXPECT_NE(out.find("Op-amp GBW = "), std::string::npos);
        EXPECT_EQ(out.find("Warning: against an ideal op-amp") != std::string::npos, slow);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, GbwTest, testing::Values(
    GbwCase{"Design", {"design", "--json"}, ""},
    GbwCase{"Analyse", With({"analyse", "--json"}, kDefaultLowPassCircuit), ""},
    // Every trial's -3 dB frequency is taken with the op-amp: the nominal one too.
    GbwCase{"Tolerance", With({"tolerance", "--json", "--trials", "100"}, kDefaultLowPassCircuit), "/cutoff/nominal"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// optimise --json with free resistors; read it; 20 ranked candidates best first, each with its
// circuit and errors, and plain rounding with its rank.
// design and optimise --response NAME --fc F, every preset in both modes; read the JSON; the
// request is the preset's values as the window's presets write them into the boxes.
TEST(PresetRequestTest, EveryPresetReachesTheRequestAsTheWindowWritesIt) {
    for (const Preset& preset : Presets()) {
        for (const bool isLpf : {true, false}) {
            const PoleSet p = PresetPoles(preset, 10000, isLpf);
            const Json doc = JsonOf({"design", "--json", isLpf ? "--lpf" : "--hpf", "--response",
                                     PresetKey(preset), "--fc", "10k"});
            const Json& request = doc.at("request");
            EXPECT_EQ(request.at("fa").get<double>(), ParseValue(PresetValueText(p.fa)));
            EXPECT_EQ(request.at("fo").get<double>(), ParseValue(PresetValueText(p.fo)));
            EXPECT_EQ(request.at("q").get<double>(), ParseValue(PresetValueText(p.q)));
            EXPECT_NEAR(request.at("q").get<double>(), p.q, 1e-6 * p.q) << PresetKey(preset);
        }
    }
}

// presets; read it; one line per preset under the header, each with its name and numbers.
TEST(PresetsCommandTest, ListsEveryPresetWithItsName) {
    const Json doc = JsonOf({"presets", "--json"});
    ASSERT_EQ(doc.at("presets").size(), Presets().size());
    for (std::size_t i = 0; i < Presets().size(); ++i) {
        const Json& row = doc.at("presets")[i];
        EXPECT_EQ(row.at("name"), PresetKey(Presets()[i]));
        EXPECT_EQ(row.at("q").get<double>(), NormalisedPoles(Presets()[i]).q);
        EXPECT_TRUE(FindPreset(row.at("name").get<std::string>()) == &Presets()[i]);
    }
    const Outcome text = RunCli({"presets"});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("chebyshev-0.5-edge"), std::string::npos);
    EXPECT_NE(text.out.find("fc is the -3 dB frequency"), std::string::npos);
}

struct RankingCase {
    std::string name;    // the --rank value
    std::string figure;  // the key of the figure the rows ascend by (its magnitude)
};

class OptimiseRankingTest : public testing::TestWithParam<RankingCase> {};

// optimise --json --rank NAME over the E24 neighbourhood; read it; the rows ascend by the named
// figure, every row carries all three figures, and the plain rounding has a rank.
TEST_P(OptimiseRankingTest, RowsAscendByTheChosenFigure) {
    const RankingCase& c = GetParam();
    const Json doc =
        JsonOf({"optimise", "--json", "--given-series", "24", "--steps", "2", "--rank", c.name});
    EXPECT_EQ(doc.at("ranking"), c.name);
    EXPECT_EQ(doc.at("combinations"), 15625);
    const Json& best = doc.at("best");
    ASSERT_EQ(best.size(), 20u);
    double previous = 0;
    for (std::size_t i = 0; i < best.size(); ++i) {
        EXPECT_EQ(best[i].at("rank"), i + 1);
        for (const char* key : {"worstError", "cutoffError", "responseDb"}) {
            EXPECT_TRUE(best[i].at(key).is_number()) << key;
        }
        const double figure = std::fabs(best[i].at(c.figure).get<double>());
        EXPECT_GE(figure, previous);
        previous = figure;
        EXPECT_EQ(best[i].at("circuit").size(), 6u);
    }
    // The plain rounding is ranked by the same figure, and the first row beats or matches it.
    const Json& plain = doc.at("plainRounding");
    EXPECT_EQ(plain.at("plainRounding"), true);
    EXPECT_GT(plain.at("rank"), 0);
    EXPECT_LE(std::fabs(best[0].at(c.figure).get<double>()),
              std::fabs(plain.at(c.figure).get<double>()));
    EXPECT_EQ(doc.at("candidates").at("C1").size(), 5u);
    EXPECT_EQ(doc.at("candidates").at("R1"), Json({18000, 20000, 22000, 24000, 27000}));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rankings, OptimiseRankingTest, testing::Values(
    RankingCase{"poles", "worstError"},
    RankingCase{"cutoff", "cutoffError"},
    RankingCase{"response", "responseDb"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// tolerance --json; read it; the trials, the seed, four spreads whose histograms hold every
// trial in 40 bins, and a sensitivity per part.
TEST(JsonOutputTest, ToleranceCarriesSpreadsAndSensitivities) {
    const Json doc = JsonOf(
        With({"tolerance", "--json", "--trials", "2k", "--seed", "99"}, kDefaultLowPassCircuit));
    EXPECT_EQ(doc.at("trials"), 2000);
    EXPECT_EQ(doc.at("seed"), 99);
    for (const char* quantity : {"fa", "fo", "q", "cutoff"}) {
        const Json& spread = doc.at(quantity);
        const Json& counts = spread.at("histogram").at("counts");
        EXPECT_EQ(counts.size(), 40u) << quantity;
        const double total =
            std::accumulate(counts.begin(), counts.end(), 0.0,
                            [](double sum, const Json& v) { return sum + v.get<double>(); });
        EXPECT_EQ(total, spread.at("count").get<double>()) << quantity;
        EXPECT_LE(spread.at("p1").get<double>(), spread.at("p50").get<double>());
        EXPECT_LE(spread.at("p50").get<double>(), spread.at("p99").get<double>());
    }
    EXPECT_EQ(doc.at("sensitivity").at("fo").size(), 6u);
    EXPECT_EQ(doc.at("tolerance").at("C2").get<double>(), 0.05);
}

// netlist --json; read it; the netlist string is what netlist prints.
TEST(JsonOutputTest, NetlistCarriesTheText) {
    const Json doc = JsonOf(With({"netlist", "--json"}, kDefaultLowPassCircuit));
    EXPECT_EQ(doc.at("netlist"), RunCli(With({"netlist"}, kDefaultLowPassCircuit)).out);
    EXPECT_EQ(doc.at("pointsPerDecade"), 100);
}

// One seed twice and another; run tolerance; the same seed prints the same, the other differs.
TEST(ToleranceCommandTest, SeedRepeatsTheRun) {
    const auto run = [](const char* seed) {
        return RunCli(With({"tolerance", "--trials", "500", "--distribution", "normal", "--seed",
                            seed},
                           kDefaultLowPassCircuit))
            .out;
    };
    const std::string first = run("42");
    EXPECT_NE(first.find("seed 42"), std::string::npos);
    EXPECT_EQ(first, run("42"));
    EXPECT_NE(first, run("43"));
}

// One trial, and wide normal tolerances where some trials draw negative parts; run tolerance;
// "1 trial" in the singular, and the trials left out counted as the JSON counts them.
TEST(ToleranceCommandTest, CountsTheTrialsLeftOut) {
    EXPECT_NE(RunCli(With({"tolerance", "--trials", "1"}, kDefaultLowPassCircuit))
                  .out.find("tolerance analysis: 1 trial, uniform"),
              std::string::npos);
    const std::vector<std::string> wide = With({"tolerance", "--trials", "20000", "--tol-r", "99.9",
                                                "--tol-c", "99.9", "--distribution", "normal"},
                                               kDefaultLowPassCircuit);
    const Json doc = JsonOf(With(wide, {"--json"}));
    const auto withoutPoles =
        doc.at("trials").get<std::int64_t>() - doc.at("q").at("count").get<std::int64_t>();
    ASSERT_GT(withoutPoles, 0);
    EXPECT_NE(RunCli(wide).out.find("Left out: " + std::to_string(withoutPoles) +
                                    " trials without a real pole and complex pole pair"),
              std::string::npos);
}

// netlist --output FILE; run; the file holds the netlist, standard output stays empty.
TEST(NetlistCommandTest, WritesToAFile) {
    const std::string path = ScratchDirectory() + "/written.cir";
    const Outcome o = RunCli(
        With({"netlist", "--hpf", "--output", path, "--title", "mine"}, kDefaultHighPassParts));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "");
    const std::string written = ReadFile(path);
    EXPECT_TRUE(written.starts_with("mine\n")) << written;
    EXPECT_NE(written.find("R3 p 0 160000\n"), std::string::npos);
}

struct OutputFailureCase {
    std::string name;
    std::vector<std::string> args;
    std::string output;  // the shell's redirection of standard output
    std::string message;
};

class OutputFailureTest : public testing::TestWithParam<OutputFailureCase> {};

// Standard output (or the output file) cannot take the text; run; status 1 and one line on
// standard error with the system's reason.
TEST_P(OutputFailureTest, IsAFailureWithTheReason) {
    const OutputFailureCase& c = GetParam();
    const Outcome o = RunCliIn("", c.args, c.output);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Outputs, OutputFailureTest, testing::Values(
    OutputFailureCase{"DesignToAFullDevice", {"design"}, ">/dev/full", "cannot write standard output: No space left on device"},
    OutputFailureCase{"DesignWithOutputClosed", {"design"}, ">&-", "cannot write standard output: Bad file descriptor"},
    OutputFailureCase{"HelpToAFullDevice", {"--help"}, ">/dev/full", "cannot write standard output: No space left on device"},
    OutputFailureCase{"ToleranceJsonToAFullDevice", With({"tolerance", "--json", "--trials", "100"}, kDefaultLowPassCircuit), ">/dev/full", "No space left on device"},
    OutputFailureCase{"NetlistFileOnAFullDevice", With({"netlist", "--output", "/dev/full"}, kDefaultLowPassCircuit), "", "cannot write /dev/full: No space left on device"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// A file with old contents; netlist --output to it with a file size limit the netlist exceeds (a
// disk that fills up); status 1 naming the reason, the old file as it was, nothing else beside it.
TEST(NetlistCommandTest, FailedWriteKeepsTheOldFile) {
    const std::string directory = ScratchDirectory() + "/full";
    std::filesystem::create_directory(directory);
    const std::string path = directory + "/kept.cir";
    std::ofstream(path) << "old netlist\n";
    const Outcome o =
        RunCliIn("trap '' XFSZ; ulimit -f 1; ",
                 With({"netlist", "--output", path, "--title", std::string(5000, 't')},
                      kDefaultLowPassCircuit),
                 "");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("cannot write " + path + ": File too large"), std::string::npos) << o.err;
    EXPECT_EQ(ReadFile(path), "old netlist\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory),
                            std::filesystem::directory_iterator()),
              1);
}

// A file in a directory the user may not write to; netlist --output to it; status 1 naming the
// reason, the file as it was.
TEST(NetlistCommandTest, ReadOnlyDirectoryKeepsTheOldFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser writes into read-only directories";
    }
    const std::string directory = ScratchDirectory() + "/read-only";
    std::filesystem::create_directory(directory);
    const std::string path = directory + "/kept.cir";
    std::ofstream(path) << "old netlist\n";
    std::filesystem::permissions(
        directory, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const Outcome o = RunCli(With({"netlist", "--output", path}, kDefaultLowPassCircuit));
    std::filesystem::permissions(directory, std::filesystem::perms::owner_all);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("Permission denied"), std::string::npos) << o.err;
    EXPECT_EQ(ReadFile(path), "old netlist\n");
}

// An existing file; netlist --output to it; replaced whole by the netlist.
TEST(NetlistCommandTest, ReplacesAnExistingFile) {
    const std::string path = ScratchDirectory() + "/replaced.cir";
    std::ofstream(path) << std::string(10000, 'o');
    const Outcome o = RunCli(With({"netlist", "--output", path}, kDefaultLowPassCircuit));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadFile(path), RunCli(With({"netlist"}, kDefaultLowPassCircuit)).out);
}

// netlist --output - in the scratch directory; run; the netlist on standard output, no file "-".
TEST(NetlistCommandTest, DashIsStandardOutput) {
    const Outcome o = RunCliIn("cd '" + ScratchDirectory() + "' && ",
                               With({"netlist", "--output", "-"}, kDefaultLowPassCircuit), "");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, RunCli(With({"netlist"}, kDefaultLowPassCircuit)).out);
    EXPECT_FALSE(std::filesystem::exists(ScratchDirectory() + "/-"));
}

// A title with ESC, BEL, a C1 control and bytes that are not UTF-8; run netlist; each becomes
// "?" in the first line, the rest kept.
TEST(NetlistCommandTest, TitleControlCharactersAreReplaced) {
    const Outcome o = RunCli(With({"netlist", "--title",
                                   "a\x1b[31mb\x07"
                                   "c\xc2\x85"
                                   "d\xff\xfe\xe3\x81\x82"},
                                  kDefaultLowPassCircuit));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(o.out.starts_with("a?[31mb?c?d??\xe3\x81\x82\n")) << o.out;
}

// An output path in a missing directory; run netlist; status 1 with a one-line message.
TEST(NetlistCommandTest, UnwritableFileIsRefused) {
    const Outcome o = RunCli(With({"netlist", "--output", ScratchDirectory() + "/missing/x.cir"},
                                  kDefaultLowPassCircuit));
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace mirelto::test
