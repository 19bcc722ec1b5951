// The design file: every design written reads back equal; every file that is not a design of
// this version reads as the one problem that stops it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <variant>

#include <mirelto/tools/tolerance.h>

#include "design_file.h"
#include "design_save.h"
#include "test_support.h"

namespace mirelto {
namespace {

DesignFile LowPass() {
    DesignFile d;
    d.isLpf = true;
    d.request = {"1.42k", "1.42k", "1.0"};
    const auto& shown = test::kDefaultLowPassShown;
    d.parts = {"22k", "22k", "22k", shown[0], shown[1], shown[2]};
    d.result = {shown[3], shown[4], shown[5]};
    d.command = ResultCommand::Constants;
    d.series = {"24", "24", "24", "6", "6", "6"};
    return d;
}

DesignFile HighPassWithEverything() {
    DesignFile d;
    d.isLpf = false;
    d.request = {"1k", " 2.2k ", ""};
    d.parts = {"", "", "", "4µ7", "4.7µ", "3n3"};
    d.result = {"", "", ""};
    d.command = ResultCommand::TransferFunction;
    d.series = {"∞", "inf", "192", "0", "6", "6"};
    AnalysisSettings a;
    a.preset = {"Chebyshev 0.5 dB (ripple edge)", "1k"};
    a.opAmpGbw = "1M";
    a.tolerance = {{"1", "0.5 %", "500m", "5", "5", "10"}, true, 12345, "18446744073709551615"};
    a.optimiser = {3, 24};
    a.ranking = "cutoff";
    d.analysis = a;
    d.note = "Prototype 2 \"B\"\n\tfor the mixer — 試作\r\n";
    return d;
}

// A design written and read again: the same design, and the same bytes when written again.
TEST(DesignFileTest, RoundTripKeepsEveryText) {
    DesignFile blank;
    blank.series = {"24", "24", "24", "6", "6", "6"};
    for (const DesignFile& design : {LowPass(), HighPassWithEverything(), blank}) {
        const std::string bytes = SerialiseDesignFile(design);
        const DesignFileRead read = ParseDesignFile(bytes);
        ASSERT_TRUE(std::holds_alternative<DesignFile>(read)) << bytes;
        EXPECT_EQ(std::get<DesignFile>(read), design) << bytes;
        EXPECT_EQ(SerialiseDesignFile(std::get<DesignFile>(read)), bytes);
    }
}

// A file of an older version of the program, without the result's command and the ranking:
// read as neither known, and written again without them, byte for byte.
TEST(DesignFileTest, OlderFileWithoutCommandOrRanking) {
    DesignFile older = HighPassWithEverything();
    older.command = ResultCommand::Unknown;
    older.analysis->ranking.clear();
    const std::string bytes = SerialiseDesignFile(older);
    EXPECT_EQ(bytes.find("\"command\""), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("\"ranking\""), std::string::npos) << bytes;
    const DesignFileRead read = ParseDesignFile(bytes);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read)) << bytes;
    EXPECT_EQ(std::get<DesignFile>(read), older);
}

// Non-ASCII texts are written as UTF-8, not as escapes, so the file reads as the window shows it.
TEST(DesignFileTest, WritesUtf8Texts) {
    const std::string bytes = SerialiseDesignFile(HighPassWithEverything());
    EXPECT_NE(bytes.find("\"4µ7\""), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\"∞\""), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\"format\": \"mirelto-design\""), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\"version\": 1"), std::string::npos) << bytes;
}

// Keys this version does not know are ignored, wherever they are.
TEST(DesignFileTest, IgnoresUnknownKeys) {
    std::string bytes = SerialiseDesignFile(HighPassWithEverything());
    bytes.insert(bytes.find("\"mode\""), "\"future\": [1, {\"x\": null}],\n");
    bytes.insert(bytes.find("\"fa\""), "\"comment\": \"mine\",\n");
    const DesignFileRead read = ParseDesignFile(bytes);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read)) << bytes;
    EXPECT_EQ(std::get<DesignFile>(read), HighPassWithEverything());
}

// A series written with its letter ("E24", "e96") reads as the size alone, as the selectors and
// the command line read it.
TEST(DesignFileTest, ReadsLetteredSeriesAsTheirSize) {
    std::string bytes = SerialiseDesignFile(LowPass());
    bytes.replace(bytes.find("\"24\""), 4, "\"E24\"");
    bytes.replace(bytes.find("\"6\""), 3, "\"e6\"");
    const DesignFileRead read = ParseDesignFile(bytes);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read)) << bytes;
    EXPECT_EQ(std::get<DesignFile>(read), LowPass());
}

// The saved design with one text replaced.
std::string Edited(const std::string& from, const std::string& to) {
    std::string bytes = SerialiseDesignFile(HighPassWithEverything());
    const std::size_t at = bytes.find(from);
    if (at == std::string::npos) {
        ADD_FAILURE() << from;
        return bytes;
    }
    return bytes.replace(at, from.size(), to);
}

struct BadBytes {
    const char* name;
    std::string bytes;
    DesignFileProblem problem;
    std::string key;
    std::int64_t position = 0;
};

class BadBytesTest : public testing::TestWithParam<BadBytes> {};

TEST_P(BadBytesTest, NamesTheProblem) {
    const DesignFileRead read = ParseDesignFile(GetParam().bytes);
    ASSERT_TRUE(std::holds_alternative<DesignFileError>(read));
    const DesignFileError& error = std::get<DesignFileError>(read);
    EXPECT_EQ(error.problem, GetParam().problem) << DescribeInEnglish(error);
    EXPECT_EQ(error.key, GetParam().key);
    if (GetParam().position != 0) {
        EXPECT_EQ(error.position, GetParam().position);
    }
    EXPECT_FALSE(DescribeInEnglish(error).empty());
}

const std::string kSaved = SerialiseDesignFile(HighPassWithEverything());

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, BadBytesTest, testing::Values(
    BadBytes{"Empty", "", DesignFileProblem::Empty, ""},
    BadBytes{"Blank", " \n\t\r\n", DesignFileProblem::Empty, ""},
    BadBytes{"Truncated", kSaved.substr(0, kSaved.find("\"analysis\"")), DesignFileProblem::Truncated, ""},
    BadBytes{"NotJson", "mode = LPF\n", DesignFileProblem::NotJson, "", 1},
    BadBytes{"TrailingGarbage", kSaved + "x", DesignFileProblem::NotJson, ""},
    BadBytes{"Array", "[1, 2, 3]", DesignFileProblem::NotOurs, ""},
    BadBytes{"OtherProgram", R"({"name": "x", "version": 1, "dependencies": {}})", DesignFileProblem::NotOurs, ""},
    BadBytes{"FormatNotText", Edited("\"mirelto-design\"", "1"), DesignFileProblem::NotOurs, ""},
    BadBytes{"TooDeep", std::string(100000, '[') + std::string(100000, ']'), DesignFileProblem::NotOurs, ""},
    BadBytes{"Version99", Edited("\"version\": 1", "\"version\": 99"), DesignFileProblem::NewerVersion, "version", 99},
    BadBytes{"VersionHuge", Edited("\"version\": 1", "\"version\": 18446744073709551615"), DesignFileProblem::NewerVersion, "version", INT64_MAX},
    BadBytes{"VersionZero", Edited("\"version\": 1", "\"version\": 0"), DesignFileProblem::BadValue, "version"},
    BadBytes{"VersionText", Edited("\"version\": 1", "\"version\": \"1\""), DesignFileProblem::WrongType, "version"},
    BadBytes{"NoMode", Edited("\"mode\"", "\"mood\""), DesignFileProblem::Missing, "mode"},
    BadBytes{"ModeBandPass", Edited("\"HPF\"", "\"BPF\""), DesignFileProblem::BadValue, "mode"},
    BadBytes{"NumberForText", Edited("\"1k\"", "1000"), DesignFileProblem::WrongType, "request.fa"},
    BadBytes{"PartsArray", Edited("\"parts\": {", "\"parts\": [], \"x\": {"), DesignFileProblem::WrongType, "parts"},
    BadBytes{"LineBreakInBox", Edited("\"3n3\"", "\"3n3\\r\\n[Result data]\""), DesignFileProblem::BadValue, "parts.C3"},
    BadBytes{"TextForNumber", Edited("12345", "\"many\""), DesignFileProblem::WrongType, "analysis.tolerance.trials"},
    BadBytes{"FractionForNumber", Edited("12345", "1.5"), DesignFileProblem::WrongType, "analysis.tolerance.trials"},
    BadBytes{"NoTrials", Edited("12345", "0"), DesignFileProblem::BadValue, "analysis.tolerance.trials"},
    BadBytes{"TrialsOverTheCoreLimit", Edited("12345", std::to_string(kMaxTrials + 1)), DesignFileProblem::BadValue, "analysis.tolerance.trials"},
    BadBytes{"UnknownPreset", Edited("Chebyshev 0.5 dB (ripple edge)", "Cauer"), DesignFileProblem::BadValue, "analysis.preset.response"},
    BadBytes{"Steps7", Edited("\"steps\": 3", "\"steps\": 7"), DesignFileProblem::BadValue, "analysis.optimiser.steps"},
    BadBytes{"GivenSeries7", Edited("\"givenSeries\": 24", "\"givenSeries\": 7"), DesignFileProblem::BadValue, "analysis.optimiser.givenSeries"},
    BadBytes{"CommandUnknown", Edited("\"transfer\"", "\"rounded\""), DesignFileProblem::BadValue, "command"},
    BadBytes{"CommandEmpty", Edited("\"transfer\"", "\"\""), DesignFileProblem::BadValue, "command"},
    BadBytes{"CommandNumber", Edited("\"transfer\"", "2"), DesignFileProblem::WrongType, "command"},
    BadBytes{"RankingUnknown", Edited("\"cutoff\"", "\"best\""), DesignFileProblem::BadValue, "analysis.optimiser.ranking"},
    BadBytes{"NoteNumber", Edited("\"note\": \"", "\"note\": 5, \"x\": \""), DesignFileProblem::WrongType, "note"},
    BadBytes{"InvalidUtf8", Edited("4µ7", "4\xB5" "7"), DesignFileProblem::NotUtf8, ""},
    BadBytes{"Overlong", Edited("3n3", "3\xC0\xAF"), DesignFileProblem::NotUtf8, ""},
    BadBytes{"TooLarge", kSaved + std::string(kMostDesignFileBytes, ' '), DesignFileProblem::TooLarge, ""},
    BadBytes{"NulAfterDesign", kSaved + std::string("\0garbage", 8), DesignFileProblem::NotJson, "", static_cast<std::int64_t>(kSaved.size()) + 1},
    BadBytes{"NulInside", Edited("\"mode\"", std::string("\0\"mode\"", 7)), DesignFileProblem::NotJson, ""},
    BadBytes{"VersionBeyondDoubles", Edited("\"version\": 1", "\"version\": 1e999"), DesignFileProblem::NotOurs, ""},
    BadBytes{"NumberBeyondDoublesUnknownKey", Edited("\"mode\"", "\"future\": [1e400], \"mode\""), DesignFileProblem::NotOurs, ""},
    BadBytes{"NegativeBeyondDoublesInNote", Edited("\"note\": \"", "\"x\": -1e400, \"note\": \""), DesignFileProblem::NotOurs, ""},
    BadBytes{"VersionLargeFloat", Edited("\"version\": 1", "\"version\": 1e30"), DesignFileProblem::NewerVersion, "version", INT64_MAX},
    BadBytes{"VersionBeyondInt64", Edited("\"version\": 1", "\"version\": 99999999999999999999"), DesignFileProblem::NewerVersion, "version", INT64_MAX},
    BadBytes{"VersionTwoPointZero", Edited("\"version\": 1", "\"version\": 2.0"), DesignFileProblem::NewerVersion, "version", 2},
    BadBytes{"VersionFraction", Edited("\"version\": 1", "\"version\": 1.5"), DesignFileProblem::WrongType, "version"},
    BadBytes{"VersionNegative", Edited("\"version\": 1", "\"version\": -3"), DesignFileProblem::BadValue, "version"},
    BadBytes{"SeriesWord", Edited("\"R2\": \"inf\"", "\"R2\": \"abc\""), DesignFileProblem::BadValue, "series.R2"},
    BadBytes{"SeriesBlank", Edited("\"C1\": \"0\"", "\"C1\": \"\""), DesignFileProblem::BadValue, "series.C1"},
    BadBytes{"SeriesHex", Edited("\"R3\": \"192\"", "\"R3\": \"0x18\""), DesignFileProblem::BadValue, "series.R3"},
    BadBytes{"SeriesSeven", Edited("\"R3\": \"192\"", "\"R3\": \"7\""), DesignFileProblem::BadValue, "series.R3"},
    BadBytes{"SeriesE7", Edited("\"R3\": \"192\"", "\"R3\": \"E7\""), DesignFileProblem::BadValue, "series.R3"},
    BadBytes{"SeriesLetterAlone", Edited("\"R3\": \"192\"", "\"R3\": \"E\""), DesignFileProblem::BadValue, "series.R3"},
    BadBytes{"SeriesEInfinity", Edited("\"R3\": \"192\"", "\"R3\": \"Einf\""), DesignFileProblem::BadValue, "series.R3"},
    BadBytes{"SeriesBlankBefore", Edited("\"R3\": \"192\"", "\"R3\": \" 24\""), DesignFileProblem::BadValue, "series.R3"},
    BadBytes{"SeriesLeadingZero", Edited("\"R3\": \"192\"", "\"R3\": \"024\""), DesignFileProblem::BadValue, "series.R3"},
    BadBytes{"C1ControlInBox", Edited("\"3n3\"", "\"3n3\xC2\x85\""), DesignFileProblem::BadValue, "parts.C3"},
    BadBytes{"DeleteInBox", Edited("\"3n3\"", "\"3n3\x7F\""), DesignFileProblem::BadValue, "parts.C3"},
    BadBytes{"SeriesNumber", Edited("\"R3\": \"192\"", "\"R3\": 192"), DesignFileProblem::WrongType, "series.R3"}),
    [](const testing::TestParamInfo<BadBytes>& info) { return std::string(info.param.name); });
// clang-format on

// A design to save: saved when its bytes read back as the same design, else refused (the window
// and mirelto-cli then keep the old file) with what would have stopped them.
TEST(DesignSaveTest, SavesOnlyWhatReadsBack) {
    struct Row {
        const char* name;
        std::string note;
        std::string seriesC1;
        std::string boxR1;
        DesignSaveProblem problem;
        std::string key;
    };
    DesignFile noNote = HighPassWithEverything();
    noNote.note.clear();
    const std::size_t base = SerialiseDesignFile(noNote).size();
    // clang-format off
    const Row rows[] = {
        {"AsItIs", HighPassWithEverything().note, "0", "", DesignSaveProblem::None, ""},
        {"NoteFillingTheLimit", std::string(kMostDesignFileBytes - base, 'n'), "0", "", DesignSaveProblem::None, ""},
        {"NoteOneByteOver", std::string(kMostDesignFileBytes - base + 1, 'n'), "0", "", DesignSaveProblem::TooLarge, ""},
        {"NoteOfAMegabyte", std::string(1'000'000, 'n') + std::string(50'000, '\t'), "0", "", DesignSaveProblem::TooLarge, ""},
        {"SeriesSeven", "", "7", "", DesignSaveProblem::NotReadBack, "series.C1"},
        {"LineBreakInBox", "", "0", "22k\n", DesignSaveProblem::NotReadBack, "parts.R1"},
    };
    // clang-format on
    for (const Row& row : rows) {
        DesignFile design = HighPassWithEverything();
        design.note = row.note;
        design.series[3] = row.seriesC1;
        design.parts[0] = row.boxR1;
        const DesignSave save = DesignFileToSave(design);
        EXPECT_EQ(save.problem, row.problem) << row.name;
        EXPECT_EQ(save.readBack.key, row.key) << row.name;
        if (row.problem == DesignSaveProblem::None) {
            EXPECT_TRUE(save.bytes == SerialiseDesignFile(design)) << row.name;
            EXPECT_TRUE(std::holds_alternative<DesignFile>(ParseDesignFile(save.bytes)));
        } else {
            EXPECT_TRUE(save.bytes.empty()) << row.name;
            EXPECT_NE(DescribeInEnglish(save), "") << row.name;
        }
    }
}

// Files on disk: a directory, a file too large (refused without reading it whole), a missing
// and an unreadable one, and a good one.
class LoadTest : public testing::Test {
  protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("mirelto-design-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override {
        std::filesystem::permissions(directory_, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(directory_);
    }
    std::string Write(const char* name, const std::string& bytes) {
        const std::string path = (directory_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    DesignFileProblem ProblemOf(const std::string& path) {
        const DesignFileRead read = LoadDesignFile(path);
        if (!std::holds_alternative<DesignFileError>(read)) {
            ADD_FAILURE() << path << " read as a design";
            return DesignFileProblem::NotJson;
        }
        return std::get<DesignFileError>(read).problem;
    }
    std::filesystem::path directory_;
};

TEST_F(LoadTest, ReadsAGoodFile) {
    const DesignFileRead read = LoadDesignFile(Write("good.mirelto", kSaved));
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read));
    EXPECT_EQ(std::get<DesignFile>(read), HighPassWithEverything());
}

TEST_F(LoadTest, RefusesWhatIsNoDesignFile) {
    EXPECT_EQ(ProblemOf(directory_.string()), DesignFileProblem::IsDirectory);
    EXPECT_EQ(ProblemOf((directory_ / "none.mirelto").string()), DesignFileProblem::NotFound);
    EXPECT_EQ(ProblemOf(Write("big.mirelto", std::string(10'000'000, ' '))),
              DesignFileProblem::TooLarge);
    EXPECT_EQ(ProblemOf("/dev/zero"), DesignFileProblem::Unreadable);
}

TEST_F(LoadTest, RefusesAnUnreadableFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser reads files without read permission";
    }
    const std::string path = Write("locked.mirelto", kSaved);
    ::chmod(path.c_str(), 0);
    const DesignFileRead read = LoadDesignFile(path);
    ASSERT_TRUE(std::holds_alternative<DesignFileError>(read));
    EXPECT_EQ(std::get<DesignFileError>(read).problem, DesignFileProblem::Unreadable);
    EXPECT_EQ(std::get<DesignFileError>(read).reason, "Permission denied");
}

}  // namespace
}  // namespace mirelto
