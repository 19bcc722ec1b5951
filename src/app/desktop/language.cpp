#include "desktop/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace mirelto {

namespace {

Language current = Language::Japanese;

constexpr char kOverrideVariable[] = "MIRELTO_LANG";

}  // namespace

Language ChooseLanguage(const QLocale& desktop, QStringView override) {
    if (override == u"ja") {
        return Language::Japanese;
    }
    if (override == u"en") {
        return Language::English;
    }
    return desktop.language() == QLocale::Japanese ? Language::Japanese : Language::English;
}

Language DesktopLanguage() {
    // The language the desktop shows its messages in (LANGUAGE, LC_MESSAGES, LANG), as
    // translated programs follow it; the number formats may come from another locale.
    const QStringList languages = QLocale::system().uiLanguages();
    const QLocale messages = languages.isEmpty() ? QLocale::system() : QLocale(languages.first());
    return ChooseLanguage(messages, qEnvironmentVariable(kOverrideVariable));
}

void InstallLanguage(Language language) {
    current = language;
    if (language == Language::Japanese) {
        return;
    }
    // Kept for the program's life, as the application only refers to them.
    static QTranslator ours;
    static QTranslator qt;
    if (ours.load(QStringLiteral(":/i18n/mirelto_en.qm"))) {
        QCoreApplication::installTranslator(&ours);
    }
    // The standard dialogs in the desktop's language, unless that is the one the user turned
    // away from: Qt's own texts are English already.
    const QLocale desktop = QLocale::system();
    if (DesktopLanguage() != Language::Japanese &&
        qt.load(desktop, QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qt);
    }
}

Language CurrentLanguage() {
    return current;
}

QString MessageTextOf(MessageId id) {
    const MessageText& text = TextOf(id);
    const std::string_view shown = current == Language::English ? text.english : text.japanese;
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

}  // namespace mirelto
