#pragma once
// Paints a DeviceContext into a widget without copying its pixels: the surface is
// wrapped in a QImage that borrows the DeviceContext's buffer for one paint.

#include <cstdint>

class DeviceContext;
class QPainter;
class QRect;

// What an emptied window surface shows: the window's own background, no picture.
inline constexpr std::uint32_t EmptySurfaceColor = 0xFFF0F0F0;

// Draws the part of surface under rect (widget pixels = surface pixels); the part of
// rect outside the surface is left to the widget's background.
void PaintSurface(QPainter& painter, const DeviceContext& surface, const QRect& rect);
