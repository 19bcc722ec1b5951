// The value text, whatever the bytes: neither reading throws or yields an infinity, and the
// strict one gives the window's value or none.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <mirelto/values/eseries.h>
#include <mirelto/values/value_format.h>
#include <mirelto/values/value_text.h>

#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = mirelto::ParseValue(text);
    Check(std::isnan(value) || std::isfinite(value));

    // The strict reading gives the window's value or none, never another.
    const double strict = mirelto::ParseValueStrict(text);
    Check(std::isnan(strict) || (strict == value && std::signbit(strict) == std::signbit(value)));

    const mirelto::PercentReading percent = mirelto::ParsePercent(text);
    const mirelto::PercentReading strictPercent =
        mirelto::ParsePercent(text, mirelto::ValueReading::Strict);
    Check(strictPercent.problem != mirelto::PercentProblem::None ||
          (percent.problem == mirelto::PercentProblem::None &&
           strictPercent.fraction == percent.fraction));
    Check(percent.problem != mirelto::PercentProblem::None ||
          (percent.fraction >= 0 && percent.fraction < 1));
    mirelto::ParseSeries(text);  // any size, negative ones too: only that it returns

    if (std::isfinite(value)) {
        // Whatever was read can be shown.
        Check(!mirelto::FormatShown(value).empty());
    }
    return 0;
}
