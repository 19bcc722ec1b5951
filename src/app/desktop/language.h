// The language the windows speak: Japanese, the texts they were written in, on a Japanese desktop;
// English everywhere else. MIRELTO_LANG=ja or en overrides the desktop. Japanese installs no
// translator at all; English installs ours (compiled into the program) and Qt's own texts for the
// desktop's language where the system has them.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <mirelto/design/messages.h>

class QCoreApplication;

namespace mirelto {

enum class Language { Japanese, English };

// The language for a desktop locale and the override's value (empty: none; anything but "ja"
// or "en" is ignored).
Language ChooseLanguage(const QLocale& desktop, QStringView override);

// The language of this desktop: the first of QLocale::system()'s languages for messages, and
// MIRELTO_LANG.
Language DesktopLanguage();

// Installs the translators of `language` on the application (once, before any window is made)
// and makes it the language of CurrentLanguage().
void InstallLanguage(Language language);

// Japanese until InstallLanguage says otherwise.
Language CurrentLanguage();

// A message of the calculation in the current language.
QString MessageTextOf(MessageId id);

}  // namespace mirelto
