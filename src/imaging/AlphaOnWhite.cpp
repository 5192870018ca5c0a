#include "AlphaOnWhite.h"

#include <cmath>

namespace {

constexpr double ScreenGamma = 2.2;

}  // namespace

const AlphaOnWhite& AlphaOnWhite::instance()
{
    static const AlphaOnWhite table;
    return table;
}

AlphaOnWhite::AlphaOnWhite() : m_encoded(LinearWhite + 1)
{
    for (std::size_t c = 0; c < m_linear.size(); ++c)
        m_linear[c] =
            static_cast<std::uint32_t>(std::lround(std::pow(static_cast<double>(c) / 255, ScreenGamma) * LinearWhite));
    for (std::size_t v = 0; v < m_encoded.size(); ++v)
        m_encoded[v] = static_cast<std::uint8_t>(
            std::lround(std::pow(static_cast<double>(v) / LinearWhite, 1 / ScreenGamma) * 255));
}
