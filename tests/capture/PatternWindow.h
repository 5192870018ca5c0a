#pragma once
// A window that bypasses any window manager and covers the whole X screen with the
// pattern PatternPixel(x, y), so that a screen copy has known pixels everywhere.

#include <QImage>
#include <QWidget>

class PatternWindow final : public QWidget
{
public:
    explicit PatternWindow(QSize size);
    // Shown, and given the time a compositor takes to put it on the screen.
    [[nodiscard]] bool showAndSettle();
    // Shows every pixel's complement from now on.
    void invert();
    // true when the X server shows the pattern at this point of the screen.
    [[nodiscard]] bool isShownAt(QPoint at) const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_image;
};
