// The options window driven as the user drives it; the number rules themselves are
// tables of the logic tests.

#include "CaptureFixture.h"
#include "CaseName.h"
#include "Opt.h"
#include "QtPrinters.h"
#include "X11Desktop.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

Opt& openOptions(CaptureFixture& f)
{
    QTest::mouseClick(PanelButton(f.panel(), "Command8"), Qt::LeftButton);
    return *TopLevel<Opt>();
}

template<typename Widget>
Widget* child(Opt& window, const char* name)
{
    return window.findChild<Widget*>(QString::fromLatin1(name));
}

QRadioButton* option(Opt& window, const char* group, int index)
{
    for (QRadioButton* button : window.findChildren<QRadioButton*>(QString::fromLatin1(group)))
        if (button->property("index").toInt() == index)
            return button;
    return nullptr;
}

// A click on the option button's round indicator, which a wide button's middle may miss.
void choose(Opt& window, const char* group, int index)
{
    QRadioButton* button = option(window, group, index);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Types text over the field's text and moves the focus on, as a user leaving the field.
bool typeInto(Opt& window, QLineEdit* field, const QString& text)
{
    window.activateWindow();
    if (!QTest::qWaitFor([&] { return window.isActiveWindow(); }, 5000))
        return false;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
    return true;
}

struct OpeningCase {
    const char* name;
    bool byKey;
    friend void PrintTo(const OpeningCase& c, std::ostream* out) { *out << c.name; }
};

class OpensFromTheButtonAndF5 : public testing::TestWithParam<OpeningCase>
{};

TEST_P(OpensFromTheButtonAndF5, ShowsTheWindow)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    if (GetParam().byKey)
        QTest::keyClick(&f.desktop(), Qt::Key_F5);
    else
        QTest::mouseClick(PanelButton(f.panel(), "Command8"), Qt::LeftButton);
    ASSERT_TRUE(TopLevel<Opt>() && TopLevel<Opt>()->isVisible());
    EXPECT_EQ(TopLevel<Opt>()->windowTitle(), QStringLiteral("各種設定"));
}

INSTANTIATE_TEST_SUITE_P(OptionsWindow, OpensFromTheButtonAndF5,
                         testing::Values(OpeningCase{"Command8", false}, OpeningCase{"F5 on the desktop copy", true}),
                         PrintedCaseName());

// Each field's rule, typed key by key, reaches the options, the field's text and its
// slider (the rules' rows are the logic test's).
struct NumberFieldCase {
    const char* name;
    const char* field;
    const char* typed;
    int value;
    friend void PrintTo(const NumberFieldCase& c, std::ostream* out) { *out << c.name; }
};

class NumberFields : public testing::TestWithParam<NumberFieldCase>
{};

TEST_P(NumberFields, ReachTheOptionsTheTextAndTheSlider)
{
    const NumberFieldCase& c = GetParam();
    const QString field = QString::fromLatin1(c.field);
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.options.PngDetailed = 1;
    Opt& window = openOptions(f);
    auto* text = child<QLineEdit>(window, c.field);
    ASSERT_TRUE(typeInto(window, text, QString::fromLatin1(c.typed)));
    const int stored = field == u"Text1"   ? f.options.GrayStrength
                       : field == u"Text2" ? f.options.JpegQuality
                       : field == u"Text3" ? f.options.PngCompression
                                           : f.options.PngGamma;
    EXPECT_EQ(stored, c.value);
    EXPECT_EQ(text->text(), QString::number(c.value));
    EXPECT_EQ(child<QSlider>(window, qPrintable(QStringLiteral("Slider") + field.back()))->value(), c.value);
}

INSTANTIATE_TEST_SUITE_P(OptionsWindow, NumberFields,
                         testing::Values(NumberFieldCase{"grey -4", "Text1", "-4", 0},
                                         NumberFieldCase{"quality 2.5", "Text2", "2.5", 2},
                                         NumberFieldCase{"level 12", "Text3", "12", 9},
                                         NumberFieldCase{"gamma letters", "Text4", "abc", 0}),
                         PrintedCaseName());

TEST(OptionsWindow, GammaPresetsAndReset)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.options.PngDetailed = 1;
    Opt& window = openOptions(f);
    QTest::mouseClick(child<QPushButton>(window, "Command2"), Qt::LeftButton);
    EXPECT_EQ(f.options.PngGamma, 55556);
    EXPECT_EQ(child<QSlider>(window, "Slider4")->value(), 55556);
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    EXPECT_EQ(f.options.PngGamma, 45455);
    f.options.JpegProgressive = OptionTrue;
    choose(window, "Option4", 2);
    QTest::mouseClick(child<QPushButton>(window, "Command3"), Qt::LeftButton);
    EXPECT_EQ(f.options.PngCompression, std::int16_t{5});
    EXPECT_EQ(f.options.BitDepth, ColorDepth::Bits24);
    EXPECT_EQ(f.options.PngDetailed, std::int16_t{0});
    EXPECT_EQ(f.options.JpegProgressive, OptionTrue);
    EXPECT_TRUE(option(window, "Option4", 0)->isChecked());
    EXPECT_FALSE(child<QGroupBox>(window, "Frame7")->isEnabled());
}

// The 8-bit group is enabled exactly at 8 bits, and keeps its choices meanwhile.
TEST(OptionsWindow, EightBitGroupFollowsTheBitDepth)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    Opt& window = openOptions(f);
    auto* group = child<QGroupBox>(window, "Frame1");
    EXPECT_FALSE(group->isEnabled()) << "at 24 bits";
    choose(window, "Option4", 2);
    EXPECT_TRUE(group->isEnabled()) << "at 8 bits";
    choose(window, "Option2", 1);
    choose(window, "Option4", 1);
    EXPECT_FALSE(group->isEnabled()) << "at 16 bits";
    choose(window, "Option4", 0);
    EXPECT_FALSE(group->isEnabled()) << "at 24 bits again";
    choose(window, "Option4", 2);
    EXPECT_TRUE(group->isEnabled()) << "at 8 bits again";
    EXPECT_TRUE(option(window, "Option2", 1)->isChecked());
    EXPECT_EQ(f.options.BoxColorMethod, std::int16_t{1});
}

TEST(OptionsWindow, ReopeningShowsTheSameAndKeepsTheGamma)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    Opt& window = openOptions(f);
    choose(window, "Option4", 2);
    choose(window, "Option3", 2);
    choose(window, "Option5", 1);
    ASSERT_TRUE(typeInto(window, child<QLineEdit>(window, "Text4"), QStringLiteral("12345")));
    const OutputOptions before = f.options;
    QTest::mouseClick(child<QPushButton>(window, "Command4"), Qt::LeftButton);
    ASSERT_FALSE(window.isVisible());
    Opt& again = openOptions(f);
    EXPECT_TRUE(SameOptions(f.options, before));
    EXPECT_TRUE(option(again, "Option3", 2)->isChecked() && option(again, "Option5", 1)->isChecked());
    EXPECT_EQ(child<QLineEdit>(again, "Text4")->text(), QStringLiteral("12345"));
}

// Command5 refreshes the picture with the grey step and keeps this window in front.
TEST(OptionsWindow, RefreshKeepsItInFront)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(f.type({{"sX", "10"}, {"sY", "10"}, {"eX", "110"}, {"eY", "60"}}));
    Opt& window = openOptions(f);
    ASSERT_TRUE(typeInto(window, child<QLineEdit>(window, "Text1"), QStringLiteral("255")));
    QTest::mouseClick(child<QPushButton>(window, "Command5"), Qt::LeftButton);
    ASSERT_EQ(f.picture().size(), QSize(100, 50));
    const std::uint32_t pixel = f.model().picture().row(20)[30];
    EXPECT_EQ((pixel >> 16) & 0xFFu, pixel & 0xFFu);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return X11Desktop::isAbove(window, f.picture()) && X11Desktop::isAbove(window, f.panel()); }, 5000));
}

// With none of its controls holding the focus, the window closes when it loses it.
TEST(OptionsWindow, LosingTheFocusClosesIt)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    Opt& window = openOptions(f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, 5000));
    if (QWidget* focused = window.focusWidget())
        focused->clearFocus();
    f.panel().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_FALSE(window.isLoaded());
}

TEST(OptionsWindow, NewCaptureHidesIt)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    Opt& window = openOptions(f);
    QPushButton* clear = PanelButton(f.panel(), "Command3");
    clear->click();
    clear->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.isLoaded());
}

}  // namespace
