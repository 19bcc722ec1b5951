// The design file's "opAmp" object: the chosen op-amp's name and figures, the noise band, the
// amplitude and the compensation choice, read from and written to JSON. Internal to the design
// file library.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "design_file.h"

namespace mirelto {

// Every member is optional; one of the wrong type or not one line leaves its key in `bad`.
OpAmpSetting ReadOpAmpSetting(const nlohmann::ordered_json& object, std::string& bad);

// {"name", "figures": {"gbw": ...}, "band": {"low", "high"}, "amplitude", "compensate"}, the
// figures not given left out.
nlohmann::ordered_json OpAmpSettingJson(const OpAmpSetting& setting);

}  // namespace mirelto
