// The command line: every accepted form, and what is refused (exit 2 with the usage).
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct LineCase {
    const char* name;
    QStringList arguments;  // after the program's name
    CommandLine::Action action;
    StartMode mode;
    const char* textHas;  // a part of the text printed
};

class CommandLineTest : public testing::TestWithParam<LineCase>
{};

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

namespace {

// --grab and its options: the request they make, or the one line that refuses them.
struct GrabCase {
    const char* name;
    QStringList arguments;
    CommandLine::Action action;
    std::function<bool(const GrabRequest&)> made;  // Grab: what the request must hold
    const char* refusal;                           // Refuse: a part of the line
};

class GrabLineTest : public testing::TestWithParam<GrabCase>
{};

TEST_P(GrabLineTest, Parses)
{
    const GrabCase& c = GetParam();
    const CommandLine line = ParseCommandLine(QStringList{QStringLiteral("scrimble")} + c.arguments);
    ASSERT_EQ(line.action, c.action) << line.text.toStdString();
    if (c.action == CommandLine::Action::Grab) {
        EXPECT_TRUE(c.made(line.grab));
        return;
    }
    EXPECT_TRUE(line.text.contains(QString::fromUtf8(c.refusal))) << line.text.toStdString();
    if (c.arguments.contains(QStringLiteral("--grab"))) {
        EXPECT_EQ(line.text.count(u'\n'), 1) << line.text.toStdString();
    }
}

using G = GrabRequest;
INSTANTIATE_TEST_SUITE_P(
    Lines, GrabLineTest,
    testing::Values(
        GrabCase{"WholeScreenToPictures",
                 {"--grab"},
                 A::Grab,
                 [](const G& g) {
                     return !g.region && g.target == GrabTarget::PicturesFolder && g.format == SaveFormat::Png;
                 },
                 ""},
        GrabCase{"RegionToPng",
                 {"--grab", "--region", "200x150+100+50", "--output", "a.png"},
                 A::Grab,
                 [](const G& g) {
                     return g.region == QRect(100, 50, 200, 150) && g.target == GrabTarget::File
                            && g.output == u"a.png";
                 },
                 ""},
        GrabCase{"DelayInSeconds",
                 {"--grab", "--delay", "1.5"},
                 A::Grab,
                 [](const G& g) { return g.delayMilliseconds == 1500; },
                 ""},
        GrabCase{"Bmp8Rle",
                 {"--grab", "--output", "A.BMP", "--depth", "8", "--rle"},
                 A::Grab,
                 [](const G& g) {
                     return g.format == SaveFormat::Bmp && g.options.BitDepth == ColorDepth::Bits8
                            && g.options.RleCompress == OptionTrue;
                 },
                 ""},
        GrabCase{"JpegOptions",
                 {"--grab", "--output", "a.jpeg", "--jpeg-quality", "90", "--progressive"},
                 A::Grab,
                 [](const G& g) {
                     return g.format == SaveFormat::Jpeg && g.options.JpegQuality == 90
                            && g.options.JpegProgressive == OptionTrue;
                 },
                 ""},
        GrabCase{"PngLevelToStandardOutput",
                 {"--grab", "--output", "-", "--png-level", "0"},
                 A::Grab,
                 [](const G& g) {
                     return g.target == GrabTarget::StandardOutput && g.options.PngDetailed == 1
                            && g.options.PngCompression == 0;
                 },
                 ""},
        GrabCase{"Clipboard",
                 {"--grab", "--clipboard"},
                 A::Grab,
                 [](const G& g) { return g.target == GrabTarget::Clipboard; },
                 ""},
        GrabCase{"EmptyRegion", {"--grab", "--region", "0x0"}, A::Refuse, nullptr, "'0x0'"},
        GrabCase{"MissingValue", {"--grab", "--output"}, A::Refuse, nullptr, "--output"},
        GrabCase{"UnknownOption", {"--grab", "--frobnicate"}, A::Refuse, nullptr, "frobnicate"},
        GrabCase{"UnknownExtension", {"--grab", "--output", "a.gif"}, A::Refuse, nullptr, "a.gif"},
        GrabCase{"OptionOfAnotherFormat", {"--grab", "--output", "a.png", "--depth", "8"}, A::Refuse, nullptr, "BMP"},
        GrabCase{"RleWithoutDepth8", {"--grab", "--output", "a.bmp", "--rle"}, A::Refuse, nullptr, "--depth 8"},
        GrabCase{
            "QualityOutOfRange", {"--grab", "--output", "a.jpg", "--jpeg-quality", "101"}, A::Refuse, nullptr, "101"},
        GrabCase{"FileOptionOnTheClipboard", {"--grab", "--clipboard", "--gray", "9"}, A::Refuse, nullptr, "clipboard"},
        GrabCase{
            "OutputAndClipboard", {"--grab", "--clipboard", "--output", "a.png"}, A::Refuse, nullptr, "--clipboard"},
        GrabCase{"WithMode", {"--grab", "--mode", "capture"}, A::Refuse, nullptr, "--mode"},
        GrabCase{"NegativeDelay", {"--grab", "--delay", "-1"}, A::Refuse, nullptr, "--delay"},
        GrabCase{"RegionWithoutGrab", {"--region", "10x10"}, A::Refuse, nullptr, "--region needs --grab"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
