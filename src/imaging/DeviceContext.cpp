#include "dibimage.h"

#include <algorithm>

DeviceContext::DeviceContext(int width, int height) { resize(width, height); }

void DeviceContext::resize(int width, int height)
{
    resizeForOverwrite(width, height);
    fill(0);
}

void DeviceContext::resizeForOverwrite(int width, int height)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    // A fresh vector, not resize(): a surface that shrinks gives its memory back
    // (a whole-screen buffer is tens of megabytes).
    m_pixels = decltype(m_pixels)(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height));
}

void DeviceContext::fill(std::uint32_t argb) { std::fill(m_pixels.begin(), m_pixels.end(), argb | 0xFF000000u); }
