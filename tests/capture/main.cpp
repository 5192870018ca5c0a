// Runs every window test class of the desktop capture mode in one QApplication.

#include "CaptureModeTest.h"
#include "CommandPanelTest.h"
#include "DesktopCopyTest.h"
#include "ModeChooserTest.h"
#include "OptionsWindowTest.h"
#include "PictureWindowTest.h"
#include "RealScreenTest.h"
#include "SaveTest.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int failures = 0;
    CaptureModeTest mode;
    DesktopCopyTest desktop;
    PictureWindowTest picture;
    CommandPanelTest panel;
    RealScreenTest screen;
    ModeChooserTest chooser;
    SaveTest save;
    OptionsWindowTest options;
    for (QObject* test : std::initializer_list<QObject*>{&mode, &desktop, &picture, &panel, &screen, &chooser, &save, &options})
        failures += QTest::qExec(test, argc, argv);
    return failures;
}
