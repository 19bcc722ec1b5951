// The design file's optional "opAmp" object: written and read back the same, absent from a file
// without one (which older readers and this one read alike), and each bad member refused naming
// its key.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "design_file.h"

namespace mirelto {
namespace {

const std::string kHead =
    R"({"format": "mirelto-design", "version": 1, "mode": "LPF",
        "request": {"fa": "", "fo": "", "Q": ""},
        "parts": {"R1": "", "R2": "", "R3": "", "C1": "", "C2": "", "C3": ""},
        "result": {"fa": "", "fo": "", "Q": ""},
        "series": {"R1": "24", "R2": "24", "R3": "24", "C1": "6", "C2": "6", "C3": "6"})";

TEST(OpAmpSettingFile, RoundTripAndAbsence) {
    DesignFile design;
    design.series = {"24", "24", "24", "6", "6", "6"};
    OpAmpSetting setting;
    setting.name = "NE5532";
    setting.figures[static_cast<std::size_t>(OpAmpFigure::Gbw)] = "1M";
    setting.figures[static_cast<std::size_t>(OpAmpFigure::VoltageNoise)] = "4n";
    setting.bandLow = "20";
    setting.bandHigh = "20k";
    setting.amplitude = std::string("2");  // GCC 12 -Wrestrict misfires on a 1-char literal here
    setting.compensate = true;
    design.opAmp = setting;
    const std::string bytes = SerialiseDesignFile(design);
    EXPECT_NE(bytes.find("\"en\": \"4n\""), std::string::npos) << bytes;
    const DesignFileRead read = ParseDesignFile(bytes);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read));
    EXPECT_EQ(std::get<DesignFile>(read), design);

    design.opAmp.reset();
    EXPECT_EQ(SerialiseDesignFile(design).find("opAmp"), std::string::npos);
    std::string oldBytes = kHead;
    oldBytes.append("}");
    const DesignFileRead old = ParseDesignFile(oldBytes);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(old));
    EXPECT_FALSE(std::get<DesignFile>(old).opAmp);
}

struct BadMember {
    const char* name;
    const char* json;
    const char* key;
};

// clang-format off
const BadMember kBadMembers[] = {
    {"NotAnObject",   R"("opAmp": 3)",                              "opAmp"},
    {"NameNotText",   R"("opAmp": {"name": 5})",                    "opAmp.name"},
    {"FigureTwoLine", R"("opAmp": {"figures": {"gbw": "1\nM"}})",   "opAmp.figures.gbw"},
    {"BandNotObject", R"("opAmp": {"band": "20:20k"})",             "opAmp.band"},
    {"CompensateText", R"("opAmp": {"compensate": "yes"})",         "opAmp.compensate"},
};
// clang-format on

class OpAmpSettingBad : public testing::TestWithParam<BadMember> {};

TEST_P(OpAmpSettingBad, RefusedNamingItsKey) {
    // Appended piece by piece: "literal" + string trips a false -Wrestrict in GCC 12.
    std::string bytes = kHead;
    bytes.append(", ").append(GetParam().json).append("}");
    const DesignFileRead read = ParseDesignFile(bytes);
    ASSERT_TRUE(std::holds_alternative<DesignFileError>(read));
    EXPECT_EQ(std::get<DesignFileError>(read).key, GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(Rows, OpAmpSettingBad, testing::ValuesIn(kBadMembers),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mirelto
