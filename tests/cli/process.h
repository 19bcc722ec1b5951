// Running a program as a user's shell would, capturing its exit status and both output streams.
#pragma once

#include <string>
#include <vector>

namespace mirelto::test {

struct Outcome {
    int status = -1;  // exit status; -1 when it did not exit normally
    std::string out, err;
};

Outcome RunProgram(const std::string& program, const std::vector<std::string>& args);

// The mirelto-cli under test.
Outcome RunCli(const std::vector<std::string>& args);

// mirelto-cli under a shell: `setup` runs first ("ulimit -f 1;"), standard output goes where
// `output` redirects it (">/dev/full", ">&-"; empty: captured into Outcome::out).
Outcome RunCliIn(const std::string& setup, const std::vector<std::string>& args,
                 const std::string& output);

// A fresh directory under the system's temporary directory, kept for the process's life.
std::string ScratchDirectory();

std::string ReadFile(const std::string& path);

// The default design's circuits as mirelto-cli options (the high-pass one without --hpf).
extern const std::vector<std::string> kDefaultLowPassCircuit, kDefaultHighPassParts;

// A command line: `words`, then `more`.
std::vector<std::string> With(std::vector<std::string> words, const std::vector<std::string>& more);

}  // namespace mirelto::test
