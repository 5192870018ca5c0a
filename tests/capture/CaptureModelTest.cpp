#include "CaptureModel.h"
#include "CaptureSelection.h"
#include "OutputOptions.h"
#include "RenderPicture.h"
#include "SurfacePainter.h"

#include "CaseName.h"
#include "FakeScreenGrabber.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::uint32_t pattern(int x, int y, std::uint32_t seed)
{
    return 0xFF000000u | ((static_cast<std::uint32_t>(x) * 7 + seed) & 0xFFu) << 16
           | ((static_cast<std::uint32_t>(y) * 5) & 0xFFu) << 8 | (seed & 0xFFu);
}

void paint(DeviceContext& screen, int width, int height, std::uint32_t seed)
{
    screen.resize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            screen.row(y)[x] = pattern(x, y, seed);
}

bool holds(const DeviceContext& surface, int width, int height, std::uint32_t seed)
{
    if (surface.width() != width || surface.height() != height)
        return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (surface.row(y)[x] != pattern(x, y, seed))
                return false;
    return true;
}

// The fake screen's grab, taken into the model.
bool grabInto(CaptureModel& model, FakeScreenGrabber& screen)
{
    bool taken = false;
    screen.grab([&](ScreenShot shot) { taken = model.takeScreen(std::move(shot)); });
    return taken;
}

struct GrabCase {
    const char* name;
    QSize later;  // the screen's size at the new grab
    bool fails;
    QSize held;  // the frozen screen's size after it
    bool newPixels;
    friend void PrintTo(const GrabCase& c, std::ostream* out) { *out << c.name; }
};

class CaptureModelGrab : public testing::TestWithParam<GrabCase>
{};

// A first grab at 64 x 48 (seed 1), then the screen changes (seed 2) and is grabbed again.
TEST_P(CaptureModelGrab, TakesTheScreenOrKeepsTheLastOne)
{
    const GrabCase& c = GetParam();
    FakeScreenGrabber screen;
    paint(screen.screen, 64, 48, 1);
    CaptureModel model(screen);
    ASSERT_TRUE(grabInto(model, screen));
    paint(screen.screen, c.later.width(), c.later.height(), 2);
    if (c.fails)
        screen.failWith(QStringLiteral("gone"));
    EXPECT_EQ(grabInto(model, screen), !c.fails);
    EXPECT_EQ(model.screenSize(), c.held);
    EXPECT_TRUE(holds(model.screen(), c.held.width(), c.held.height(), c.newPixels ? 2 : 1));
    EXPECT_EQ(model.screen().stretchMode, HALFTONE);
}

INSTANTIATE_TEST_SUITE_P(CaptureModel, CaptureModelGrab,
                         testing::Values(GrabCase{"same size", QSize(64, 48), false, QSize(64, 48), true},
                                         GrabCase{"a monitor plugged in", QSize(128, 48), false, QSize(128, 48), true},
                                         GrabCase{"a monitor taken away", QSize(32, 40), false, QSize(32, 40), true},
                                         GrabCase{"failure at the same size", QSize(64, 48), true, QSize(64, 48),
                                                  false},
                                         GrabCase{"failure at a new size", QSize(128, 96), true, QSize(64, 48), false}),
                         PrintedCaseName());

TEST(CaptureModel, StartsEmptyAtTheScreensSize)
{
    FakeScreenGrabber screen;
    paint(screen.screen, 64, 48, 1);
    const CaptureModel model(screen);
    EXPECT_EQ(model.screenSize(), QSize(64, 48));
    EXPECT_EQ(model.screenScale(), 1);
    EXPECT_EQ(model.pictureSize(), QSize(0, 0));
    EXPECT_FALSE(model.editor().shape().visible);
    EXPECT_FALSE(model.handlesVisible());
}

TEST(CaptureModel, ClearEmptiesTheScreenAndKeepsItsSize)
{
    FakeScreenGrabber screen;
    paint(screen.screen, 16, 8, 1);
    CaptureModel model(screen);
    ASSERT_TRUE(grabInto(model, screen));
    model.clearScreen();
    EXPECT_EQ(model.screenSize(), QSize(16, 8));
    EXPECT_EQ(model.screen().row(7)[15], EmptySurfaceColor);
}

// The refresh takes the selection from Shape1's corner rounded to whole pixels, and
// the picture is what RenderPicture makes of the same pixels.
TEST(CaptureModel, RefreshRendersFromTheRoundedCorner)
{
    FakeScreenGrabber screen;
    paint(screen.screen, 64, 48, 1);
    CaptureModel model(screen);
    ASSERT_TRUE(grabInto(model, screen));
    model.editor().setShape({10.6, 20.4, 8, 6, true});
    CaptureSelection selection;
    selection.Magnification = 200;
    SetSelectionSizes(selection, 8, 6);
    OutputOptions options;
    InitOutputOptions(options);
    model.emptyPicture(selection.ViewWidth, selection.ViewHeight);
    ASSERT_TRUE(model.refreshPicture(selection, options, GreyStep::No));
    DeviceContext expected(selection.ViewWidth, selection.ViewHeight);
    expected.stretchMode = HALFTONE;
    ASSERT_TRUE(RenderPicture(model.screen(), expected, 11, 20, selection, options, GreyStep::No).ok());
    ASSERT_EQ(model.pictureSize(), QSize(16, 12));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(model.picture().row(y)[x], expected.row(y)[x]) << x << ',' << y;
    EXPECT_EQ(model.picture().row(0)[0], pattern(11, 20, 1));
}

TEST(CaptureModel, EmptyPictureTakesTheNewSize)
{
    FakeScreenGrabber screen;
    CaptureModel model(screen);
    model.emptyPicture(285, 228);
    EXPECT_EQ(model.pictureSize(), QSize(285, 228));
    EXPECT_EQ(model.picture().row(227)[284], EmptySurfaceColor);
    EXPECT_EQ(model.picture().stretchMode, HALFTONE);
}

}  // namespace
