// The auto-save mode as a user runs it, for bench/compare_autosave: the real window,
// clipboard and Print key of this X display, the start question answered Yes.
// usage: autosave_watch FOLDER bmp|png INTERVAL_MS SECONDS
// Watches SECONDS long, then prints the process's CPU time in ms and exits.
#include "autosave/AutoSaveMode.h"
#include "autosave/PrtScSave.h"
#include "platform/MemoryReuse.h"
#include "platform/Platform.h"
#include "shared/Settings.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

class AnswerYes final : public Dialogs
{
public:
    MessageAnswer message(QWidget*, const QString&, const QString&, MessageButtons) override
    {
        return MessageAnswer::Yes;
    }
    std::optional<SaveFileAnswer> saveFile(QWidget*, const SaveFileRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};

class EndingHost final : public ModeHost
{
public:
    ModeOpenResult openDesktopCapture() override { return ModeOpenResult::NotOpened; }
    ModeOpenResult openPrintScreenSave() override { return ModeOpenResult::NotOpened; }
    void returnToModeChooser() override {}
    void endProgram() override { QApplication::quit(); }
};

double cpuMilliseconds()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) * 1e3 + static_cast<double>(used.tv_nsec) / 1e6;
}

template<typename T>
T* control(QWidget& window, const char* name, int index = 0)
{
    return window.findChildren<T*>(QString::fromLatin1(name)).value(index);
}

}  // namespace

int main(int argc, char* argv[])
{
    keepFreedMemoryForReuse();
    QApplication application(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: autosave_watch FOLDER bmp|png INTERVAL_MS SECONDS\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    Platform platform = makeDesktopPlatform();
    platform.dialogs = std::make_unique<AnswerYes>();
    const Settings settings(folder + QStringLiteral("/Set.ini"));
    settings.writeText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), folder);
    EndingHost host;
    AutoSaveMode mode(platform, settings, host, folder + u'/');
    static_cast<void>(mode.load());
    QWidget& window = mode.window();
    control<QLineEdit>(window, "Text7")->setText(QString::fromLatin1(argv[3]));
    if (qstrcmp(argv[2], "png") == 0)
        control<QRadioButton>(window, "Option1", 2)->click();
    const double before = cpuMilliseconds();
    control<QPushButton>(window, "Command3")->click();
    QTimer::singleShot(std::atoi(argv[4]) * 1000, &application, [&] {
        std::printf("cpu_ms=%.1f\n", cpuMilliseconds() - before);
        std::fflush(stdout);
        // quit() would ask the window to close, which it refuses while watching.
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}
