#include "SurfacePainter.h"

#include "imaging/dibimage.h"

#include <QImage>
#include <QPainter>
#include <QRect>

void PaintSurface(QPainter& painter, const DeviceContext& surface, const QRect& rect)
{
    if (surface.width() <= 0 || surface.height() <= 0)
        return;
    const QImage borrowed(reinterpret_cast<const uchar*>(surface.pixels()), surface.width(), surface.height(),
                          static_cast<qsizetype>(surface.stride() * sizeof(std::uint32_t)), QImage::Format_RGB32);
    const QRect part = rect & borrowed.rect();
    if (!part.isEmpty())
        painter.drawImage(part.topLeft(), borrowed, part);
}
