#pragma once
// Paints a DeviceContext into a widget without copying its pixels: the surface is
// wrapped in a QImage that borrows the DeviceContext's buffer for one paint.

#include <cstdint>

class DeviceContext;
class QPainter;
class QRect;
class QSize;

// What an emptied window surface shows: the window's own background, no picture.
inline constexpr std::uint32_t EmptySurfaceColor = 0xFFF0F0F0;

// A window that shows its surface pixel for pixel on the screen has scale surface
// pixels per window pixel: Qt's device pixel ratio (1.5 at Xft.dpi 144), times the
// screen pixels per desktop pixel where the grab gives more (a scaled Wayland output).

// Draws the part of surface under rect (window pixels) at that scale, and leaves the
// painter in surface pixels for what is drawn over it; the part of rect outside the
// surface is left to the widget's background.
void PaintSurface(QPainter& painter, const DeviceContext& surface, const QRect& rect, double scale);
// The window pixels over these surface pixels.
[[nodiscard]] QRect WindowPixelsOver(const QRect& surfacePixels, double scale);
// The window size that holds a surface of this size.
[[nodiscard]] QSize WindowSizeFor(int surfaceWidth, int surfaceHeight, double scale);
