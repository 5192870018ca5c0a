#include "SelectionGeometry.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct HandleCase {
    int element;
    int gridIndex;
    double left;  // for the outline (100, 50, 201, 151)
    double top;
    unsigned edges;
    CursorShape cursor;
};

class HandleLayoutTest : public testing::TestWithParam<HandleCase>
{};

TEST_P(HandleLayoutTest, ElementSitsOnItsGridPlace)
{
    const HandleCase& c = GetParam();
    // Odd sizes: the middle handles sit on half pixels.
    const HandleLayout layout = LocateSet({100, 50, 201, 151, true});
    const auto element = static_cast<std::size_t>(c.element);
    EXPECT_DOUBLE_EQ(layout[element].left, c.left);
    EXPECT_DOUBLE_EQ(layout[element].top, c.top);
    EXPECT_EQ(GridIndexOfElement(c.element), c.gridIndex);
    EXPECT_EQ(ElementOfGridIndex(c.gridIndex), c.element);
    EXPECT_EQ(EdgesOfGridIndex(c.gridIndex), c.edges);
    EXPECT_EQ(CursorOfGridIndex(c.gridIndex), c.cursor);
}

INSTANTIATE_TEST_SUITE_P(Elements, HandleLayoutTest,
                         testing::Values(HandleCase{0, 0, 96, 46, TopEdge | LeftEdge, CursorShape::DiagonalNwSe},
                                         HandleCase{1, 1, 196.5, 46, TopEdge, CursorShape::Vertical},
                                         HandleCase{2, 2, 297, 46, TopEdge | RightEdge, CursorShape::DiagonalNeSw},
                                         HandleCase{3, 3, 96, 121.5, LeftEdge, CursorShape::Horizontal},
                                         HandleCase{4, 5, 297, 121.5, RightEdge, CursorShape::Horizontal},
                                         HandleCase{5, 6, 96, 197, BottomEdge | LeftEdge, CursorShape::DiagonalNeSw},
                                         HandleCase{6, 7, 196.5, 197, BottomEdge, CursorShape::Vertical},
                                         HandleCase{7, 8, 297, 197, BottomEdge | RightEdge, CursorShape::DiagonalNwSe},
                                         HandleCase{8, 4, 196.5, 121.5, NoEdge, CursorShape::Move}),
                         [](const auto& c) { return CaseName(c.param.element); });

TEST(HandleLayoutTest, IndicesOutsideTheGridMapToNothing)
{
    for (const int index : {-1, 9}) {
        EXPECT_EQ(GridIndexOfElement(index), -1);
        EXPECT_EQ(ElementOfGridIndex(index), -1);
        EXPECT_EQ(EdgesOfGridIndex(index), NoEdge);
        EXPECT_EQ(CursorOfGridIndex(index), CursorShape::Arrow);
    }
}

struct GridCase {
    double left;
    double top;
    double width;
    double height;
    std::array<std::int16_t, 3> columns;
    std::array<std::int16_t, 3> rows;
};

class PressGridTest : public testing::TestWithParam<GridCase>
{};

TEST_P(PressGridTest, RecordsRoundedHandleEdgesHalvesToEven)
{
    const GridCase& c = GetParam();
    SelectionEditor editor;
    editor.setShape({c.left, c.top, c.width, c.height, true});
    editor.recordGrid();
    EXPECT_EQ(editor.drag().HandleColumns, c.columns);
    EXPECT_EQ(editor.drag().HandleRows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(Outlines, PressGridTest,
                         testing::Values(
                             // 10 + 50.5 - 4 = 56.5 -> 56; 20 + 25.5 - 4 = 41.5 -> 42.
                             GridCase{10, 20, 101, 51, {6, 56, 107}, {16, 42, 67}},
                             GridCase{0, 0, 0, 0, {-4, -4, -4}, {-4, -4, -4}},
                             // Beyond 16 bits the grid saturates instead of wrapping onto the screen.
                             GridCase{70000, -70000, 10, 10, {32767, 32767, 32767}, {-32768, -32768, -32768}}),
                         [](const auto& c) {
                             return CaseName(c.param.left, c.param.top, c.param.width, c.param.height);
                         });

}  // namespace
