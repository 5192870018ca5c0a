#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

Translations::Translations(Language language)
{
    if (language == Language::English)
        install(m_program, QStringLiteral("scrimble_en"), QStringLiteral(":/i18n"));
    else
        install(m_qt, QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

Translations::~Translations()
{
    QCoreApplication::removeTranslator(&m_program);
    QCoreApplication::removeTranslator(&m_qt);
}

// A system without Qt's translations keeps Qt's English buttons.
void Translations::install(QTranslator& translator, const QString& name, const QString& folder)
{
    if (translator.load(name, folder))
        QCoreApplication::installTranslator(&translator);
}
