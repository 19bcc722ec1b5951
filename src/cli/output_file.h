// Writing a command's output to a file named on the command line, so that a failure never passes
// for success: a regular file is replaced whole or not at all, and the message says why.
#pragma once

#include <string>
#include <string_view>

namespace mirelto::cli {

// Writes `text` to `path` as SaveFileWhole does: a regular file (or a new one) replaced whole or
// not at all, a device or pipe ("/dev/stdout") written in place and never waited for, a symbolic
// link kept. Throws Refused naming the path and the system's reason.
void WriteOutputFile(const std::string& path, std::string_view text);

}  // namespace mirelto::cli
