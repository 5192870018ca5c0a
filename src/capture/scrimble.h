#pragma once
// The desktop copy: a frameless window over the whole screen that shows the frozen
// screen of the mode's model, so that the user selects on a still picture. The
// outline Shape1 and the nine handles, also the model's, are drawn above it and never
// become part of it. The window reports the mouse; the mode changes the selection.

#include "SelectionGeometry.h"
#include "platform/PointerPositions.h"

#include <QRegion>
#include <QWidget>

class CaptureModel;

class scrimble final : public QWidget
{
    Q_OBJECT
public:
    // The window covers model's frozen screen, at its size when made.
    scrimble(const CaptureModel& model, PointerPositions& pointer);

    // The frozen screen was taken anew, perhaps at another size: the window covers it.
    void showScreen();
    // The outline or the handles changed: repaints what was drawn of them and what is
    // to be drawn now.
    void showSelection();
    // The pointer's shape while the mouse moves over the outline or a handle.
    void showPointerShape(CursorShape shape);
    // Command10's two states; restore() also brings a copy back from F1.
    void minimise();
    void restore();

signals:
    // The user pressed, moved or released the mouse button on the copy, at the copy's
    // pixels.
    void selectionPressed(double x, double y);
    void selectionMoved(double x, double y);
    void selectionReleased();
    void functionKeyPressed(int keyCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_MouseDown(double x, double y);
    void Form_MouseMove(double x, double y);
    void Form_MouseUp();

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

    const CaptureModel& m_model;
    PointerPositions& m_pointer;
    QPointF m_lastPointer;     // the copy's pixel at the last press or move
    QRegion m_drawnSelection;  // the copy's pixels under the outline and handles as last shown
    QSize m_coveredSize;       // the window's size for the screen it was last made to cover
};
