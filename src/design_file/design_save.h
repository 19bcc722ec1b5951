// Saving a design so that it always reads back: the bytes to write, or what would make the file
// one that the reader then refuses (a note that takes it over the reading limit, a text no
// design has). The old file is then kept: the caller does not write.
#pragma once

#include <string>

#include "design_file.h"

namespace mirelto {

enum class DesignSaveProblem {
    None,
    TooLarge,     // the file would be over kMostDesignFileBytes (a long note)
    NotReadBack,  // the reader would refuse the bytes: `readBack` says why
};

struct DesignSave {
    std::string bytes;  // what to write; empty unless there is no problem
    DesignSaveProblem problem = DesignSaveProblem::None;
    std::size_t size = 0;  // the bytes the file would have
    DesignFileError readBack;
};

// SerialiseDesignFile's bytes, when they read back as the same design.
DesignSave DesignFileToSave(const DesignFile& design);

// The problem in one English line, for mirelto-cli: "the design would be 1.1 MiB, over ...".
std::string DescribeInEnglish(const DesignSave& save);

}  // namespace mirelto
