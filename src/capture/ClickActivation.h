#pragma once
// Click-to-focus for a top-level window: a press on the window or any of its
// children activates the window when it is not active, so that typed coordinates and
// function keys reach it also on a screen without a window manager to do this.

#include <QObject>

class QWidget;

class ClickActivation final : public QObject
{
    Q_OBJECT
public:
    // Watches window and every child it has now; owned by window.
    explicit ClickActivation(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
};
