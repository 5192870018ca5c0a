#pragma once
// The desktop copy: a frameless window over the whole screen that shows the screen
// as it was when copied, so that the user selects on a still picture. The copy lives
// in this window's surface (screen pixels, origin at the screen's top-left); the
// outline Shape1 and the nine handles are drawn above it and never become part of it.

#include "SelectionGeometry.h"
#include "imaging/dibimage.h"
#include "platform/PointerPositions.h"

#include <QTimer>
#include <QWidget>

class QRegion;
class ScreenGrabber;
struct CaptureSelection;

class scrimble final : public QWidget
{
    Q_OBJECT
public:
    // The window covers the screen that screen reads, at its size when made.
    scrimble(ScreenGrabber& screen, PointerPositions& pointer);
    ~scrimble() override;

    // Copies the screen for the first time; false when it could not be read.
    [[nodiscard]] bool Form_Load();

    [[nodiscard]] const DeviceContext& surface() const { return m_surface; }
    [[nodiscard]] const SelectionEditor& editor() const { return m_editor; }
    [[nodiscard]] bool handlesVisible() const { return m_handlesVisible; }
    // Timer1, for reading its state; armRecapture() is the only way to start it.
    [[nodiscard]] const QTimer& recaptureTimer() const { return Timer1; }

    // Shape1 as Update, Select all and Clear set it; the handles follow it.
    void setShape(const ShapeRect& shape);
    void setHandlesVisible(bool visible);
    // Records the press-test grid from the handles' current places.
    void recordHandleGrid() { m_editor.recordGrid(); }
    // The press that started at (x, y), as the mode runs it after selectionPressed;
    // pictureShown makes the handles grabbable.
    PressResult pressSelection(double x, double y, bool pictureShown);
    // Ends the drag and stores Shape1's selection and view sizes into selection.
    void releaseSelection(CaptureSelection& selection);
    // Empties the stored copy: what the clear command leaves on screen.
    void clearPicture();
    // Command10's two states; restore() also brings a copy back from F1.
    void minimise();
    void restore();
    // Copies the screen again after intervalMs, once, when the desktop has handed it
    // over; recaptured() tells the outcome. stopRecapture() gives a pending one up.
    void armRecapture(int intervalMs);
    void stopRecapture();

signals:
    // The user pressed or released the mouse button on the copy, at widget pixels.
    void selectionPressed(double x, double y);
    void selectionReleased();
    // Timer1 fired and the screen was copied again (grabbed) or could not be read.
    void recaptured(bool grabbed);
    void functionKeyPressed(int keyCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Copies the screen into the surface; false leaves the surface as it was.
    bool GrabDesktop();
    void Form_MouseDown(double x, double y);
    void Form_MouseMove(double x, double y);
    void Form_MouseUp();
    void Timer1_Timer();

    void drawSelection(QPainter& painter) const;
    void drawHandles(QPainter& painter) const;
    [[nodiscard]] QRegion outlineRegion() const;
    [[nodiscard]] QRegion handlesRegion() const;
    // Screen pixels per window pixel: the grab's scale times Qt's device pixel ratio.
    [[nodiscard]] double scale() const;
    // The copy's pixel under the pointer at a mouse event.
    [[nodiscard]] QPointF screenPoint(PointerEvent kind, const QMouseEvent& event);
    // The window covers the screen, its pixels shown one to one.
    [[nodiscard]] QRect windowRect() const;
    // Repaints the window over these pixels of the copy.
    void updateSurface(const QRegion& surfacePixels);

    ScreenGrabber& m_screen;
    PointerPositions& m_pointer;
    DeviceContext m_surface;
    int m_grabScale = 1;  // screen pixels per desktop pixel (2 on a Wayland output scaled by 2)
    QPointF m_lastPointer;  // the copy's pixel at the last press or move
    SelectionEditor m_editor;
    bool m_handlesVisible = false;
    QTimer Timer1;  // the delayed re-capture of the take-image command; fires once per arming
};
