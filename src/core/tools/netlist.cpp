#include "mirelto/tools/netlist.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "mirelto/numeric/finite.h"
#include "mirelto/values/eseries.h"
#include "numeric/constants.h"

namespace mirelto {

namespace {

std::string Line(std::string_view name, std::string_view from, std::string_view to, double value) {
    std::string line(name);
    line += ' ';
    line += from;
    line += ' ';
    line += to;
    line += ' ';
    line += SpiceNumber(NominalValue(value));
    line += '\n';
    return line;
}

// SPICE takes the first line as the title whatever it holds, so it must be one line.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

// Open-loop gain A(s) = 2 pi GBW / s, the analysis window's model: G1 (1 S) charges C1 with the
// input difference. R1 gives node x its DC path: the DC gain a0 when given, else a pole twelve
// decades below GBW. An output resistance is a G element across its own terminals: a resistor
// without thermal noise, as the noise analysis takes the op-amp.
std::string OpAmpModel(const OpAmp& opAmp, std::string_view input) {
    std::string model = "X1 " + std::string(input) + " out out MIRELTO_OPAMP\n";
    model += ".subckt MIRELTO_OPAMP inp inn out\n";
    model += "G1 0 x inp inn 1\n";
    model += "C1 x 0 " + SpiceNumber(1 / (kTwoPi * opAmp.gbw)) + '\n';
    model += "R1 x 0 " + (opAmp.a0 > 0 ? SpiceNumber(opAmp.a0) : std::string("1e12")) + '\n';
    if (opAmp.outputResistance > 0) {
        model += "E1 y 0 x 0 1\n";
        model += "GRO y out y out " + SpiceNumber(1 / opAmp.outputResistance) + '\n';
    } else {
        model += "E1 out 0 x 0 1\n";
    }
    model += ".ends MIRELTO_OPAMP\n";
    return model;
}

// A noise of `density` per root hertz with a 1/f corner: the thermal noise of the 1 kOhm
// resistor R<name> at node n<name>, sqrt(4kTR), scaled by the controlled source the caller adds.
// Its 1/f part is the resistor's flicker noise kf I^2 / f from a DC current I, equal to the
// thermal 4kT/R at the corner; V<name>r holds the DC voltage IR, so that the source passes the
// noise only. Returns the nodes controlling the source.
constexpr double kNoiseResistor = 1e3;  // ohms
constexpr double kNoiseBias = 1e-3;     // amperes
struct NoiseNodes {
    std::string lines, plus, minus;
    double gain = 0;  // the source's gain on the resistor's noise voltage
};
NoiseNodes NoiseGenerator(std::string_view name, double density, double corner, double fourKT) {
    const std::string n(name);
    NoiseNodes g{"", "n" + n, "0", density / std::sqrt(fourKT * kNoiseResistor)};
    g.lines = "R" + n + " n" + n + " 0 " + SpiceNumber(kNoiseResistor);
    if (corner > 0) {
        const double kf = corner * fourKT / (kNoiseResistor * kNoiseBias * kNoiseBias);
        g.lines += " MIRELTO_" + n + "\n.model MIRELTO_" + n + " R(kf=" + SpiceNumber(kf) +
                   " af=2)\nI" + n + " 0 n" + n + " DC " + SpiceNumber(kNoiseBias) + "\nV" + n +
                   "r n" + n + "r 0 DC " + SpiceNumber(kNoiseBias * kNoiseResistor);
        g.minus = "n" + n + "r";
    }
    g.lines += '\n';
    return g;
}

// The op-amp's noise: en as Een in series with the non-inverting input (node np), in as Gin into
// node p. Returns the lines; `input` becomes the op-amp's input node.
std::string OpAmpNoise(const NetlistOptions& options, std::string& input) {
    const double fourKT = 4 * kBoltzmann * (options.temperature + kZeroCelsius);
    const OpAmp& o = options.opAmp;
    std::string lines;
    if (o.en > 0) {
        const NoiseNodes g = NoiseGenerator("en", o.en, o.enCorner, fourKT);
        lines += "* en: the op-amp's voltage noise in series with its non-inverting input\n";
        lines += g.lines + "Een np p " + g.plus + ' ' + g.minus + ' ' + SpiceNumber(g.gain) + '\n';
        input = "np";
    }
    if (o.in > 0) {
        const NoiseNodes g = NoiseGenerator("in", o.in, o.inCorner, fourKT);
        lines += "* in: the op-amp's current noise into node p\n";
        lines += g.lines + "Gin p 0 " + g.plus + ' ' + g.minus + ' ' + SpiceNumber(g.gain) + '\n';
    }
    return lines;
}

bool HasBand(const FrequencyRange& band) {
    return band.low > 0 && band.high > band.low;
}

// The response as a table and its -3 dB frequency (|H| = 1/sqrt 2, -3.0103 dB) and peak, so that
// a batch run prints them as the netlist stands: the highest crossing of the LPF, the lowest of
// the HPF, as the analysis window takes them.
std::string Measurements(bool isLpf) {
    std::string lines = ".print ac vdb(out) vp(out)\n";
    lines += isLpf ? ".meas ac f3db WHEN vdb(out)=-3.0103 FALL=LAST\n"
                   : ".meas ac f3db WHEN vdb(out)=-3.0103 RISE=1\n";
    lines += ".meas ac peak MAX vdb(out)\n";
    return lines;
}

}  // namespace

std::string SpiceNumber(double value) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc{} ? std::string(buffer.data(), end) : std::string("0");
}

std::string SpiceNetlist(const Circuit& c, const NetlistOptions& options) {
    FrequencyRange range = options.range;
    if (range.low == 0 && range.high == 0) {
        AnalysisInput window;
        window.isLpf = c.isLpf;
        window.hasRequest = false;
        window.built = c;
        range = PlotRange(window);
    }
    const char* defaultTitle =
        c.isLpf ? "Mirelto third-order low-pass filter" : "Mirelto third-order high-pass filter";
    std::string out = OneLine(options.title.empty() ? defaultTitle : options.title) + '\n';
    OpAmp opAmp = options.opAmp;
    if (!HasDynamics(opAmp)) {
        opAmp.gbw = options.opAmpGbw;
    }
    const bool realOpAmp = HasDynamics(opAmp);
    if (realOpAmp) {
        out += "* Unity-gain follower: X1, a single-pole op-amp of GBW " + SpiceNumber(opAmp.gbw) +
               " Hz, output tied to its inverting input.\n";
    } else {
        out +=
            "* Unity-gain follower: E1 holds the output at the voltage of node p (an ideal "
            "op-amp).\n";
    }
    out += "V1 in 0 DC 0 AC 1\n";
    if (c.isLpf) {
        out += Line("R1", "in", "a", c.R1);
        out += Line("C1", "a", "0", c.C1);
        out += Line("R2", "a", "b", c.R2);
        out += Line("C2", "b", "out", c.C2);
        out += Line("R3", "b", "p", c.R3);
        out += Line("C3", "p", "0", c.C3);
    } else {
        out += Line("C1", "in", "a", c.C1);
        out += Line("R1", "a", "0", c.R1);
        out += Line("C2", "a", "b", c.C2);
        out += Line("R2", "b", "out", c.R2);
        out += Line("C3", "b", "p", c.C3);
        out += Line("R3", "p", "0", c.R3);
    }
    const bool noise = HasBand(options.noiseBand);
    std::string input = "p";
    if (noise) {
        out += OpAmpNoise(options, input);
    }
    if (realOpAmp) {
        out += OpAmpModel(opAmp, input);
    } else {
        out += "E1 out 0 " + input + " 0 1\n";
    }
    out += ".ac dec " + std::to_string(options.pointsPerDecade) + ' ' + SpiceNumber(range.low) +
           ' ' + SpiceNumber(range.high) + '\n';
    out += Measurements(c.isLpf);
    if (noise) {
        // The last figure 1 prints each source's integrated share beside the total.
        out += ".temp " + SpiceNumber(options.temperature) + '\n';
        out += ".noise v(out) V1 dec " + std::to_string(options.pointsPerDecade) + ' ' +
               SpiceNumber(options.noiseBand.low) + ' ' + SpiceNumber(options.noiseBand.high) +
               " 1\n";
        out += ".print noise all\n";
    }
    out += ".end\n";
    return out;
}

}  // namespace mirelto
