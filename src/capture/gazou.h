#pragma once
// The picture window: shows the committed selection, colour-reduced and magnified.
// Its surface is the preview and the source of the copied image, so the client area
// is exactly the surface: ViewWidth x ViewHeight pixels, sized in pixels.

#include "imaging/dibimage.h"

#include <QWidget>

class gazou final : public QWidget
{
    Q_OBJECT
public:
    // Client area of a picture window made afresh after the user closed one, pixels.
    static constexpr int DesignWidth = 285;
    static constexpr int DesignHeight = 228;

    gazou();

    [[nodiscard]] DeviceContext& surface() { return m_surface; }
    [[nodiscard]] const DeviceContext& surface() const { return m_surface; }

    // Client area and surface become width x height pixels, emptied.
    void setClientSize(int width, int height);

signals:
    void functionKeyPressed(int keyCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();

    DeviceContext m_surface;
};
