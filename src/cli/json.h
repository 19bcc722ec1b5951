// A small JSON writer for the --json outputs: objects, arrays, strings (escaped, invalid UTF-8
// replaced by U+FFFD), numbers in the shortest text that reads back as the same double, NaN and
// infinities as null. Indented two spaces; arrays opened as inline stay on one line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirelto::cli {

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray(bool inlined = false);
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(double value);
    JsonWriter& Integer(std::int64_t value);
    JsonWriter& Unsigned(std::uint64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    // The document, ended by a line feed once the outermost value is closed.
    std::string Text() const;

  private:
    struct Level {
        bool isObject;
        bool inlined;
        int count;
    };
    void BeforeValue();
    void NewLine();

    std::string out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

std::string JsonString(std::string_view text);
std::string JsonNumber(double value);

}  // namespace mirelto::cli
