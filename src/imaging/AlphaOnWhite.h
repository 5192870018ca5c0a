#pragma once
// A pixel with alpha laid over white the way libpng lays a PNG's alpha over the
// background the library gives it: in linear light, the sRGB channel values taken as a
// 2.2 power of it.

#include <array>
#include <cstdint>
#include <vector>

class AlphaOnWhite
{
public:
    // The one table every reader shares, made at its first use.
    [[nodiscard]] static const AlphaOnWhite& instance();

    // The channel value c of a pixel of opacity alpha (both 0..255) over white.
    [[nodiscard]] std::uint8_t operator()(unsigned c, unsigned alpha) const
    {
        const std::uint32_t linear = (m_linear[c] * alpha + LinearWhite * (255 - alpha) + 127) / 255;
        return m_encoded[linear];
    }

private:
    AlphaOnWhite();

    static constexpr std::uint32_t LinearWhite = 65535;
    std::array<std::uint32_t, 256> m_linear{};  // each channel value in linear light, 0..LinearWhite
    std::vector<std::uint8_t> m_encoded;        // each linear value back as a channel value
};
