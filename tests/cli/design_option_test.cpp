// --design, design --save and analyse --save: a saved design given to every command gives what its
// options give, options on the command line win, a bad file is refused naming it, and a failed save
// leaves the file as it was.
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
    BadDesignCase{"NewerVersion", R"({"format": "mirelto-design", "version": 99})", "saved in format version 99 by a newer Mirelto; this one reads version 1"},
    BadDesignCase{"NumberBeyondDoubles", R"({"format": "mirelto-design", "version": 1, "x": [1e400]})", "not a Mirelto design file"},
    BadDesignCase{"VersionBeyondDoubles", R"({"format": "mirelto-design", "version": 1e999})", "not a Mirelto design file"},
    BadDesignCase{"VersionLarge", R"({"format": "mirelto-design", "version": 1e30})", "saved in format version 9223372036854775807 by a newer Mirelto; this one reads version 1"},
    BadDesignCase{"NulAfterDesign", std::string(R"({"format": "mirelto-design", "version": 1})") + std::string("\0x", 2), "not JSON (at byte 43)"},
    // The window's selector takes a series of 7; a design file only standard ones.
    BadDesignCase{"SeriesSeven", R"({"format": "mirelto-design", "version": 1, "mode": "LPF", "request": {"fa": "1k", "fo": "1k", "Q": "1"}, "parts": {"R1": "", "R2": "", "R3": "", "C1": "", "C2": "", "C3": ""}, "result": {"fa": "", "fo": "", "Q": ""}, "series": {"R1": "24", "R2": "24", "R3": "24", "C1": "7", "C2": "6", "C3": "6"}})", "\"series.C1\" has a value no design has"}),
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
    BadValueCase{"BlankFa", "\"1k\"", "\"\"", "--fa (from the design file): not a value"}),
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

// A design file just under the reading limit, its long note and all; design --design it --save
// over an old file: the results make the file too large to read back, so the save is refused
// naming the file, and the old file stays (it was written, then refused when opened).
TEST(DesignSaveTest, FileThatWouldNotReadBackIsNotSaved) {
    const std::string in = ScratchDirectory() + "/long-note.mirelto";
    const std::string out = ScratchDirectory() + "/long-note-out.mirelto";
    ASSERT_EQ(RunCli({"design", "--save", in}).status, 0);
    DesignFileRead read = LoadDesignFile(in);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read));
    DesignFile design = std::get<DesignFile>(read);
    design.result = {"", "", ""};  // the calculation fills them in again
    design.note = std::string(kMostDesignFileBytes - SerialiseDesignFile(design).size() - 1, 'n');
    std::ofstream(in) << SerialiseDesignFile(design);
    std::ofstream(out) << "old";
    ASSERT_TRUE(std::holds_alternative<DesignFile>(LoadDesignFile(in)));
    const Outcome o = RunCli({"design", "--design", in, "--save", out});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("--save: " + out + ": not saved: the design file would be 10"),
              std::string::npos)
        << o.err;
    EXPECT_EQ(ReadFile(out), "old");
}

struct AnalyseSaveCase {
    const char* name;
    std::vector<std::string> options;  // of analyse, besides --save
    bool isLpf;
    std::array<std::string, 6> parts;
    std::array<std::string, 3> request;  // the boxes the calculation leaves as they were
    std::array<std::string, 6> series;
};

class AnalyseSaveTest : public testing::TestWithParam<AnalyseSaveCase> {};

// analyse --save; the same output as without it, and a design file whose parts are the given
// texts, whose request and selectors stay those of the window's start or of --design, whose
// result boxes are the report's, and which, given back to analyse, stands for the parts.
TEST_P(AnalyseSaveTest, SavesTheTransferFunctionDesign) {
    const AnalyseSaveCase& c = GetParam();
    const std::string path = ScratchDirectory() + "/analysed-" + c.name + ".mirelto";
    const Outcome plain = RunCli(With({"analyse"}, c.options));
    const Outcome saved = RunCli(With({"analyse", "--save", path}, c.options));
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, plain.out);
    const DesignFileRead read = LoadDesignFile(path);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read)) << ReadFile(path);
    const DesignFile& design = std::get<DesignFile>(read);
    EXPECT_EQ(design.isLpf, c.isLpf);
    EXPECT_EQ(design.parts, c.parts);
    EXPECT_EQ(design.request, c.request);
    EXPECT_EQ(design.series, c.series);
    const std::string shown = "fa = " + design.result[0] + "Hz  fo = " + design.result[1] +
                              "Hz   Q = " + design.result[2] + "\r\n";
    EXPECT_NE(plain.out.find(shown), std::string::npos) << shown;
    EXPECT_EQ(RunCli({"analyse", "--design", path}).out, plain.out);
}

const std::vector<std::string> kHighPassCircuit{"--hpf", "--r1", "9k1",  "--r2", "13k",
                                                "--r3",  "110k", "--c1", "10n",  "--c2",
                                                "4.7n",  "--c3", "2.2n"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, AnalyseSaveTest, testing::Values(
    AnalyseSaveCase{"LowPass", kLowPassCircuit, true, {"22k", "47k", "47k", "  6.800n", "  6.800n", "680.000p"}, {"1.42k", "1.42k", "1.0"}, {"24", "24", "24", "6", "6", "6"}},
    AnalyseSaveCase{"HighPass", kHighPassCircuit, false, {"9k1", "13k", "110k", "10n", "4.7n", "2.2n"}, {"1.42k", "1.42k", "1.0"}, {"24", "24", "24", "6", "6", "6"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A low-pass design of its own request, one given part, selectors and note, to give to --design.
DesignFile NotedDesign() {
    DesignFile design;
    design.request = {"1k", "1k", "0.7"};
    design.parts = {"10k", "", "", "", "", ""};
    design.series = {"24", "24", "24", "12", "12", "12"};
    design.note = "for the mixer";
    return design;
}

// A design given with --design; analyse --save over other parts; the request, selectors and note
// of the design are kept. A save into a folder that does not exist fails and writes nothing.
TEST(AnalyseSaveTest, KeepsTheDesignsBoxesAndSavesWholeOrNotAtAll) {
    const DesignFile design = NotedDesign();
    const std::string in = ScratchDirectory() + "/analyse-in.mirelto";
    const std::string out = ScratchDirectory() + "/analyse-out.mirelto";
    std::ofstream(in) << SerialiseDesignFile(design);
    ASSERT_EQ(RunCli(With({"analyse", "--design", in, "--save", out}, kLowPassCircuit)).status, 0);
    const DesignFileRead read = LoadDesignFile(out);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(read));
    const DesignFile& again = std::get<DesignFile>(read);
    EXPECT_EQ(again.request, design.request);
    EXPECT_EQ(again.series, design.series);
    EXPECT_EQ(again.note, design.note);
    EXPECT_EQ(again.parts[1], "47k");
    const std::string nowhere = ScratchDirectory() + "/no-such-folder/x.mirelto";
    EXPECT_NE(RunCli(With({"analyse", "--save", nowhere}, kLowPassCircuit)).status, 0);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

// The note and the analysis settings of --design are saved again by design --save.
TEST(DesignSaveTest, KeepsNoteAndSettingsOfTheDesign) {
    DesignFile design = NotedDesign();
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
