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
// input difference. R1 only gives node x a DC path; its pole sits twelve decades below GBW.
std::string OpAmpModel(double gbw) {
    std::string model = "X1 p out out MIRELTO_OPAMP\n";
    model += ".subckt MIRELTO_OPAMP inp inn out\n";
    model += "G1 0 x inp inn 1\n";
    model += "C1 x 0 " + SpiceNumber(1 / (kTwoPi * gbw)) + '\n';
    model += "R1 x 0 1e12\n";
    model += "E1 out 0 x 0 1\n";
    model += ".ends MIRELTO_OPAMP\n";
    return model;
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
    const bool realOpAmp = IsPositiveFinite(options.opAmpGbw);
    if (realOpAmp) {
        out += "* Unity-gain follower: X1, a single-pole op-amp of GBW " +
               SpiceNumber(options.opAmpGbw) + " Hz, output tied to its inverting input.\n";
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
    if (realOpAmp) {
        out += OpAmpModel(options.opAmpGbw);
    } else {
        out += "E1 out 0 p 0 1\n";
    }
    out += ".ac dec " + std::to_string(options.pointsPerDecade) + ' ' + SpiceNumber(range.low) +
           ' ' + SpiceNumber(range.high) + '\n';
    out += Measurements(c.isLpf);
    out += ".end\n";
    return out;
}

}  // namespace mirelto
