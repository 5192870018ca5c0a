#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Translations.h"
#include "platform/DisplayCheck.h"

#include <QApplication>
#include <QLocale>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Whether all of text reached the stream: a full disk or a closed standard output
// must not pass for success, as with the core utilities.
bool printed(std::FILE* stream, const QString& text)
{
    return std::fputs(qPrintable(text), stream) >= 0 && std::fflush(stream) == 0;
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
        if (printed(stdout, line.text))
            return 0;
        std::fprintf(stderr, "scrimble: write error: %s\n", std::strerror(errno));
        return 1;
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
    const Translations translations(line.language.value_or(LanguageOfDesktop(QLocale::system().uiLanguages())));
    const auto application = Application::forExecutable(makeDesktopPlatform(), executableFolder());
    application->start(line.mode);
    return QApplication::exec();
}
