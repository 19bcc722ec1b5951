// The refusals of the commands with their codes: the stable kebab-case names --json gives them
// ({"error": {"code": ..., "message": ...}}), one per message of the calculation, input problem
// of a tool, design-file problem and floating-point fault; "usage" for every bad command line.
#pragma once

#include <exception>
#include <string>

#include <mirelto/design/constant_calculation.h>
#include <mirelto/tools/input_problem.h>

#include "arguments.h"
#include "design_file.h"

namespace mirelto::cli {

inline constexpr std::string_view kUsageCode = "usage";

// Where a constant calculation stopped (StopText), as a refusal.
Refused StopRefusal(ConstantStop stop, FaultKind fault, bool isLpf);
// A tool's input problem (DescribeInEnglish), as a refusal.
Refused ProblemRefusal(const Problem& problem);

// The code of an exception that ended a command: a Refused's own, a floating-point fault's, else
// "failed".
std::string CodeOf(const std::exception& e);

// {"error": {"code": ..., "message": ...}} as printed.
std::string ErrorJsonText(std::string_view code, std::string_view message);

}  // namespace mirelto::cli
