#include "FakeScreenGrabber.h"

#include <algorithm>
#include <cstring>

ScreenInfo FakeScreenGrabber::screenInfo() const
{
    return {screen.width(), screen.height(), bitsPerPixel};
}

bool FakeScreenGrabber::grab(DeviceContext& target)
{
    ++grabCount;
    if (!m_failure.isEmpty())
        return false;
    const int width = std::min(target.width(), screen.width());
    const int height = std::min(target.height(), screen.height());
    for (int y = 0; y < height; ++y)
        std::memcpy(target.row(y), screen.row(y), static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    return true;
}
