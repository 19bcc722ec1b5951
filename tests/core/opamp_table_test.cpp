// The op-amp table: the shipped rows read as the datasheets give them (a missing figure stays
// missing, LT1028 marked unstable as a follower), names found whatever their case with a user's
// row replacing a shipped one, and each kind of bad text refused at its line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "mirelto/response/op_amp_model.h"
#include "mirelto/tools/opamp_table.h"

namespace mirelto {
namespace {

TEST(OpAmpTable, ShippedRowsKeepDatasheetFigures) {
    const auto table = BuiltInOpAmps();
    ASSERT_EQ(table.size(), 13u);
    const OpAmp* tl072 = FindOpAmp(table, "tl072");
    ASSERT_NE(tl072, nullptr);
    EXPECT_EQ(tl072->name, "TL072");
    EXPECT_DOUBLE_EQ(tl072->gbw, 3e6);
    EXPECT_NEAR(tl072->a0, 199526.23, 0.01);  // 106 dB
    EXPECT_DOUBLE_EQ(tl072->slewRate, 13e6);
    EXPECT_DOUBLE_EQ(tl072->en, 18e-9);
    EXPECT_DOUBLE_EQ(tl072->in, 0.01e-12);
    EXPECT_TRUE(std::isnan(tl072->inCorner));
    EXPECT_DOUBLE_EQ(tl072->cmLow, 3);  // -12 V at -15 V
    EXPECT_NE(tl072->source.find("SLOS080M"), std::string::npos);

    const OpAmp* lm358 = FindOpAmp(table, "LM358");
    ASSERT_NE(lm358, nullptr);
    EXPECT_TRUE(std::isnan(lm358->in));
    EXPECT_TRUE(std::isnan(lm358->enCorner));

    const OpAmp* lt1028 = FindOpAmp(table, "LT1028");
    ASSERT_NE(lt1028, nullptr);
    EXPECT_FALSE(lt1028->unityGainStable);
    EXPECT_TRUE(std::isnan(lt1028->slewRate));
    for (const OpAmp& o : table) {
        EXPECT_EQ(o.unityGainStable, o.name != "LT1028") << o.name;
        EXPECT_FALSE(o.source.empty()) << o.name;
    }
}

TEST(OpAmpTable, UserRowReplacesShippedOne) {
    const OpAmpTableRead user = ParseOpAmpTable(
        "# my parts\r\npart,gbw_hz,notes\r\n\r\nTL072,4e6,\"another maker, faster\"\r\n");
    ASSERT_EQ(user.problem, OpAmpTableProblem::None);
    std::vector<OpAmp> all(BuiltInOpAmps().begin(), BuiltInOpAmps().end());
    all.insert(all.end(), user.opAmps.begin(), user.opAmps.end());
    const OpAmp* found = FindOpAmp(all, "TL072");
    ASSERT_NE(found, nullptr);
    EXPECT_DOUBLE_EQ(found->gbw, 4e6);
    EXPECT_EQ(found->notes, "another maker, faster");
    EXPECT_TRUE(std::isnan(found->en));
    EXPECT_EQ(FindOpAmp(all, "TL07"), nullptr);
}

struct BadTable {
    const char* name;
    const char* text;
    OpAmpTableProblem problem;
    std::size_t line;
    std::size_t kept;
};

// clang-format off
const BadTable kBadTables[] = {
    {"NoPartColumn", "name,gbw_hz\nX,1e6\n",                     OpAmpTableProblem::NoPartColumn, 1, 0},
    {"BadNumber",    "part,gbw_hz\nA,1e6\nB,fast\n",             OpAmpTableProblem::BadNumber,    3, 1},
    {"Infinite",     "part,a0_db\nA,1e400\n",                    OpAmpTableProblem::BadNumber,    2, 0},
    {"BadFlag",      "part,unity_gain_stable\nA,maybe\n",        OpAmpTableProblem::BadFlag,      2, 0},
    {"NoName",       "part,gbw_hz\n,1e6\n",                      OpAmpTableProblem::NoName,       2, 0},
    {"OpenQuote",    "part,notes\nA,\"ok\"\nB,\"open\n\nmore\n", OpAmpTableProblem::Unterminated, 3, 1},
};
// clang-format on

class OpAmpTableBad : public testing::TestWithParam<BadTable> {};

TEST_P(OpAmpTableBad, RefusedAtItsLine) {
    const BadTable& t = GetParam();
    const OpAmpTableRead read = ParseOpAmpTable(t.text);
    EXPECT_EQ(read.problem, t.problem);
    EXPECT_EQ(read.line, t.line);
    EXPECT_EQ(read.opAmps.size(), t.kept);
}

INSTANTIATE_TEST_SUITE_P(Rows, OpAmpTableBad, testing::ValuesIn(kBadTables),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OpAmpModel, OverlayKeepsOnlyGivenFigures) {
    OpAmp base = *FindOpAmp(BuiltInOpAmps(), "NE5532");
    OpAmp typed;
    typed.slewRate = 1e6;
    const OpAmp both = Overlaid(base, typed);
    EXPECT_EQ(both.name, "NE5532");
    EXPECT_DOUBLE_EQ(both.slewRate, 1e6);
    EXPECT_DOUBLE_EQ(both.gbw, 10e6);
    // en^2 (1 + fc/f): at the corner the density is sqrt 2 times the white one.
    EXPECT_DOUBLE_EQ(VoltageNoiseDensity(both, 47), 5e-9 * std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(CurrentNoiseDensity(OpAmp{}, 10), 0);
}

}  // namespace
}  // namespace mirelto
