// The op-amp on the command line as a user runs it: the noise document's shape, the op-amp
// warnings as codes in the JSON, a user's own table in the config directory, compensation that
// cannot reach its request, and the bad command lines, each a row.
#include <gtest/gtest.h>
#include <filesystem>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "process.h"

namespace mirelto::test {
namespace {

const std::vector<std::string> kLowPass{"--lpf", "--r1", "22k",  "--r2", "22k",  "--r3", "22k",
                                        "--c1",  "470p", "--c2", "1.5n", "--c3", "68p"};

std::vector<std::string> With(std::vector<std::string> head, std::vector<std::string> tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::vector<std::string> Codes(const nlohmann::json& document) {
    std::vector<std::string> codes;
    for (const auto& w : document.at("warnings")) {
        codes.push_back(w.at("code").get<std::string>());
    }
    return codes;
}

TEST(OpAmpCli, NoiseDocumentCarriesBandTotalsAndDensity) {
    // Noise of the worked low-pass with NE5532 figures over 20 Hz to 20 kHz.
    const Outcome o =
        RunCli(With(With({"noise", "--json"}, kLowPass),
                    {"--opamp", "ne5532", "--band", "20:20k", "--temperature", "50"}));
    ASSERT_EQ(o.status, 0) << o.err;
    const auto noise = nlohmann::json::parse(o.out).at("noise");
    EXPECT_EQ(noise.at("band"), nlohmann::json::parse("[20, 20000]"));
    EXPECT_EQ(noise.at("temperature"), 50);
    double power = 0;
    for (const char* source : {"R1", "R2", "R3", "en", "in"}) {
        const double v = noise.at("contributions").at(source).get<double>();
        EXPECT_GT(v, 0) << source;
        power += v * v;
    }
    EXPECT_NEAR(std::sqrt(power), noise.at("outputRms").get<double>(), 1e-12);
    EXPECT_EQ(noise.at("frequency").size(), noise.at("outputDensity").size());
    EXPECT_GT(noise.at("dynamicRangeDb").get<double>(), 100);  // +-13 V swing over ~20 uV
}

struct WarningRow {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> codes;
};

class OpAmpWarnings : public testing::TestWithParam<WarningRow> {};

TEST_P(OpAmpWarnings, ListedAsCodes) {
    const Outcome o = RunCli(With(With({"analyse", "--json"}, kLowPass), GetParam().args));
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Codes(nlohmann::json::parse(o.out)), GetParam().codes);
}

// The low-pass's own warning first (C3 below 100 pF), then the op-amp's. LM358 at +-2.5 V
// swings 0.5 V up and takes 1 V of input (+-15 V with --supply). A 2 V sine gives a
// 2.22 V peak (Q 1.08) and 199 kV/s at most.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, OpAmpWarnings, testing::Values(
    WarningRow{"WithinEveryLimit", {"--amplitude", "2", "--supply", "5", "--swing-headroom", "1", "--slew", "300k"}, {"capacitor-low"}},
    WarningRow{"SwingAndSlew",     {"--amplitude", "2", "--supply", "3", "--swing-headroom", "1", "--slew", "150k"}, {"capacitor-low", "output-swing", "slew-rate"}},
    WarningRow{"CommonModeOfPart", {"--opamp", "LM358", "--amplitude", "1.2"}, {"capacitor-low", "output-swing", "common-mode"}},
    WarningRow{"UnstableFollower", {"--opamp", "lt1028"}, {"capacitor-low", "unity-gain-stability"}},
    WarningRow{"OptionWinsOverPart", {"--opamp", "LM358", "--supply", "15", "--amplitude", "1.2"}, {"capacitor-low"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(OpAmpCli, UserTableReplacesShippedPart) {
    // A TL072 of another maker in the user's config directory.
    const std::string config = ScratchDirectory() + "/config";
    std::filesystem::create_directories(config + "/mirelto");
    std::ofstream(config + "/mirelto/opamps.csv")
        << "part,gbw_hz,slew_v_per_us\nTL072,4e6,16\nMINE,2e6,1\n";
    const std::string setup = "XDG_CONFIG_HOME='" + config + "' ";
    const Outcome o = RunCliIn(setup, {"opamps", "--json"}, "");
    ASSERT_EQ(o.status, 0) << o.err;
    const auto list = nlohmann::json::parse(o.out).at("opAmps");
    EXPECT_EQ(list.size(), 15u);
    const Outcome chosen =
        RunCliIn(setup, With(With({"analyse", "--json"}, kLowPass), {"--opamp", "tl072"}), "");
    ASSERT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_EQ(nlohmann::json::parse(chosen.out).at("opAmp").at("gbw"), 4000000);
    std::ofstream(config + "/mirelto/opamps.csv") << "part,gbw_hz\nBAD,fast\n";
    const Outcome bad = RunCliIn(setup, {"opamps"}, "");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("line 2 (gbw_hz): not a number"), std::string::npos) << bad.err;
}

TEST(OpAmpCli, CompensationBeyondReachGivesTheLowestGbw) {
    const Outcome o = RunCli({"design", "--json", "--lpf", "--response", "butterworth", "--fc",
                              "20k", "--gbw", "10k", "--compensate"});
    EXPECT_EQ(o.status, 1);
    const auto error = nlohmann::json::parse(o.out).at("error");
    EXPECT_EQ(error.at("code"), "compensation-unreachable");
    EXPECT_NE(error.at("message").get<std::string>().find("lowest GBW that reaches it is 43."),
              std::string::npos);
}

struct UsageRow {
    const char* name;
    std::vector<std::string> args;
    const char* message;
};

class OpAmpUsage : public testing::TestWithParam<UsageRow> {};

TEST_P(OpAmpUsage, RefusedNamingTheOption) {
    const Outcome o = RunCli(GetParam().args);
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find(GetParam().message), std::string::npos) << o.err;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, OpAmpUsage, testing::Values(
    UsageRow{"UnknownPart",      With({"noise"}, With(kLowPass, {"--opamp", "nosuch"})), "--opamp: no op-amp \"nosuch\""},
    UsageRow{"BandBackwards",    With({"noise"}, With(kLowPass, {"--band", "20k:20"})), "--band: the band must end above"},
    UsageRow{"BandOneFigure",    With({"noise"}, With(kLowPass, {"--band", "20k"})), "--band: not F1:F2"},
    UsageRow{"NegativeNoise",    With({"noise"}, With(kLowPass, {"--en", "-4n"})), "--en: must not be below zero"},
    UsageRow{"BelowAbsoluteZero", With({"noise"}, With(kLowPass, {"--temperature", "-300"})), "--temperature: must be above absolute zero"},
    UsageRow{"CompensateNoGbw",  {"design", "--lpf", "--compensate"}, "--compensate: needs the op-amp's --gbw"},
    UsageRow{"SlewNotANumber",   With({"analyse"}, With(kLowPass, {"--slew", "fast"})), "--slew: not a value"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace mirelto::test
