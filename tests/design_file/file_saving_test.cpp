// Saving a file: special files written in place or refused, never replaced and never waited on;
// a link kept; nothing partial left by a failure, a kill or a signal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "file_saving.h"

namespace mirelto {
namespace {

namespace fs = std::filesystem;

class FileSavingTest : public testing::Test {
  protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() / ("mirelto-saving-" + std::to_string(::getpid()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }
    std::string At(const char* name) const { return (directory_ / name).string(); }
    static std::string Read(const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    // The names in the directory: a save leaves its target and nothing else.
    std::size_t Entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(directory_), fs::directory_iterator()));
    }
    fs::path directory_;
};

struct TargetRow {
    const char* name;
    const char* path;  // in the directory, or absolute
    SaveKind kind;
};

TEST_F(FileSavingTest, ClassifiesTargets) {
    std::ofstream(At("plain")) << "old";
    ASSERT_EQ(::mkfifo(At("fifo").c_str(), 0600), 0);
    fs::create_directory(At("folder"));
    fs::create_symlink("nowhere/made", At("dangling"));
    fs::create_symlink("plain", At("link"));
    // clang-format off
    const TargetRow rows[] = {
        {"new", "new", SaveKind::Replace},
        {"plain", "plain", SaveKind::Replace},
        {"fifo", "fifo", SaveKind::InPlace},
        {"device", "/dev/null", SaveKind::InPlace},
        {"folder", "folder", SaveKind::Refuse},
        {"dangling link", "dangling", SaveKind::Replace},
        {"link", "link", SaveKind::Replace},
    };
    // clang-format on
    for (const TargetRow& row : rows) {
        const std::string path = row.path[0] == '/' ? row.path : At(row.path);
        EXPECT_EQ(ClassifySaveTarget(path).kind, row.kind) << row.name;
    }
    EXPECT_EQ(ClassifySaveTarget(At("dangling")).path, At("nowhere/made"));
    EXPECT_EQ(ClassifySaveTarget(At("link")).path, fs::canonical(At("plain")).string());
}

// A pipe nobody reads: refused at once (it blocked for ever), the pipe left as it was.
TEST_F(FileSavingTest, PipeWithoutReaderIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(At("fifo").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SaveFileWhole(At("fifo"), "text"), ENXIO);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(fs::is_fifo(At("fifo")));
}

// A pipe with a reader: written in place, still a pipe.
TEST_F(FileSavingTest, PipeWithReaderIsWrittenInPlace) {
    ASSERT_EQ(::mkfifo(At("fifo").c_str(), 0600), 0);
    const int reader = ::open(At("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(SaveFileWhole(At("fifo"), "through the pipe"), 0);
    char got[64] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 16);
    EXPECT_EQ(std::string(got), "through the pipe");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(At("fifo")));
}

// A link to nothing stays a link; the file it names is made.
TEST_F(FileSavingTest, DanglingLinkMakesTheFileItNames) {
    fs::create_symlink("made", At("link"));
    EXPECT_EQ(SaveFileWhole(At("link"), "new"), 0);
    EXPECT_TRUE(fs::is_symlink(At("link")));
    EXPECT_EQ(Read(At("made")), "new");
}

TEST_F(FileSavingTest, DirectoryAndEmptyNameAreRefused) {
    EXPECT_EQ(SaveFileWhole(directory_.string(), "x"), EISDIR);
    EXPECT_EQ(SaveFileWhole("", "x"), ENOENT);
}

// A file with permissions of its own, replaced: the new file keeps them, nothing else is left.
TEST_F(FileSavingTest, ReplacesWholeKeepingPermissions) {
    std::ofstream(At("kept")) << std::string(10000, 'o');
    fs::permissions(At("kept"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(SaveFileWhole(At("kept"), "new"), 0);
    EXPECT_EQ(Read(At("kept")), "new");
    EXPECT_EQ(fs::status(At("kept")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Entries(), 1u);
}

// Runs `save` in a child process; its wait status.
template <class Save>
int InChild(Save save) {
    const pid_t child = ::fork();
    if (child == 0) {
        save();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// A save that fails (a file size limit the bytes exceed): the old file whole, no temporary left.
TEST_F(FileSavingTest, FailureLeavesTheOldFileAndNothingElse) {
    std::ofstream(At("kept")) << "old";
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(SaveFileWhole(At("kept"), std::string(100000, 'n')));
    });
    EXPECT_EQ(WEXITSTATUS(status), EFBIG);
    EXPECT_EQ(Read(At("kept")), "old");
    EXPECT_EQ(Entries(), 1u);
}

// SIGTERM while a temporary file exists: it is removed and the program ends by the signal.
TEST_F(FileSavingTest, SignalRemovesTheTemporary) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::ofstream(At("target.mirelto.AbCdEf")) << "partial";
        const int status = InChild([&] {
            RemoveTemporariesOnSignals();
            TemporaryName temporary(At("target.mirelto.AbCdEf"));
            ::raise(signal);
        });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_FALSE(fs::exists(At("target.mirelto.AbCdEf"))) << signal;
    }
}

// kill -9 at any moment of saves of a large file: the target is the old or the new file whole,
// and no partial file is left beside it (11 of 200 were).
TEST_F(FileSavingTest, KillLeavesNoPartialFile) {
    const std::string old(1 << 20, 'o'), fresh(8 << 20, 'n');
    std::ofstream(At("target.mirelto")) << old;
    for (int attempt = 0; attempt < 20; ++attempt) {
        const pid_t child = ::fork();
        if (child == 0) {
            SaveFileWhole(At("target.mirelto"), fresh);
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1 + attempt % 7));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = Read(At("target.mirelto"));
        EXPECT_TRUE(now == old || now == fresh) << attempt;
    }
    EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace mirelto
