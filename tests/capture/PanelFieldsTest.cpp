#include "CaptureSelection.h"
#include "PanelFields.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using CoordinateRule = CoordinateCommit (*)(const QString&, const QString&, std::int32_t, std::int32_t);

struct CoordinateCase {
    const char* text;
    const char* oppositeText;
    std::int32_t previous;
    std::int32_t value;
    const char* shown;
    std::optional<const char*> oppositeShown;
};

void PrintTo(const CoordinateCase& c, std::ostream* os)
{
    *os << '"' << c.text << "\" against \"" << c.oppositeText << '"';
}

constexpr std::int32_t ScreenWidth = 1024;

// One table per rule: the rule is the suite's, the texts are the cases.
template<CoordinateRule Rule>
class CoordinateFieldTest : public testing::TestWithParam<CoordinateCase>
{
protected:
    void check()
    {
        const CoordinateCase& c = GetParam();
        const CoordinateCommit commit =
            Rule(QString::fromUtf8(c.text), QString::fromUtf8(c.oppositeText), c.previous, ScreenWidth);
        EXPECT_EQ(commit.value, c.value);
        EXPECT_EQ(commit.text, QString::fromUtf8(c.shown));
        ASSERT_EQ(commit.oppositeText.has_value(), c.oppositeShown.has_value());
        if (c.oppositeShown) {
            EXPECT_EQ(*commit.oppositeText, QString::fromUtf8(*c.oppositeShown));
        }
    }
};

// sX: clamps to the screen and pulls the end text up.
using StartFieldTest = CoordinateFieldTest<&CommitStartField>;
TEST_P(StartFieldTest, Commits) { check(); }

INSTANTIATE_TEST_SUITE_P(Texts, StartFieldTest,
                         testing::Values(CoordinateCase{"-5", "0", 7, 0, "0", std::nullopt},
                                         CoordinateCase{"5000", "1024", 0, 1024, "1024", std::nullopt},
                                         CoordinateCase{"5000", "100", 0, 1024, "1024", "1024"},
                                         CoordinateCase{"500", "300", 0, 500, "500", "500"},
                                         CoordinateCase{"12.9", "20", 0, 12, "12", std::nullopt},
                                         CoordinateCase{"-3.5", "20", 9, 0, "0", std::nullopt},
                                         CoordinateCase{"1,024", "1,024", 0, 1024, "1024", std::nullopt},
                                         CoordinateCase{"abc", "50", 37, 37, "37", std::nullopt},
                                         // The kept value still pulls an end text that lies before it.
                                         CoordinateCase{"", "0", 37, 37, "37", "37"}),
                         PrintedCaseName());

// eX: raises to 0, pulls the start text down, then clamps to the screen.
using EndFieldTest = CoordinateFieldTest<&CommitEndField>;
TEST_P(EndFieldTest, Commits) { check(); }

INSTANTIATE_TEST_SUITE_P(Texts, EndFieldTest,
                         testing::Values(CoordinateCase{"300", "500", 0, 300, "300", "300"},
                                         CoordinateCase{"-5", "0", 3, 0, "0", std::nullopt},
                                         CoordinateCase{"-5", "10", 3, 0, "0", "0"},
                                         CoordinateCase{"5000", "2000", 0, 1024, "1024", std::nullopt},
                                         // The start text is compared before the upper clamp and takes that value.
                                         CoordinateCase{"5000", "6000", 0, 1024, "1024", "5000"},
                                         CoordinateCase{"1,024", "0", 0, 1024, "1024", std::nullopt},
                                         CoordinateCase{"640.99", "640", 0, 640, "640", std::nullopt},
                                         CoordinateCase{"x", "10", 42, 42, "42", std::nullopt},
                                         CoordinateCase{"x", "50", 42, 42, "42", "42"}),
                         PrintedCaseName());

struct NumberCase {
    const char* text;
    std::int16_t previous;
    std::int32_t value;
};

using NumberRule = FieldCommit (*)(const QString&, std::int16_t);

template<NumberRule Rule>
class NumberFieldTest : public testing::TestWithParam<NumberCase>
{
protected:
    void check()
    {
        const FieldCommit commit = Rule(QString::fromUtf8(GetParam().text), GetParam().previous);
        EXPECT_EQ(commit.value, GetParam().value);
        EXPECT_EQ(commit.text, QString::number(GetParam().value));
    }
};

// Text2: floor, then 50..200 percent.
using MagnificationTest = NumberFieldTest<&CommitMagnification>;
TEST_P(MagnificationTest, Commits) { check(); }

INSTANTIATE_TEST_SUITE_P(Texts, MagnificationTest,
                         testing::Values(NumberCase{"75.9", 100, 75}, NumberCase{"300", 100, 200},
                                         NumberCase{"10", 100, 50}, NumberCase{"100", 150, 100},
                                         NumberCase{"70000", 100, 200}, NumberCase{"-70000", 100, 50},
                                         NumberCase{"abc", 120, 120}, NumberCase{"1e3", 120, 120},
                                         NumberCase{"", 80, 80}),
                         [](const auto& c) { return CaseName(c.param.text, c.param.previous); });

// Text1: floor, then 0..30 seconds; a number in range keeps its text as typed.
struct DelayCase {
    const char* text;
    std::int16_t previous;
    std::int32_t value;
    const char* shown;
};

class CaptureDelayTest : public testing::TestWithParam<DelayCase>
{};

TEST_P(CaptureDelayTest, Commits)
{
    const FieldCommit commit = CommitCaptureDelay(QString::fromUtf8(GetParam().text), GetParam().previous);
    EXPECT_EQ(commit.value, GetParam().value);
    EXPECT_EQ(commit.text, QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Texts, CaptureDelayTest,
                         testing::Values(DelayCase{"0", 5, 0, "0"}, DelayCase{"30", 5, 30, "30"},
                                         DelayCase{"31", 5, 30, "30"}, DelayCase{"-1", 5, 0, "0"},
                                         DelayCase{"7.8", 0, 7, "7.8"}, DelayCase{"2,0", 0, 20, "2,0"},
                                         DelayCase{"40000", 0, 30, "30"}, DelayCase{"1,5000", 0, 30, "30"},
                                         DelayCase{"abc", 5, 5, "5"}),
                         [](const auto& c) { return CaseName(c.param.text, c.param.previous); });

class TimerIntervalTest : public testing::TestWithParam<std::pair<std::int16_t, int>>
{};

TEST_P(TimerIntervalTest, IsDelayTimesThousandPlusOne)
{
    EXPECT_EQ(CaptureTimerInterval(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Delays, TimerIntervalTest,
                         testing::Values(std::pair<std::int16_t, int>{0, 1}, std::pair<std::int16_t, int>{30, 30001},
                                         std::pair<std::int16_t, int>{5, 5001}, std::pair<std::int16_t, int>{31, 30001},
                                         std::pair<std::int16_t, int>{-1, 1}),
                         [](const auto& c) { return CaseName(c.param.first); });

struct UpdateCase {
    std::int32_t startX, startY, endX, endY;
    double left, top, width, height;
};

class UpdateRectTest : public testing::TestWithParam<UpdateCase>
{};

TEST_P(UpdateRectTest, SpansTheCommittedCornersWhicheverWayRound)
{
    const UpdateCase& c = GetParam();
    CaptureSelection selection;
    selection.StartX = c.startX;
    selection.StartY = c.startY;
    selection.EndX = c.endX;
    selection.EndY = c.endY;
    for (const bool visible : {false, true}) {
        const ShapeRect shape = UpdateRect(selection, {1, 2, 3, 4, visible});
        EXPECT_DOUBLE_EQ(shape.left, c.left);
        EXPECT_DOUBLE_EQ(shape.top, c.top);
        EXPECT_DOUBLE_EQ(shape.width, c.width);
        EXPECT_DOUBLE_EQ(shape.height, c.height);
        EXPECT_EQ(shape.visible, visible);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corners, UpdateRectTest,
    testing::Values(UpdateCase{10, 20, 110, 70, 10, 20, 100, 50}, UpdateCase{500, 20, 300, 70, 300, 20, 200, 50},
                    UpdateCase{10, 400, 110, 300, 10, 300, 100, 100}, UpdateCase{0, 0, 0, 0, 0, 0, 0, 0}),
    [](const auto& c) { return CaseName(c.param.startX, c.param.startY, c.param.endX, c.param.endY); });

TEST(SelectAllTest, HalfMagnificationOnA1024By768Screen)
{
    CaptureSelection selection;
    selection.Magnification = 50;
    selection.StartX = 1;
    selection.StartY = 2;
    selection.EndX = 3;
    selection.EndY = 4;
    const SelectAllResult result = SelectAll(selection, 1024, 768);
    EXPECT_EQ(selection.ViewWidth, 512);
    EXPECT_EQ(selection.ViewHeight, 384);
    EXPECT_EQ(selection.SelectionWidth, 1024);
    EXPECT_EQ(selection.SelectionHeight, 768);
    EXPECT_EQ(result.fieldTexts, (std::array<QString, 4>{"0", "0", "1024", "768"}));
    EXPECT_EQ(selection.StartX, 0);
    EXPECT_EQ(selection.StartY, 0);
    EXPECT_EQ(selection.EndX, 1024);
    EXPECT_EQ(selection.EndY, 768);
    EXPECT_TRUE(result.shape.visible);
    EXPECT_DOUBLE_EQ(result.shape.left, 0);
    EXPECT_DOUBLE_EQ(result.shape.top, 0);
    EXPECT_DOUBLE_EQ(result.shape.width, 1024);
    EXPECT_DOUBLE_EQ(result.shape.height, 768);
}

TEST(CommitCornersTest, StartAndExclusiveEndInTextsAndVariables)
{
    struct Case {
        ShapeRect shape;
        std::array<std::int32_t, 4> corners;
    };
    for (const Case& c : {Case{{100, 50, 200, 150, true}, {100, 50, 300, 200}},
                          Case{{1800, 1000, 0, 0, true}, {1800, 1000, 1800, 1000}},
                          Case{{-550, -340, 1000000, 80, true}, {-550, -340, 999450, -260}},
                          Case{{10.5, 11.5, 20, 20, true}, {10, 12, 30, 32}}}) {
        CaptureSelection selection;
        const std::array<QString, 4> texts = CommitCorners(selection, c.shape);
        EXPECT_EQ((std::array<std::int32_t, 4>{selection.StartX, selection.StartY, selection.EndX, selection.EndY}),
                  c.corners);
        for (std::size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(texts[i], QString::number(c.corners[i]));
    }
}

TEST(ScreenInfoTest, TwoLinesWithIdeographicSpaces)
{
    // U+3000 is the ideographic space; the second line has three ASCII spaces between two of them.
    const QString expected = QString::fromUtf16(u"\u753B\u9762\u306E\u9818\u57DF\u30001024X768\r\n"
                                                u"\u89E3\u50CF\u5EA6\u3000   \u300032\u30D3\u30C3\u30C8");
    EXPECT_EQ(ScreenInfoText(1024, 768, 32), expected);
    EXPECT_EQ(ScreenInfoTitle(), QString::fromUtf16(u"\u753B\u7D20\u6570"));
}

}  // namespace
