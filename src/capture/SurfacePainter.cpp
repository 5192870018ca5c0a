#include "SurfacePainter.h"

#include "imaging/dibimage.h"

#include <QImage>
#include <QPainter>
#include <QRect>

#include <cmath>

void PaintSurface(QPainter& painter, const DeviceContext& surface, const QRect& rect, double scale)
{
    painter.scale(1.0 / scale, 1.0 / scale);
    if (surface.width() <= 0 || surface.height() <= 0)
        return;
    const QImage borrowed(reinterpret_cast<const uchar*>(surface.pixels()), surface.width(), surface.height(),
                          static_cast<qsizetype>(surface.stride() * sizeof(std::uint32_t)), QImage::Format_RGB32);
    const QRect under = QRectF(QPointF(rect.topLeft()) * scale, QSizeF(rect.size()) * scale).toAlignedRect();
    const QRect part = under & borrowed.rect();
    if (!part.isEmpty())
        painter.drawImage(part.topLeft(), borrowed, part);
}

QRect WindowPixelsOver(const QRect& surfacePixels, double scale)
{
    if (scale == 1)
        return surfacePixels;
    const QRectF window(QPointF(surfacePixels.topLeft()) / scale, QSizeF(surfacePixels.size()) / scale);
    return window.toAlignedRect().adjusted(-1, -1, 1, 1);
}

QSize WindowSizeFor(int surfaceWidth, int surfaceHeight, double scale)
{
    return {static_cast<int>(std::ceil(surfaceWidth / scale)), static_cast<int>(std::ceil(surfaceHeight / scale))};
}
