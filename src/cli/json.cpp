#include "json.h"

#include <cmath>
#include <cstdint>

namespace mirelto::cli {

namespace {

// 2^53: below it every integer is a double exactly, so an integral double is that integer.
constexpr double kExactIntegerLimit = 9007199254740992.0;

}  // namespace

Json JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    if (std::trunc(value) == value && std::abs(value) < kExactIntegerLimit &&
        !(value == 0 && std::signbit(value))) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

std::string JsonText(const Json& document) {
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace mirelto::cli
