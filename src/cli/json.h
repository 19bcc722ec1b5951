// The --json documents: nlohmann's ordered_json, so keys stay in the order the commands add them,
// and the one rule for writing a number.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace mirelto::cli {

using Json = nlohmann::ordered_json;

// A double as a JSON value: an integer below 2^53 as an integer, written without a fraction
// (22000, not 22000.0); NaN and infinities as null; otherwise the double, which reads back as the
// same double (nlohmann's Grisu2: the shortest such text for nearly every value, a digit longer
// for a rare few). -0 stays a double, so that it reads back as -0.
Json JsonNumber(double value);

// The document as printed: indented by two spaces, texts in UTF-8 with invalid bytes replaced by
// U+FFFD, ended by a line feed.
std::string JsonText(const Json& document);

}  // namespace mirelto::cli
