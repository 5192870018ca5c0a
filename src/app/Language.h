#pragma once
// The language of the program's texts. Japanese is the program's own: its texts are
// the source texts. English comes from the translation built into the program.

#include <QString>
#include <QStringList>

#include <optional>

enum class Language { Japanese, English };

// The first of the desktop's UI languages (most preferred first, as
// QLocale::uiLanguages() gives them: "en-US", "ja", "C") that the program has texts
// for; with none of them, Japanese.
[[nodiscard]] Language LanguageOfDesktop(const QStringList& uiLanguages);
// The language of a --lang value: "ja" or "en".
[[nodiscard]] std::optional<Language> LanguageNamed(const QString& name);
