// Long outputs of mirelto-cli kept as files under tests/cli/golden/ and compared byte for byte.
// MIRELTO_UPDATE_GOLDEN=1 makes the comparison write the output into its file instead; review the
// change with git diff before committing it.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace mirelto::test {

// `text` equals the golden file `name` byte by byte (CR LF included), or the first line that
// differs.
testing::AssertionResult MatchesGolden(const std::string& text, const std::string& name);

}  // namespace mirelto::test
