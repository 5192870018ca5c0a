#include "CaptureSelection.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase {
    std::int16_t magnification;
    double width;
    double height;
    std::int32_t viewWidth;
    std::int32_t viewHeight;
    std::int32_t selectionWidth;
    std::int32_t selectionHeight;
};

class SelectionSizesTest : public testing::TestWithParam<SizeCase>
{};

TEST_P(SelectionSizesTest, MagnifiesThenRoundsHalvesToEven)
{
    const SizeCase& c = GetParam();
    CaptureSelection selection;
    selection.Magnification = c.magnification;
    SetSelectionSizes(selection, c.width, c.height);
    EXPECT_EQ(selection.ViewWidth, c.viewWidth);
    EXPECT_EQ(selection.ViewHeight, c.viewHeight);
    EXPECT_EQ(selection.SelectionWidth, c.selectionWidth);
    EXPECT_EQ(selection.SelectionHeight, c.selectionHeight);
}

INSTANTIATE_TEST_SUITE_P(Magnifications, SelectionSizesTest,
                         testing::Values(SizeCase{100, 200, 100, 200, 100, 200, 100},
                                         SizeCase{150, 200, 100, 300, 150, 200, 100},
                                         SizeCase{50, 101, 33, 50, 16, 101, 33},  // 50.5 -> 50, 16.5 -> 16
                                         SizeCase{50, 103, 35, 52, 18, 103, 35},  // 51.5 -> 52, 17.5 -> 18
                                         SizeCase{150, 1, 3, 2, 4, 1, 3},         // 1.5 -> 2, 4.5 -> 4
                                         SizeCase{200, 10.5, 11.5, 21, 23, 10, 12},
                                         // 55 x 110 / 100 is exactly 60.5 -> 60, where 0.55 x 110 lands just above
                                         // the half; 57 x 150 / 100 is 85.5 -> 86, where 0.57 x 150 lands just below.
                                         SizeCase{55, 110, 110, 60, 60, 110, 110},
                                         SizeCase{57, 150, 150, 86, 86, 150, 150}, SizeCase{100, 0, 0, 0, 0, 0, 0}),
                         [](const auto& c) { return CaseName(c.param.magnification, c.param.width, c.param.height); });

TEST(CaptureSelectionTest, StartsAtZeroWithFullMagnification)
{
    const CaptureSelection selection;
    EXPECT_EQ(selection.Magnification, 100);
    EXPECT_EQ(selection.StartX + selection.StartY + selection.EndX + selection.EndY, 0);
    EXPECT_EQ(selection.ViewWidth + selection.ViewHeight + selection.SelectionWidth + selection.SelectionHeight, 0);
    EXPECT_EQ(selection.ScreenWidth + selection.ScreenHeight + selection.ScreenBitsPerPixel, 0);
}

}  // namespace
