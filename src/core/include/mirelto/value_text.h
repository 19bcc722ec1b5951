// Value text: engineering notation with SI prefix letters ("22k", "3.3n", "1.2e-6", "4k7").
// Owns reading typed text into doubles in base units and writing doubles back as fixed-width
// texts. Always "." as the decimal mark, whatever the process locale. Keeps no state.
#pragma once

#include <string>
#include <string_view>

namespace mirelto {

// The value of a typed text (UTF-8, any bytes), or a quiet NaN when it holds no number.
// Never throws.
double ParseValue(std::string_view text);

// The value with `decimals` digits after ".", blank-padded on the left to `width`; NaN gives the
// asterisk marker (" ***** " at width 7). Longer texts are not cut. Magnitudes of 1e17 and more
// take the exponent form with the shortest digits that read back as the value ("1E018").
std::string FormatFixed(double value, int width, int decimals);

// The value scaled into one SI row ("p" to "T"), FormatFixed at width - 1, then the prefix letter.
std::string FormatSI(double value, int width, int decimals);

// The value in the SI row ("p" to "T") of its rounded value, with `digits` significant digits
// (1 to 17) and no padding: "1.323k", "880.5", "691.0m". Below pico or beyond tera the end row
// is kept ("0.1500p", "10000T"), in the exponent form where the plain one would need more than 17
// digits or leading zeros ("1.000E288T"). NaN and infinities give an empty text.
std::string FormatSISignificant(double value, int digits);

}  // namespace mirelto
