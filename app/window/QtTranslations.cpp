#include "app/window/QtTranslations.h"

#include "i18n/LanguageTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QtTranslations::QtTranslations(QString folder)
    : m_folder(folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : std::move(folder))
{
}

QtTranslations::~QtTranslations()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

QString QtTranslations::localeOf(int languageColumn)
{
    switch (languageColumn) {
    case LanguageTable::German: return QStringLiteral("de");
    case LanguageTable::English: return QStringLiteral("en");
    case LanguageTable::Polish: return QStringLiteral("pl");
    case LanguageTable::Czech: return QStringLiteral("cs");
    default: return {};
    }
}

bool QtTranslations::apply(int languageColumn)
{
    const QString locale = localeOf(languageColumn);
    if (locale.isEmpty())
        return false;
    if (locale == m_current)
        return true;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    m_current = QStringLiteral("en");
    if (locale == QLatin1String("en"))
        return true;
    // "qt_<locale>" gathers the catalogues of every Qt module for the language.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qt_") + locale, m_folder)
        && !translator->load(QStringLiteral("qtbase_") + locale, m_folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    m_current = locale;
    return true;
}
