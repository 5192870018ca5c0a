// DCtoDIB and the device context: rectangles inside, across and outside the surface.
#include "ImagingTestSupport.h"
#include "PixelRows.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t surfaceColour(int x, int y)
{
    return static_cast<std::uint32_t>(x * 16 + 1) << 16 | static_cast<std::uint32_t>(y * 16 + 2) << 8 | 0x33u;
}

DeviceContext patternSurface()
{
    DeviceContext dc(10, 8);
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x)
            dc.row(y)[x] = 0xFF000000u | surfaceColour(x, y);
    return dc;
}

struct RectCase {
    const char* name;
    int x, y, width, height;
};

class DcCopy : public testing::TestWithParam<RectCase>
{};

TEST_P(DcCopy, CopiesInsideAndBlackOutside)
{
    const RectCase c = GetParam();
    const DeviceContext dc = patternSurface();
    DibGuard image(DCtoDIB(dc, c.x, c.y, c.width, c.height));
    ASSERT_TRUE(image);
    const DibSnapshot s = snapshotOf(image.get());
    EXPECT_EQ(s.bitCount, 24);
    int width = 0, height = 0, bitCount = 0;
    ASSERT_TRUE(DIBDimensions(image.get(), width, height, bitCount));
    EXPECT_EQ(std::vector<int>({width, height, bitCount}), std::vector<int>({c.width, c.height, 24}));
    ASSERT_EQ(s.width, c.width);
    ASSERT_EQ(s.height, c.height);
    for (int j = 0; j < c.height; ++j)
        for (int i = 0; i < c.width; ++i) {
            const int sx = c.x + i, sy = c.y + j;
            const bool inside = sx >= 0 && sy >= 0 && sx < dc.width() && sy < dc.height();
            EXPECT_EQ(s.rgb[static_cast<std::size_t>(j * c.width + i)], inside ? surfaceColour(sx, sy) : 0u)
                << i << "," << j;
        }
}

INSTANTIATE_TEST_SUITE_P(Rectangles, DcCopy,
                         testing::Values(RectCase{"Whole", 0, 0, 10, 8}, RectCase{"Inner", 3, 2, 5, 3},
                                         RectCase{"OnePixel", 9, 7, 1, 1}, RectCase{"AcrossTopLeft", -2, -3, 5, 6},
                                         RectCase{"AcrossBottomRight", 8, 6, 6, 5},
                                         RectCase{"Enclosing", -1, -1, 12, 10}, RectCase{"WhollyOutside", 20, 20, 3, 2},
                                         RectCase{"FarLeft", -2000000000, 1, 3, 2},
                                         RectCase{"NearTheIntLimit", 2147483000, 2147483000, 3, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

struct EmptyCase {
    const char* name;
    int width, height;
};

class DcCopyEmpty : public testing::TestWithParam<EmptyCase>
{};

TEST_P(DcCopyEmpty, GivesTheZeroHandle)
{
    const DeviceContext dc = patternSurface();
    EXPECT_EQ(DCtoDIB(dc, 0, 0, GetParam().width, GetParam().height), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DcCopyEmpty,
                         testing::Values(EmptyCase{"ZeroByZero", 0, 0}, EmptyCase{"ZeroWidth", 0, 5},
                                         EmptyCase{"ZeroHeight", 5, 0}, EmptyCase{"Negative", -4, 3},
                                         EmptyCase{"BeyondTheSideLimit", 40000, 1},
                                         EmptyCase{"BeyondTheByteLimit", 32768, 32768}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DcCopy, EmptySurfaceGivesBlack)
{
    const DeviceContext dc;
    DibGuard image(DCtoDIB(dc, 0, 0, 2, 2));
    ASSERT_TRUE(image);
    EXPECT_EQ(snapshotOf(image.get()).rgb, std::vector<std::uint32_t>(4, 0u));
}

TEST(DibHandles, DeletedHandlesAreNotReusedAndZeroIsNeverValid)
{
    const DeviceContext dc = patternSurface();
    const DIBHandle first = DCtoDIB(dc, 0, 0, 2, 2);
    ASSERT_NE(first, 0u);
    EXPECT_TRUE(DeleteDIB(first));
    EXPECT_EQ(DeleteDIB(first).error, DibError::BadHandle);
    DibGuard second(DCtoDIB(dc, 0, 0, 2, 2));
    EXPECT_NE(second.get(), first);
    EXPECT_EQ(DeleteDIB(0).error, DibError::BadHandle);
}

// Rows of every length around the pixels moved at once, with guard bytes after them:
// byte for byte what the pixels say, nothing written past the end, back to the same
// pixels made opaque, and red and blue swapped.
class PackedRow : public testing::TestWithParam<int>
{};

TEST_P(PackedRow, PacksToBgrAndBackAndSwaps)
{
    const int count = GetParam();
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        argb[static_cast<std::size_t>(i)] = 0x01020304u * static_cast<std::uint32_t>(i + 1) ^ 0x80FF7F00u;
    const std::size_t bytes = 3 * static_cast<std::size_t>(count);
    std::vector<std::uint8_t> bgr(bytes + 16, 0xAB);
    packBgr(argb.data(), count, bgr.data());
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = argb[static_cast<std::size_t>(i)];
        const std::size_t at = 3 * static_cast<std::size_t>(i);
        EXPECT_EQ((std::vector<unsigned>{bgr[at], bgr[at + 1], bgr[at + 2]}),
                  (std::vector<unsigned>{p & 0xFFu, (p >> 8) & 0xFFu, (p >> 16) & 0xFFu}))
            << "pixel " << i;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(bgr.begin() + static_cast<std::ptrdiff_t>(bytes), bgr.end()),
              std::vector<std::uint8_t>(16, 0xAB));
    std::vector<std::uint32_t> back(static_cast<std::size_t>(count) + 4, 0xABABABABu);
    unpackBgr(bgr.data(), count, back.data());
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(back[static_cast<std::size_t>(i)], argb[static_cast<std::size_t>(i)] | 0xFF000000u) << "pixel " << i;
    EXPECT_EQ(std::vector<std::uint32_t>(back.end() - 4, back.end()), std::vector<std::uint32_t>(4, 0xABABABABu));
    std::vector<std::uint8_t> rgb(bytes + 16, 0xAB);
    swapRedBlue(bgr.data(), count, rgb.data());
    for (std::size_t at = 0; at < bytes; at += 3)
        EXPECT_EQ((std::vector<unsigned>{rgb[at], rgb[at + 1], rgb[at + 2]}),
                  (std::vector<unsigned>{bgr[at + 2], bgr[at + 1], bgr[at]}))
            << "byte " << at;
    EXPECT_EQ(std::vector<std::uint8_t>(rgb.begin() + static_cast<std::ptrdiff_t>(bytes), rgb.end()),
              std::vector<std::uint8_t>(16, 0xAB));
}

INSTANTIATE_TEST_SUITE_P(Lengths, PackedRow, testing::Values(0, 1, 3, 4, 5, 6, 7, 11, 15, 16, 17, 31, 32, 33, 1921));

}  // namespace
