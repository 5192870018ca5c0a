#include "CaptureModel.h"

#include "PixelRounding.h"
#include "RenderPicture.h"
#include "SurfacePainter.h"
#include "imaging/dibimage.h"
#include "platform/ScreenGrabber.h"

#include <algorithm>

CaptureModel::CaptureModel(const ScreenGrabber& screen)
    : m_screen(std::make_unique<DeviceContext>())
    , m_picture(std::make_unique<DeviceContext>())
{
    const ScreenInfo info = screen.screenInfo();
    m_screen->resize(info.width, info.height);
    m_screen->stretchMode = HALFTONE;
    m_screenScale = std::max(info.scale, 1);
    m_picture->stretchMode = HALFTONE;
}

CaptureModel::~CaptureModel() = default;

QSize CaptureModel::screenSize() const
{
    return {m_screen->width(), m_screen->height()};
}

bool CaptureModel::grabScreen(ScreenGrabber& screen)
{
    const ScreenInfo info = screen.screenInfo();
    if (info.width == m_screen->width() && info.height == m_screen->height() && info.scale == m_screenScale)
        return screen.grab(*m_screen);
    DeviceContext resized(info.width, info.height);
    resized.stretchMode = m_screen->stretchMode;
    if (!screen.grab(resized))
        return false;
    *m_screen = std::move(resized);
    m_screenScale = std::max(info.scale, 1);
    return true;
}

void CaptureModel::clearScreen()
{
    m_screen->fill(EmptySurfaceColor);
}

QSize CaptureModel::pictureSize() const
{
    return {m_picture->width(), m_picture->height()};
}

void CaptureModel::emptyPicture(int width, int height)
{
    m_picture->resize(width, height);
    m_picture->fill(EmptySurfaceColor);
}

bool CaptureModel::refreshPicture(const CaptureSelection& selection, const OutputOptions& options, GreyStep grey)
{
    const ShapeRect& shape = m_editor.shape();
    return RenderPicture(*m_screen, *m_picture, RoundPixel<int>(shape.left), RoundPixel<int>(shape.top), selection,
                         options, grey)
        .ok();
}
