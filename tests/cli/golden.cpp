#include "golden.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string_view>

#include "process.h"

#ifndef MIRELTO_GOLDEN_DIR
#error "MIRELTO_GOLDEN_DIR names the folder of the golden files"
#endif

namespace mirelto::test {

namespace {

bool Updating() {
    const char* update = std::getenv("MIRELTO_UPDATE_GOLDEN");
    return update != nullptr && std::string_view(update) == "1";
}

// The line of `text` holding byte `at`, without its line end.
std::string_view LineAt(std::string_view text, std::size_t at) {
    const std::size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t start = begin == std::string_view::npos || at == 0 ? 0 : begin + 1;
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    return text.substr(start, end - start);
}

// The byte at `at` in hex, or "the end": line ends differ where the lines look alike.
std::string ByteAt(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return "the end";
    }
    constexpr char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(text[at]);
    return std::string("0x") + kHex[byte >> 4] + kHex[byte & 15];
}

}  // namespace

testing::AssertionResult MatchesGolden(const std::string& text, const std::string& name) {
    const std::string path = std::string(MIRELTO_GOLDEN_DIR) + "/" + name;
    if (Updating()) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
    const std::string golden = ReadFile(path);
    if (text == golden) {
        return testing::AssertionSuccess();
    }
    const auto [mismatch, unused] =
        std::mismatch(text.begin(), text.end(), golden.begin(), golden.end());
    const auto at = static_cast<std::size_t>(mismatch - text.begin());
    return testing::AssertionFailure()
           << name << " differs at byte " << at << " (" << ByteAt(text, at) << " against "
           << ByteAt(golden, at) << "; " << text.size() << " bytes, the file " << golden.size()
           << ")\n  output: " << LineAt(text, at) << "\n  golden: " << LineAt(golden, at)
           << "\n(MIRELTO_UPDATE_GOLDEN=1 rewrites the file from the output)";
}

}  // namespace mirelto::test
