#include "op_amp_setting.h"

#include <algorithm>

namespace mirelto {

namespace {

using Json = nlohmann::ordered_json;

bool IsOneLineText(const Json& value) {
    if (!value.is_string()) {
        return false;
    }
    const std::string& text = value.get_ref<const std::string&>();
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

// A box's text at `key` of `object`, when it is there; a wrong one names its key in `bad`.
void ReadBox(const Json& object, const std::string& key, const std::string& path, std::string& to,
             std::string& bad) {
    const auto at = object.find(key);
    if (at == object.end() || !bad.empty()) {
        return;
    }
    if (!IsOneLineText(*at)) {
        bad = path + key;
        return;
    }
    to = at->get<std::string>();
}

}  // namespace

OpAmpSetting ReadOpAmpSetting(const Json& object, std::string& bad) {
    OpAmpSetting setting;
    ReadBox(object, "name", "", setting.name, bad);
    ReadBox(object, "amplitude", "", setting.amplitude, bad);
    const auto figures = object.find("figures");
    if (figures != object.end()) {
        if (!figures->is_object()) {
            bad = "figures";
            return setting;
        }
        for (std::size_t f = 0; f < kOpAmpFigureCount; ++f) {
            const std::string name(OpAmpFigureName(static_cast<OpAmpFigure>(f)));
            ReadBox(*figures, name, "figures.", setting.figures[f], bad);
        }
    }
    const auto band = object.find("band");
    if (band != object.end()) {
        if (!band->is_object()) {
            bad = "band";
            return setting;
        }
        ReadBox(*band, "low", "band.", setting.bandLow, bad);
        ReadBox(*band, "high", "band.", setting.bandHigh, bad);
    }
    const auto compensate = object.find("compensate");
    if (compensate != object.end()) {
        if (!compensate->is_boolean()) {
            bad = "compensate";
            return setting;
        }
        setting.compensate = compensate->get<bool>();
    }
    return setting;
}

Json OpAmpSettingJson(const OpAmpSetting& setting) {
    Json figures = Json::object();
    for (std::size_t f = 0; f < kOpAmpFigureCount; ++f) {
        if (!setting.figures[f].empty()) {
            figures[std::string(OpAmpFigureName(static_cast<OpAmpFigure>(f)))] = setting.figures[f];
        }
    }
    return {{"name", setting.name},
            {"figures", figures},
            {"band", {{"low", setting.bandLow}, {"high", setting.bandHigh}}},
            {"amplitude", setting.amplitude},
            {"compensate", setting.compensate}};
}

}  // namespace mirelto
