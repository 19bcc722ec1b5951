// The report text: templates, spacing, CR LF line ends and U+03A9 in both layouts.
#include <gtest/gtest.h>

#include <string>

#include "mirelto/output/report.h"

namespace mirelto {
namespace {

ReportTexts DefaultLowPassAfterCalculation() {
    ReportTexts t;
    t.EditFa = "1.42k";
    t.EditFo = "1.42k";
    t.EditQ = "1.0";
    t.EditR1 = t.EditR2 = t.EditR3 = "22k";
    t.EditC1 = "  6.800n";
    t.EditC2 = " 15.000n";
    t.EditC3 = "  1.000n";
    t.EditFar = "  1.395k";
    t.EditFor = "  1.631k";
    t.EditQr = "961.092m";
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

ReportTexts DefaultHighPassAfterCalculation() {
    ReportTexts t = DefaultLowPassAfterCalculation();
    t.EditC1 = t.EditC2 = t.EditC3 = "3.3n";
    t.EditR1 = " 24.000k";
    t.EditR2 = " 10.000k";
    t.EditR3 = "160.000k";
    t.EditFar = "  1.463k";
    t.EditFor = "  1.413k";
    t.EditQr = "974.097m";
    return t;
}

ReportTexts ExponentRequest() {
    ReportTexts t = DefaultLowPassAfterCalculation();
    t.EditFa = "1.2e3";
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ComposeReportTest,
    testing::Values(ReportCase{"ConstantLowPass", true, true, DefaultLowPassAfterCalculation(),
                               "3rd LPF\r\n"
                               "[Input data]\r\n"
                               "fa = 1.42kHz  fo = 1.42kHz   Q = 1.0\r\n"
                               "R1 = 22k\u03A9  R2 = 22k\u03A9  R3 = 22k\u03A9\r\n"
                               "\r\n"
                               "[Result data]\r\n"
                               "C1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF\r\n"
                               "fa =   1.395kHz  fo =   1.631kHz   Q = 961.092m\r\n"},
                    ReportCase{"TransferFunctionLowPass", true, false,
                               DefaultLowPassAfterCalculation(),
                               "3rd LPF\r\n"
                               "[Input data]\r\n"
                               "R1 = 22k\u03A9  R2 = 22k\u03A9  R3 = 22k\u03A9\r\n"
                               "C1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF\r\n"
                               "\r\n"
                               "[Result data]\r\n"
                               "fa =   1.395kHz  fo =   1.631kHz   Q = 961.092m\r\n"},
                    ReportCase{"ConstantHighPass", false, true, DefaultHighPassAfterCalculation(),
                               "3rd HPF\r\n"
                               "[Input data]\r\n"
                               "fa = 1.42kHz  fo = 1.42kHz   Q = 1.0\r\n"
                               "C1 = 3.3nF  C2 = 3.3nF  C3 = 3.3nF\r\n"
                               "\r\n"
                               "[Result data]\r\n"
                               "R1 =  24.000k\u03A9  R2 =  10.000k\u03A9  R3 = 160.000k\u03A9\r\n"
                               "fa =   1.463kHz  fo =   1.413kHz   Q = 974.097m\r\n"},
                    // the transfer-function layout lists resistors first in either mode
                    ReportCase{"TransferFunctionHighPass", false, false,
                               DefaultHighPassAfterCalculation(),
                               "3rd HPF\r\n"
                               "[Input data]\r\n"
                               "R1 =  24.000k\u03A9  R2 =  10.000k\u03A9  R3 = 160.000k\u03A9\r\n"
                               "C1 = 3.3nF  C2 = 3.3nF  C3 = 3.3nF\r\n"
                               "\r\n"
                               "[Result data]\r\n"
                               "fa =   1.463kHz  fo =   1.413kHz   Q = 974.097m\r\n"},
                    ReportCase{"ExponentTextCopiedAsTyped", true, true, ExponentRequest(),
                               "3rd LPF\r\n"
                               "[Input data]\r\n"
                               "fa = 1.2e3Hz  fo = 1.42kHz   Q = 1.0\r\n"
                               "R1 = 22k\u03A9  R2 = 22k\u03A9  R3 = 22k\u03A9\r\n"
                               "\r\n"
                               "[Result data]\r\n"
                               "C1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF\r\n"
                               "fa =   1.395kHz  fo =   1.631kHz   Q = 961.092m\r\n"},
                    ReportCase{"AllBoxesCleared", true, true, ReportTexts{},
                               "3rd LPF\r\n"
                               "[Input data]\r\n"
                               "fa = Hz  fo = Hz   Q = \r\n"
                               "R1 = \u03A9  R2 = \u03A9  R3 = \u03A9\r\n"
                               "\r\n"
                               "[Result data]\r\n"
                               "C1 = F  C2 = F  C3 = F\r\n"
                               "fa = Hz  fo = Hz   Q = \r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(ComposeReport, OmegaIsTheGreekCapitalLetter) {
    const std::string report = ComposeReport(true, false, ReportTexts{});
    EXPECT_NE(report.find("\xCE\xA9"), std::string::npos);      // U+03A9
    EXPECT_EQ(report.find("\xE2\x84\xA6"), std::string::npos);  // not U+2126 OHM SIGN
}

}  // namespace
}  // namespace mirelto
