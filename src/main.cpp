#include "app/Application.h"
#include "app/CommandLine.h"
#include "platform/DisplayCheck.h"

#include <QApplication>

#include <csignal>
#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}  // namespace

int main(int argc, char* argv[])
{
    // A full disk or a file-size limit must make a write fail (and be reported),
    // not kill the program with the image unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    // Before the display is looked at: --help and --version work without one.
    const CommandLine line = ParseCommandLine(argumentsOf(argc, argv));
    switch (line.action) {
    case CommandLine::Action::ShowHelp:
    case CommandLine::Action::ShowVersion:
        std::fputs(qPrintable(line.text), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fputs(qPrintable(line.text), stderr);
        return RefusedCommandLineExitCode;
    case CommandLine::Action::Run:
        break;
    }
    preferX11Windows();
    if (const QString problem = unusableDisplayReason(); !problem.isEmpty()) {
        std::fprintf(stderr, "scrimble: %s\n", qPrintable(problem));
        return 1;
    }
    QApplication qtApplication(argc, argv);
    const auto application = Application::forExecutable(makeDesktopPlatform(), executableFolder());
    application->start(line.mode);
    return QApplication::exec();
}
