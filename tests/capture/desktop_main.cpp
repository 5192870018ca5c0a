// The desktop tests in their own QApplication, on the X screen the test script made.

#include "DesktopTest.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}
