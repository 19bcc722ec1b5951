// The design file, whatever the bytes: reading never throws; a design read writes back into
// bytes that read as the same design and write as the same bytes, and is saved as those bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "design_file.h"
#include "design_save.h"

#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const mirelto::DesignFileRead read = mirelto::ParseDesignFile(bytes);
    if (const auto* error = std::get_if<mirelto::DesignFileError>(&read)) {
        Check(!mirelto::DescribeInEnglish(*error).empty());
        return 0;
    }
    const auto& design = std::get<mirelto::DesignFile>(read);
    const std::string written = mirelto::SerialiseDesignFile(design);
    const mirelto::DesignFileRead again = mirelto::ParseDesignFile(written);
    Check(std::holds_alternative<mirelto::DesignFile>(again));
    Check(std::get<mirelto::DesignFile>(again) == design);
    Check(mirelto::SerialiseDesignFile(std::get<mirelto::DesignFile>(again)) == written);
    // A design read is saved again unless its file would grow past the limit (indentation).
    const mirelto::DesignSave save = mirelto::DesignFileToSave(design);
    Check(save.problem == mirelto::DesignSaveProblem::None
              ? save.bytes == written
              : save.problem == mirelto::DesignSaveProblem::TooLarge);
    return 0;
}
