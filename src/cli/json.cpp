#include "json.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace mirelto::cli {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the well-formed UTF-8 character at the start of text, or 0 (overlong forms,
// surrogates and values past U+10FFFF are not well-formed).
std::size_t CharacterLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        const char c = text.front();
        const std::size_t length = CharacterLength(text);
        if (length == 0) {
            out += kReplacement;
            text.remove_prefix(1);
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    std::array<char, 8> escape{};
                    std::snprintf(escape.data(), escape.size(), "\\u%04x",
                                  static_cast<unsigned>(static_cast<unsigned char>(c)));
                    out += escape.data();
                } else {
                    out.append(text.substr(0, length));
                }
        }
        text.remove_prefix(length);
    }
    return out + "\"";
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc{} ? std::string(buffer.data(), end) : std::string("null");
}

void JsonWriter::NewLine() {
    out_ += '\n';
    out_.append(2 * levels_.size(), ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) {
        return;
    }
    Level& level = levels_.back();
    if (level.count++ > 0) {
        out_ += level.inlined ? ", " : ",";
    }
    if (!level.inlined) {
        NewLine();
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    out_ += '{';
    levels_.push_back({true, false, 0});
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (level.count > 0) {
        NewLine();
    }
    out_ += '}';
    return *this;
}

JsonWriter& JsonWriter::BeginArray(bool inlined) {
    BeforeValue();
    out_ += '[';
    const bool insideInline = !levels_.empty() && levels_.back().inlined;
    levels_.push_back({false, inlined || insideInline, 0});
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (level.count > 0 && !level.inlined) {
        NewLine();
    }
    out_ += ']';
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    out_ += JsonString(key);
    out_ += ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    out_ += JsonString(text);
    return *this;
}

JsonWriter& JsonWriter::Number(double value) {
    BeforeValue();
    out_ += JsonNumber(value);
    return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Unsigned(std::uint64_t value) {
    BeforeValue();
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
    return *this;
}

std::string JsonWriter::Text() const {
    return out_ + "\n";
}

}  // namespace mirelto::cli
