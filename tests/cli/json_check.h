// A strict JSON reader for checking the --json outputs: the grammar of RFC 8259 (no trailing
// commas, no leading zeros, escapes and UTF-8 checked, nothing after the value), read into a
// tree the tests can walk. Throws std::runtime_error naming the offset of the first fault.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mirelto::test {

struct JsonValue;
using JsonArray = std::vector<JsonValue>;
using JsonObject = std::map<std::string, JsonValue>;

struct JsonValue {
    std::variant<std::nullptr_t, bool, double, std::string, std::shared_ptr<JsonArray>,
                 std::shared_ptr<JsonObject>>
        value;

    bool IsNull() const { return std::holds_alternative<std::nullptr_t>(value); }
    double Number() const { return std::get<double>(value); }
    bool Bool() const { return std::get<bool>(value); }
    const std::string& String() const { return std::get<std::string>(value); }
    const JsonArray& Array() const { return *std::get<std::shared_ptr<JsonArray>>(value); }
    const JsonObject& Object() const { return *std::get<std::shared_ptr<JsonObject>>(value); }
    // The member `key` of an object; throws std::out_of_range when missing.
    const JsonValue& operator[](const std::string& key) const { return Object().at(key); }
    const JsonValue& operator[](std::size_t i) const { return Array().at(i); }
};

JsonValue ParseJson(std::string_view text);

}  // namespace mirelto::test
