#include "app/Application.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // A full disk or a file-size limit must make a write fail (and be reported),
    // not kill the program with the image unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    preferX11Windows();
    QApplication qtApplication(argc, argv);
    const auto application = Application::forExecutable(makeX11Platform(), QCoreApplication::applicationDirPath());
    application->start();
    return QApplication::exec();
}
