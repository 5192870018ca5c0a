#include "Language.h"

namespace {

struct Known {
    const char* code;
    Language language;
};
constexpr Known KnownLanguages[] = {{"ja", Language::Japanese}, {"en", Language::English}};

// "en", "en-US", "en_GB" and "en-Latn-US" are English; "enx" is not.
std::optional<Language> languageOfTag(const QString& tag)
{
    const QString code = tag.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
    return LanguageNamed(code);
}

}  // namespace

Language LanguageOfDesktop(const QStringList& uiLanguages)
{
    for (const QString& tag : uiLanguages)
        if (const std::optional<Language> language = languageOfTag(tag))
            return *language;
    return Language::Japanese;
}

std::optional<Language> LanguageNamed(const QString& name)
{
    for (const Known& known : KnownLanguages)
        if (name == QLatin1String(known.code))
            return known.language;
    return std::nullopt;
}
