// presets: the response presets with their normalised poles, and the names --response takes.
#include <charconv>
#include <cmath>

#include <mirelto/tools/presets.h>

#include "common.h"

namespace mirelto::cli {

namespace {

// The parameter as written in a name: "0.5", "1", "0.05".
std::string ParameterText(double parameter) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), parameter).ptr;
    return std::string(buffer.data(), end);
}

std::string_view FcMeaning(Normalisation normalisation) {
    switch (normalisation) {
        case Normalisation::Cutoff3dB:
            return "fc is the -3 dB frequency";
        case Normalisation::Delay:
            return "fc sets the group delay at low frequencies to 1/(2 pi fc)";
        case Normalisation::RippleEdge:
            return "fc is the edge of the ripple band";
    }
    return {};
}

void RunPresets(const Arguments& args, std::ostream& out) {
    const bool json = args.Has("--json");
    Json list = Json::array();
    if (!json) {
        out << "name                   fa/fc        fo/fc        Q            meaning of fc\n";
    }
    for (const Preset& preset : Presets()) {
        const PoleSet p = NormalisedPoles(preset);
        const std::string key = PresetKey(preset);
        if (json) {
            list.push_back({{"name", key},
                            {"title", preset.name},
                            {"faPerFc", JsonNumber(p.fa)},
                            {"foPerFc", JsonNumber(p.fo)},
                            {"q", JsonNumber(p.q)},
                            {"fc", FcMeaning(preset.normalisation)}});
        } else {
            out << key << std::string(key.size() < 22 ? 23 - key.size() : 1, ' ')
                << FixedText(p.fa, "%-12.9f") << " " << FixedText(p.fo, "%-12.9f") << " "
                << FixedText(p.q, "%-12.9f") << " " << FcMeaning(preset.normalisation) << "\n";
        }
    }
    if (json) {
        out << JsonText(Json{{"command", "presets"}, {"presets", list}});
    } else {
        out << "\nIn HPF mode fa = fc / (fa/fc) and fo = fc / (fo/fc); Q is the same.\n";
    }
}

}  // namespace

std::string PresetKey(const Preset& preset) {
    switch (preset.family) {
        case ResponseFamily::Butterworth:
            return "butterworth";
        case ResponseFamily::Bessel:
            return preset.normalisation == Normalisation::Delay ? "bessel-delay" : "bessel";
        case ResponseFamily::Chebyshev:
            return Concat("chebyshev-", ParameterText(preset.parameter),
                          preset.normalisation == Normalisation::RippleEdge ? "-edge" : "");
        case ResponseFamily::LinearPhase:
            return Concat("linear-phase-", ParameterText(preset.parameter));
        case ResponseFamily::Legendre:
            return "legendre";
    }
    return {};
}

const Preset* FindPreset(std::string_view key) {
    for (const Preset& preset : Presets()) {
        if (PresetKey(preset) == key) {
            return &preset;
        }
    }
    return nullptr;
}

std::string PresetKeys() {
    std::string keys;
    for (const Preset& preset : Presets()) {
        keys += keys.empty() ? "" : ", ";
        keys += PresetKey(preset);
    }
    return keys;
}

CommandInfo PresetsCommand() {
    return {"presets",
            "the response presets: fa/fc, fo/fc and Q, and what fc means",
            "Every response preset of the analysis window with the names --response takes:\n"
            "fa/fc, fo/fc and Q of the low-pass form, and what the frequency fc means for it.",
            Join({kOutputOptions}),
            "design and optimise take a preset as --response NAME --fc F in place of\n"
            "--fa, --fo and --q, with the values the analysis window's presets apply.\n",
            RunPresets};
}

}  // namespace mirelto::cli
