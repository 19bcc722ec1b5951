// Writing a command's output to a file named on the command line, so that a failure never passes
// for success: a regular file is replaced whole or not at all, and the message says why.
#pragma once

#include <string>
#include <string_view>

namespace mirelto::cli {

// Writes `text` to `path`. A regular file (or a new one) is written under a temporary name
// beside it and renamed over it, so a failure leaves any file there untouched and no partial
// one; a device or pipe ("/dev/stdout") is written in place. Throws Refused naming the path and
// the system's reason.
void WriteOutputFile(const std::string& path, std::string_view text);

}  // namespace mirelto::cli
