#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Translations.h"
#include "grab/BackgroundRun.h"
#include "grab/GrabCommand.h"
#include "platform/DisplayCheck.h"
#include "platform/MemoryReuse.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QLocale>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unistd.h>

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

Language languageOf(const CommandLine& line)
{
    return line.language.value_or(LanguageOfDesktop(QLocale::system().uiLanguages()));
}

// --grab: no window, no Set.ini, no lock. With --clipboard the program serves the
// clipboard from the background until another program takes it, and the shell's
// command ends as soon as the image is there.
int grabScreen(const CommandLine& line, int argc, char* argv[])
{
    std::optional<BackgroundRun> background;
    if (line.grab.target == GrabTarget::Clipboard)
        background.emplace();
    const auto finish = [&background](const GrabOutcome& outcome) {
        if (!outcome.error.isEmpty())
            std::fprintf(stderr, "scrimble: %s\n", qPrintable(outcome.error));
        if (!outcome.written.isEmpty())
            std::printf("%s\n", qPrintable(outcome.written));
        if (background)
            background->report(outcome.status);
        return outcome.status;
    };
    preferX11Windows();
    if (const QString problem = unusableDisplayReason(); !problem.isEmpty())
        return finish({GrabExit::NoScreen, problem, {}});
    // Only the clipboard needs the windowing system's side of Qt: a grab to a file
    // starts without it, several times sooner (bench/compare_grab).
    const bool toClipboard = line.grab.target == GrabTarget::Clipboard;
    const std::unique_ptr<QCoreApplication> qtApplication =
        toClipboard ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    const Translations translations(languageOf(line));
    const std::unique_ptr<ScreenGrabber> screen = makeDesktopScreenGrabber();
    const std::unique_ptr<Clipboard> clipboard = toClipboard ? makeDesktopClipboard() : nullptr;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    GrabCommand command(*screen, line.grab, GrabPlaces{pictures, STDOUT_FILENO, clipboard.get()});
    command.start([&](const GrabOutcome& outcome) {
        const int status = finish(outcome);
        if (status != GrabExit::Written || !toClipboard)
            QCoreApplication::exit(status);
        else
            clipboard->whenImageReleased([] { QCoreApplication::exit(GrabExit::Written); });
    });
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char* argv[])
{
    // A full disk or a file-size limit must make a write fail (and be reported),
    // not kill the program with the image unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    keepFreedMemoryForReuse();
    // Before the display is looked at: --help and --version work without one.
    const CommandLine line = ParseCommandLine(argumentsOf(argc, argv));
    switch (line.action) {
    case CommandLine::Action::ShowHelp:
    case CommandLine::Action::ShowVersion:
        if (printed(stdout, line.text))
            return 0;
        std::fprintf(stderr, "scrimble: write error: %s\n", std::strerror(errno));
        return 1;
    case CommandLine::Action::Refuse: std::fputs(qPrintable(line.text), stderr); return RefusedCommandLineExitCode;
    case CommandLine::Action::Grab: return grabScreen(line, argc, argv);
    case CommandLine::Action::Run: break;
    }
    preferX11Windows();
    if (const QString problem = unusableDisplayReason(); !problem.isEmpty()) {
        std::fprintf(stderr, "scrimble: %s\n", qPrintable(problem));
        return 1;
    }
    std::future<ScreenShot> earlyScreen =
        line.mode == StartMode::Capture ? takeScreenEarly() : std::future<ScreenShot>();
    QApplication qtApplication(argc, argv);
    const Translations translations(languageOf(line));
    const auto application =
        Application::forExecutable(makeDesktopPlatform(std::move(earlyScreen)), executableFolder());
    application->start(line.mode);
    return QApplication::exec();
}
