#pragma once

#include <QString>

#include <memory>

class QTranslator;

// Qt's own texts (the buttons of message boxes, the file dialogs) in the
// window's language: Qt's translation catalogue for Polish, German or Czech
// is installed with the language and removed again for English (Qt's own).
// The catalogues come with Qt (Debian: qt6-translations-l10n); a missing one
// leaves Qt's texts in English and nothing else changes.
class QtTranslations
{
public:
    // Where the catalogues are looked for; Qt's translations folder unless given.
    explicit QtTranslations(QString folder = {});
    ~QtTranslations();

    // Qt's locale name of a LanguageTable column ("pl", "de", "en", "cs"); empty for none.
    static QString localeOf(int languageColumn);

    // Installs the catalogue of the column's language in place of the last
    // one. True when Qt's texts are now in that language (English: always).
    bool apply(int languageColumn);
    // The language Qt's texts are in now ("en" when none is installed).
    QString current() const { return m_current; }

private:
    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
    QString m_current = QStringLiteral("en");
};
