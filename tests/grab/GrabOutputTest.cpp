// The grab's picture written without a screen: the region check at the screen's edges,
// the numbered name in the pictures folder, and a failed write that leaves nothing.
// Pipes, full devices and the clipboard are tested with the program on each desktop.
#include "ImagingTestSupport.h"
#include "grab/GrabOutput.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

std::uint32_t screenPixel(int x, int y)
{
    return static_cast<std::uint32_t>((x * 13 + y * 7) & 0xFF) << 16 | static_cast<std::uint32_t>((x ^ y) & 0xFF) << 8
           | static_cast<std::uint32_t>((x + y * 3) & 0xFF);
}

DeviceContext makeScreen()
{
    DeviceContext screen(64, 48);
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            screen.row(y)[x] = 0xFF000000u | screenPixel(x, y);
    return screen;
}

const QRect Region(10, 5, 20, 15);

std::vector<std::uint32_t> regionPixels()
{
    std::vector<std::uint32_t> pixels;
    for (int y = Region.top(); y <= Region.bottom(); ++y)
        for (int x = Region.left(); x <= Region.right(); ++x)
            pixels.push_back(screenPixel(x, y));
    return pixels;
}

struct RegionCase {
    const char* name;
    QRect region;
    int status;
};

class RegionCheck : public testing::TestWithParam<RegionCase>
{};

TEST_P(RegionCheck, AcceptsOnlyRegionsWhollyOnTheScreen)
{
    const GrabOutcome outcome = CheckRegion(GetParam().region, makeScreen());
    EXPECT_EQ(outcome.status, GetParam().status);
    EXPECT_EQ(outcome.error.isEmpty(), GetParam().status == GrabExit::Written);
}

INSTANTIATE_TEST_SUITE_P(Regions, RegionCheck,
                         testing::Values(RegionCase{"WholeScreen", QRect(0, 0, 64, 48), GrabExit::Written},
                                         RegionCase{"BottomRightPixel", QRect(63, 47, 1, 1), GrabExit::Written},
                                         RegionCase{"OnePixelPastTheRight", QRect(60, 0, 5, 1),
                                                    GrabExit::OutsideScreen},
                                         RegionCase{"PastTheBottom", QRect(0, 40, 10, 9), GrabExit::OutsideScreen},
                                         RegionCase{"WhollyOff", QRect(100, 100, 5, 5), GrabExit::OutsideScreen}),
                         [](const auto& info) { return std::string(info.param.name); });

class GrabOutput : public testing::Test
{
protected:
    GrabOutcome write(const GrabRequest& request)
    {
        return WriteGrab(m_screen, Region, request, GrabPlaces{QString::fromStdString(m_dir.path()), -1, nullptr});
    }
    static GrabRequest to(GrabTarget target, const std::string& path = {})
    {
        GrabRequest request;
        request.target = target;
        request.output = QString::fromStdString(path);
        return request;
    }

    TempDir m_dir;
    DeviceContext m_screen = makeScreen();
};

TEST_F(GrabOutput, PicturesFolderGetsTheFirstFreeNumberAndKeepsTheOthers)
{
    writeFileBytes(m_dir.file("Picture_0000.png"), {1, 2, 3});
    const GrabOutcome outcome = write(GrabRequest{});
    ASSERT_EQ(outcome.status, GrabExit::Written) << outcome.error.toStdString();
    EXPECT_EQ(outcome.written.toStdString(), m_dir.file("Picture_0001.png"));
    EXPECT_EQ(readFileBytes(m_dir.file("Picture_0000.png")), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(decodeWithPillow(m_dir.file("Picture_0001.png")).rgb, regionPixels());
}

// A missing folder: no file anywhere.
TEST_F(GrabOutput, FailedWriteLeavesNothing)
{
    const GrabOutcome missing = write(to(GrabTarget::File, m_dir.file("missing/a.png")));
    EXPECT_EQ(missing.status, GrabExit::WriteFailed);
    EXPECT_EQ(m_dir.entries(), std::vector<std::string>{});
}

}  // namespace
