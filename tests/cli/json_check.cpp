#include "json_check.h"

#include <cstdlib>
#include <stdexcept>

namespace mirelto::test {

namespace {

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    JsonValue Document() {
        JsonValue value = Value();
        Blank();
        if (at_ != text_.size()) {
            Fail("text after the value");
        }
        return value;
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
    }

    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

    void Blank() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' ||
                                      text_[at_] == '\r' || text_[at_] == '\t')) {
            ++at_;
        }
    }

    void Expect(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) {
            Fail("expected " + std::string(word));
        }
        at_ += word.size();
    }

    JsonValue Value() {
        Blank();
        switch (Peek()) {
            case '{':
                return Object();
            case '[':
                return Array();
            case '"':
                return {String()};
            case 't':
                Expect("true");
                return {true};
            case 'f':
                Expect("false");
                return {false};
            case 'n':
                Expect("null");
                return {nullptr};
            default:
                return {Number()};
        }
    }

    JsonValue Object() {
        auto object = std::make_shared<JsonObject>();
        ++at_;
        Blank();
        if (Peek() == '}') {
            ++at_;
            return {object};
        }
        while (true) {
            Blank();
            if (Peek() != '"') {
                Fail("expected a key");
            }
            std::string key = String();
            Blank();
            Expect(":");
            if (!object->emplace(key, Value()).second) {
                Fail("repeated key " + key);
            }
            Blank();
            if (Peek() == ',') {
                ++at_;
                continue;
            }
            Expect("}");
            return {object};
        }
    }

    JsonValue Array() {
        auto array = std::make_shared<JsonArray>();
        ++at_;
        Blank();
        if (Peek() == ']') {
            ++at_;
            return {array};
        }
        while (true) {
            array->push_back(Value());
            Blank();
            if (Peek() == ',') {
                ++at_;
                continue;
            }
            Expect("]");
            return {array};
        }
    }

    bool Digits() {
        const std::size_t start = at_;
        while (Peek() >= '0' && Peek() <= '9') {
            ++at_;
        }
        return at_ > start;
    }

    double Number() {
        const std::size_t start = at_;
        if (Peek() == '-') {
            ++at_;
        }
        if (Peek() == '0') {
            ++at_;
        } else if (!Digits()) {
            Fail("expected a value");
        }
        if (Peek() == '.') {
            ++at_;
            if (!Digits()) {
                Fail("expected digits after the point");
            }
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++at_;
            if (Peek() == '+' || Peek() == '-') {
                ++at_;
            }
            if (!Digits()) {
                Fail("expected exponent digits");
            }
        }
        const std::string number(text_.substr(start, at_ - start));
        return std::strtod(number.c_str(), nullptr);
    }

    unsigned Hex4() {
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Peek();
            ++at_;
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<unsigned>(c - 'A' + 10);
            } else {
                Fail("bad \\u escape");
            }
        }
        return value;
    }

    static void AppendUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    // One UTF-8 character copied as it is; malformed bytes fail.
    void CopyCharacter(std::string& out) {
        const auto lead = static_cast<unsigned char>(Peek());
        std::size_t length = lead < 0x80                    ? 1
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
        if (length == 0 || at_ + length > text_.size()) {
            Fail("malformed UTF-8");
        }
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text_[at_ + i]);
            if ((next & 0xC0) != 0x80) {
                Fail("malformed UTF-8");
            }
        }
        out.append(text_.substr(at_, length));
        at_ += length;
    }

    std::string String() {
        ++at_;
        std::string out;
        while (true) {
            if (at_ >= text_.size()) {
                Fail("unterminated string");
            }
            const char c = Peek();
            if (c == '"') {
                ++at_;
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail("control character in a string");
            }
            if (c != '\\') {
                CopyCharacter(out);
                continue;
            }
            ++at_;
            const char e = Peek();
            ++at_;
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    unsigned cp = Hex4();
                    if (cp >= 0xD800 && cp <= 0xDBFF) {
                        Expect("\\u");
                        const unsigned low = Hex4();
                        if (low < 0xDC00 || low > 0xDFFF) {
                            Fail("unpaired surrogate");
                        }
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                        Fail("unpaired surrogate");
                    }
                    AppendUtf8(out, cp);
                    break;
                }
                default:
                    Fail("bad escape");
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

JsonValue ParseJson(std::string_view text) {
    return Reader(text).Document();
}

}  // namespace mirelto::test
