// Value text the other way: doubles written as fixed-width texts, plain or with an SI prefix
// letter, as the windows, the report and the CLI show results. Always "." as the decimal mark,
// whatever the process locale. Keeps no state.
#pragma once

#include <string>

namespace mirelto {

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

// The text of a result box: FormatSI at the window's width 8 with 3 decimals ("  6.800n").
inline constexpr int kShownWidth = 8;
inline constexpr int kShownDecimals = 3;
std::string FormatShown(double value);

// The value as a person types it: the fewest significant digits that read back (ParseValue) to
// within kTypedSameValue of it, without trailing zeros ("6.8n", "24k", "1.5"); the shortest
// exponent form where no prefixed text does. NaN and infinities give an empty text.
std::string FormatTyped(double value);

}  // namespace mirelto
