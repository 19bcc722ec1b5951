#include "mirelto/tools/input_problem.h"

#include "mirelto/tools/optimise.h"
#include "mirelto/tools/tolerance.h"
#include "mirelto/values/value_text.h"

namespace mirelto {

std::string DescribeInEnglish(const Problem& problem) {
    const std::string part = ComponentName(problem.part);
    switch (problem.code) {
        case InputProblem::None:
            break;
        case InputProblem::RequestNotPositive:
            return "fa, fo and Q must be positive and finite";
        case InputProblem::PartNotPositive:
            return part + " must be positive and finite";
        case InputProblem::NegativeSeries:
            return part + ": a series size is 0 or more";
        case InputProblem::NoPreferredValues:
            return part + ": no preferred values around it";
        case InputProblem::RoundedOutOfRange:
            return part + ": its rounded value is out of range";
        case InputProblem::StepsOutOfRange:
            return "the neighbourhood is 1 to " + std::to_string(kMaxSteps) + " steps";
        case InputProblem::NothingKept:
            return "at least one candidate must be kept";
        case InputProblem::ToleranceOutOfRange:
            return part + ": a tolerance is 0 to below " +
                   std::to_string(static_cast<int>(kMostPercent)) + " %";
        case InputProblem::NoPoles:
            return "the circuit has no real pole and complex pole pair";
        case InputProblem::TrialsOutOfRange:
            return "the number of trials is 1 to " + std::to_string(kMaxTrials);
        case InputProblem::BinsOutOfRange:
            return "the number of histogram bins is 1 to " + std::to_string(kMaxBins);
        case InputProblem::CutoffRangeInvalid:
            return "the -3 dB search range must be 0 < low < high";
    }
    return {};
}

std::string_view ProblemCode(InputProblem code) {
    switch (code) {
        case InputProblem::None:
            break;
        case InputProblem::RequestNotPositive:
            return "request-not-positive";
        case InputProblem::PartNotPositive:
            return "part-not-positive";
        case InputProblem::NegativeSeries:
            return "negative-series";
        case InputProblem::NoPreferredValues:
            return "no-preferred-values";
        case InputProblem::RoundedOutOfRange:
            return "rounded-out-of-range";
        case InputProblem::StepsOutOfRange:
            return "steps-out-of-range";
        case InputProblem::NothingKept:
            return "nothing-kept";
        case InputProblem::ToleranceOutOfRange:
            return "tolerance-out-of-range";
        case InputProblem::NoPoles:
            return "no-poles";
        case InputProblem::TrialsOutOfRange:
            return "trials-out-of-range";
        case InputProblem::BinsOutOfRange:
            return "bins-out-of-range";
        case InputProblem::CutoffRangeInvalid:
            return "cutoff-range-invalid";
    }
    return {};
}

}  // namespace mirelto
