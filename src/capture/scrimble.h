#pragma once
// The desktop copy: a frameless window over the whole screen that shows the screen
// as it was when copied, so that the user selects on a still picture. The copy lives
// in this window's surface (screen pixels, origin at the screen's top-left); the
// outline Shape1 and the nine handles are drawn above it and never become part of it.

#include "SelectionGeometry.h"
#include "imaging/dibimage.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>

class CaptureMode;
class QRegion;
enum class ModeOpenResult;

class scrimble final : public QWidget
{
    Q_OBJECT
public:
    explicit scrimble(CaptureMode& mode);

    // The start of the desktop capture mode. ProgramEnding: another instance runs,
    // nothing has been shown. NotOpened: the screen could not be read (the user has
    // been told why).
    [[nodiscard]] ModeOpenResult Form_Load();

    [[nodiscard]] DeviceContext& surface() { return m_surface; }
    [[nodiscard]] const DeviceContext& surface() const { return m_surface; }
    [[nodiscard]] SelectionEditor& editor() { return m_editor; }
    [[nodiscard]] const SelectionEditor& editor() const { return m_editor; }
    [[nodiscard]] bool handlesVisible() const { return m_handlesVisible; }
    [[nodiscard]] QTimer& timer() { return Timer1; }

    // Shape1 as the panel sets it; the handles follow it wherever they are shown.
    void setShape(const ShapeRect& shape);
    void setHandlesVisible(bool visible);
    // Empties the stored copy: what the clear command leaves on screen.
    void clearPicture();
    // Copies the screen into the surface; false leaves the surface as it was.
    bool GrabDesktop();

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
    void Timer1_Timer();

    void drawSelection(QPainter& painter) const;
    void drawHandles(QPainter& painter) const;
    [[nodiscard]] QRegion outlineRegion() const;
    [[nodiscard]] QRegion handlesRegion() const;

    CaptureMode& m_mode;
    DeviceContext m_surface;
    SelectionEditor m_editor;
    bool m_handlesVisible = false;
    QTimer Timer1;  // the delayed re-capture of the take-image command; fires once per arming
};
