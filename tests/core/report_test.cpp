// The report text: templates, spacing, CR LF line ends and U+03A9 in both layouts.
#include <gtest/gtest.h>

#include <string>

#include "mirelto/output/report.h"
#include "test_support.h"

namespace mirelto {
namespace {

// The window's boxes after the constant calculation of the default request: the request, the
// given parts, then the shown results (the computed parts, fa, fo and Q).
ReportTexts DefaultAfterCalculation(bool isLpf) {
    ReportTexts t;
    t.EditFa = "1.42k";
    t.EditFo = "1.42k";
    t.EditQ = "1.0";
    const auto& shown = isLpf ? test::kDefaultLowPassShown : test::kDefaultHighPassShown;
    std::string* const computed[] = {&t.EditR1, &t.EditR2, &t.EditR3,
                                     &t.EditC1, &t.EditC2, &t.EditC3};
    for (std::size_t i = 0; i < 3; ++i) {  // given R (LPF) or C (HPF), the others computed
        *computed[isLpf ? i : i + 3] = isLpf ? "22k" : "3.3n";
        *computed[isLpf ? i + 3 : i] = shown[i];
    }
    t.EditFar = shown[3];
    t.EditFor = shown[4];
    t.EditQr = shown[5];
    return t;
}

struct ReportCase {
    std::string name;
    bool isLpf, constantMode;
    ReportTexts texts;
    std::string expected;
};

class ComposeReportTest : public testing::TestWithParam<ReportCase> {};

TEST_P(ComposeReportTest, MatchesTheTemplateByteForByte) {
    const ReportCase& c = GetParam();
    EXPECT_EQ(ComposeReport(c.isLpf, c.constantMode, c.texts), c.expected);
}

ReportTexts ExponentRequest() {
    ReportTexts t = DefaultAfterCalculation(true);
    t.EditFa = "1.2e3";
    return t;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Layouts, ComposeReportTest, testing::Values(
    ReportCase{"ConstantLowPass", true, true, DefaultAfterCalculation(true), "3rd LPF\r\n[Input data]\r\nfa = 1.42kHz  fo = 1.42kHz   Q = 1.0\r\nR1 = 22k\u03A9  R2 = 22k\u03A9  R3 = 22k\u03A9\r\n\r\n[Result data]\r\nC1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF\r\nfa =   1.395kHz  fo =   1.631kHz   Q = 961.092m\r\n"},
    ReportCase{"TransferFunctionLowPass", true, false, DefaultAfterCalculation(true), "3rd LPF\r\n[Input data]\r\nR1 = 22k\u03A9  R2 = 22k\u03A9  R3 = 22k\u03A9\r\nC1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF\r\n\r\n[Result data]\r\nfa =   1.395kHz  fo =   1.631kHz   Q = 961.092m\r\n"},
    ReportCase{"ConstantHighPass", false, true, DefaultAfterCalculation(false), "3rd HPF\r\n[Input data]\r\nfa = 1.42kHz  fo = 1.42kHz   Q = 1.0\r\nC1 = 3.3nF  C2 = 3.3nF  C3 = 3.3nF\r\n\r\n[Result data]\r\nR1 =  24.000k\u03A9  R2 =  10.000k\u03A9  R3 = 160.000k\u03A9\r\nfa =   1.463kHz  fo =   1.413kHz   Q = 974.097m\r\n"},
    // the transfer-function layout lists resistors first in either mode
    ReportCase{"TransferFunctionHighPass", false, false, DefaultAfterCalculation(false), "3rd HPF\r\n[Input data]\r\nR1 =  24.000k\u03A9  R2 =  10.000k\u03A9  R3 = 160.000k\u03A9\r\nC1 = 3.3nF  C2 = 3.3nF  C3 = 3.3nF\r\n\r\n[Result data]\r\nfa =   1.463kHz  fo =   1.413kHz   Q = 974.097m\r\n"},
    ReportCase{"ExponentTextCopiedAsTyped", true, true, ExponentRequest(), "3rd LPF\r\n[Input data]\r\nfa = 1.2e3Hz  fo = 1.42kHz   Q = 1.0\r\nR1 = 22k\u03A9  R2 = 22k\u03A9  R3 = 22k\u03A9\r\n\r\n[Result data]\r\nC1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF\r\nfa =   1.395kHz  fo =   1.631kHz   Q = 961.092m\r\n"},
    ReportCase{"AllBoxesCleared", true, true, ReportTexts{}, "3rd LPF\r\n[Input data]\r\nfa = Hz  fo = Hz   Q = \r\nR1 = \u03A9  R2 = \u03A9  R3 = \u03A9\r\n\r\n[Result data]\r\nC1 = F  C2 = F  C3 = F\r\nfa = Hz  fo = Hz   Q = \r\n"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(ComposeReport, OmegaIsTheGreekCapitalLetter) {
    const std::string report = ComposeReport(true, false, ReportTexts{});
    EXPECT_NE(report.find("\xCE\xA9"), std::string::npos);      // U+03A9
    EXPECT_EQ(report.find("\xE2\x84\xA6"), std::string::npos);  // not U+2126 OHM SIGN
}

}  // namespace
}  // namespace mirelto
