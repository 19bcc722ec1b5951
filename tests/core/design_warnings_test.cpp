// Design warnings: each threshold at, just over and just under it, the order of several
// warnings, parts that warn of nothing, and the spread's text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "mirelto/tools/design_warnings.h"

namespace mirelto {
namespace {

struct WarningRow {
    const char* name;
    Circuit circuit;
    // Each warning as "code part" or, for a spread, "code largest/smallest", in order.
    std::vector<std::string> expected;
};

void PrintTo(const WarningRow& row, std::ostream* os) {
    *os << row.name;
}

std::string Described(const DesignWarningItem& w) {
    std::string text = std::string(DesignWarningCode(w.code)) + " " + ComponentName(w.part);
    if (w.otherPart < kComponentCount) {
        text += std::string("/") + ComponentName(w.otherPart);
    }
    return text;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Circuit Parts(double r1, double r2, double r3, double c1, double c2, double c3) {
    return {r1, r2, r3, c1, c2, c3, true};
}

class DesignWarningsTest : public testing::TestWithParam<WarningRow> {};

TEST_P(DesignWarningsTest, ListsTheWarningsInOrder) {
    const WarningRow& row = GetParam();
    std::vector<std::string> found;
    for (const DesignWarningItem& w : DesignWarnings(row.circuit)) {
        found.push_back(Described(w));
        if (w.otherPart < kComponentCount) {
            const ComponentValues parts = ComponentsOf(row.circuit);
            EXPECT_EQ(w.ratio, parts[w.part] / parts[w.otherPart]);
        }
    }
    EXPECT_EQ(found, row.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, DesignWarningsTest, testing::Values(
    WarningRow{"Clean", Parts(10e3, 22e3, 4.7e3, 10e-9, 3.3e-9, 1e-9), {}},
    WarningRow{"HpfOf50HzOnE24", {15e3, 3.0e3, 360e3, 100e-9, 100e-9, 100e-9, false}, {"resistor-spread R3/R2"}},
    WarningRow{"ResistorSpreadAt", Parts(1e3, 30e3, 10e3, 10e-9, 10e-9, 10e-9), {}},
    WarningRow{"ResistorSpreadOver", Parts(1e3, 30.03e3, 10e3, 10e-9, 10e-9, 10e-9), {"resistor-spread R2/R1"}},
    WarningRow{"ResistorSpreadUnder", Parts(1e3, 29.97e3, 10e3, 10e-9, 10e-9, 10e-9), {}},
    WarningRow{"CapacitorSpreadAt", Parts(10e3, 10e3, 10e3, 1e-9, 10e-9, 30e-9), {}},
    WarningRow{"CapacitorSpreadOver", Parts(10e3, 10e3, 10e3, 1e-9, 10e-9, 30.03e-9), {"capacitor-spread C3/C1"}},
    WarningRow{"CapacitorSpreadUnder", Parts(10e3, 10e3, 10e3, 1e-9, 10e-9, 29.97e-9), {}},
    WarningRow{"ResistorLowAt", Parts(1e3, 2e3, 3e3, 10e-9, 10e-9, 10e-9), {}},
    WarningRow{"ResistorLowUnder", Parts(2e3, 999, 3e3, 10e-9, 10e-9, 10e-9), {"resistor-low R2"}},
    WarningRow{"ResistorLowOver", Parts(2e3, 1001, 3e3, 10e-9, 10e-9, 10e-9), {}},
    // 1k of the E-series table, its decade scaling's last bit below 1000.
    WarningRow{"SeriesMemberAtThreshold", Parts(std::nextafter(1e3, 0), 2e3, 3e3, 10e-9, 10e-9, 10e-9), {}},
    WarningRow{"ResistorHighAt", Parts(1e6, 100e3, 100e3, 10e-9, 10e-9, 10e-9), {}},
    WarningRow{"ResistorHighOver", Parts(100e3, 100e3, 1.001e6, 10e-9, 10e-9, 10e-9), {"resistor-high R3"}},
    WarningRow{"ResistorHighUnder", Parts(999e3, 100e3, 100e3, 10e-9, 10e-9, 10e-9), {}},
    WarningRow{"CapacitorLowAt", Parts(10e3, 10e3, 10e3, 1e-9, 100e-12, 1e-9), {}},
    WarningRow{"CapacitorLowUnder", Parts(10e3, 10e3, 10e3, 1e-9, 99.9e-12, 1e-9), {"capacitor-low C2"}},
    WarningRow{"CapacitorLowOver", Parts(10e3, 10e3, 10e3, 1e-9, 100.1e-12, 1e-9), {}},
    WarningRow{"EveryKindInOrder", Parts(2e6, 500, 800, 50e-12, 10e-9, 40e-12), {"resistor-spread R1/R2", "capacitor-spread C2/C3", "resistor-low R2", "resistor-low R3", "resistor-high R1", "capacitor-low C1", "capacitor-low C3"}},
    // Other checks refuse these parts; here they neither warn nor spread.
    WarningRow{"ZeroAndNegative", Parts(0, 2e6, 10e3, -1e-9, 1e-9, 100e-9), {"resistor-high R2"}},
    WarningRow{"NotFinite", Parts(kNaN, 500, 10e6, kInf, 1e-12, 100e-9), {"resistor-low R2", "resistor-high R3", "capacitor-low C2"}}),
    [](const testing::TestParamInfo<WarningRow>& info) { return std::string(info.param.name); });
// clang-format on

TEST(SpreadTextTest, OneDecimalBelowAHundred) {
    const std::vector<std::pair<double, std::string>> rows{
        {120, "120:1"}, {30.03, "30.0:1"}, {45.45, "45.5:1"}, {99.97, "100:1"}, {1234.4, "1234:1"}};
    for (const auto& [ratio, text] : rows) {
        EXPECT_EQ(SpreadText(ratio), text) << ratio;
    }
}

}  // namespace
}  // namespace mirelto
