// The design file (.mirelto): what the calculator shows, kept as the texts of its boxes and
// selectors so that reopening shows exactly what was saved, with the analysis window's settings
// when they were set and a free-text note. JSON, UTF-8, at most kMostDesignFileBytes.
//
// Reading is a pure function from bytes to a design or to the one problem that stops it; the
// caller turns the problem into words (Japanese in the window, English in mirelto-cli). Nothing
// in a file is executed or fetched. Unknown keys of a version this program reads are ignored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <mirelto/response/op_amp_model.h>

namespace mirelto {

inline constexpr std::string_view kDesignFileFormat = "mirelto-design";
inline constexpr std::int64_t kDesignFileVersion = 1;
// A design is a few hundred bytes; a note of a few pages fits many times over. Anything larger
// is refused before it is read whole.
inline constexpr std::size_t kMostDesignFileBytes = 1 << 20;

// Index of a part in the arrays below: R1, R2, R3, C1, C2, C3.
inline constexpr std::size_t kDesignParts = 6;

struct PresetSetting {
    std::string response;  // the preset's English name, "Chebyshev 0.5 dB (ripple edge)"
    std::string fc;        // the fc box as shown
    friend bool operator==(const PresetSetting&, const PresetSetting&) = default;
};

struct ToleranceSetting {
    std::array<std::string, kDesignParts> tolerances;  // the per-cent boxes as shown
    bool normal = false;                               // normal spread, else uniform
    std::int64_t trials = 0;
    std::string seed;  // the seed box as shown
    friend bool operator==(const ToleranceSetting&, const ToleranceSetting&) = default;
};

struct OptimiserSetting {
    std::int64_t steps = 0;        // the neighbourhood, 1 to 3 steps
    std::int64_t givenSeries = 0;  // the given parts' series; 0: they stay fixed
    friend bool operator==(const OptimiserSetting&, const OptimiserSetting&) = default;
};

// The analysis window's settings: set together, when that window has been opened.
struct AnalysisSettings {
    PresetSetting preset;
    std::string opAmpGbw;  // the GBW box as shown; empty for an ideal op-amp
    ToleranceSetting tolerance;
    OptimiserSetting optimiser;
    // The best-values tab's ranking, RankingName ("poles"); empty: not saved, the tab's default.
    // Written with the optimiser's settings (analysis.optimiser.ranking).
    std::string ranking;
    friend bool operator==(const AnalysisSettings&, const AnalysisSettings&) = default;
};

// The calculation that made the result boxes, so that opening shows that result again without
// calculating anew; Unknown when none did or the file does not say (older files).
enum class ResultCommand { Unknown, Constants, TransferFunction };

// The op-amp chosen for the design and what it is checked against: optional in version 1 (an
// older reader ignores it). Texts as the boxes show them; an empty text is not given.
struct OpAmpSetting {
    std::string name;  // a part of the op-amp table; empty for figures typed in
    // By OpAmpFigure, written under OpAmpFigureName ("gbw", "a0", "en", ...).
    std::array<std::string, kOpAmpFigureCount> figures;
    std::string bandLow, bandHigh;  // the noise band, Hz
    std::string amplitude;          // the input sine's peak, V
    bool compensate = false;        // the computed parts chosen for the op-amp's GBW
    friend bool operator==(const OpAmpSetting&, const OpAmpSetting&) = default;
};

struct DesignFile {
    bool isLpf = true;
    std::array<std::string, 3> request;           // fa, fo, Q boxes
    std::array<std::string, kDesignParts> parts;  // R1..R3, C1..C3 boxes
    std::array<std::string, 3> result;            // the fa, fo, Q result boxes
    ResultCommand command = ResultCommand::Unknown;
    std::array<std::string, kDesignParts> series;  // the selectors of R1..R3, C1..C3
    std::optional<AnalysisSettings> analysis;
    std::optional<OpAmpSetting> opAmp;
    std::string note;
    friend bool operator==(const DesignFile&, const DesignFile&) = default;
};

enum class DesignFileProblem {
    // Reading the file (LoadDesignFile only).
    NotFound,
    IsDirectory,
    Unreadable,  // `reason` holds the system's words
    TooLarge,
    // Its bytes.
    Empty,
    NotUtf8,
    Truncated,     // JSON that stops before it is complete
    NotJson,       // `position`: the byte where reading failed, from 1
    NotOurs,       // JSON, but not a design file: no object, or another format name
    NewerVersion,  // `position`: the version the file names
    Missing,       // `key` is not there
    WrongType,     // `key` holds another JSON type than `expected`
    BadValue,      // `key` holds a value of the right type that no design has
};

enum class JsonKind { Text, WholeNumber, Object };

struct DesignFileError {
    DesignFileProblem problem = DesignFileProblem::NotJson;
    std::string key;  // dotted path, "request.fa"
    JsonKind expected = JsonKind::Text;
    std::int64_t position = 0;
    std::string reason;
    friend bool operator==(const DesignFileError&, const DesignFileError&) = default;
};

using DesignFileRead = std::variant<DesignFile, DesignFileError>;

// The design the bytes hold, or what stops them being one.
DesignFileRead ParseDesignFile(std::string_view bytes);

// The bytes of the design: indented JSON in UTF-8, keys in a fixed order, ending in a newline.
std::string SerialiseDesignFile(const DesignFile& design);

// Reads the file at `path` (refusing directories and files over the limit before reading them)
// and parses it.
DesignFileRead LoadDesignFile(const std::string& path);

// The problem in one English line, for mirelto-cli.
std::string DescribeInEnglish(const DesignFileError& error);
// Its stable kebab-case name, as mirelto-cli's --json gives it: "design-file-not-json".
std::string_view DesignFileProblemCode(DesignFileProblem problem);

// The names of the parts as the file writes them, R1 to C3.
const char* DesignPartName(std::size_t part);

}  // namespace mirelto
