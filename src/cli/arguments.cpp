#include "arguments.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include <mirelto/values/eseries.h>
#include <mirelto/values/value_text.h>

namespace mirelto::cli {

namespace {

constexpr std::string_view kInfinitySign = "\xE2\x88\x9E";  // "∞"

// A message quotes this many characters of a typed text at most: enough to recognise it, and a
// pasted page stays one readable line.
constexpr std::size_t kMostQuoted = 40;

// The length of the valid UTF-8 sequence at the start of `text`, 0 when there is none.
std::size_t SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;    // no overlong forms
        high = lead == 0xED ? 0x9F : high;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;  // nothing beyond U+10FFFF
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

// A control character: C0, DEL, or C1 (U+0080 to U+009F, "\xC2\x80" to "\xC2\x9F").
bool IsControl(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    return lead < 0x20 || lead == 0x7F ||
           (lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0);
}

std::string Named(std::string_view option, std::string_view problem) {
    return Concat(option, ": ", problem);
}

const Option* Find(std::span<const Option> options, std::string_view name) {
    const auto at = std::find_if(options.begin(), options.end(),
                                 [name](const Option& s) { return s.name == name; });
    return at == options.end() ? nullptr : &*at;
}

}  // namespace

std::string Printable(std::string_view text, std::size_t most) {
    std::string out;
    std::size_t characters = 0;
    while (!text.empty()) {
        if (characters == most) {
            out += "...";
            break;
        }
        const std::size_t length = SequenceLength(text);
        const std::string_view sequence = text.substr(0, std::max<std::size_t>(length, 1));
        if (length == 0 || IsControl(sequence)) {
            out += '?';
        } else {
            out += sequence;
        }
        text.remove_prefix(sequence.size());
        ++characters;
    }
    return out;
}

std::string Quoted(std::string_view text) {
    return Concat("\"", Printable(text, kMostQuoted), "\"");
}

Arguments::Arguments(std::span<const Option> options, std::span<const std::string> words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (!word.starts_with("--") && word != "-h") {
            throw UsageError(Concat("unexpected argument ", Quoted(word)));
        }
        const std::size_t equals = word.find('=');
        const std::string_view name =
            word == "-h" ? std::string_view("--help") : word.substr(0, equals);
        const Option* option = Find(options, name);
        if (option == nullptr) {
            throw UsageError(Concat("unknown option ", Quoted(name)));
        }
        std::string value;
        if (option->valueName.empty()) {
            if (equals != std::string_view::npos) {
                throw UsageError(Named(name, "takes no value"));
            }
        } else if (equals != std::string_view::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size() && !words[i + 1].starts_with("--")) {
            value = words[++i];
        } else {
            throw UsageError(Named(name, Concat("needs a value (", option->valueName, ")")));
        }
        values_[std::string(name)] = std::move(value);
    }
}

std::optional<std::string> Arguments::Text(std::string_view name) const {
    const auto at = values_.find(std::string(name));
    if (at != values_.end()) {
        return at->second;
    }
    if (!design_) {
        return std::nullopt;
    }
    constexpr std::string_view kRequest[] = {"--fa", "--fo", "--q"};
    constexpr std::string_view kParts[] = {"--r1", "--r2", "--r3", "--c1", "--c2", "--c3"};
    for (std::size_t i = 0; i < std::size(kRequest); ++i) {
        if (name == kRequest[i]) {
            return design_->request[i];
        }
    }
    for (std::size_t i = 0; i < std::size(kParts); ++i) {
        if (name == kParts[i]) {
            return design_->parts[i];
        }
    }
    return std::nullopt;
}

std::string HelpText(std::string_view command, std::string_view summary,
                     std::span<const Option> options, std::string_view notes) {
    std::string out = Concat("Usage: mirelto-cli ", command, " [options]\n\n");
    out += std::string(summary) + "\n\nOptions:\n";
    constexpr std::size_t kHelpColumn = 24;
    for (const Option& option : options) {
        std::string left = Concat("  ", option.name);
        if (!option.valueName.empty()) {
            left += Concat(" ", option.valueName);
        }
        left.resize(std::max(left.size() + 2, kHelpColumn), ' ');
        out += left + std::string(option.help) + "\n";
    }
    if (!notes.empty()) {
        out += Concat("\n", notes);
        if (!notes.ends_with('\n')) {
            out += "\n";
        }
    }
    return out;
}

double ParseNumber(std::string_view option, std::string_view text) {
    // A value box cannot hold a line break, and the report prints the text as typed.
    const bool control = std::any_of(text.begin(), text.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    const double value = control ? std::nan("") : ParseValue(text);
    if (std::isnan(value)) {
        throw UsageError(Named(option, Concat("not a value: ", Quoted(text))));
    }
    if (!std::isfinite(value)) {
        throw UsageError(Named(option, Concat("out of range: ", Quoted(text))));
    }
    return value;
}

double ParsePositive(std::string_view option, std::string_view text) {
    const double value = ParseNumber(option, text);
    if (!(value > 0)) {
        throw UsageError(Named(option, Concat("must be above zero: ", Quoted(text))));
    }
    return value;
}

std::int64_t ParseCount(std::string_view option, std::string_view text, std::int64_t lowest,
                        std::int64_t highest) {
    const double value = ParseNumber(option, text);
    const std::string range = Concat(std::to_string(lowest), " to ", std::to_string(highest));
    if (value != std::floor(value) || value < static_cast<double>(lowest) ||
        value > static_cast<double>(highest)) {
        throw UsageError(
            Named(option, Concat("must be a whole number from ", range, ": ", Quoted(text))));
    }
    return static_cast<std::int64_t>(value);
}

std::int32_t ParseSeriesOption(std::string_view option, std::string_view text) {
    if (text == "inf" || text == kInfinitySign) {
        return 0;
    }
    std::string_view digits = text;
    if (digits.starts_with('E') || digits.starts_with('e')) {
        digits.remove_prefix(1);
    }
    std::int32_t size = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
    constexpr std::int32_t kLargestSeries = 1'000'000;
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
        size < 0 || size > kLargestSeries) {
        throw UsageError(
            Named(option, Concat("not a series (6, E24, 0 or inf for none): ", Quoted(text))));
    }
    CheckStandardSeries(option, size, text);
    return size;
}

void CheckStandardSeries(std::string_view option, std::int32_t size, std::string_view text) {
    // The window's Part takes any size; the command line only the series parts are sold in, so
    // that a typo (20 for 24) is not taken for a series of its own.
    if (size != 0 && std::ranges::find(kStandardSeries, size) == kStandardSeries.end()) {
        throw UsageError(Named(option, Concat("not a standard series: ", Quoted(text),
                                              " (E3, E6, E12, E24, E48, E96, E192; 0 or inf "
                                              "for none)")));
    }
}

std::uint64_t ParseSeed(std::string_view option, std::string_view text) {
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        throw UsageError(Named(
            option, Concat("not a whole number from 0 to 18446744073709551615: ", Quoted(text))));
    }
    return seed;
}

double ParsePercent(std::string_view option, std::string_view text) {
    const PercentReading percent = mirelto::ParsePercent(text);
    switch (percent.problem) {
        case PercentProblem::NotAPercentage:
            throw UsageError(Named(option, Concat("not a percentage: ", Quoted(text))));
        case PercentProblem::OutOfRange:
            throw UsageError(Named(option, Concat("must be 0 to below 100 %: ", Quoted(text))));
        case PercentProblem::None:
            break;
    }
    return percent.fraction;
}

}  // namespace mirelto::cli
