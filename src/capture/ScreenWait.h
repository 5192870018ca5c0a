#pragma once
// Shown while the desktop has not handed the screen over yet: it may be asking the
// user whether this program may take screenshots, which takes as long as the user
// takes. Cancelling (the button or closing the window) gives the capture up. Its
// controls come from ScreenWait.ui.

#include <QWidget>

class ScreenWait final : public QWidget
{
    Q_OBJECT
public:
    ScreenWait();

signals:
    void cancelled();

protected:
    void closeEvent(QCloseEvent* event) override;
};
