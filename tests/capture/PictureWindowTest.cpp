// What the picture window shows after a selection on a fake screen of known pixels.

#include "CaptureFixture.h"
#include "CaseName.h"
#include "QtPrinters.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QSet<std::uint32_t> coloursOf(const DeviceContext& surface)
{
    QSet<std::uint32_t> colours;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            colours.insert(surface.row(y)[x] & 0xFFFFFFu);
    return colours;
}

bool allGrey(const DeviceContext& surface)
{
    for (std::uint32_t colour : coloursOf(surface)) {
        const std::uint32_t red = colour >> 16 & 0xFF;
        if ((colour >> 8 & 0xFF) != red || (colour & 0xFF) != red)
            return false;
    }
    return true;
}

// At 100 % and 24 bits the picture is the selected rectangle of the frozen screen,
// pixel for pixel, both in the window's surface and on the X screen.
TEST(PictureWindow, ExactPixelsAt24Bits)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    MouseDrag(f.desktop(), QPointF(37, 41), QPointF(237, 141));
    const DeviceContext& shown = f.model().picture();
    ASSERT_EQ(QSize(shown.width(), shown.height()), QSize(200, 100));
    ASSERT_EQ(DifferingPixels(shown, PatternPixel, {37, 41}), 0);

    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.picture()));
    const QPoint origin = f.picture().mapToGlobal(QPoint(0, 0));
    QImage onScreen;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            onScreen = QGuiApplication::primaryScreen()->grabWindow(0, origin.x(), origin.y(), 200, 100).toImage();
            return onScreen.pixel(199, 99) == (PatternPixel(236, 140) | 0xFF000000u);
        },
        5000));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(onScreen.pixel(x, y) & 0xFFFFFFu, PatternPixel(37 + x, 41 + y) & 0xFFFFFFu) << x << ',' << y;
}

// Clear hides the picture window with its picture; F3 shows it again unchanged.
TEST(PictureWindow, KeepsPictureWhileHidden)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    MouseDrag(f.desktop(), QPointF(37, 41), QPointF(237, 141));
    QTest::mouseClick(PanelButton(f.panel(), "Command3"), Qt::LeftButton);
    EXPECT_FALSE(f.picture().isVisible());
    QTest::keyClick(&f.panel(), Qt::Key_F3);
    EXPECT_TRUE(f.picture().isVisible());
    ASSERT_EQ(f.picture().size(), QSize(200, 100));
    const DeviceContext& shown = f.model().picture();
    EXPECT_EQ(DifferingPixels(shown, PatternPixel, {37, 41}), 0);
}

TEST(PictureWindow, EightBitsAtMost256Colours)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.options.BitDepth = ColorDepth::Bits8;
    MouseDrag(f.desktop(), QPointF(0, 0), QPointF(400, 300));
    const qsizetype colours = coloursOf(f.model().picture()).size();
    EXPECT_LE(colours, 256);
    EXPECT_GT(colours, 16);
}

// The grey step belongs to Update: the release shows colour, Update of the same
// rectangle shows grey.
TEST(PictureWindow, GreyAfterUpdateOnly)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.options.GrayStrength = 255;
    MouseDrag(f.desktop(), QPointF(100, 100), QPointF(300, 200));
    EXPECT_FALSE(allGrey(f.model().picture()));
    for (const char* name : {"sX", "sY", "eX", "eY"})
        ASSERT_TRUE(TypeAndCommit(f.panel(), f.field(name), f.field(name).text())) << name;
    QTest::mouseClick(PanelButton(f.panel(), "Command4"), Qt::LeftButton);
    EXPECT_EQ(f.picture().size(), QSize(200, 100));
    EXPECT_TRUE(allGrey(f.model().picture()));
}

struct MagnifiedCase {
    const char* name;
    QString magnification;
    QPointF to;
    QSize client;
    friend void PrintTo(const MagnifiedCase& c, std::ostream* out) { *out << c.name; }
};

class MagnifiedClientArea : public testing::TestWithParam<MagnifiedCase>
{};

TEST_P(MagnifiedClientArea, IsTheMagnifiedSelection)
{
    const MagnifiedCase& c = GetParam();
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(TypeAndCommit(f.panel(), f.field("Text2"), c.magnification));
    MouseDrag(f.desktop(), QPointF(0, 0), c.to);
    EXPECT_EQ(f.picture().size(), c.client);
    EXPECT_EQ(QSize(f.model().picture().width(), f.model().picture().height()), c.client);
    EXPECT_EQ(QSize(f.mode->selection().ViewWidth, f.mode->selection().ViewHeight), c.client);
}

INSTANTIATE_TEST_SUITE_P(PictureWindow, MagnifiedClientArea,
                         testing::Values(MagnifiedCase{"150 %", QStringLiteral("150"), QPointF(200, 100),
                                                       QSize(300, 150)},
                                         MagnifiedCase{"101 px at 50 % rounds to even", QStringLiteral("50"),
                                                       QPointF(101, 101), QSize(50, 50)},
                                         MagnifiedCase{"200 %", QStringLiteral("200"), QPointF(30, 20), QSize(60, 40)}),
                         PrintedCaseName());

}  // namespace
