#include "design_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <mirelto/tools/optimise.h>
#include <mirelto/tools/presets.h>
#include <mirelto/tools/ranking.h>
#include <mirelto/tools/tolerance.h>
#include <mirelto/values/eseries.h>

#include "op_amp_setting.h"

namespace mirelto {

namespace {

using Json = DesignJson;

// The series the window's optimiser offers the given parts; 0: they stay fixed.
constexpr std::int64_t kGivenSeries[] = {0, 6, 12, 24, 48, 96, 192};

// A box or selector holds one line: a control character in it (C0, DEL, or C1, U+0080 to
// U+009F: "\xC2\x80" to "\xC2\x9F") would reach the report as typed.
bool IsOneLine(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto u = static_cast<unsigned char>(text[i]);
        const bool c1 =
            u == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (u < 0x20 || u == 0x7F || c1) {
            return false;
        }
    }
    return true;
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
            throw Stop{DesignProblem(DesignFileProblem::Missing, Path(name))};
        }
        const bool right = kind == JsonKind::Text          ? at->is_string()
                           : kind == JsonKind::WholeNumber ? at->is_number_integer()
                                                           : at->is_object();
        if (!right) {
            DesignFileError error = DesignProblem(DesignFileProblem::WrongType, Path(name));
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
        throw Stop{DesignProblem(DesignFileProblem::BadValue, Path(name))};
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

// The selectors: a standard series ("24", "E24", read as "24") or none ("∞", "inf", "0"). Any
// other text would be read as some series (the selector takes "0x18" for 24, "7" as a series of
// its own) or as none ("abc"), neither of which the file meant.
std::array<std::string, kDesignParts> SeriesTexts(const Reader& group) {
    constexpr std::string_view kNone[] = {"\xE2\x88\x9E", "inf", "0"};  // "∞"
    std::array<std::string, kDesignParts> texts;
    for (std::size_t i = 0; i < kDesignParts; ++i) {
        const std::string text = group.Text(kPartKeys[i]);
        const bool lettered = text.starts_with('E') || text.starts_with('e');
        const std::string_view size = std::string_view(text).substr(lettered ? 1 : 0);
        const bool standard =
            std::any_of(kStandardSeries.begin(), kStandardSeries.end(),
                        [size](std::int32_t n) { return size == std::to_string(n); });
        const bool none = std::find(std::begin(kNone), std::end(kNone), size) != std::end(kNone);
        if (!standard && (lettered || !none)) {
            group.Bad(kPartKeys[i]);
        }
        texts[i] = size;
    }
    return texts;
}

// Any whole number is taken as a version, however large: a newer version is told as such, also
// one written beyond the integers JSON keeps exactly (1e30).
void CheckVersion(const Reader& root, const Json& json) {
    constexpr auto kMost = std::numeric_limits<std::int64_t>::max();
    const auto at = json.find("version");
    const bool largeWhole = at != json.end() && at->is_number_float() &&
                            at->get<double>() > static_cast<double>(kDesignFileVersion) &&
                            at->get<double>() == std::floor(at->get<double>());
    std::int64_t version = kMost;
    if (largeWhole) {
        if (at->get<double>() < static_cast<double>(kMost)) {
            version = static_cast<std::int64_t>(at->get<double>());
        }
    } else {
        const Json& number = root.Member("version", JsonKind::WholeNumber);
        // Below zero nlohmann keeps a signed integer, from zero up an unsigned one.
        if (!number.is_number_unsigned() || number.get<std::uint64_t>() < 1) {
            root.Bad("version");
        }
        version = static_cast<std::int64_t>(std::min<std::uint64_t>(
            number.get<std::uint64_t>(), static_cast<std::uint64_t>(kMost)));
    }
    if (version > kDesignFileVersion) {
        DesignFileError error = DesignProblem(DesignFileProblem::NewerVersion, "version");
        error.position = version;
        throw Stop{error};
    }
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
    settings.tolerance.tolerances = Boxes(tolerance, kPartKeys);
    const std::string spread = tolerance.Text("distribution");
    if (spread != "uniform" && spread != "normal") {
        tolerance.Bad("distribution");
    }
    settings.tolerance.normal = spread == "normal";
    settings.tolerance.trials = tolerance.Whole("trials", 1, kMaxTrials);
    settings.tolerance.seed = tolerance.Box("seed");

    const Reader optimiser = root.Object("optimiser");
    settings.optimiser.steps = optimiser.Whole("steps", 1, kMaxSteps);
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

DesignFile ReadKeys(const Json& json) {
    if (!json.is_object()) {
        throw Stop{DesignProblem(DesignFileProblem::NotOurs)};
    }
    const Reader root(json, "");
    const auto format = json.find("format");
    if (format == json.end() || !format->is_string() || *format != kDesignFileFormat) {
        throw Stop{DesignProblem(DesignFileProblem::NotOurs)};
    }
    CheckVersion(root, json);

    DesignFile design;
    const std::string mode = root.Text("mode");
    if (mode != "LPF" && mode != "HPF") {
        root.Bad("mode");
    }
    design.isLpf = mode == "LPF";
    design.request = Boxes(root.Object("request"), kPoleKeys);
    design.parts = Boxes(root.Object("parts"), kPartKeys);
    design.result = Boxes(root.Object("result"), kPoleKeys);
    if (root.Has("command")) {
        const std::string command = root.Text("command");
        const auto named = std::find(std::begin(kCommandNames), std::end(kCommandNames), command);
        if (named == std::end(kCommandNames) || named == std::begin(kCommandNames)) {
            root.Bad("command");
        }
        design.command = static_cast<ResultCommand>(named - std::begin(kCommandNames));
    }
    design.series = SeriesTexts(root.Object("series"));
    if (root.Has("analysis")) {
        design.analysis = ReadAnalysis(root.Object("analysis"));
    }
    if (root.Has("opAmp")) {
        const Json& opAmp = root.Member("opAmp", JsonKind::Object);
        std::string bad;
        design.opAmp = ReadOpAmpSetting(opAmp, bad);
        if (!bad.empty()) {
            throw Stop{DesignProblem(DesignFileProblem::BadValue, "opAmp." + bad)};
        }
    }
    if (root.Has("note")) {
        design.note = root.Text("note");
    }
    return design;
}

}  // namespace

DesignFileError DesignProblem(DesignFileProblem problem, std::string key) {
    DesignFileError error;
    error.problem = problem;
    error.key = std::move(key);
    return error;
}

DesignFileRead ReadDesign(const DesignJson& json) {
    try {
        return ReadKeys(json);
    } catch (const Stop& stop) {
        return stop.error;
    }
}

}  // namespace mirelto
