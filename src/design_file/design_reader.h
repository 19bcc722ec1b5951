// The keys of a design file's JSON read into a DesignFile, each checked for its type and range
// and named by its dotted path when it is wrong. What comes before (size, UTF-8, JSON syntax) is
// ParseDesignFile's.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "design_file.h"

namespace mirelto {

using DesignJson = nlohmann::ordered_json;

// The keys of the part and the pole groups, in the order of DesignFile's arrays.
inline constexpr const char* kPartKeys[kDesignParts] = {"R1", "R2", "R3", "C1", "C2", "C3"};
inline constexpr const char* kPoleKeys[3] = {"fa", "fo", "Q"};
// The values of the key "command" by ResultCommand; Unknown is never written.
inline constexpr std::string_view kCommandNames[] = {"", "constants", "transfer"};

DesignFileError DesignProblem(DesignFileProblem problem, std::string key = {});

// The design the JSON value holds, or the first key that stops it being one.
DesignFileRead ReadDesign(const DesignJson& json);

}  // namespace mirelto
