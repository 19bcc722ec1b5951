// The constant calculation as one step: the window's boxes in, its stop, blank fill, rounded
// circuit and shown results out. One row per path through the window's checks.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "mirelto/design/constant_calculation.h"
#include "mirelto/values/value_format.h"
#include "test_support.h"

namespace mirelto {
namespace {

struct ConstantCase {
    std::string name;
    PoleSet request;
    bool isLpf;
    std::array<double, 3> given;
    std::array<std::string, 3> givenTexts;
    std::array<std::int32_t, 3> series;
    ConstantStop stop;
    FaultKind fault;
    std::array<std::string, 3> filledTexts;  // the given texts after the blank fill
    std::string shown;  // computed parts, then fa, fo, Q, as the window shows them; "" if none
};

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

class CalculateConstantsTest : public testing::TestWithParam<ConstantCase> {};

// A record holding an earlier result; calculate; the stop, the blank fill and the shown texts
// are the window's, and the earlier result stays unless a new one stands.
TEST_P(CalculateConstantsTest, FollowsTheWindow) {
    const ConstantCase& c = GetParam();
    DesignRecord before;
    before.FaResult = 123;
    before.IsLpf = !c.isLpf;
    const ConstantOutcome out =
        CalculateConstants(before, {c.request, c.isLpf, c.given, c.givenTexts, c.series});
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

constexpr double kNaN = NAN;
constexpr PoleSet kDefault{1420, 1420, 1};
constexpr std::array<double, 3> kBlanks{22e3, kNaN, kNaN};
const std::array<std::string, 3> kBlankTexts{"22k", "", ""};
const std::array<std::string, 3> kFilled{"22k", "22k", "22k"};
constexpr std::array<std::int32_t, 3> kE6{6, 6, 6};
constexpr auto kNone = FaultKind::None;

INSTANTIATE_TEST_SUITE_P(
    Rows, CalculateConstantsTest,
    testing::Values(ConstantCase{"DefaultLowPassE6", kDefault, true, kBlanks, kBlankTexts, kE6,
                                 ConstantStop::Done, kNone, kFilled,
                                 "  6.800n| 15.000n|  1.000n|  1.395k|  1.631k|961.092m|"},
                    ConstantCase{"NoRounding",
                                 kDefault,
                                 true,
                                 kBlanks,
                                 kBlankTexts,
                                 {0, 0, 0},
                                 ConstantStop::Done,
                                 kNone,
                                 kFilled,
                                 "  7.095n| 18.070n|  1.031n|  1.420k|  1.420k|  1.000|"},
                    ConstantCase{"DefaultHighPassE24",
                                 kDefault,
                                 false,
                                 {3.3e-9, kNaN, kNaN},
                                 {"3.3n", "", ""},
                                 {24, 24, 24},
                                 ConstantStop::Done,
                                 kNone,
                                 {"3.3n", "3.3n", "3.3n"},
                                 " 24.000k| 10.000k|160.000k|  1.463k|  1.413k|974.097m|"},
                    ConstantCase{"BlankR3CopiesR2AsTyped",
                                 kDefault,
                                 true,
                                 {22e3, 47e3, kNaN},
                                 {"22k", " 47k ", ""},
                                 kE6,
                                 ConstantStop::Done,
                                 kNone,
                                 {"22k", " 47k ", " 47k "},
                                 "  6.800n|  6.800n|680.000p|  1.224k|  1.468k|  1.101|"},
                    ConstantCase{"MissingFa",
                                 {kNaN, kNaN, 0},
                                 true,
                                 kBlanks,
                                 kBlankTexts,
                                 kE6,
                                 ConstantStop::MissingFa,
                                 kNone,
                                 {},
                                 ""},
                    ConstantCase{"MissingFo",
                                 {1420, kNaN, kNaN},
                                 true,
                                 kBlanks,
                                 kBlankTexts,
                                 kE6,
                                 ConstantStop::MissingFo,
                                 kNone,
                                 {},
                                 ""},
                    ConstantCase{"MissingQ",
                                 {1420, 1420, kNaN},
                                 true,
                                 kBlanks,
                                 kBlankTexts,
                                 kE6,
                                 ConstantStop::MissingQ,
                                 kNone,
                                 {},
                                 ""},
                    ConstantCase{"ZeroQ",
                                 {1420, 1420, 0},
                                 true,
                                 kBlanks,
                                 kBlankTexts,
                                 kE6,
                                 ConstantStop::NonPositiveRequest,
                                 kNone,
                                 {},
                                 ""},
                    ConstantCase{"MissingC1",
                                 kDefault,
                                 false,
                                 {kNaN, 1e-9, 1e-9},
                                 {"", "1n", "1n"},
                                 kE6,
                                 ConstantStop::MissingFirstPart,
                                 kNone,
                                 {"", "1n", "1n"},
                                 ""},
                    ConstantCase{"ZeroR2FilledIntoR3",
                                 kDefault,
                                 true,
                                 {22e3, 0, kNaN},
                                 {"22k", "0", ""},
                                 kE6,
                                 ConstantStop::NonPositivePart,
                                 kNone,
                                 {"22k", "0", "0"},
                                 ""},
                    ConstantCase{"Unrealisable",
                                 kDefault,
                                 true,
                                 {22e3, 4.7e3, kNaN},
                                 {"22k", "4.7k", ""},
                                 kE6,
                                 ConstantStop::Unrealisable,
                                 kNone,
                                 {"22k", "4.7k", "4.7k"},
                                 ""},
                    ConstantCase{"FaultLeavesTheFill",
                                 {1e300, 1e-300, 1},
                                 true,
                                 kBlanks,
                                 kBlankTexts,
                                 kE6,
                                 ConstantStop::Fault,
                                 FaultKind::Overflow,
                                 kFilled,
                                 ""},
                    ConstantCase{"SameRequestRounded",
                                 {10e3, 100, 10},
                                 false,
                                 {2.2e-9, 22e-9, 22e-9},
                                 {"2.2n", "22n", "22n"},
                                 {24, 24, 24},
                                 ConstantStop::Done,
                                 kNone,
                                 {"2.2n", "22n", "22n"},
                                 "  7.500k|  3.900|  1.300G|  9.635k|101.656|  9.480|"}),
    test::CaseName<ConstantCase>);

}  // namespace
}  // namespace mirelto
