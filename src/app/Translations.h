#pragma once
// The program's texts and Qt's own (the message boxes' buttons, the file dialog) in
// one language, installed into the application while this object lives. Japanese
// needs no translation of the program's texts; English needs none of Qt's.

#include "Language.h"

#include <QTranslator>

class Translations
{
public:
    // After the application object exists.
    explicit Translations(Language language);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

private:
    void install(QTranslator& translator, const QString& name, const QString& folder);

    QTranslator m_program;
    QTranslator m_qt;
};
