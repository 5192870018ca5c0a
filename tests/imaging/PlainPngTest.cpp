// Screenshot-like PNGs (8-bit RGB, nothing to convert) take a decoding path of their
// own: every filter type, DIB rows shorter than, as long as and longer than their
// scanlines, image data in many chunks, and damaged data, which is refused. A few
// levels make Paeth's distances equal, where its order of preference decides.
#include "ImagingTestSupport.h"
#include "PngFilter.h"

#include <gtest/gtest.h>

namespace {

enum class Damage { None, Checksum, FilterType, RowMissing };

std::uint32_t noise(int x, int y)
{
    return (static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u) & 0xFFFFFFu;
}

// Four levels per channel, in every arrangement of a pixel's neighbours: all the ties
// between Paeth's three distances.
std::uint32_t fourLevels(int x, int y) { return noise(x, y) & 0xC0C0C0u; }

// Every type twice in ten rows, the first row with Paeth, which sees a black row above.
PngFilterType cycled(int y) { return static_cast<PngFilterType>((y + 4) % 5); }

// Three Paeth rows, then one Up: Paeth rows are undone two at a time where they can be.
PngFilterType paethRuns(int y) { return y % 4 == 3 ? FilterUp : FilterPaeth; }

struct PlainCase {
    const char* name;
    int width;
    int height;
    std::size_t chunkBytes;
    Damage damage;
    std::uint32_t (*pixel)(int x, int y) = noise;
    PngFilterType (*filterOf)(int y) = cycled;
};

std::vector<std::uint8_t> scanlines(const PlainCase& c)
{
    const int width = c.width;
    const int height = c.height;
    const std::size_t length = 3 * static_cast<std::size_t>(width);
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> row(length);
    std::vector<std::uint8_t> prior;
    std::vector<std::uint8_t> scratch;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = c.pixel(x, y);
            row[3 * static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(rgb >> 16);
            row[3 * static_cast<std::size_t>(x) + 1] = static_cast<std::uint8_t>(rgb >> 8);
            row[3 * static_cast<std::size_t>(x) + 2] = static_cast<std::uint8_t>(rgb);
        }
        out.resize(out.size() + length + 1);
        filterScanline(row.data(), y > 0 ? prior.data() : nullptr, length, 3, 1u << c.filterOf(y),
                       out.data() + out.size() - length - 1, scratch);
        prior = row;
    }
    return out;
}

class PlainPng : public testing::TestWithParam<PlainCase>
{};

TEST_P(PlainPng, DecodesExactlyOrRefusesDamage)
{
    const PlainCase c = GetParam();
    std::vector<std::uint8_t> lines = scanlines(c);
    if (c.damage == Damage::FilterType)
        lines[0] = 5;
    if (c.damage == Damage::RowMissing)
        lines.resize(lines.size() - 3 * static_cast<std::size_t>(c.width) - 1);
    std::vector<std::uint8_t> png =
        rgbPng(static_cast<std::uint32_t>(c.width), static_cast<std::uint32_t>(c.height), lines, c.chunkBytes);
    // The first image chunk follows the signature and the header chunk.
    constexpr std::size_t FirstImageChunk = 8 + 12 + 13;
    if (c.damage == Damage::Checksum)
        png[FirstImageChunk + 8 + be32(png, FirstImageChunk) + 3] ^= 1;
    DIBHandle handle = 0;
    const DibStatus status = DIBFromMemory(png, handle);
    DibGuard image(handle);
    if (c.damage != Damage::None) {
        EXPECT_FALSE(status);
        EXPECT_EQ(handle, 0u);
        return;
    }
    ASSERT_TRUE(status) << static_cast<int>(status.error);
    std::vector<std::uint32_t> expected;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            expected.push_back(c.pixel(x, y));
    const DibSnapshot decoded = snapshotOf(image.get());
    EXPECT_EQ(decoded.width, c.width);
    EXPECT_EQ(decoded.rgb, expected);
    // A BMP file holds the rows as they are: the bytes that pad them to four are zero.
    const std::size_t row = 3 * static_cast<std::size_t>(c.width);
    const std::size_t stride = decoded.bits.size() / static_cast<std::size_t>(c.height);
    for (std::size_t at = 0; at < decoded.bits.size(); ++at)
        if (at % stride >= row) {
            EXPECT_EQ(decoded.bits[at], 0) << "padding byte " << at;
        }
}

constexpr std::size_t OneChunk = 1 << 20;

INSTANTIATE_TEST_SUITE_P(Cases, PlainPng,
                         testing::Values(PlainCase{"OnePixelWide", 1, 10, OneChunk, Damage::None},
                                         PlainCase{"DibRowLongerByOne", 2, 10, OneChunk, Damage::None},
                                         PlainCase{"DibRowLongerByTwo", 3, 10, OneChunk, Damage::None},
                                         PlainCase{"DibRowShorter", 4, 10, OneChunk, Damage::None},
                                         PlainCase{"OneRow", 13, 1, OneChunk, Damage::None},
                                         PlainCase{"ImageDataInManyChunks", 13, 10, 7, Damage::None},
                                         PlainCase{"FourLevelsTie", 37, 30, OneChunk, Damage::None, fourLevels},
                                         PlainCase{"PaethRunsDibRowShorter", 4, 9, OneChunk, Damage::None, noise,
                                                   paethRuns},
                                         PlainCase{"PaethRunsDibRowLongerTie", 13, 9, OneChunk, Damage::None,
                                                   fourLevels, paethRuns},
                                         PlainCase{"ChecksumWrong", 13, 10, 64, Damage::Checksum},
                                         PlainCase{"UnknownFilterType", 13, 10, OneChunk, Damage::FilterType},
                                         PlainCase{"RowMissing", 13, 10, OneChunk, Damage::RowMissing}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
