// The texts the calculator shows, computed through the core alone: value texts parsed as typed,
// a synthesis or an analysis, and the results written back at width 8 with 3 decimals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/values/eseries.h"
#include "mirelto/values/value_format.h"
#include "mirelto/values/value_text.h"

namespace mirelto {
namespace {

struct ShownCase {
    std::string name;
    bool isLpf;
    std::string given[3];  // R1..R3 (LPF) or C1..C3 (HPF); blanks filled from the one before
    std::string series;    // the same selector text for all three computed parts
    std::string shown[6];  // the three computed parts, then fa, fo, Q
};

std::string Shown(double value) {
    return FormatSI(value, 8, 3);
}

class ConstantCalculationTest : public testing::TestWithParam<ShownCase> {};

TEST_P(ConstantCalculationTest, ShowsTheRoundedDesign) {
    const ShownCase& c = GetParam();
    double given[3];
    for (int i = 0; i < 3; ++i) {
        given[i] = ParseValue(c.given[i]);
        if (std::isnan(given[i])) {
            given[i] = given[i - 1];
        }
    }
    DesignRecord& s = DesignState;
    s.IsLpf = c.isLpf;
    (c.isLpf ? s.R1 : s.C1) = given[0];
    (c.isLpf ? s.R2 : s.C2) = given[1];
    (c.isLpf ? s.R3 : s.C3) = given[2];
    const std::int32_t series = ParseSeries(c.series);
    s.ResultValid = true;
    SynthesizeFilter(ParseValue("1.42k"), ParseValue("1.42k"), ParseValue("1.0"), series, series,
                     series, c.isLpf);
    const std::vector<std::string> shown = {Shown(c.isLpf ? s.ResC1 : s.ResR1),
                                            Shown(c.isLpf ? s.ResC2 : s.ResR2),
                                            Shown(c.isLpf ? s.ResC3 : s.ResR3),
                                            Shown(s.FaResult),
                                            Shown(s.FoResult),
                                            Shown(s.QResult)};
    EXPECT_EQ(shown, std::vector<std::string>(std::begin(c.shown), std::end(c.shown)));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ConstantCalculationTest,
    testing::Values(
        ShownCase{"DefaultLowPassE6",
                  true,
                  {"22k", "", ""},
                  "6",
                  {"  6.800n", " 15.000n", "  1.000n", "  1.395k", "  1.631k", "961.092m"}},
        ShownCase{"NoRounding",
                  true,
                  {"22k", "", ""},
                  "∞",
                  {"  7.095n", " 18.070n", "  1.031n", "  1.420k", "  1.420k", "  1.000"}},
        ShownCase{"SelectorTextNotAnInteger",
                  true,
                  {"22k", "", ""},
                  "abc",
                  {"  7.095n", " 18.070n", "  1.031n", "  1.420k", "  1.420k", "  1.000"}},
        ShownCase{"LowPassE24",
                  true,
                  {"22k", "", ""},
                  "24",
                  {"  6.800n", " 18.000n", "  1.000n", "  1.513k", "  1.430k", "  1.008"}},
        ShownCase{"BlankR3TakesR2",
                  true,
                  {"22k", " 47k ", ""},
                  "6",
                  {"  6.800n", "  6.800n", "680.000p", "  1.224k", "  1.468k", "  1.101"}},
        ShownCase{"ThreeResistorsGiven",
                  true,
                  {"22k", "47k", "100k"},
                  "6",
                  {"  6.800n", "  4.700n", "470.000p", "  1.286k", "  1.421k", "  1.064"}},
        ShownCase{"DefaultHighPassE24",
                  false,
                  {"3.3n", "", ""},
                  "24",
                  {" 24.000k", " 10.000k", "160.000k", "  1.463k", "  1.413k", "974.097m"}},
        ShownCase{"HighPassGivenCapacitors",
                  false,
                  {"10n", "4.7n", "2.2n"},
                  "24",
                  {"  9.100k", " 13.000k", "110.000k", "  1.384k", "  1.472k", "997.323m"}}),
    [](const auto& info) { return info.param.name; });

TEST(TransferFunctionCalculation, ReadsShownTextsBackInEitherMode) {
    // the boxes after the default low-pass calculation, analysed in both modes
    const double r = ParseValue("22k");
    const double c1 = ParseValue("  6.800n"), c2 = ParseValue(" 15.000n"),
                 c3 = ParseValue("  1.000n");
    DesignState.IsLpf = true;
    AnalyzeTransfer(r, r, r, c1, c2, c3);
    EXPECT_EQ(Shown(DesignState.FaResult), "  1.395k");
    EXPECT_EQ(Shown(DesignState.FoResult), "  1.631k");
    EXPECT_EQ(Shown(DesignState.QResult), "961.092m");

    DesignState.IsLpf = false;
    AnalyzeTransfer(r, r, r, c1, c2, c3);
    EXPECT_EQ(Shown(DesignState.FaResult), "  7.234k");
    EXPECT_EQ(Shown(DesignState.FoResult), "716.304");
    EXPECT_EQ(Shown(DesignState.QResult), "274.443m");
}

TEST(TransferFunctionCalculation, HighPassRequestThatUsedToFault) {
    // fa "10k", fo "100", Q "10", C1 "2.2n", C2 = C3 "22n", no rounding: the rounded circuit
    // is the designed one and shows the request.
    DesignRecord& s = DesignState;
    s.IsLpf = false;
    s.C1 = ParseValue("2.2n");
    s.C2 = s.C3 = ParseValue("22n");
    s.ResultValid = true;
    SynthesizeFilter(ParseValue("10k"), ParseValue("100"), ParseValue("10"), 0, 0, 0, false);
    EXPECT_EQ(Shown(s.FaResult), " 10.000k");
    EXPECT_EQ(Shown(s.FoResult), "100.000");
    EXPECT_EQ(Shown(s.QResult), " 10.000");

    s.C1 = ParseValue("2.2n");
    s.C2 = s.C3 = ParseValue("22n");
    SynthesizeFilter(ParseValue("10k"), ParseValue("100"), ParseValue("10"), 24, 24, 24, false);
    EXPECT_EQ(Shown(s.ResR1), "  7.500k");
    EXPECT_EQ(Shown(s.ResR2), "  3.900");
    EXPECT_EQ(Shown(s.ResR3), "  1.300G");
    EXPECT_EQ(Shown(s.FaResult), "  9.635k");
    EXPECT_EQ(Shown(s.FoResult), "101.656");
    EXPECT_EQ(Shown(s.QResult), "  9.480");
}

}  // namespace
}  // namespace mirelto
