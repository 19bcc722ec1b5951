#include "process.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifndef MIRELTO_CLI_PATH
#error "MIRELTO_CLI_PATH names the mirelto-cli under test"
#endif

namespace mirelto::test {

namespace {

std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

}  // namespace

namespace {

// Made on first use, removed with everything in it when the test program ends.
class Scratch {
  public:
    Scratch() {
        const char* base = std::getenv("TMPDIR");
        path_ = base != nullptr && *base != 0 ? base : "/tmp";
        path_ += "/mirelto-cli-test-XXXXXX";
        if (mkdtemp(path_.data()) == nullptr) {
            throw std::runtime_error("no temporary directory");
        }
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

std::string ScratchDirectory() {
    static const Scratch scratch;
    return scratch.Path();
}

const std::vector<std::string> kDefaultLowPassCircuit{"--r1", "22k",  "--r2", "22k", "--r3", "22k",
                                                      "--c1", "6.8n", "--c2", "15n", "--c3", "1n"};
const std::vector<std::string> kDefaultHighPassParts{
    "--r1", "24k", "--r2", "10k", "--r3", "160k", "--c1", "3.3n", "--c2", "3.3n", "--c3", "3.3n"};

std::vector<std::string> With(std::vector<std::string> words,
                              const std::vector<std::string>& more) {
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

namespace {

Outcome RunShell(const std::string& setup, const std::string& program,
                 const std::vector<std::string>& args, const std::string& output) {
    const std::string out = ScratchDirectory() + "/stdout";
    const std::string err = ScratchDirectory() + "/stderr";
    std::ofstream(out, std::ios::trunc).close();
    // Appended piece by piece: "literal" + string trips a false -Wrestrict in GCC 12.
    std::string command = setup;
    command += ShellQuoted(program);
    for (const std::string& arg : args) {
        command += ' ';
        command += ShellQuoted(arg);
    }
    if (output.empty()) {
        command += " >";
        command += ShellQuoted(out);
    } else {
        command += ' ';
        command += output;
    }
    command += " 2>";
    command += ShellQuoted(err);
    command += " </dev/null";
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(out);
    outcome.err = ReadFile(err);
    return outcome;
}

}  // namespace

Outcome RunProgram(const std::string& program, const std::vector<std::string>& args) {
    return RunShell("", program, args, "");
}

Outcome RunCli(const std::vector<std::string>& args) {
    return RunProgram(MIRELTO_CLI_PATH, args);
}

Outcome RunCliIn(const std::string& setup, const std::vector<std::string>& args,
                 const std::string& output) {
    return RunShell(setup, MIRELTO_CLI_PATH, args, output);
}

}  // namespace mirelto::test
