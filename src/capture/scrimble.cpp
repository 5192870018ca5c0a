#include "scrimble.h"

#include "CaptureModel.h"
#include "ClickActivation.h"
#include "PixelRounding.h"
#include "SurfacePainter.h"

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
    case CursorShape::DiagonalNwSe: return Qt::SizeFDiagCursor;
    case CursorShape::DiagonalNeSw: return Qt::SizeBDiagCursor;
    case CursorShape::Vertical: return Qt::SizeVerCursor;
    case CursorShape::Horizontal: return Qt::SizeHorCursor;
    case CursorShape::Move: return Qt::SizeAllCursor;
    case CursorShape::Arrow: break;
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
scrimble::scrimble(const CaptureModel& model, PointerPositions& pointer)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint)
    , m_model(model)
    , m_pointer(pointer)
{
    setWindowTitle(QStringLiteral("Scrimble"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_QuitOnClose, false);  // only the panel's unload ends the program
    m_coveredSize = windowRect().size();
    setGeometry(windowRect());
    setWindowState(Qt::WindowFullScreen);
    new ClickActivation(*this);
}

// The window is moved only for a screen of another size: set on a full-screen
// window, a geometry can make the window manager drop that state.
void scrimble::showScreen()
{
    const QRect covering = windowRect();
    if (covering.size() != m_coveredSize) {
        m_coveredSize = covering.size();
        setGeometry(covering);
    }
    update();
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

// Only the outline's border strips and the handles are repainted while the pointer
// moves; the picture is rendered once, at the release.
void scrimble::showSelection()
{
    QRegion drawn = outlineRegion();
    if (m_model.handlesVisible())
        drawn += handlesRegion();
    updateSurface(m_drawnSelection + drawn);
    m_drawnSelection = drawn;
}

void scrimble::showPointerShape(CursorShape shape) { setCursor(toQtCursor(shape)); }

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

void scrimble::Form_MouseDown(double x, double y) { emit selectionPressed(x, y); }

void scrimble::Form_MouseMove(double x, double y) { emit selectionMoved(x, y); }

void scrimble::Form_MouseUp()
{
    unsetCursor();
    emit selectionReleased();
}

void scrimble::keyPressEvent(QKeyEvent* event) { emit functionKeyPressed(event->key()); }

void scrimble::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintSurface(painter, m_model.screen(), event->rect(), scale());
    drawSelection(painter);
    drawHandles(painter);
}

double scrimble::scale() const { return m_model.screenScale() * devicePixelRatioF(); }

// The copy lies at the screen's origin, so the pointer's screen position is the
// copy's pixel, once the grab's own scale is applied.
QPointF scrimble::screenPoint(PointerEvent kind, const QMouseEvent& event)
{
    const PointerEventKey key{kind, event.timestamp(), winId(), event.buttons() != Qt::NoButton};
    if (const std::optional<QPoint> onScreen = m_pointer.takeScreenPosition(key))
        return QPointF(*onScreen) * m_model.screenScale();
    return event.position() * scale();
}

QRect scrimble::windowRect() const
{
    const QSize screen = m_model.screenSize();
    return {QPoint(0, 0), WindowSizeFor(screen.width(), screen.height(), scale())};
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
    const ShapeRect& shape = m_model.editor().shape();
    const QRect pixels = outlinePixels(shape).normalized();
    if (!shape.visible || pixels.isEmpty())
        return;
    const QRect border = pixels.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(border);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(border);
}

void scrimble::drawHandles(QPainter& painter) const
{
    if (!m_model.handlesVisible())
        return;
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    for (const HandlePosition& handle : m_model.editor().handles())
        painter.drawRect(handlePixels(handle).adjusted(0, 0, -1, -1));
    painter.setBrush(Qt::NoBrush);
}

// The border strips of Shape1 with a pixel to spare on either side.
QRegion scrimble::outlineRegion() const
{
    const QRect pixels = outlinePixels(m_model.editor().shape()).normalized();
    const QRect outer = pixels.adjusted(-1, -1, 1, 1);
    const QRect inner = pixels.adjusted(2, 2, -2, -2);
    return inner.isValid() ? QRegion(outer).subtracted(QRegion(inner)) : QRegion(outer);
}

QRegion scrimble::handlesRegion() const
{
    QRegion region;
    for (const HandlePosition& handle : m_model.editor().handles())
        region += handlePixels(handle).adjusted(-1, -1, 1, 1);
    return region;
}
