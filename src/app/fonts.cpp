#include "fonts.h"

#include <QFont>
#include <QStringList>

namespace mirelto {

void RegisterFontSubstitutions() {
    // Fixed-pitch gothic for the main window, a serif for printing, a sans-serif for the help
    // text; each falls back to a Japanese face so no character shows as an empty box.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans Mono CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"),
                               {QStringLiteral("IPAMincho"), QStringLiteral("IPAexMincho"),
                                QStringLiteral("Noto Serif CJK JP")});
    QFont::insertSubstitutions(
        QStringLiteral("Tahoma"),
        {QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
}

}  // namespace mirelto
