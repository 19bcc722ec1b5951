// The window fonts keep the family names the layout was made with; font substitutions map them
// to installed fonts that carry every Japanese glyph.
#pragma once

namespace mirelto {

void RegisterFontSubstitutions();

}  // namespace mirelto
