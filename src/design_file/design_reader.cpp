#include "design_reader.h"

#include <algorithm>
#include <limits>

#include <mirelto/tools/optimise.h>
#include <mirelto/tools/presets.h>
#include <mirelto/tools/ranking.h>
#include <mirelto/tools/tolerance.h>

#include "op_amp_setting.h"

namespace mirelto {

namespace {

using Json = DesignJson;

// The series the window's optimiser offers the given parts; 0: they stay fixed.
constexpr std::int64_t kGivenSeries[] = {0, 6, 12, 24, 48, 96, 192};

// A box or selector holds one line: a control character in it would reach the report as typed.
bool IsOneLine(const std::string& text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
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
    // Any whole number is taken here, however large: a newer version is told as such.
    const Json& version = root.Member("version", JsonKind::WholeNumber);
    const bool negative = version.is_number_integer() && !version.is_number_unsigned();
    if (negative || version.get<std::uint64_t>() < 1) {
        root.Bad("version");
    }
    const auto number = version.get<std::uint64_t>();
    if (number > static_cast<std::uint64_t>(kDesignFileVersion)) {
        DesignFileError error = DesignProblem(DesignFileProblem::NewerVersion, "version");
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
    design.series = Boxes(root.Object("series"), kPartKeys);
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
