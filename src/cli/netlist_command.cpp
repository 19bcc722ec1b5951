// netlist: a SPICE netlist of the circuit of six given parts.
#include <mirelto/tools/netlist.h>

#include "common.h"
#include "op_amp_choice.h"
#include "output_file.h"

namespace mirelto::cli {

namespace {

const std::array<Option, 7> kNetlistOptions{{
    {"--title", "TEXT", "the netlist's first line"},
    {"--points-per-decade", "N", "points of the .ac sweep per decade, 1 to 100000 (default 100)"},
    {"--from", "F", "start of the sweep, Hz (default: the analysis window's range)"},
    {"--to", "F", "end of the sweep, Hz (default: the analysis window's range)"},
    {"--gbw", "F",
     "the follower as a single-pole op-amp of this gain-bandwidth product, Hz (default: ideal)"},
    {"--noise", "",
     "add the op-amp's noise sources and a .noise analysis over --band (default: the sweep)"},
    {"--output", "FILE",
     "write the netlist to FILE instead of standard output (-: standard output)"},
}};

constexpr std::int64_t kMostPointsPerDecade = 100000;

void RunNetlist(const Arguments& args, std::ostream& out) {
    const bool isLpf = ReadIsLpf(args);
    const Circuit circuit = ReadCircuit(args, isLpf);
    NetlistOptions options;
    // The title is the netlist's first line, read by a simulator and shown in a terminal: no
    // control characters, valid UTF-8.
    options.title = Printable(args.Text("--title").value_or(""));
    if (const auto points = args.Text("--points-per-decade")) {
        options.pointsPerDecade =
            static_cast<int>(ParseCount("--points-per-decade", *points, 1, kMostPointsPerDecade));
    }
    if (const auto gbw = args.Text("--gbw")) {
        options.opAmpGbw = ParsePositive("--gbw", *gbw);
    }
    options.opAmp = ReadOpAmp(args).value_or(OpAmp{});
    options.temperature = ReadTemperature(args);
    AnalysisInput window;
    window.isLpf = isLpf;
    window.hasRequest = false;
    window.built = circuit;
    options.range = PlotRange(window);
    const auto from = args.Text("--from");
    const auto to = args.Text("--to");
    if (from) {
        options.range.low = ParsePositive("--from", *from);
    }
    if (to) {
        options.range.high = ParsePositive("--to", *to);
    }
    if (!(options.range.low < options.range.high)) {
        // The option given is at fault; with both given, the end.
        if (to) {
            throw UsageError(Concat("--to: the sweep must end above its start (",
                                    Compact(options.range.low), "Hz)"));
        }
        throw UsageError(Concat("--from: the sweep must start below its end (",
                                Compact(options.range.high), "Hz)"));
    }
    if (args.Has("--noise")) {
        const FrequencyRange band = ReadBand(args);
        options.noiseBand = band.high > 0 ? band : options.range;
    }
    const std::string netlist = SpiceNetlist(circuit, options);

    const auto path = args.Text("--output");
    const bool toFile = path && *path != "-";
    if (toFile) {
        WriteOutputFile(*path, netlist);
    }
    if (args.Has("--json")) {
        Json json{{"command", "netlist"},
                  {"mode", isLpf ? "LPF" : "HPF"},
                  {"circuit", CircuitJson(circuit)},
                  {"range", RangeJson(options.range)},
                  {"pointsPerDecade", options.pointsPerDecade}};
        if (options.opAmpGbw > 0 || HasDynamics(options.opAmp)) {
            json["gbw"] =
                JsonNumber(HasDynamics(options.opAmp) ? options.opAmp.gbw : options.opAmpGbw);
        }
        json["netlist"] = netlist;
        out << JsonText(json);
    } else if (!toFile) {
        out << netlist;
    }
}

}  // namespace

CommandInfo NetlistCommand() {
    return {
        "netlist",
        "a SPICE netlist (ngspice, LTspice) of six given parts",
        "A SPICE netlist of the circuit of six given parts for ngspice or LTspice: the parts,\n"
        "the follower as an ideal unity-gain voltage-controlled source (or with --gbw a\n"
        "single-pole op-amp subcircuit), a 1 V AC source, an .ac sweep over the analysis\n"
        "window's frequency range, a .print of vdb(out) and vp(out) and .meas lines of the\n"
        "-3 dB frequency and the peak, so that ngspice -b prints them. Nodes: in, a, b, p, out.\n"
        "--opamp and the op-amp options put DC gain and output resistance into the subcircuit;\n"
        "with --noise, en and in become noise sources (a resistor's thermal and 1/f noise\n"
        "scaled by a controlled source) and ngspice -b prints the output noise over the band.",
        Join({kModeOptions, kComponentOptions, kNetlistOptions, kOpAmpFigureOptions,
              kNoiseBandOptions, kOutputOptions}),
        "All six parts are required. Values are SI texts: 22k, 3.3n, 4k7, 1.2e-6. Numbers in\n"
        "the netlist are plain or e-notation: SPICE reads M as milli and F as femto.\n",
        RunNetlist};
}

}  // namespace mirelto::cli
