#include "CaptureSelection.h"
#include "SelectionGeometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct Point {
    double x;
    double y;
};

struct Rect {
    double left;
    double top;
    double width;
    double height;
};

struct DragCase {
    std::string name;
    std::optional<Rect> committed;  // a selection with its grid recorded, or none
    bool pictureVisible;
    Point press;
    std::vector<Point> moves;
    PressResult result;
    Rect expected;
};

void PrintTo(const DragCase& c, std::ostream* os) { *os << c.name; }

SelectionEditor editorWith(const std::optional<Rect>& committed)
{
    SelectionEditor editor;
    if (committed) {
        editor.setShape({committed->left, committed->top, committed->width, committed->height, true});
        editor.recordGrid();
    }
    return editor;
}

class SelectionDragTest : public testing::TestWithParam<DragCase>
{};

TEST_P(SelectionDragTest, PressMovesAndReleaseGiveTheOutline)
{
    const DragCase& c = GetParam();
    SelectionEditor editor = editorWith(c.committed);
    EXPECT_EQ(editor.press(c.press.x, c.press.y, c.pictureVisible), c.result);
    for (const Point& p : c.moves)
        static_cast<void>(editor.move(p.x, p.y));
    CaptureSelection selection;
    editor.release(selection);
    const ShapeRect& shape = editor.shape();
    EXPECT_TRUE(shape.visible);
    EXPECT_DOUBLE_EQ(shape.left, c.expected.left);
    EXPECT_DOUBLE_EQ(shape.top, c.expected.top);
    EXPECT_DOUBLE_EQ(shape.width, c.expected.width);
    EXPECT_DOUBLE_EQ(shape.height, c.expected.height);
    EXPECT_EQ(selection.SelectionWidth, static_cast<int>(c.expected.width));
    EXPECT_EQ(selection.SelectionHeight, static_cast<int>(c.expected.height));
    EXPECT_FALSE(editor.drag().Drawing || editor.drag().Resizing || editor.drag().Moving);
}

// A committed selection 100 x 80 at (200, 100). Its handles: columns 196, 246,
// 296; rows 96, 136, 176.
constexpr Rect Committed{200, 100, 100, 80};

INSTANTIATE_TEST_SUITE_P(
    Drags, SelectionDragTest,
    testing::Values(
        DragCase{"DrawUpAndLeft",
                 std::nullopt,
                 false,
                 {300, 200},
                 {{250, 120}, {100, 50}},
                 PressResult::NewOutline,
                 {100, 50, 200, 150}},
        DragCase{"DrawPastLeftAndTopStopsAtZero",
                 std::nullopt,
                 false,
                 {100, 100},
                 {{-30, -20}},
                 PressResult::NewOutline,
                 {0, 0, 100, 100}},
        DragCase{"DrawPastRightAndBottomIsNotClamped",
                 std::nullopt,
                 false,
                 {1800, 1000},
                 {{2500, 1500}},
                 PressResult::NewOutline,
                 {1800, 1000, 700, 500}},
        DragCase{
            "ClickWithoutMovement", std::nullopt, false, {400, 300}, {}, PressResult::NewOutline, {400, 300, 0, 0}},
        DragCase{
            "PressRoundsHalvesToEven", std::nullopt, false, {10.5, 11.5}, {}, PressResult::NewOutline, {10, 12, 0, 0}},
        DragCase{"MoveRoundsHalvesToEven",
                 std::nullopt,
                 false,
                 {0, 0},
                 {{10.5, 11.5}},
                 PressResult::NewOutline,
                 {0, 0, 10, 12}},
        // Differences are taken on 16 bits: 40000 - 0 wraps to -25536.
        DragCase{"DrawDifferenceIsSixteenBit",
                 std::nullopt,
                 false,
                 {40000, 10},
                 {{0, 10}},
                 PressResult::NewOutline,
                 {40000, 10, 25536, 0}},
        DragCase{"BottomRightFlipsPastTheLeftEdge",
                 Committed,
                 true,
                 {300, 180},
                 {{150, 180}},
                 PressResult::Resize,
                 {150, 100, 50, 80}},
        DragCase{"BottomRightClampsNegativePointer",
                 Committed,
                 true,
                 {300, 180},
                 {{-50, -50}},
                 PressResult::Resize,
                 {0, 0, 200, 100}},
        // The right edge is worked out from the press point 1 pixel inside the left edge.
        DragCase{"LeftHandleShiftsTheRightEdge",
                 Committed,
                 true,
                 {199, 140},
                 {{150, 140}},
                 PressResult::Resize,
                 {150, 100, 149, 80}},
        DragCase{"LeftHandleFlipsPastTheRightEdge",
                 Committed,
                 true,
                 {200, 140},
                 {{400, 140}},
                 PressResult::Resize,
                 {300, 100, 100, 80}},
        DragCase{"TopHandleFlipsBelowTheBottom",
                 Committed,
                 true,
                 {250, 100},
                 {{250, 300}},
                 PressResult::Resize,
                 {200, 180, 100, 120}},
        DragCase{"TopHandleUp", Committed, true, {250, 100}, {{250, 60}}, PressResult::Resize, {200, 60, 100, 120}},
        DragCase{"BottomHandleFlipsAboveTheTop",
                 Committed,
                 true,
                 {250, 180},
                 {{250, 50}},
                 PressResult::Resize,
                 {200, 50, 100, 50}},
        DragCase{
            "RightHandleWidens", Committed, true, {300, 140}, {{420, 10}}, PressResult::Resize, {200, 100, 220, 80}},
        DragCase{"CentreMovesOffScreenTopLeft",
                 Committed,
                 true,
                 {250, 140},
                 {{-500, -300}},
                 PressResult::Move,
                 {-550, -340, 100, 80}},
        DragCase{"CentreMovesOffScreenBottomRight",
                 Committed,
                 true,
                 {250, 140},
                 {{2300, 1500}},
                 PressResult::Move,
                 {2250, 1460, 100, 80}},
        DragCase{"HandleClickWithoutMovementKeepsTheSelection",
                 Committed,
                 true,
                 {300, 180},
                 {},
                 PressResult::Resize,
                 {200, 100, 100, 80}},
        // Strict comparisons: a handle's leftmost column and top row belong to no handle.
        DragCase{"LeftmostColumnOfAHandleStartsAnOutline",
                 Committed,
                 true,
                 {296, 180},
                 {},
                 PressResult::NewOutline,
                 {296, 180, 0, 0}},
        DragCase{"TopRowOfAHandleStartsAnOutline",
                 Committed,
                 true,
                 {300, 176},
                 {},
                 PressResult::NewOutline,
                 {300, 176, 0, 0}},
        DragCase{"HandlePressWhilePictureHiddenStartsAnOutline",
                 Committed,
                 false,
                 {300, 180},
                 {{310, 190}},
                 PressResult::NewOutline,
                 {300, 180, 10, 10}},
        // 4 wide at (100, 100): columns 96, 98, 100 overlap. x = 99 matches two
        // columns and no row: count 2 grabs the top handle of the last match.
        DragCase{"NarrowTwoColumnsGrabTheTopHandle",
                 Rect{100, 100, 4, 50},
                 true,
                 {99, 130},
                 {{99, 80}},
                 PressResult::Resize,
                 {100, 80, 4, 100}},
        DragCase{"NarrowThreeColumnsStartAnOutline",
                 Rect{100, 100, 4, 50},
                 true,
                 {101, 130},
                 {},
                 PressResult::NewOutline,
                 {101, 130, 0, 0}}),
    [](const testing::TestParamInfo<DragCase>& info) { return info.param.name; });

TEST(SelectionEditorTest, HandleDragSetsItsPointerOnceAtTheFirstMove)
{
    SelectionEditor editor = editorWith(Committed);
    ASSERT_EQ(editor.press(300, 180, true), PressResult::Resize);
    EXPECT_EQ(editor.drag().HandleIndex, 8);
    EXPECT_EQ(editor.move(301, 181), CursorShape::DiagonalNwSe);
    EXPECT_EQ(editor.move(302, 182), std::nullopt);
}

TEST(SelectionEditorTest, CentreHandleHoldsTheTopLeft)
{
    SelectionEditor editor = editorWith(Committed);
    ASSERT_EQ(editor.press(250, 140, true), PressResult::Move);
    EXPECT_EQ(editor.drag().HandleIndex, CentreGridIndex);
    EXPECT_EQ(editor.drag().HeldX, 200);
    EXPECT_EQ(editor.drag().HeldY, 100);
    EXPECT_EQ(editor.move(251, 141), CursorShape::Move);
}

TEST(SelectionEditorTest, NewOutlineSetsNoPointer)
{
    SelectionEditor editor;
    ASSERT_EQ(editor.press(10, 10, false), PressResult::NewOutline);
    EXPECT_EQ(editor.move(20, 20), std::nullopt);
}

TEST(SelectionEditorTest, HandleClickWithoutMovementLeavesNoPointerForTheNextHover)
{
    SelectionEditor editor = editorWith(Committed);
    ASSERT_EQ(editor.press(300, 180, true), PressResult::Resize);
    CaptureSelection selection;
    editor.release(selection);
    EXPECT_EQ(editor.move(300, 180), std::nullopt);
}

TEST(SelectionEditorTest, MoveWithoutAPressChangesNothing)
{
    SelectionEditor editor = editorWith(Committed);
    EXPECT_EQ(editor.move(10, 10), std::nullopt);
    EXPECT_DOUBLE_EQ(editor.shape().left, Committed.left);
    EXPECT_DOUBLE_EQ(editor.shape().width, Committed.width);
}

TEST(SelectionEditorTest, ReleaseStoresMagnifiedViewSize)
{
    SelectionEditor editor;
    static_cast<void>(editor.press(0, 0, false));
    static_cast<void>(editor.move(200, 100));
    CaptureSelection selection;
    selection.Magnification = 150;
    editor.release(selection);
    EXPECT_EQ(selection.ViewWidth, 300);
    EXPECT_EQ(selection.ViewHeight, 150);
    EXPECT_EQ(selection.SelectionWidth, 200);
    EXPECT_EQ(selection.SelectionHeight, 100);
}

TEST(SelectionEditorTest, GridFollowsTheHandlesOnlyWhenRecorded)
{
    SelectionEditor editor = editorWith(Committed);
    editor.setShape({500, 500, 100, 80, true});
    // The grid still describes the old place until it is recorded again.
    EXPECT_EQ(editor.press(300, 180, true), PressResult::Resize);
    editor.recordGrid();
    EXPECT_EQ(editor.press(300, 180, true), PressResult::NewOutline);
}

}  // namespace
