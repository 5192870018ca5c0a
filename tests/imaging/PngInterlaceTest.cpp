// Every PNG colour type and bit depth: the Adam7-interlaced file decodes exactly like
// the same picture without interlace, and a transparent pixel comes out white.
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr int Width = 37;  // neither side a multiple of the passes' 8
constexpr int Height = 29;

struct PngKind {
    std::uint8_t colourType;
    std::uint8_t bitDepth;
};

// A gradient over the depth's whole range, different in each channel; alpha (the last
// channel of grey-alpha and RGBA) 0 in the first column.
unsigned sampleOf(const PngKind& kind, int x, int y, int channel)
{
    const unsigned max = (1u << kind.bitDepth) - 1;
    const bool alpha = (kind.colourType == 4 && channel == 1) || (kind.colourType == 6 && channel == 3);
    if (alpha)
        return x == 0 ? 0 : static_cast<unsigned>(x * 7 + y * 3) * max / (7 * Width + 3 * Height);
    return static_cast<unsigned>((x * (channel + 3) + y * (5 - channel)) * 2654435761u >> 7) % (max + 1);
}

std::vector<std::uint32_t> decode(const PngKind& kind, bool interlaced)
{
    PngPicture picture{Width,
                       Height,
                       kind.bitDepth,
                       kind.colourType,
                       interlaced,
                       [kind](int x, int y, int channel) { return sampleOf(kind, x, y, channel); },
                       {}};
    if (kind.colourType == 3)
        for (unsigned i = 0; i < (1u << kind.bitDepth); ++i)
            picture.palette.push_back({static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i),
                                       static_cast<std::uint8_t>(i * 91),
                                       static_cast<std::uint8_t>(i == 0 ? 0 : 255 - i / 2)});
    DIBHandle handle = 0;
    const DibStatus status = DIBFromMemory(pngOf(picture), handle);
    const DibGuard image(handle);
    EXPECT_TRUE(status) << status.text();
    return status ? snapshotOf(image.get()).rgb : std::vector<std::uint32_t>{};
}

std::string kindName(const testing::TestParamInfo<PngKind>& info)
{
    static constexpr std::array<const char*, 7> names{"Grey", "", "Rgb", "Palette", "GreyAlpha", "", "Rgba"};
    return std::string(names[info.param.colourType]) + std::to_string(info.param.bitDepth);
}

class PngInterlace : public testing::TestWithParam<PngKind>
{};

TEST_P(PngInterlace, DecodesLikeTheSamePictureWithout)
{
    const std::vector<std::uint32_t> plain = decode(GetParam(), false);
    const std::vector<std::uint32_t> interlaced = decode(GetParam(), true);
    ASSERT_EQ(plain.size(), static_cast<std::size_t>(Width * Height));
    EXPECT_EQ(interlaced, plain);
    for (int y = 0; y < Height; ++y) {
        const bool transparent = GetParam().colourType == 4 || GetParam().colourType == 6
                                 || (GetParam().colourType == 3 && sampleOf(GetParam(), 0, y, 0) == 0);
        if (transparent) {
            EXPECT_EQ(plain[static_cast<std::size_t>(y * Width)], 0xFFFFFFu) << "row " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, PngInterlace,
                         testing::Values(PngKind{0, 1}, PngKind{0, 2}, PngKind{0, 4}, PngKind{0, 8}, PngKind{0, 16},
                                         PngKind{2, 8}, PngKind{2, 16}, PngKind{3, 1}, PngKind{3, 2}, PngKind{3, 4},
                                         PngKind{3, 8}, PngKind{4, 8}, PngKind{4, 16}, PngKind{6, 8}, PngKind{6, 16}),
                         kindName);

}  // namespace
