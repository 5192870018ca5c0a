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
    m_screenSize = QSize(info.width, info.height);
    m_screen->stretchMode = HALFTONE;
    m_screenScale = std::max(info.scale, 1);
    m_picture->stretchMode = HALFTONE;
}

CaptureModel::~CaptureModel() = default;

bool CaptureModel::takeScreen(ScreenShot shot)
{
    if (!shot.ok())
        return false;
    *m_screen = std::move(shot.picture);
    m_screen->stretchMode = HALFTONE;
    m_screenSize = QSize(m_screen->width(), m_screen->height());
    m_screenScale = std::max(shot.scale, 1);
    return true;
}

void CaptureModel::clearScreen() { m_screen->fill(EmptySurfaceColor); }

QSize CaptureModel::pictureSize() const { return {m_picture->width(), m_picture->height()}; }

void CaptureModel::emptyPicture(int width, int height)
{
    m_picture->resize(width, height);
    m_picture->fill(EmptySurfaceColor);
}

bool CaptureModel::refreshPicture(const CaptureSelection& selection, const OutputOptions& options, GreyStep grey)
{
    const ShapeRect& shape = m_editor.shape();
    const bool rendered = RenderPicture(*m_screen, *m_picture, RoundPixel<int>(shape.left), RoundPixel<int>(shape.top),
                                        selection, options, grey)
                              .ok();
    if (!rendered)
        m_picture->fill(EmptySurfaceColor);
    return rendered;
}
