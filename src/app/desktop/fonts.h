// The window fonts keep the family names the layout was made with; font substitutions map them
// to installed fonts that carry every Japanese glyph. The main window's face follows the language
// (see InstallLanguage, which comes first).
#pragma once

namespace mirelto {

void RegisterFontSubstitutions();

}  // namespace mirelto
