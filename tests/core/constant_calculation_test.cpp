// The constant calculation as one step: the window's boxes in, its stop, blank fill, rounded
// circuit and shown results out. The core's one table of the calculation's numbers, with a row
// per path through the window's checks.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "mirelto/design/constant_calculation.h"
#include "mirelto/values/eseries.h"
#include "mirelto/values/value_format.h"
#include "mirelto/values/value_text.h"
#include "test_support.h"

namespace mirelto {
namespace {

struct ConstantCase {
    std::string name;
    std::array<std::string, 3> request;  // the fa, fo and Q boxes
    bool isLpf;
    std::array<std::string, 3> givenTexts;  // R1..R3 (LPF) or C1..C3 (HPF) as typed
    std::string series;                     // the same selector text for all three computed parts
    ConstantStop stop;
    FaultKind fault;
    std::array<std::string, 3> filledTexts;  // the given texts after the blank fill
    std::string shown;  // computed parts, then fa, fo, Q, as the window shows them; "" if none
};

// The boxes as the window reads them.
ConstantRequest Read(const ConstantCase& c) {
    ConstantRequest r;
    r.request = {ParseValue(c.request[0]), ParseValue(c.request[1]), ParseValue(c.request[2])};
    r.isLpf = c.isLpf;
    r.givenTexts = c.givenTexts;
    for (std::size_t i = 0; i < 3; ++i) {
        r.given[i] = ParseValue(c.givenTexts[i]);
        r.series[i] = ParseSeries(c.series);
    }
    return r;
}

std::string Shown(const ConstantOutcome& out) {
    if (!out.synthesised || out.stop != ConstantStop::Done) {
        return {};
    }
    const Circuit& c = out.built;
    const std::array<double, 3> computed =
        c.isLpf ? std::array<double, 3>{c.C1, c.C2, c.C3} : std::array<double, 3>{c.R1, c.R2, c.R3};
    std::string text;
    for (const double v :
         {computed[0], computed[1], computed[2], out.result.fa, out.result.fo, out.result.q}) {
        text += FormatSI(v, 8, 3) + "|";
    }
    return text;
}

// The shown texts of a design as Shown writes them.
std::string Bars(const std::array<const char*, 6>& shown) {
    std::string text;
    for (const char* box : shown) {
        text += std::string(box) + "|";
    }
    return text;
}

class CalculateConstantsTest : public testing::TestWithParam<ConstantCase> {};

// A record holding an earlier result; calculate; the stop, the blank fill and the shown texts
// are the window's, and the earlier result stays unless a new one stands.
TEST_P(CalculateConstantsTest, FollowsTheWindow) {
    const ConstantCase& c = GetParam();
    DesignRecord before;
    before.FaResult = 123;
    before.IsLpf = !c.isLpf;
    const ConstantOutcome out = CalculateConstants(before, Read(c));
    EXPECT_EQ(out.stop, c.stop);
    EXPECT_EQ(out.fault, c.fault);
    EXPECT_TRUE(out.record.ConstantMode);
    EXPECT_EQ(out.record.ResultValid,
              c.stop == ConstantStop::Done || c.stop == ConstantStop::Fault);
    EXPECT_EQ(out.partsRead,
              c.stop == ConstantStop::Done || c.stop >= ConstantStop::MissingFirstPart);
    EXPECT_EQ(out.record.IsLpf, out.partsRead ? c.isLpf : !c.isLpf);
    EXPECT_EQ(out.givenTexts, (out.partsRead ? c.filledTexts : std::array<std::string, 3>()));
    EXPECT_EQ(Shown(out), c.shown);
    if (c.stop != ConstantStop::Done) {
        EXPECT_EQ(out.record.FaResult, 123);
    }
}

const std::array<std::string, 3> kDefault{"1.42k", "1.42k", "1.0"};
const std::array<std::string, 3> kBlanks{"22k", "", ""};
const std::array<std::string, 3> kFilled{"22k", "22k", "22k"};
constexpr auto kDone = ConstantStop::Done;
constexpr auto kNone = FaultKind::None;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, CalculateConstantsTest, testing::Values(
    ConstantCase{"DefaultLowPassE6", kDefault, true, kBlanks, "6", kDone, kNone, kFilled, Bars(test::kDefaultLowPassShown)},
    ConstantCase{"NoRounding", kDefault, true, kBlanks, "∞", kDone, kNone, kFilled, "  7.095n| 18.070n|  1.031n|  1.420k|  1.420k|  1.000|"},
    ConstantCase{"SelectorTextNotAnInteger", kDefault, true, kBlanks, "abc", kDone, kNone, kFilled, "  7.095n| 18.070n|  1.031n|  1.420k|  1.420k|  1.000|"},
    ConstantCase{"LowPassE24", kDefault, true, kBlanks, "24", kDone, kNone, kFilled, "  6.800n| 18.000n|  1.000n|  1.513k|  1.430k|  1.008|"},
    ConstantCase{"BlankR3CopiesR2AsTyped", kDefault, true, {"22k", " 47k ", ""}, "6", kDone, kNone, {"22k", " 47k ", " 47k "}, "  6.800n|  6.800n|680.000p|  1.224k|  1.468k|  1.101|"},
    ConstantCase{"ThreeResistorsGiven", kDefault, true, {"22k", "47k", "100k"}, "6", kDone, kNone, {"22k", "47k", "100k"}, "  6.800n|  4.700n|470.000p|  1.286k|  1.421k|  1.064|"},
    ConstantCase{"DefaultHighPassE24", kDefault, false, {"3.3n", "", ""}, "24", kDone, kNone, {"3.3n", "3.3n", "3.3n"}, Bars(test::kDefaultHighPassShown)},
    ConstantCase{"HighPassGivenCapacitors", kDefault, false, {"10n", "4.7n", "2.2n"}, "24", kDone, kNone, {"10n", "4.7n", "2.2n"}, "  9.100k| 13.000k|110.000k|  1.384k|  1.472k|997.323m|"},
    ConstantCase{"HighPassNoRoundingShowsTheRequest", {"10k", "100", "10"}, false, {"2.2n", "22n", "22n"}, "∞", kDone, kNone, {"2.2n", "22n", "22n"}, "  7.227k|  3.949|  1.327G| 10.000k|100.000| 10.000|"},
    ConstantCase{"HighPassRoundedE24", {"10k", "100", "10"}, false, {"2.2n", "22n", "22n"}, "24", kDone, kNone, {"2.2n", "22n", "22n"}, "  7.500k|  3.900|  1.300G|  9.635k|101.656|  9.480|"},
    ConstantCase{"MissingFa", {"", "abc", "0"}, true, kBlanks, "6", ConstantStop::MissingFa, kNone, {}, ""},
    ConstantCase{"MissingFo", {"1.42k", "abc", ""}, true, kBlanks, "6", ConstantStop::MissingFo, kNone, {}, ""},
    ConstantCase{"MissingQ", {"1.42k", "1.42k", ""}, true, kBlanks, "6", ConstantStop::MissingQ, kNone, {}, ""},
    ConstantCase{"ZeroQ", {"1.42k", "1.42k", "0"}, true, kBlanks, "6", ConstantStop::NonPositiveRequest, kNone, {}, ""},
    ConstantCase{"NegativeFa", {"-1k", "1.42k", "1"}, true, kBlanks, "6", ConstantStop::NonPositiveRequest, kNone, {}, ""},
    ConstantCase{"MissingC1", kDefault, false, {"", "1n", "1n"}, "6", ConstantStop::MissingFirstPart, kNone, {"", "1n", "1n"}, ""},
    ConstantCase{"ZeroR2FilledIntoR3", kDefault, true, {"22k", "0", ""}, "6", ConstantStop::NonPositivePart, kNone, {"22k", "0", "0"}, ""},
    ConstantCase{"Unrealisable", kDefault, true, {"22k", "4.7k", ""}, "6", ConstantStop::Unrealisable, kNone, {"22k", "4.7k", "4.7k"}, ""},
    ConstantCase{"UnrealisableHighPass", kDefault, false, {"3.3n", "15n", "15n"}, "24", ConstantStop::Unrealisable, kNone, {"3.3n", "15n", "15n"}, ""},
    ConstantCase{"FaultLeavesTheFill", {"1e300", "1e-300", "1"}, true, kBlanks, "6", ConstantStop::Fault, FaultKind::Overflow, kFilled, ""}),
    test::CaseName<ConstantCase>);
// clang-format on

}  // namespace
}  // namespace mirelto
