#include "app/Application.h"
#include "platform/DisplayCheck.h"

#include <QApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    // A full disk or a file-size limit must make a write fail (and be reported),
    // not kill the program with the image unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    preferX11Windows();
    if (const QString problem = unusableDisplayReason(); !problem.isEmpty()) {
        std::fprintf(stderr, "scrimble: %s\n", qPrintable(problem));
        return 1;
    }
    QApplication qtApplication(argc, argv);
    const auto application = Application::forExecutable(makeX11Platform(), executableFolder());
    application->start();
    return QApplication::exec();
}
