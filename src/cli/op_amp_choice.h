// The op-amp a command works with: a part of the table by name (--opamp: the shipped table and
// the user's own file), figures typed as options (which win over the part's), the signal level
// (--amplitude) and the noise band and temperature. Reads options; computes nothing.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include <mirelto/response/analysis.h>
#include <mirelto/response/op_amp_model.h>

#include "arguments.h"
#include "design_file.h"

namespace mirelto::cli {

// --opamp --a0 --en --en-corner --in --in-corner --slew --supply --swing-headroom --ro
extern const std::array<Option, 10> kOpAmpFigureOptions;
extern const std::array<Option, 1> kAmplitudeOptions;  // --amplitude
extern const std::array<Option, 2> kNoiseBandOptions;  // --band --temperature

// The user's own table: $XDG_CONFIG_HOME/mirelto/opamps.csv, else ~/.config/mirelto/opamps.csv.
std::string UserOpAmpTablePath();
// The shipped table followed by the user's rows (a user's row replaces a shipped one of the same
// name). A user file that cannot be read as a table is refused, naming its line.
std::vector<OpAmp> OpAmpTable();

// The op-amp of --opamp and the figure options (and --gbw); nothing when none is given. An
// unknown --opamp name is a usage error listing where it was looked for.
std::optional<OpAmp> ReadOpAmp(const Arguments& args);

// The text of an op-amp option (--opamp, a figure, --band, --amplitude): as given, else as the
// design of --design keeps it; nothing when neither has it.
std::optional<std::string> OpAmpOptionText(const Arguments& args, std::string_view option);
// --compensate, or the design's choice.
bool Compensates(const Arguments& args);
// What --design FILE --save keeps of the op-amp: the options given over the design's setting;
// nothing when neither names one.
std::optional<OpAmpSetting> SavedOpAmpSetting(const Arguments& args);

// --amplitude, V peak; nothing when not given.
std::optional<double> ReadAmplitude(const Arguments& args);

// --band F1:F2 (Hz); low = high = 0 when not given.
FrequencyRange ReadBand(const Arguments& args);
// --temperature, degrees Celsius (above absolute zero); the core's default when not given.
double ReadTemperature(const Arguments& args);

}  // namespace mirelto::cli
