// The command-line front mirelto-cli: picks the command, reads its options, runs it and turns
// what goes wrong into a one-line message and an exit status (see ExitStatus).
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace mirelto::cli {

// words: the arguments after the program name. Returns the exit status.
int Run(std::span<const std::string> words, std::ostream& out, std::ostream& err);

}  // namespace mirelto::cli
