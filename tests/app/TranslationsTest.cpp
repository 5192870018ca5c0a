// The texts in the chosen language while the translations are installed, the
// program's and Qt's own alike, and the source texts again once they are gone.
#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

#include <gtest/gtest.h>

namespace {

QString programText() { return QCoreApplication::translate("formcom", "保存(&S)"); }

QString qtYes() { return QCoreApplication::translate("QPlatformTheme", "&Yes"); }

TEST(Translations, EnglishGivesTheProgramsEnglishAndQtsOwnTexts)
{
    {
        const Translations english(Language::English);
        EXPECT_EQ(programText(), QStringLiteral("&Save"));
        EXPECT_EQ(qtYes(), QStringLiteral("&Yes"));
    }
    EXPECT_EQ(programText(), QString::fromUtf8("保存(&S)"));
}

TEST(Translations, JapaneseKeepsTheSourceTextsAndTranslatesQtsDialogs)
{
    const QDir qtTranslations(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!qtTranslations.exists(QStringLiteral("qtbase_ja.qm")))
        GTEST_SKIP() << "Qt's Japanese translation is not installed (qt6-translations-l10n)";
    {
        const Translations japanese(Language::Japanese);
        EXPECT_EQ(programText(), QString::fromUtf8("保存(&S)"));
        EXPECT_NE(qtYes(), QStringLiteral("&Yes"));
    }
    EXPECT_EQ(qtYes(), QStringLiteral("&Yes"));
}

}  // namespace
