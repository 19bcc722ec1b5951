// The one bridge from a box's QString to the core's value text.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <string_view>

#include <mirelto/values/value_text.h>

namespace mirelto {

// The UTF-8 bytes of a text for the core's readers, alive as long as the returned array.
inline QByteArray CoreText(const QString& text) {
    return text.toUtf8();
}
inline std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// The value of a box's text as the main window reads its boxes: NaN when it holds no number.
inline double ParseText(const QString& text) {
    const QByteArray utf8 = CoreText(text);
    return ParseValue(View(utf8));
}

}  // namespace mirelto
