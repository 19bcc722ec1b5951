// The texts the transfer-function calculation shows, computed through the core alone: value
// texts parsed as typed, the analysis, and the results as the result boxes show them. The
// constant calculation's are in constant_calculation_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/values/value_format.h"
#include "mirelto/values/value_text.h"

namespace mirelto {
namespace {

std::string Shown(double value) {
    return FormatShown(value);
}

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

}  // namespace
}  // namespace mirelto
