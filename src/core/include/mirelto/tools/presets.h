// Response-type presets: fa, fo and Q of classic third-order responses, computed in double
// precision from each response's own definition (pole formulas, polynomial roots, and for the
// linear-phase responses an equiripple solution by Newton's method), for a cutoff frequency fc.
// No tables of rounded values; no shared state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mirelto/design/circuit.h"

namespace mirelto {

enum class ResponseFamily { Butterworth, Bessel, Chebyshev, LinearPhase, Legendre };

// What fc means for a preset.
enum class Normalisation {
    Cutoff3dB,   // |H| is -3 dB at fc
    Delay,       // Bessel: group delay at zero frequency 1 / (2 pi fc); linear phase: the linear
                 // phase its error is measured from has that delay
    RippleEdge,  // Chebyshev: the pass band's ripple ends at fc
};

// The families and their parameter:
// - Butterworth: poles equally spaced on the unit circle.
// - Bessel: the poles of the reverse Bessel polynomial s^3 + 6 s^2 + 15 s + 15.
// - Chebyshev (parameter: ripple in dB): the type I poles for that ripple.
// - LinearPhase (parameter: phase error in degrees): the all-pole cubic whose phase phi(w) stays
//   within +-error of the linear phase -w tau over the widest band [0, W] the cubic allows: the
//   error phi(w) + w tau alternates -error, +error, -error at three extrema inside the band and
//   reaches +error at W (four alternations for the three free coefficients, tau fixing the
//   scale). Solved by Newton's method on those seven equations.
// - Legendre: Papoulis' optimum L response, |H|^2 = 1 / (1 + L3(w^2)), L3 derived from its
//   definition (the integral of a squared sum of Legendre polynomials); -3 dB at w = 1.
// A family with a normalisation it does not define (Butterworth by its delay, say), or a
// parameter outside its range, gives NaN poles.

struct Preset {
    ResponseFamily family = ResponseFamily::Butterworth;
    double parameter = 0;  // Chebyshev: ripple in dB; linear phase: phase error in degrees
    Normalisation normalisation = Normalisation::Cutoff3dB;
    std::string_view name;  // short English name, e.g. "Chebyshev 0.5 dB (ripple edge)"
};

// Every preset, in the order the window lists them: Butterworth; Bessel (-3 dB, delay);
// Chebyshev 0.01, 0.1, 0.25, 0.5, 1, 2, 3 dB, each -3 dB then ripple edge; linear phase 0.05 and
// 0.5 degrees; Legendre.
const std::vector<Preset>& Presets();

// fa/fc, fo/fc and Q of the low-pass form.
PoleSet NormalisedPoles(const Preset& preset);

// fa, fo, Q for cutoff fc (Hz); in HPF mode the frequencies are mapped reciprocally
// (fa = fc / (fa/fc of the low-pass), likewise fo), Q unchanged.
PoleSet PresetPoles(const Preset& preset, double fc, bool isLpf);

// Significant digits of a preset's fa, fo and Q as text: 7 keep every value within 5e-7 of the
// preset's, so a design typed from the text starts where the preset does (4 were 0.03 % off).
inline constexpr int kPresetDigits = 7;

// The text a preset value goes into the request boxes with: FormatSISignificant at kPresetDigits
// ("10.53253k"); empty for NaN. The window and mirelto-cli both read the request from it, so both
// design the same numbers.
std::string PresetValueText(double value);

}  // namespace mirelto
