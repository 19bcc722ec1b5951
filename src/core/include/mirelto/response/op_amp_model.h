// The one op-amp model every part of Mirelto shares: the figures a datasheet gives (SI units),
// each one optional. The response, the noise analysis, the signal limits, the compensation and
// the netlist read what they need from it; a calculation that needs a figure which is not given
// says which one (OpAmpFigure). A value type with no state.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirelto {

// One figure of an op-amp, for the calculations to name the one they are missing.
enum class OpAmpFigure {
    Gbw,
    DcGain,
    VoltageNoise,
    VoltageNoiseCorner,
    CurrentNoise,
    CurrentNoiseCorner,
    SlewRate,
    SwingLow,
    SwingHigh,
    CommonModeLow,
    CommonModeHigh,
    Supply,
    OutputResistance,
};
inline constexpr std::size_t kOpAmpFigureCount = 13;

// "gbw", "a0", "en", ...: the names mirelto-cli and the design file use.
std::string_view OpAmpFigureName(OpAmpFigure figure);

// Every figure is NaN when not given. A figure of 0 is a real figure (a corner of 0: no 1/f
// noise; a headroom of 0: to the rail).
struct OpAmp {
    std::string name;         // empty for figures typed in
    double gbw;               // gain-bandwidth product, Hz
    double a0;                // open-loop DC gain, V/V
    double en;                // input voltage noise density (white), V/sqrt(Hz)
    double enCorner;          // its 1/f corner, Hz
    double in;                // input current noise density (white), A/sqrt(Hz)
    double inCorner;          // its 1/f corner, Hz
    double slewRate;          // V/s
    double swingLow;          // the lowest output's headroom above the negative rail, V
    double swingHigh;         // the highest output's headroom below the positive rail, V
    double cmLow;             // input common-mode range's headroom above the negative rail, V (< 0:
    double cmHigh;            //   beyond it); the same below the positive rail
    double supply;            // the rails are +supply and -supply, V
    double outputResistance;  // open-loop output resistance, ohms
    bool unityGainStable = true;  // false: not stable as our follower (a warning when chosen)
    std::string source;           // the datasheet the figures come from
    std::string notes;            // how figures were read, caveats

    OpAmp();
    // Only the figures the response uses: a single-pole op-amp of this gain-bandwidth product.
    static OpAmp WithGbw(double gbw);
};

// Whether a figure is given (not NaN).
bool IsGiven(double figure);
double FigureOf(const OpAmp& opAmp, OpAmpFigure figure);
double& FigureOf(OpAmp& opAmp, OpAmpFigure figure);

// The given figures of `over` replace those of `base` (options typed as well as a table part).
OpAmp Overlaid(OpAmp base, const OpAmp& over);

// Whether the response differs from the ideal follower: a positive finite GBW.
bool HasDynamics(const OpAmp& opAmp);

// The input noise densities at a frequency with their 1/f corners: e^2 (1 + fc / f). A missing
// density counts as none; a missing corner as no 1/f part.
double VoltageNoiseDensity(const OpAmp& opAmp, double frequency);
double CurrentNoiseDensity(const OpAmp& opAmp, double frequency);

}  // namespace mirelto
