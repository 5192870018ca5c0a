#include "scrimble.h"

#include "ClickActivation.h"
#include "PixelRounding.h"
#include "SurfacePainter.h"
#include "platform/ScreenGrabber.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

namespace {

Qt::CursorShape toQtCursor(CursorShape shape)
{
    switch (shape) {
    case CursorShape::DiagonalNwSe:
        return Qt::SizeFDiagCursor;
    case CursorShape::DiagonalNeSw:
        return Qt::SizeBDiagCursor;
    case CursorShape::Vertical:
        return Qt::SizeVerCursor;
    case CursorShape::Horizontal:
        return Qt::SizeHorCursor;
    case CursorShape::Move:
        return Qt::SizeAllCursor;
    case CursorShape::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

// Shape1 on whole pixels: the rectangle of selected pixels.
QRect outlinePixels(const ShapeRect& shape)
{
    return {RoundPixel<int>(shape.left), RoundPixel<int>(shape.top), RoundPixel<int>(shape.width),
            RoundPixel<int>(shape.height)};
}

QRect handlePixels(const HandlePosition& handle)
{
    return {RoundPixel<int>(handle.left), RoundPixel<int>(handle.top), HandleSize, HandleSize};
}

}  // namespace

// The copy bypasses the window manager: a window manager makes a full-screen window
// cover one monitor only, and may move or shrink it, where screen pixel (x, y) must
// show at (x, y) on every monitor. Its stacking is the mode's business, its focus
// comes from ClickActivation.
scrimble::scrimble(ScreenGrabber& screen, PointerPositions& pointer)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint)
    , m_screen(screen)
    , m_pointer(pointer)
{
    const ScreenInfo info = screen.screenInfo();
    m_surface.resize(info.width, info.height);
    m_grabScale = std::max(info.scale, 1);
    setWindowTitle(QStringLiteral("Scrimble"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_QuitOnClose, false);  // only the panel's unload ends the program
    setGeometry(windowRect());
    setWindowState(Qt::WindowFullScreen);
    Timer1.setSingleShot(true);
    new ClickActivation(*this);
    connect(&Timer1, &QTimer::timeout, this, &scrimble::Timer1_Timer);
}

bool scrimble::Form_Load()
{
    Timer1.stop();
    m_surface.stretchMode = HALFTONE;
    return GrabDesktop();
}

// A screen whose size has changed since the last copy (a monitor plugged in or out)
// is copied whole at its new size, and the window covers it again.
bool scrimble::GrabDesktop()
{
    const ScreenInfo info = m_screen.screenInfo();
    bool grabbed = false;
    if (info.width == m_surface.width() && info.height == m_surface.height() && info.scale == m_grabScale) {
        grabbed = m_screen.grab(m_surface);
    } else {
        DeviceContext resized(info.width, info.height);
        resized.stretchMode = m_surface.stretchMode;
        grabbed = m_screen.grab(resized);
        if (grabbed) {
            m_surface = std::move(resized);
            m_grabScale = std::max(info.scale, 1);
            setGeometry(windowRect());
        }
    }
    update();
    return grabbed;
}

// The window manager cannot iconify a window it does not manage: minimised, the copy
// is simply not shown.
void scrimble::minimise()
{
    setWindowState(windowState() | Qt::WindowMinimized);
    hide();
}

// Full screen and nothing else: a window manager that drops the state of a hidden
// window may have maximised it meanwhile, below its top bar.
void scrimble::restore()
{
    setWindowState(Qt::WindowFullScreen);
    setGeometry(windowRect());
    show();
}

scrimble::~scrimble()
{
    stopRecapture();
}

void scrimble::stopRecapture()
{
    Timer1.stop();
    m_screen.cancelPrepare();
}

void scrimble::armRecapture(int intervalMs)
{
    Timer1.start(intervalMs);
}

void scrimble::clearPicture()
{
    m_surface.fill(EmptySurfaceColor);
    update();
}

void scrimble::setShape(const ShapeRect& shape)
{
    const QRegion before = outlineRegion() + handlesRegion();
    m_editor.setShape(shape);
    updateSurface(before + outlineRegion() + handlesRegion());
}

void scrimble::setHandlesVisible(bool visible)
{
    m_handlesVisible = visible;
    updateSurface(handlesRegion());
}

void scrimble::mousePressEvent(QMouseEvent* event)
{
    const PointerEvent kind =
        event->type() == QEvent::MouseButtonDblClick ? PointerEvent::DoubleClick : PointerEvent::Press;
    m_lastPointer = screenPoint(kind, *event);
    Form_MouseDown(m_lastPointer.x(), m_lastPointer.y());
}

void scrimble::mouseMoveEvent(QMouseEvent* event)
{
    m_lastPointer = screenPoint(PointerEvent::Move, *event);
    Form_MouseMove(m_lastPointer.x(), m_lastPointer.y());
}

// Qt drops a move that another follows in its queue, even one after the release: the
// drag ends where the button came up.
void scrimble::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = screenPoint(PointerEvent::Release, *event);
    if (at != m_lastPointer)
        Form_MouseMove(at.x(), at.y());
    Form_MouseUp();
}

// Whether the press grabs a handle depends on the picture window, so the mode runs
// it: it calls pressSelection() back before this returns.
void scrimble::Form_MouseDown(double x, double y)
{
    setHandlesVisible(false);
    emit selectionPressed(x, y);
}

PressResult scrimble::pressSelection(double x, double y, bool pictureShown)
{
    const QRegion before = outlineRegion();
    const PressResult result = m_editor.press(x, y, pictureShown);
    updateSurface(before + outlineRegion());
    return result;
}

// Only the outline's border strips are repainted while the pointer moves; the
// picture is rendered once, at the release.
void scrimble::Form_MouseMove(double x, double y)
{
    const QRegion before = outlineRegion();
    if (const std::optional<CursorShape> cursor = m_editor.move(x, y))
        setCursor(toQtCursor(*cursor));
    updateSurface(before + outlineRegion());
}

void scrimble::Form_MouseUp()
{
    emit selectionReleased();
}

void scrimble::releaseSelection(CaptureSelection& selection)
{
    m_editor.release(selection);
    unsetCursor();
}

void scrimble::keyPressEvent(QKeyEvent* event)
{
    emit functionKeyPressed(event->key());
}

// The take-image command hid every window of the mode before arming the timer, so
// the copy shows the real desktop.
void scrimble::Timer1_Timer()
{
    Timer1.stop();
    m_screen.prepare([this](bool ready) { emit recaptured(ready && GrabDesktop()); });
}

void scrimble::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintSurface(painter, m_surface, event->rect(), scale());
    drawSelection(painter);
    drawHandles(painter);
}

double scrimble::scale() const
{
    return m_grabScale * devicePixelRatioF();
}

// The copy lies at the screen's origin, so the pointer's screen position is the
// copy's pixel, once the grab's own scale is applied.
QPointF scrimble::screenPoint(PointerEvent kind, const QMouseEvent& event)
{
    const PointerEventKey key{kind, event.timestamp(), winId(), event.buttons() != Qt::NoButton};
    if (const std::optional<QPoint> onScreen = m_pointer.takeScreenPosition(key))
        return QPointF(*onScreen) * m_grabScale;
    return event.position() * scale();
}

QRect scrimble::windowRect() const
{
    return {QPoint(0, 0), WindowSizeFor(m_surface.width(), m_surface.height(), scale())};
}

void scrimble::updateSurface(const QRegion& surfacePixels)
{
    QRegion window;
    for (const QRect& part : surfacePixels)
        window += WindowPixelsOver(part, scale());
    update(window);
}

// A dashed black-on-white line on the border pixels of the selection, so that it
// shows on any picture.
void scrimble::drawSelection(QPainter& painter) const
{
    const QRect pixels = outlinePixels(m_editor.shape()).normalized();
    if (!m_editor.shape().visible || pixels.isEmpty())
        return;
    const QRect border = pixels.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(border);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(border);
}

void scrimble::drawHandles(QPainter& painter) const
{
    if (!m_handlesVisible)
        return;
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    for (const HandlePosition& handle : m_editor.handles())
        painter.drawRect(handlePixels(handle).adjusted(0, 0, -1, -1));
    painter.setBrush(Qt::NoBrush);
}

// The border strips of Shape1 with a pixel to spare on either side.
QRegion scrimble::outlineRegion() const
{
    const QRect pixels = outlinePixels(m_editor.shape()).normalized();
    const QRect outer = pixels.adjusted(-1, -1, 1, 1);
    const QRect inner = pixels.adjusted(2, 2, -2, -2);
    return inner.isValid() ? QRegion(outer).subtracted(QRegion(inner)) : QRegion(outer);
}

QRegion scrimble::handlesRegion() const
{
    QRegion region;
    for (const HandlePosition& handle : m_editor.handles())
        region += handlePixels(handle).adjusted(-1, -1, 1, 1);
    return region;
}
