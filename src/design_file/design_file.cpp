#include "design_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>

#include <mirelto/tools/presets.h>
#include <mirelto/tools/ranking.h>

namespace mirelto {

namespace {

using Json = nlohmann::ordered_json;

// Deeper than any design: a file nested further is not one, and is not built in memory.
constexpr int kMostDepth = 16;
// The window's limits for the analysis settings.
constexpr std::int64_t kMostSteps = 3;
constexpr std::int64_t kMostTrials = 10'000'000;
constexpr std::int64_t kGivenSeries[] = {0, 6, 12, 24, 48, 96, 192};

constexpr const char* kPartNames[kDesignParts] = {"R1", "R2", "R3", "C1", "C2", "C3"};
constexpr const char* kPoleNames[3] = {"fa", "fo", "Q"};
// The key "command" by ResultCommand; Unknown is never written.
constexpr std::string_view kCommandNames[] = {"", "constants", "transfer"};

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points beyond
// U+10FFFF).
bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
        const unsigned char lead = byte(i);
        std::size_t length = 1;
        unsigned char low = 0x80, high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;
            high = lead == 0xED ? 0x9F : high;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high;
        } else {
            return false;
        }
        if (bytes.size() - i < length || byte(i + 1) < low || byte(i + 1) > high) {
            return false;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// A box or selector holds one line: a control character in it would reach the report as typed.
bool IsOneLine(const std::string& text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

DesignFileError Problem(DesignFileProblem problem, std::string key = {}) {
    DesignFileError error;
    error.problem = problem;
    error.key = std::move(key);
    return error;
}

struct Stop {
    DesignFileError error;
};

// Reads members of one JSON object, naming the dotted path of what is wrong.
class Reader {
  public:
    Reader(const Json& object, std::string path) : object_(object), path_(std::move(path)) {}

    const Json& Member(const char* name, JsonKind kind) const {
        const auto at = object_.find(name);
        if (at == object_.end()) {
            throw Stop{Problem(DesignFileProblem::Missing, Path(name))};
        }
        const bool right = kind == JsonKind::Text          ? at->is_string()
                           : kind == JsonKind::WholeNumber ? at->is_number_integer()
                                                           : at->is_object();
        if (!right) {
            DesignFileError error = Problem(DesignFileProblem::WrongType, Path(name));
            error.expected = kind;
            throw Stop{error};
        }
        return *at;
    }
    bool Has(const char* name) const { return object_.contains(name); }

    std::string Text(const char* name) const {
        return Member(name, JsonKind::Text).get<std::string>();
    }
    // A box's text: one line.
    std::string Box(const char* name) const {
        std::string text = Text(name);
        if (!IsOneLine(text)) {
            Bad(name);
        }
        return text;
    }
    std::int64_t Whole(const char* name, std::int64_t lowest, std::int64_t highest) const {
        const Json& value = Member(name, JsonKind::WholeNumber);
        // An unsigned number beyond the signed range is out of range too.
        if (value.is_number_unsigned() &&
            value.get<std::uint64_t>() > static_cast<std::uint64_t>(highest)) {
            Bad(name);
        }
        const auto number = value.get<std::int64_t>();
        if (number < lowest || number > highest) {
            Bad(name);
        }
        return number;
    }
    Reader Object(const char* name) const {
        return Reader(Member(name, JsonKind::Object), Path(name));
    }

    [[noreturn]] void Bad(const char* name) const {
        throw Stop{Problem(DesignFileProblem::BadValue, Path(name))};
    }

  private:
    std::string Path(const char* name) const { return path_.empty() ? name : path_ + "." + name; }

    const Json& object_;
    std::string path_;
};

template <std::size_t N>
std::array<std::string, N> Boxes(const Reader& group, const char* const (&names)[N]) {
    std::array<std::string, N> texts;
    for (std::size_t i = 0; i < N; ++i) {
        texts[i] = group.Box(names[i]);
    }
    return texts;
}

AnalysisSettings ReadAnalysis(const Reader& root) {
    AnalysisSettings settings;
    const Reader preset = root.Object("preset");
    settings.preset.response = preset.Text("response");
    const auto& presets = Presets();
    if (std::none_of(presets.begin(), presets.end(),
                     [&](const Preset& p) { return p.name == settings.preset.response; })) {
        preset.Bad("response");
    }
    settings.preset.fc = preset.Box("fc");
    settings.opAmpGbw = root.Box("opAmpGbw");

    const Reader tolerance = root.Object("tolerance");
    settings.tolerance.tolerances = Boxes(tolerance, kPartNames);
    const std::string spread = tolerance.Text("distribution");
    if (spread != "uniform" && spread != "normal") {
        tolerance.Bad("distribution");
    }
    settings.tolerance.normal = spread == "normal";
    settings.tolerance.trials = tolerance.Whole("trials", 1, kMostTrials);
    settings.tolerance.seed = tolerance.Box("seed");

    const Reader optimiser = root.Object("optimiser");
    settings.optimiser.steps = optimiser.Whole("steps", 1, kMostSteps);
    settings.optimiser.givenSeries = optimiser.Whole("givenSeries", 0, 192);
    if (std::find(std::begin(kGivenSeries), std::end(kGivenSeries),
                  settings.optimiser.givenSeries) == std::end(kGivenSeries)) {
        optimiser.Bad("givenSeries");
    }
    if (optimiser.Has("ranking")) {
        settings.ranking = optimiser.Text("ranking");
        if (!ParseRanking(settings.ranking)) {
            optimiser.Bad("ranking");
        }
    }
    return settings;
}

DesignFile ReadDesign(const Json& json) {
    if (!json.is_object()) {
        throw Stop{Problem(DesignFileProblem::NotOurs)};
    }
    const Reader root(json, "");
    const auto format = json.find("format");
    if (format == json.end() || !format->is_string() || *format != kDesignFileFormat) {
        throw Stop{Problem(DesignFileProblem::NotOurs)};
    }
    // Any whole number is taken here, however large: a newer version is told as such.
    const Json& version = root.Member("version", JsonKind::WholeNumber);
    const bool negative = version.is_number_integer() && !version.is_number_unsigned();
    if (negative || version.get<std::uint64_t>() < 1) {
        root.Bad("version");
    }
    const auto number = version.get<std::uint64_t>();
    if (number > static_cast<std::uint64_t>(kDesignFileVersion)) {
        DesignFileError error = Problem(DesignFileProblem::NewerVersion, "version");
        error.position = static_cast<std::int64_t>(
            std::min<std::uint64_t>(number, std::numeric_limits<std::int64_t>::max()));
        throw Stop{error};
    }

    DesignFile design;
    const std::string mode = root.Text("mode");
    if (mode != "LPF" && mode != "HPF") {
        root.Bad("mode");
    }
    design.isLpf = mode == "LPF";
    design.request = Boxes(root.Object("request"), kPoleNames);
    design.parts = Boxes(root.Object("parts"), kPartNames);
    design.result = Boxes(root.Object("result"), kPoleNames);
    if (root.Has("command")) {
        const std::string command = root.Text("command");
        const auto named = std::find(std::begin(kCommandNames), std::end(kCommandNames), command);
        if (named == std::end(kCommandNames) || named == std::begin(kCommandNames)) {
            root.Bad("command");
        }
        design.command = static_cast<ResultCommand>(named - std::begin(kCommandNames));
    }
    design.series = Boxes(root.Object("series"), kPartNames);
    if (root.Has("analysis")) {
        design.analysis = ReadAnalysis(root.Object("analysis"));
    }
    if (root.Has("note")) {
        design.note = root.Text("note");
    }
    return design;
}

template <std::size_t N>
Json BoxesJson(const std::array<std::string, N>& texts, const char* const (&names)[N]) {
    Json object = Json::object();
    for (std::size_t i = 0; i < N; ++i) {
        object[names[i]] = texts[i];
    }
    return object;
}

}  // namespace

const char* DesignPartName(std::size_t part) {
    return kPartNames[part];
}

DesignFileRead ParseDesignFile(std::string_view bytes) {
    if (bytes.size() > kMostDesignFileBytes) {
        return Problem(DesignFileProblem::TooLarge);
    }
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return Problem(DesignFileProblem::Empty);
    }
    if (!IsUtf8(bytes)) {
        return Problem(DesignFileProblem::NotUtf8);
    }
    bool tooDeep = false;
    const Json::parser_callback_t depthGuard = [&tooDeep](int depth, Json::parse_event_t, Json&) {
        if (depth > kMostDepth) {
            tooDeep = true;
            return false;
        }
        return true;
    };
    Json json;
    try {
        json = Json::parse(bytes.begin(), bytes.end(), depthGuard);
    } catch (const Json::parse_error& e) {
        // The lexer names the end of the input when it ran out before the value was complete.
        const bool atEnd =
            e.byte >= bytes.size() &&
            std::string_view(e.what()).find("unexpected end of input") != std::string_view::npos;
        DesignFileError error =
            Problem(atEnd ? DesignFileProblem::Truncated : DesignFileProblem::NotJson);
        error.position = static_cast<std::int64_t>(e.byte);
        return error;
    }
    if (tooDeep) {
        return Problem(DesignFileProblem::NotOurs);
    }
    try {
        return ReadDesign(json);
    } catch (const Stop& stop) {
        return stop.error;
    }
}

std::string SerialiseDesignFile(const DesignFile& design) {
    Json json = Json::object();
    json["format"] = kDesignFileFormat;
    json["version"] = kDesignFileVersion;
    json["mode"] = design.isLpf ? "LPF" : "HPF";
    json["request"] = BoxesJson(design.request, kPoleNames);
    json["parts"] = BoxesJson(design.parts, kPartNames);
    json["result"] = BoxesJson(design.result, kPoleNames);
    if (design.command != ResultCommand::Unknown) {
        json["command"] = kCommandNames[static_cast<std::size_t>(design.command)];
    }
    json["series"] = BoxesJson(design.series, kPartNames);
    if (design.analysis) {
        const AnalysisSettings& a = *design.analysis;
        Json analysis = Json::object();
        analysis["preset"] = {{"response", a.preset.response}, {"fc", a.preset.fc}};
        analysis["opAmpGbw"] = a.opAmpGbw;
        Json tolerance = BoxesJson(a.tolerance.tolerances, kPartNames);
        tolerance["distribution"] = a.tolerance.normal ? "normal" : "uniform";
        tolerance["trials"] = a.tolerance.trials;
        tolerance["seed"] = a.tolerance.seed;
        analysis["tolerance"] = std::move(tolerance);
        analysis["optimiser"] = {{"steps", a.optimiser.steps},
                                 {"givenSeries", a.optimiser.givenSeries}};
        if (!a.ranking.empty()) {
            analysis["optimiser"]["ranking"] = a.ranking;
        }
        json["analysis"] = std::move(analysis);
    }
    json["note"] = design.note;
    // Texts are written as they are (µ, ∞, Japanese), not as escapes; bytes that are not UTF-8
    // cannot come from a box, and are replaced rather than written.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

DesignFileRead LoadDesignFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return Problem(DesignFileProblem::NotFound);
        }
        DesignFileError problem = Problem(DesignFileProblem::Unreadable);
        problem.reason = std::strerror(error);
        return problem;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        DesignFileError problem = Problem(DesignFileProblem::Unreadable);
        problem.reason = std::strerror(errno);
        return problem;
    }
    if (S_ISDIR(status.st_mode)) {
        return Problem(DesignFileProblem::IsDirectory);
    }
    if (S_ISREG(status.st_mode) &&
        static_cast<std::uint64_t>(status.st_size) > kMostDesignFileBytes) {
        return Problem(DesignFileProblem::TooLarge);
    }
    if (!S_ISREG(status.st_mode)) {
        // A pipe or device could block or never end: only plain files are designs.
        DesignFileError problem = Problem(DesignFileProblem::Unreadable);
        problem.reason = "not a regular file";
        return problem;
    }
    // One byte more than the limit tells a file that grew while being read.
    std::string bytes(kMostDesignFileBytes + 1, '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            DesignFileError problem = Problem(DesignFileProblem::Unreadable);
            problem.reason = std::strerror(errno);
            return problem;
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    return ParseDesignFile(bytes);
}

std::string DescribeInEnglish(const DesignFileError& error) {
    const auto kind = [&] {
        switch (error.expected) {
            case JsonKind::Text:
                return "a text";
            case JsonKind::WholeNumber:
                return "a whole number";
            case JsonKind::Object:
                return "an object";
        }
        return "";
    };
    switch (error.problem) {
        case DesignFileProblem::NotFound:
            return "no such file";
        case DesignFileProblem::IsDirectory:
            return "a directory, not a design file";
        case DesignFileProblem::Unreadable:
            return "cannot be read: " + error.reason;
        case DesignFileProblem::TooLarge:
            return "too large for a design file (over 1 MiB)";
        case DesignFileProblem::Empty:
            return "the file is empty";
        case DesignFileProblem::NotUtf8:
            return "not UTF-8 text";
        case DesignFileProblem::Truncated:
            return "the file ends before its JSON is complete";
        case DesignFileProblem::NotJson:
            return "not JSON (at byte " + std::to_string(error.position) + ")";
        case DesignFileProblem::NotOurs:
            return "not a Mirelto design file";
        case DesignFileProblem::NewerVersion:
            return "saved in format version " + std::to_string(error.position) +
                   " by a newer Mirelto; this one reads version " +
                   std::to_string(kDesignFileVersion);
        case DesignFileProblem::Missing:
            return "\"" + error.key + "\" is missing";
        case DesignFileProblem::WrongType:
            return "\"" + error.key + "\" must be " + kind();
        case DesignFileProblem::BadValue:
            return "\"" + error.key + "\" has a value no design has";
    }
    return "not a Mirelto design file";
}

}  // namespace mirelto
