#include "desktop/fonts.h"

#include <QFont>
#include <QStringList>

#include "desktop/language.h"

namespace mirelto {

void RegisterFontSubstitutions() {
    // Fixed-pitch gothic for the main window, a serif for printing, a sans-serif for the help
    // text; each falls back to a Japanese face so no character shows as an empty box. In English
    // the main window reads in the sans-serif: narrower than the gothic's half-width letters, so
    // the longer English words fit the same controls.
    QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                       QStringLiteral("Noto Sans Mono CJK JP")};
    if (CurrentLanguage() == Language::English) {
        gothic.prepend(QStringLiteral("DejaVu Sans"));
    }
    QFont::removeSubstitutions(QStringLiteral("ＭＳ ゴシック"));
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"),
                               {QStringLiteral("IPAMincho"), QStringLiteral("IPAexMincho"),
                                QStringLiteral("Noto Serif CJK JP")});
    QFont::insertSubstitutions(
        QStringLiteral("Tahoma"),
        {QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
}

}  // namespace mirelto
