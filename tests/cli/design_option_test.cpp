// --design and design --save: a saved design given to every command gives what its options give,
// options on the command line win, a bad file is refused naming it, and a failed save leaves the
// file as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include "design_file.h"
#include "process.h"

namespace mirelto::test {
namespace {

struct DesignCase {
    const char* name;
    std::vector<std::string> saved;      // the design --save options that made the file
    std::vector<std::string> command;    // a command run with --design and the same again...
    std::vector<std::string> explicit_;  // ...with the options that the file stands for
};

class DesignOptionTest : public testing::TestWithParam<DesignCase> {};

// A design saved by design --save; the command with --design FILE; the same output as the
// command with the options written out.
TEST_P(DesignOptionTest, FileStandsForItsOptions) {
    const std::string path = ScratchDirectory() + "/" + GetParam().name + ".mirelto";
    const Outcome saved = RunCli(With({"design", "--save", path}, GetParam().saved));
    ASSERT_EQ(saved.status, 0) << saved.err;
    const Outcome fromFile = RunCli(With(GetParam().command, {"--design", path}));
    const Outcome written = RunCli(With(GetParam().command, GetParam().explicit_));
    EXPECT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_EQ(fromFile.err, "");
    EXPECT_EQ(fromFile.out, written.out);
}

const std::vector<std::string> kLowPass{"--r2", "47k"};
const std::vector<std::string> kUnrounded{"--series1", "inf",       "--series2",
                                          "inf",       "--series3", "inf"};
const std::vector<std::string> kLowPassCircuit{"--r1", "22k",      "--r2", "47k",
                                               "--r3", "47k",      "--c1", "  6.800n",
                                               "--c2", "  6.800n", "--c3", "680.000p"};
const std::vector<std::string> kHighPass{"--hpf", "--c1", "10n", "--c2", "4.7n", "--c3", "2.2n"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, DesignOptionTest, testing::Values(
    DesignCase{"DesignLowPass", kLowPass, {"design"}, kLowPass},
    DesignCase{"DesignOverridden", kLowPass, {"design", "--q", "0.8", "--r3", "3k3"}, kLowPass},
    DesignCase{"DesignModeOverridden", kLowPass, {"design", "--hpf"}, {"--c1", "  6.800n", "--c2", "  6.800n", "--c3", "680.000p"}},
    DesignCase{"DesignUnrounded", kUnrounded, {"design"}, kUnrounded},
    DesignCase{"DesignHighPass", kHighPass, {"design", "--json"}, kHighPass},
    DesignCase{"AnalyseLowPass", kLowPass, {"analyse"}, kLowPassCircuit},
    DesignCase{"OptimiseLowPass", kLowPass, {"optimise", "--steps", "1", "--count", "3"}, kLowPass},
    DesignCase{"ToleranceHighPass", kHighPass, {"tolerance", "--trials", "200"}, {"--hpf", "--r1", "  9.100k", "--r2", " 13.000k", "--r3", "110.000k", "--c1", "10n", "--c2", "4.7n", "--c3", "2.2n"}},
    DesignCase{"NetlistLowPass", kLowPass, {"netlist"}, kLowPassCircuit}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct SavedTextsCase {
    const char* name;
    std::vector<std::string> options;
    std::array<std::string, 6> parts;
    std::array<std::string, 3> result;
    std::array<std::string, 6> series;
};

class DesignSaveTextsTest : public testing::TestWithParam<SavedTextsCase> {};

// design --save; the file holds the window's boxes: the blanks filled as the window fills them,
// the computed parts and results as the window shows them, the selectors used.
TEST_P(DesignSaveTextsTest, AreTheWindowsTexts) {
    const std::string path = ScratchDirectory() + "/" + GetParam().name + ".mirelto";
    ASSERT_EQ(RunCli(With({"design", "--save", path}, GetParam().options)).status, 0);
    const DesignFileRead read = ParseDesignFile(ReadFile(path));
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read)) << ReadFile(path);
    const DesignFile& design = std::get<DesignFile>(read);
    EXPECT_TRUE(design.isLpf);
    EXPECT_EQ(design.request, (std::array<std::string, 3>{"1.42k", "1.42k", "1.0"}));
    EXPECT_EQ(design.parts, GetParam().parts);
    EXPECT_EQ(design.result, GetParam().result);
    EXPECT_EQ(design.series, GetParam().series);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, DesignSaveTextsTest, testing::Values(
    SavedTextsCase{"BlankR3", kLowPass, {"22k", "47k", "47k", "  6.800n", "  6.800n", "680.000p"}, {"  1.224k", "  1.468k", "  1.101"}, {"24", "24", "24", "6", "6", "6"}},
    SavedTextsCase{"Unrounded", kUnrounded, {"22k", "22k", "22k", "  7.095n", " 18.070n", "  1.031n"}, {"  1.420k", "  1.420k", "  1.000"}, {"24", "24", "24", "∞", "∞", "∞"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct BadDesignCase {
    const char* name;
    std::string contents;  // empty: the path is a directory
    const char* message;
};

class BadDesignTest : public testing::TestWithParam<BadDesignCase> {};

// A file that is not a design; a command with --design FILE; status 1, one line naming the file
// and what is wrong, nothing on standard output.
TEST_P(BadDesignTest, IsRefusedNamingTheFile) {
    std::string path = ScratchDirectory() + "/" + GetParam().name + ".mirelto";
    if (GetParam().contents.empty()) {
        std::filesystem::create_directory(path);
    } else {
        std::ofstream(path) << GetParam().contents;
    }
    const Outcome o = RunCli({"design", "--design", path});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "mirelto-cli design: --design: " + path + ": " + GetParam().message + "\n");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, BadDesignTest, testing::Values(
    BadDesignCase{"Directory", "", "a directory, not a design file"},
    BadDesignCase{"Array", "[]", "not a Mirelto design file"},
    BadDesignCase{"NewerVersion", R"({"format": "mirelto-design", "version": 99})", "saved in format version 99 by a newer Mirelto; this one reads version 1"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct BadValueCase {
    const char* name;
    std::string saved, edited;  // a text of the saved file and what it is changed to
    const char* message;
};

class DesignOptionValuesTest : public testing::TestWithParam<BadValueCase> {};

// A saved design with a value edited to one the command line refuses; design --design; status 2,
// naming the option and that it came from the file.
TEST_P(DesignOptionValuesTest, BadValueIsNamed) {
    const std::string path = ScratchDirectory() + "/" + GetParam().name + ".mirelto";
    ASSERT_EQ(RunCli({"design", "--save", path, "--fa", "1k", "--series1", "12"}).status, 0);
    std::string bytes = ReadFile(path);
    bytes.replace(bytes.find(GetParam().saved), GetParam().saved.size(), GetParam().edited);
    std::ofstream(path) << bytes;
    const Outcome o = RunCli({"design", "--design", path});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find(GetParam().message), std::string::npos) << o.err;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, DesignOptionValuesTest, testing::Values(
    BadValueCase{"BlankFa", "\"1k\"", "\"\"", "--fa (from the design file): not a value"},
    // The window's Part takes a series of 7; the command line takes standard ones only.
    BadValueCase{"SeriesSeven", "\"12\"", "\"7\"", "--series1 (from the design file): not a standard series: \"7\""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A saved design; design --save over it with a file size limit the new one exceeds (a disk that
// fills up); status 1, the old file byte for byte, nothing else beside it.
TEST(DesignSaveTest, FailedSaveKeepsTheOldFile) {
    const std::string directory = ScratchDirectory() + "/save-full";
    std::filesystem::create_directory(directory);
    const std::string path = directory + "/kept.mirelto";
    ASSERT_EQ(RunCli({"design", "--save", path}).status, 0);
    std::string bytes = ReadFile(path);
    bytes.replace(bytes.find("\"note\": \"\""), 10, "\"note\": \"" + std::string(5000, 'n') + "\"");
    std::ofstream(path) << bytes;
    const std::string old = ReadFile(path);
    const Outcome o =
        RunCliIn("trap '' XFSZ; ulimit -f 1; ", {"design", "--design", path, "--save", path}, "");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("cannot write " + path + ": File too large"), std::string::npos) << o.err;
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory),
                            std::filesystem::directory_iterator()),
              1);
}

// The note and the analysis settings of --design are saved again by design --save.
TEST(DesignSaveTest, KeepsNoteAndSettingsOfTheDesign) {
    DesignFile design;
    design.request = {"1k", "1k", "0.7"};
    design.parts = {"10k", "", "", "", "", ""};
    design.series = {"24", "24", "24", "12", "12", "12"};
    design.note = "for the mixer";
    design.analysis = AnalysisSettings{};
    design.analysis->preset = {"Butterworth", "1k"};
    design.analysis->tolerance = {{"1", "1", "1", "2", "2", "2"}, false, 500, "7"};
    design.analysis->optimiser = {1, 0};
    const std::string in = ScratchDirectory() + "/in.mirelto";
    const std::string out = ScratchDirectory() + "/out.mirelto";
    std::ofstream(in) << SerialiseDesignFile(design);
    ASSERT_EQ(RunCli({"design", "--design", in, "--save", out}).status, 0);
    const DesignFileRead read = ParseDesignFile(ReadFile(out));
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read));
    EXPECT_EQ(std::get<DesignFile>(read).note, design.note);
    EXPECT_EQ(std::get<DesignFile>(read).analysis, design.analysis);
    EXPECT_EQ(std::get<DesignFile>(read).series, design.series);
    EXPECT_EQ(std::get<DesignFile>(read).parts[1], "10k");
}

}  // namespace
}  // namespace mirelto::test
