// --save and --output to special targets: a pipe nobody reads refused at once (it blocked for
// ever), a link to nothing kept as a link with the file it names made (it was replaced).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "process.h"

namespace mirelto::test {
namespace {

namespace fs = std::filesystem;

struct SaveTargetCase {
    std::string name;
    std::vector<std::string> args;  // the target's path follows
    const char* target;             // "fifo", "link" (to "made"), as made in the scratch folder
    int status;
    std::string err;  // a part of standard error
};

void PrintTo(const SaveTargetCase& c, std::ostream* os) {
    *os << c.name;
}

class SaveTargetTest : public testing::TestWithParam<SaveTargetCase> {};

TEST_P(SaveTargetTest, NeitherWaitsNorReplaces) {
    const SaveTargetCase& c = GetParam();
    const std::string folder = ScratchDirectory() + "/" + c.name;
    fs::create_directory(folder);
    const std::string path = folder + "/" + c.target;
    if (std::string(c.target) == "fifo") {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    } else {
        fs::create_symlink("made", path);
    }
    std::vector<std::string> args = c.args;
    args.push_back(path);
    // A run that waits is ended after 20 s (status 124) rather than hanging the suite.
    const Outcome o = RunCliIn("timeout 20 ", args, "");
    EXPECT_EQ(o.status, c.status) << o.err;
    EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
    if (std::string(c.target) == "fifo") {
        EXPECT_TRUE(fs::is_fifo(path));
    } else {
        EXPECT_TRUE(fs::is_symlink(path));
        EXPECT_TRUE(fs::is_regular_file(folder + "/made"));
    }
}

const std::string kNoReader = ": No such device or address (a pipe with no reader?)";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Targets, SaveTargetTest,
    testing::Values(
        SaveTargetCase{"NetlistToPipeWithoutReader", {"netlist", "--r1", "22k", "--r2", "22k", "--r3", "22k", "--c1", "6.8n", "--c2", "15n", "--c3", "1n", "--output"}, "fifo", 1, kNoReader},
        SaveTargetCase{"DesignSavedToPipeWithoutReader", {"design", "--save"}, "fifo", 1, kNoReader},
        SaveTargetCase{"DesignSavedThroughDanglingLink", {"design", "--save"}, "link", 0, ""},
        SaveTargetCase{"NetlistThroughDanglingLink", {"netlist", "--r1", "22k", "--r2", "22k", "--r3", "22k", "--c1", "6.8n", "--c2", "15n", "--c3", "1n", "--output"}, "link", 0, ""}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// A path of 100 000 characters that cannot be written; run; the message shows its start and its
// end with "..." between, on one short line (it printed the whole path).
TEST(SaveTargetTest, LongPathIsShortenedInTheMessage) {
    const std::string path = "/nonexistent/" + std::string(100000, 'a') + "/design.mirelto";
    const Outcome o = RunCli({"design", "--save", path});
    EXPECT_EQ(o.status, 1);
    EXPECT_LT(o.err.size(), 300u) << o.err.size();
    EXPECT_NE(o.err.find("cannot write /nonexistent/aaa"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("aaa...aaa"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("aaa/design.mirelto: File name too long\n"), std::string::npos) << o.err;
}

}  // namespace
}  // namespace mirelto::test
