// opamps: the op-amp table, the shipped parts and the user's own, with their figures and the
// datasheet each comes from.
#include <cmath>

#include "common.h"
#include "op_amp_choice.h"
#include "op_amp_report.h"

namespace mirelto::cli {

namespace {

// A figure in a column of the text table: "-" when not given.
std::string Cell(double value, double scale, std::size_t width) {
    std::string text = std::isnan(value) ? std::string("-") : Compact(value * scale);
    text.resize(std::max(width, text.size() + 1), ' ');
    return text;
}

void RunOpAmps(const Arguments& args, std::ostream& out) {
    const std::vector<OpAmp> table = OpAmpTable();
    if (args.Has("--json")) {
        Json list = Json::array();
        for (const OpAmp& o : table) {
            Json row = OpAmpFiguresJson(o);
            row["notes"] = o.notes;
            list.push_back(row);
        }
        out << JsonText(
            Json{{"command", "opamps"}, {"userTable", UserOpAmpTablePath()}, {"opAmps", list}});
        return;
    }
    out << "part      GBW(Hz) slew(V/s) en(V/rtHz) in(A/rtHz) swing(V)  supply(V)\n";
    for (const OpAmp& o : table) {
        std::string name = o.name;
        name.resize(std::max<std::size_t>(10, name.size() + 1), ' ');
        out << name << Cell(o.gbw, 1, 8) << Cell(o.slewRate, 1, 10) << Cell(o.en, 1, 11)
            << Cell(o.in, 1, 11) << Cell(std::max(o.swingLow, o.swingHigh), 1, 10)
            << Cell(o.supply, 1, 0) << "\n";
        if (!o.unityGainStable) {
            out << "  Warning: not stable as a unity-gain follower\n";
        }
        out << "  " << o.source << "\n";
    }
    out << "Your own op-amps: " << UserOpAmpTablePath() << "\n";
}

}  // namespace

CommandInfo OpAmpsCommand() {
    static const std::array<Option, 0> kNoOptions{};
    return {"opamps",
            "the op-amp table: parts --opamp takes, with their datasheet figures",
            "The op-amps --opamp takes by name: the table that ships with Mirelto (datasheet\n"
            "typical figures, each row naming its datasheet; --json adds how figures were read)\n"
            "and your own. A figure the datasheet does not give shows as -.",
            Join({kNoOptions, kOutputOptions}),
            "Your own op-amps: a CSV file $XDG_CONFIG_HOME/mirelto/opamps.csv (else\n"
            "~/.config/mirelto/opamps.csv) with a header line naming its columns, any of:\n"
            "part, maker, gbw_hz, a0_db, slew_v_per_us, en_nv_rthz, en_corner_hz,\n"
            "in_pa_rthz, in_corner_hz, swing_low_v, swing_high_v, cm_low_v, cm_high_v,\n"
            "supply_v, ro_ohm, unity_gain_stable, source, notes (part required; swings and\n"
            "common-mode range as headroom to each rail, below zero beyond it; supply_v the\n"
            "rails +-V). An empty cell is a figure not given. A part of the same name replaces\n"
            "the shipped one.\n",
            RunOpAmps};
}

}  // namespace mirelto::cli
