// SPICE netlists: number texts SPICE reads back exactly, the two circuits' connections, the
// sweep over the analysis window's range. (tests/cli runs a netlist through ngspice.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "mirelto/response/analysis.h"
#include "mirelto/tools/netlist.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::kDefaultHighPass;
using test::kDefaultLowPass;

using test::PrintTo;

struct NumberCase {
    std::string name;
    double value;
    std::string expected;
};

class SpiceNumberTest : public testing::TestWithParam<NumberCase> {};

// A part value; write it for SPICE; the shortest plain or e-notation text, no scale letter.
TEST_P(SpiceNumberTest, WritesTheShortestExactText) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(SpiceNumber(c.value), c.expected);
    EXPECT_EQ(std::strtod(c.expected.c_str(), nullptr), c.value);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, SpiceNumberTest, testing::Values(
    NumberCase{"Kilo", 22000, "22000"},
    NumberCase{"Nano", 6.8e-9, "6.8e-09"},
    NumberCase{"TenNano", 15e-9, "1.5e-08"},
    NumberCase{"Fraction", 0.5, "0.5"},
    NumberCase{"Mega", 1.2e6, "1200000"},
    NumberCase{"Pico", 2.2e-12, "2.2e-12"},
    NumberCase{"AwkwardDigits", 7.094962301e-9, "7.094962301e-09"}),
    test::CaseName<NumberCase>);
// clang-format on

// Random values; write them; each reads back as the same double.
TEST(SpiceNumberTest, EveryValueReadsBackExactly) {
    test::Random random(3);
    for (int i = 0; i < 10000; ++i) {
        const double v = random.LogUniform(1e-13, 1e8);
        const std::string text = SpiceNumber(v);
        ASSERT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
        ASSERT_EQ(text.find_first_of("fFpPnNuUmMkKgGtT"), std::string::npos) << text;
    }
}

struct TextCase {
    std::string name;
    Circuit circuit;
    double gbw;
    std::string expected;
};

class SpiceTextTest : public testing::TestWithParam<TextCase> {};

// A circuit, a given sweep and an op-amp or none; write the netlist; exactly this text.
TEST_P(SpiceTextTest, WritesThisText) {
    const TextCase& c = GetParam();
    NetlistOptions options;
    options.range = {14.2, 142000};
    options.opAmpGbw = c.gbw;
    EXPECT_EQ(SpiceNetlist(c.circuit, options), c.expected);
}

// The default low-pass with the ideal follower, as exported.
constexpr const char* kIdealLowPassText =
    "Mirelto third-order low-pass filter\n"
    "* Unity-gain follower: E1 holds the output at the voltage of node p "
    "(an ideal op-amp).\n"
    "V1 in 0 DC 0 AC 1\n"
    "R1 in a 22000\n"
    "C1 a 0 6.8e-09\n"
    "R2 a b 22000\n"
    "C2 b out 1.5e-08\n"
    "R3 b p 22000\n"
    "C3 p 0 1e-09\n"
    "E1 out 0 p 0 1\n"
    ".ac dec 100 14.2 142000\n"
    ".print ac vdb(out) vp(out)\n"
    ".meas ac f3db WHEN vdb(out)=-3.0103 FALL=LAST\n"
    ".meas ac peak MAX vdb(out)\n"
    ".end\n";

// The default high-pass with a single-pole op-amp of 1 MHz.
constexpr const char* kOpAmpHighPassText =
    "Mirelto third-order high-pass filter\n"
    "* Unity-gain follower: X1, a single-pole op-amp of GBW 1e+06 Hz, output tied to its inverting "
    "input.\n"
    "V1 in 0 DC 0 AC 1\n"
    "C1 in a 3.3e-09\n"
    "R1 a 0 24000\n"
    "C2 a b 3.3e-09\n"
    "R2 b out 10000\n"
    "C3 b p 3.3e-09\n"
    "R3 p 0 160000\n"
    "X1 p out out MIRELTO_OPAMP\n"
    ".subckt MIRELTO_OPAMP inp inn out\n"
    "G1 0 x inp inn 1\n"
    "C1 x 0 1.5915494309189535e-07\n"
    "R1 x 0 1e12\n"
    "E1 out 0 x 0 1\n"
    ".ends MIRELTO_OPAMP\n"
    ".ac dec 100 14.2 142000\n"
    ".print ac vdb(out) vp(out)\n"
    ".meas ac f3db WHEN vdb(out)=-3.0103 RISE=1\n"
    ".meas ac peak MAX vdb(out)\n"
    ".end\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, SpiceTextTest, testing::Values(
    TextCase{"IdealLowPass", kDefaultLowPass, 0, kIdealLowPassText},
    // 1 / (2 pi 1 MHz) = 1.5915494309189535e-07 F.
    TextCase{"OpAmpHighPass", kDefaultHighPass, 1e6, kOpAmpHighPassText},
    // Not a usable GBW: the ideal follower.
    TextCase{"InfiniteGbwIsIdeal", kDefaultLowPass, std::numeric_limits<double>::infinity(), kIdealLowPassText}),
    test::CaseName<TextCase>);
// clang-format on

// Element lines of a netlist: name -> the rest of the line.
std::map<std::string, std::string> Elements(const std::string& netlist) {
    std::map<std::string, std::string> elements;
    std::istringstream lines(netlist);
    std::string line;
    std::getline(lines, line);  // the title
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != '*' && line[0] != '.') {
            const std::size_t space = line.find(' ');
            elements[line.substr(0, space)] = line.substr(space + 1);
        }
    }
    return elements;
}

struct TopologyCase {
    std::string name;
    Circuit circuit;
    std::map<std::string, std::string> expected;
};

class SpiceTopologyTest : public testing::TestWithParam<TopologyCase> {};

// A circuit of either form; write the netlist; each part between the nodes of the circuit's
// drawing, the follower output at p, the source at the input.
TEST_P(SpiceTopologyTest, ConnectsAsDrawn) {
    const TopologyCase& c = GetParam();
    NetlistOptions options;
    options.range = {1, 1e6};
    EXPECT_EQ(Elements(SpiceNetlist(c.circuit, options)), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Forms, SpiceTopologyTest, testing::Values(
    TopologyCase{"LowPass", kDefaultLowPass, {{"V1", "in 0 DC 0 AC 1"}, {"R1", "in a 22000"}, {"C1", "a 0 6.8e-09"}, {"R2", "a b 22000"}, {"C2", "b out 1.5e-08"}, {"R3", "b p 22000"}, {"C3", "p 0 1e-09"}, {"E1", "out 0 p 0 1"}}},
    TopologyCase{"HighPass", kDefaultHighPass, {{"V1", "in 0 DC 0 AC 1"}, {"C1", "in a 3.3e-09"}, {"R1", "a 0 24000"}, {"C2", "a b 3.3e-09"}, {"R2", "b out 10000"}, {"C3", "b p 3.3e-09"}, {"R3", "p 0 160000"}, {"E1", "out 0 p 0 1"}}}),
    test::CaseName<TopologyCase>);
// clang-format on

// No range given; write the netlist; the sweep is the analysis window's range for the circuit.
TEST(SpiceNetlistTest, DefaultSweepIsThePlotRange) {
    AnalysisInput window;
    window.isLpf = false;
    window.hasRequest = false;
    window.built = kDefaultHighPass;
    const FrequencyRange range = PlotRange(window);
    NetlistOptions options;
    options.pointsPerDecade = 20;
    const std::string netlist = SpiceNetlist(kDefaultHighPass, options);
    EXPECT_NE(
        netlist.find(".ac dec 20 " + SpiceNumber(range.low) + " " + SpiceNumber(range.high) + "\n"),
        std::string::npos)
        << netlist;
    EXPECT_TRUE(netlist.starts_with("Mirelto third-order high-pass filter\n"));
}

// A title with line breaks; write the netlist; it stays the one first line.
TEST(SpiceNetlistTest, TitleIsOneLine) {
    NetlistOptions options;
    options.title = "two\r\nlines";
    options.range = {1, 10};
    const std::string netlist = SpiceNetlist(kDefaultLowPass, options);
    EXPECT_TRUE(netlist.starts_with("two  lines\n* ")) << netlist;
}

}  // namespace
}  // namespace mirelto
