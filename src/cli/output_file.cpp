#include "output_file.h"

#include <cerrno>
#include <cstring>

#include "arguments.h"
#include "file_saving.h"

namespace mirelto::cli {

void WriteOutputFile(const std::string& path, std::string_view text) {
    const int error = SaveFileWhole(path, text);
    if (error != 0) {
        // A pipe nobody reads says only "No such device or address".
        const char* const why = error == ENXIO ? " (a pipe with no reader?)" : "";
        throw Refused("cannot-write",
                      Concat("cannot write ", ShownPath(path), ": ", std::strerror(error), why));
    }
}

}  // namespace mirelto::cli
