// The design warnings of a circuit in English, as design, analyse and optimise print them: one
// line each, and the "warnings" array of the --json documents.
#pragma once

#include <ostream>
#include <string_view>

#include <mirelto/tools/design_warnings.h>

#include "json.h"

namespace mirelto::cli {

// [{"code": "resistor-spread", "message": "..."}, ...], each message one line saying what is out
// of range and why it matters; an empty array when none.
Json WarningsJson(const Circuit& circuit);

// The document with the circuit's "warnings" added as its last key.
Json WithWarnings(Json document, const Circuit& circuit);

// "<prefix>: <message><lineEnd>" for each warning; nothing when none.
void WriteWarnings(std::ostream& out, const Circuit& circuit, std::string_view prefix,
                   std::string_view lineEnd);

}  // namespace mirelto::cli
