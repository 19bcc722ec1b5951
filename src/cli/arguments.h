// Reading a command's options: "--name value", "--name=value" and flags, checked against the
// command's list, with the errors a user sees (one line naming the option, exit status 2).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <mirelto/values/value_text.h>

#include "design_file.h"

namespace mirelto::cli {

enum ExitStatus : int {
    kExitDone = 0,
    kExitRefused = 1,  // the calculation was refused or failed
    kExitUsage = 2,    // bad command line
};

// A bad command line; the message names the option.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A calculation that refused the input or failed; the message is the calculation's own text,
// the code a stable kebab-case name of the case for --json ("unrealisable-lpf").
class Refused : public std::runtime_error {
  public:
    Refused(std::string code, const std::string& message)
        : std::runtime_error(message), code_(std::move(code)) {}
    const std::string& Code() const { return code_; }

  private:
    std::string code_;
};

struct Option {
    std::string_view name;       // "--fa"
    std::string_view valueName;  // "F" in the help; empty for a flag
    std::string_view help;       // one line
};

class Arguments {
  public:
    // Throws UsageError for an unknown option, a flag given a value, an option without one, or a
    // stray word. A repeated option keeps its last value.
    Arguments(std::span<const Option> options, std::span<const std::string> words);

    // Whether the option is on the command line.
    bool Has(std::string_view name) const { return values_.count(std::string(name)) != 0; }
    // The text given to an option on the command line; else, for --fa, --fo, --q and --r1 to
    // --c3, the text of that box in the design (blank as saved); else nothing.
    std::optional<std::string> Text(std::string_view name) const;

    // The design of --design: what the command line does not give is read from it.
    void UseDesign(DesignFile design) { design_ = std::move(design); }
    const std::optional<DesignFile>& Design() const { return design_; }

  private:
    std::map<std::string, std::string> values_;
    std::optional<DesignFile> design_;
};

// The pieces one after another. (Building messages with "text" + string trips a false
// -Wrestrict in GCC 12.)
template <class... Pieces>
std::string Concat(const Pieces&... pieces) {
    std::string text;
    (text.append(std::string_view(pieces)), ...);
    return text;
}

// The text as one line of valid UTF-8: every control character (C0, DEL, C1) and every byte
// that is not part of a valid sequence becomes "?". Cut after `most` characters, marked "...".
std::string Printable(std::string_view text, std::size_t most = std::string_view::npos);

// A file's path for a one-line message: Printable, and a path of more than 160 characters shown
// as its first 60, "..." and its last 100.
std::string ShownPath(std::string_view path);

// A typed text in double quotes for a one-line message: Printable, cut after 40 characters.
std::string Quoted(std::string_view text);

// The help of one command: usage line, what it does, its options.
std::string HelpText(std::string_view command, std::string_view summary,
                     std::span<const Option> options, std::string_view notes = {});

// How the values of this thread's run are read, and what they were read as. Option values are
// read strictly (ParseValueStrict) unless --lenient asks for the window's reading; a text that
// only the window's reading takes ("1,5k", "10 trials") is a usage error naming the option. A
// calculation fault names the value read that it most likely came from.
struct ValueRead {
    std::string option;  // as messages name it
    std::string text;
    double value = 0;
};
class ValueReadings {
  public:
    explicit ValueReadings(ValueReading reading);  // current for this thread while it lives
    ~ValueReadings();
    ValueReadings(const ValueReadings&) = delete;
    ValueReadings& operator=(const ValueReadings&) = delete;

    // The value read farthest from 1 in orders of magnitude: the likeliest cause of an overflow
    // or a division by zero; nullptr when none was read.
    const ValueRead* MostExtreme() const;

  private:
    friend double ParseNumber(std::string_view option, std::string_view text);
    friend double ParsePercent(std::string_view option, std::string_view text);
    friend class WindowReading;
    ValueReading reading_;
    std::vector<ValueRead> read_;
    ValueReadings* outer_;
};

// While it lives, values are read as the window reads its boxes: for the texts of a design file,
// which are the window's boxes.
class WindowReading {
  public:
    WindowReading();
    ~WindowReading();
    WindowReading(const WindowReading&) = delete;
    WindowReading& operator=(const WindowReading&) = delete;

  private:
    ValueReading saved_;
};

// Values of options; each throws UsageError naming the option.
// An SI text ("22k", "3.3n", "4k7") holding a finite number.
double ParseNumber(std::string_view option, std::string_view text);
// ... above zero.
double ParsePositive(std::string_view option, std::string_view text);
// A whole number from lowest to highest, written plainly or as an SI text ("10k").
std::int64_t ParseCount(std::string_view option, std::string_view text, std::int64_t lowest,
                        std::int64_t highest);
// A standard series size: "6", "E6", "e24" (E3 to E192); 0, "inf" or "∞" for none.
std::int32_t ParseSeriesOption(std::string_view option, std::string_view text);
// Refuses a series size other than E3 to E192 or 0 (none), quoting the text it was read from.
void CheckStandardSeries(std::string_view option, std::int32_t size, std::string_view text);
// A decimal integer of 64 bits (a random seed).
std::uint64_t ParseSeed(std::string_view option, std::string_view text);
// A percentage, "1", "1%", "500m%" alike; returned as a fraction (0.01).
double ParsePercent(std::string_view option, std::string_view text);

}  // namespace mirelto::cli
