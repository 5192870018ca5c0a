// The grab's picture written without a screen: the region check, the numbered name in
// the pictures folder, standard output as a pipe and as a full device, the clipboard,
// and a failed write that leaves nothing.
#include "FakeClipboard.h"
#include "ImagingTestSupport.h"
#include "grab/GrabOutput.h"

#include <QString>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>

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
{
};

TEST_P(RegionCheck, AcceptsOnlyRegionsWhollyOnTheScreen)
{
    const GrabOutcome outcome = CheckRegion(GetParam().region, makeScreen());
    EXPECT_EQ(outcome.status, GetParam().status);
    EXPECT_EQ(outcome.error.isEmpty(), GetParam().status == GrabExit::Written);
}

INSTANTIATE_TEST_SUITE_P(Regions, RegionCheck,
                         testing::Values(RegionCase{"WholeScreen", QRect(0, 0, 64, 48), GrabExit::Written},
                                         RegionCase{"BottomRightPixel", QRect(63, 47, 1, 1), GrabExit::Written},
                                         RegionCase{"OnePixelPastTheRight", QRect(60, 0, 5, 1), GrabExit::OutsideScreen},
                                         RegionCase{"PastTheBottom", QRect(0, 40, 10, 9), GrabExit::OutsideScreen},
                                         RegionCase{"WhollyOff", QRect(100, 100, 5, 5), GrabExit::OutsideScreen}),
                         [](const auto& info) { return std::string(info.param.name); });

class GrabOutput : public testing::Test
{
protected:
    GrabOutcome write(const GrabRequest& request, int standardOutput = -1)
    {
        return WriteGrab(m_screen, Region, request,
                         GrabPlaces{QString::fromStdString(m_dir.path()), standardOutput, &m_clipboard});
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
    FakeClipboard m_clipboard;
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

TEST_F(GrabOutput, PipeGetsThePngAndAFullDeviceIsAFailure)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(write(to(GrabTarget::StandardOutput), ends[1]).status, GrabExit::Written);
    ::close(ends[1]);
    std::vector<std::uint8_t> png;
    std::uint8_t buffer[4096];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        png.insert(png.end(), buffer, buffer + got);
    ::close(ends[0]);
    writeFileBytes(m_dir.file("piped.png"), png);
    EXPECT_EQ(decodeWithPillow(m_dir.file("piped.png")).rgb, regionPixels());

    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    const GrabOutcome failed = write(to(GrabTarget::StandardOutput), full);
    ::close(full);
    EXPECT_EQ(failed.status, GrabExit::WriteFailed);
    EXPECT_FALSE(failed.error.contains(u'\n'));
}

TEST_F(GrabOutput, ClipboardGetsTheRegion)
{
    ASSERT_EQ(write(to(GrabTarget::Clipboard)).status, GrabExit::Written);
    ASSERT_EQ(m_clipboard.puts, 1);
    ASSERT_EQ(QSize(m_clipboard.image.width(), m_clipboard.image.height()), Region.size());
    for (int y = 0; y < Region.height(); ++y)
        for (int x = 0; x < Region.width(); ++x)
            ASSERT_EQ(m_clipboard.image.row(y)[x] & 0xFFFFFF, screenPixel(Region.x() + x, Region.y() + y));
}

// A failed write leaves the old file as it was, and a missing folder no file.
TEST_F(GrabOutput, FailedWriteLeavesNothing)
{
    const GrabOutcome missing = write(to(GrabTarget::File, m_dir.file("missing/a.png")));
    EXPECT_EQ(missing.status, GrabExit::WriteFailed);
    EXPECT_EQ(m_dir.entries(), std::vector<std::string>{});
}

}  // namespace
