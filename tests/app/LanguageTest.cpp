// The language of the texts: the desktop's first language the program has texts for,
// unless --lang names one.
#include "app/CommandLine.h"
#include "app/Language.h"

#include <gtest/gtest.h>

namespace {

struct DesktopCase {
    const char* name;
    QStringList uiLanguages;  // as QLocale::uiLanguages() gives them
    Language expected;
};

class DesktopLanguage : public testing::TestWithParam<DesktopCase>
{};

TEST_P(DesktopLanguage, IsTheFirstTheProgramHasTextsFor)
{
    EXPECT_EQ(LanguageOfDesktop(GetParam().uiLanguages), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, DesktopLanguage,
    testing::Values(DesktopCase{"English", {"en-US", "en"}, Language::English},
                    DesktopCase{"Japanese", {"ja-JP", "ja"}, Language::Japanese},
                    DesktopCase{"CLocale", {"C"}, Language::Japanese}, DesktopCase{"Nothing", {}, Language::Japanese},
                    DesktopCase{"FrenchThenEnglish", {"fr-FR", "fr", "en-GB", "en"}, Language::English},
                    DesktopCase{"OnlyGerman", {"de-DE", "de"}, Language::Japanese},
                    DesktopCase{"JapaneseBeforeEnglish", {"ja", "en"}, Language::Japanese},
                    DesktopCase{"UnderscoreAndScript", {"en_Latn_US"}, Language::English},
                    DesktopCase{"LongerCodeIsAnother", {"enx", "ja"}, Language::Japanese}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LanguageOption, NamesTheLanguageForTheRun)
{
    const CommandLine line = ParseCommandLine({"scrimble", "--lang", "en", "--mode", "capture"});
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_EQ(line.mode, StartMode::Capture);
    EXPECT_EQ(line.language, Language::English);
    EXPECT_EQ(ParseCommandLine({"scrimble", "--lang=ja"}).language, Language::Japanese);
    EXPECT_EQ(ParseCommandLine({"scrimble"}).language, std::nullopt);
}

}  // namespace
