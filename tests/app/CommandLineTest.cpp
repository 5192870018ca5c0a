// The command line: every accepted form, and what is refused (exit 2 with the usage).
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char* name;
    QStringList arguments;  // after the program's name
    CommandLine::Action action;
    StartMode mode;
    const char* textHas;  // a part of the text printed
};

class CommandLineTest : public testing::TestWithParam<LineCase>
{
};

TEST_P(CommandLineTest, Parses)
{
    const LineCase& c = GetParam();
    const CommandLine line = ParseCommandLine(QStringList{QStringLiteral("scrimble")} + c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.mode, c.mode);
    EXPECT_TRUE(line.text.contains(QString::fromUtf8(c.textHas))) << line.text.toStdString();
}

using A = CommandLine::Action;
INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTest,
    testing::Values(LineCase{"Nothing", {}, A::Run, StartMode::Chooser, ""},
                    LineCase{"Capture", {"--mode", "capture"}, A::Run, StartMode::Capture, ""},
                    LineCase{"AutoSaveWithEquals", {"--mode=autosave"}, A::Run, StartMode::AutoSave, ""},
                    LineCase{"Version", {"--version"}, A::ShowVersion, StartMode::Chooser, "Scrimble 3.3.2"},
                    LineCase{"Help", {"--help"}, A::ShowHelp, StartMode::Chooser, "Usage: scrimble"},
                    LineCase{"HelpAll", {"--help-all"}, A::ShowHelp, StartMode::Chooser, "--mode <mode>"},
                    LineCase{"UnknownOption", {"--frobnicate"}, A::Refuse, StartMode::Chooser, "--mode <mode>"},
                    LineCase{"UnknownMode", {"--mode", "video"}, A::Refuse, StartMode::Chooser, "video"},
                    LineCase{"ModeWithoutValue", {"--mode"}, A::Refuse, StartMode::Chooser, "--mode"},
                    LineCase{"UnknownLanguage", {"--lang", "fr"}, A::Refuse, StartMode::Chooser, "'fr'"},
                    LineCase{"StrayArgument", {"picture.png"}, A::Refuse, StartMode::Chooser, "picture.png"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
