#pragma once

#include <QObject>

// The mode on a real desktop: the test script runs it on several X screens (one
// monitor or two, of equal or different sizes) with openbox and with no window
// manager, and it checks what the X server shows.
class DesktopTest final : public QObject
{
    Q_OBJECT
private slots:
    void copyCoversEveryMonitor();
    void dragOnEachMonitorSelectsThePixelsUnderIt();
    void panelAndPictureStayInFrontOfTheCopy();
    void functionKeysBringBackMinimisedWindows();
    void optionsWindowClosesWhenFocusGoesElsewhere();
};
