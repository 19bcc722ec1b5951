// mirelto-cli's command lines, whatever the words (NUL-separated in the input): every run ends
// in an exit status of 0, 1 or 2 with no exception, and a refusal says why on one line.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli.h"

#include "fuzz_check.h"

namespace {

// Options that read or write files stay out: the fuzzer must not touch the disk.
bool TouchesFiles(std::string_view word) {
    const std::string_view name = word.substr(0, word.find('='));
    return name == "--design" || name == "--save" || name == "--output";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words;
    for (std::size_t from = 0; from <= input.size();) {
        const std::size_t to = std::min(input.find('\0', from), input.size());
        const std::string_view word = input.substr(from, to - from);
        if (TouchesFiles(word)) {
            return -1;  // not worth keeping in the corpus
        }
        words.emplace_back(word);
        from = to + 1;
    }
    // Runs stay short: the last value of a repeated option wins.
    if (!words.empty() && words.front() == "tolerance") {
        words.emplace_back("--trials=100");
    }
    if (!words.empty() && (words.front() == "optimise" || words.front() == "optimize")) {
        words.emplace_back("--steps=1");
    }
    std::ostringstream out, err;
    const int status = mirelto::cli::Run(words, out, err);
    Check(status == 0 || status == 1 || status == 2);
    const std::string message = err.str();
    if (status != 0) {
        // One line, ending in a line break.
        Check(!message.empty() && message.find('\n') == message.size() - 1);
    }
    return 0;
}
