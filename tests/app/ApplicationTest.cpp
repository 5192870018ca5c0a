// The application object with test doubles for the platform: the chooser opens the
// modes, the settings live beside the program or in the XDG folder, and the program
// ends when asked, also before its event loop runs.
#include "app/Application.h"
#include "app/SelectMode.h"
#include "autosave/PrtScSave.h"
#include "platform/FileNameText.h"

#include "TestFiles.h"
#include "TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace {

PrtScSave* autoSaveWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<PrtScSave*>(window))
            return found;
    return nullptr;
}

class ApplicationTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    TestPlatform m_test = makeTestPlatform();
    ScriptedDialogs& m_dialogs = *m_test.dialogs;
    QString m_settingsPath = m_dir.filePath(QStringLiteral("Set.ini"));
    Application m_application{std::move(m_test.platform), m_dir.path() + u'/', m_settingsPath};

    void writeSettings(const QByteArray& contents) const { ASSERT_TRUE(writeTestFile(m_settingsPath, contents)); }
    [[nodiscard]] QByteArray settingsBytes() const { return readTestFile(m_settingsPath).value_or("<missing>"); }
};

// The chooser's auto-save choice opens its window.
TEST_F(ApplicationTest, ChoosingPrintScreenSaveOpensItsWindow)
{
    m_application.start();
    SelectMode* chooser = m_application.modeChooser();
    ASSERT_NE(chooser, nullptr);
    QTest::mouseClick(chooser->findChild<QRadioButton*>(QStringLiteral("Option2")), Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);

    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_TRUE(m_application.hasOpenMode());
    EXPECT_NE(autoSaveWindow(), nullptr);
}

TEST_F(ApplicationTest, StoredPrintScreenSaveOpensAtStart)
{
    writeSettings("[Start]\nBoolean=1\nMode=0\n");
    m_application.start();
    EXPECT_TRUE(m_application.hasOpenMode());
    EXPECT_NE(autoSaveWindow(), nullptr);
}

// A mode named on the command line opens without the chooser, whatever default is
// stored, and the stored default stays; a mode that cannot open leaves the chooser.
struct StartCase {
    const char* name;
    StartMode mode;
    bool screenFails;
    bool opened;
};

class ApplicationStart : public ApplicationTest, public testing::WithParamInterface<StartCase>
{};

TEST_P(ApplicationStart, OpensTheNamedMode)
{
    const StartCase& c = GetParam();
    const QByteArray stored = "[Start]\nBoolean=1\nMode=1\n";
    writeSettings(stored);
    if (c.screenFails)
        m_test.screen->failWith(QStringLiteral("no screen"));
    m_application.start(c.mode);
    EXPECT_EQ(m_application.hasOpenMode(), c.opened);
    EXPECT_EQ(m_application.modeChooser() != nullptr, !c.opened);
    EXPECT_EQ(autoSaveWindow() != nullptr, c.opened && c.mode == StartMode::AutoSave);
    EXPECT_EQ(settingsBytes(), stored);
}

INSTANTIATE_TEST_SUITE_P(Modes, ApplicationStart,
                         testing::Values(StartCase{"AutoSave", StartMode::AutoSave, false, true},
                                         StartCase{"Capture", StartMode::Capture, false, true},
                                         StartCase{"CaptureWithoutScreen", StartMode::Capture, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplicationTest, SettingsBesideTheProgram)
{
    EXPECT_EQ(m_application.settings().path(), m_settingsPath);
    EXPECT_EQ(m_application.applicationFolder(), m_dir.path() + u'/');
    const auto installed = Application::forExecutable(makeTestPlatform().platform, QFile::encodeName(m_dir.path()));
    EXPECT_EQ(installed->applicationFolder(), m_dir.path() + u'/');
    EXPECT_EQ(installed->settings().path(), m_dir.path() + QStringLiteral("/Set.ini"));
}

// Nothing of ours belongs in the file-system root, even where it is writable: Set.ini
// goes to the XDG folder, which is made only by the first write.
TEST(ApplicationAtRoot, SettingsGoToTheXdgFolderMadeOnlyWhenWritten)
{
    QTemporaryDir config;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const auto atRoot = Application::forExecutable(makeTestPlatform().platform, "/");
    qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_EQ(atRoot->applicationFolder(), QStringLiteral("/"));
    EXPECT_EQ(atRoot->settings().path(), config.path() + QStringLiteral("/scrimble/Set.ini"));
    EXPECT_FALSE(QFile::exists(config.path() + QStringLiteral("/scrimble")));
    EXPECT_TRUE(atRoot->settings().writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("0")));
    EXPECT_TRUE(QFile::exists(atRoot->settings().path()));
}

// A program unpacked into a folder with a Shift-JIS name (スクショ): the auto-save
// window's default folder, that folder, goes to Set.ini as its own bytes and comes
// back from there naming the same folder, not one of U+FFFD characters.
TEST(ApplicationInShiftJisFolder, DefaultAutoSaveFolderKeepsItsBytes)
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/\x83\x58\x83\x4e\x83\x56\x83\x87";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    for (int run = 0; run < 2; ++run) {
        const auto application = Application::forExecutable(makeTestPlatform().platform, folder);
        application->start(StartMode::AutoSave);
        ASSERT_NE(autoSaveWindow(), nullptr);
        const auto* shown = autoSaveWindow()->findChild<QLineEdit*>(QStringLiteral("Text1"));
        EXPECT_EQ(FileNameText::encode(shown->text()), folder) << "run " << run;
        autoSaveWindow()->findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
        QTRY_VERIFY(autoSaveWindow() == nullptr);
        std::ifstream stored((folder + "/Set.ini").toStdString(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(stored), std::istreambuf_iterator<char>()};
        EXPECT_NE(bytes.find("\nFolderPath=" + folder.toStdString() + "\n"), std::string::npos) << bytes;
    }
}

TEST_F(ApplicationTest, ClosedChooserComesBackAfterReturn)
{
    m_application.start();
    const QPointer<SelectMode> first = m_application.modeChooser();
    first->close();
    QTRY_VERIFY(first.isNull());
    EXPECT_EQ(m_application.modeChooser(), nullptr);
    m_application.returnToModeChooser();
    EXPECT_EQ(m_application.modeChooser(), nullptr) << "not before the current handler has returned";
    QTRY_VERIFY(m_application.modeChooser() != nullptr);
    EXPECT_TRUE(m_application.modeChooser()->isVisible());
}

// With the real event loop: the chooser going away once the auto-save window is up
// must not end the program.
TEST(ApplicationRealLoop, OpeningPrintScreenSaveKeepsTheProgramRunning)
{
    QTemporaryDir dir;
    Application application(makeTestPlatform().platform, dir.path() + u'/', dir.filePath(QStringLiteral("Set.ini")));
    application.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!application.modeChooser() && autoSaveWindow() && autoSaveWindow()->isVisible())
            QCoreApplication::exit(5);
    });
    poll.start(200);
    QTimer::singleShot(0, [&] {
        SelectMode* chooser = application.modeChooser();
        QTest::mouseClick(chooser->findChild<QRadioButton*>(QStringLiteral("Option2")), Qt::LeftButton, {},
                          QPoint(8, 8));
        QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QCoreApplication::exec(), 5) << "0: the program ended with the chooser; 7: no window";
}

TEST_F(ApplicationTest, EndProgramBeforeTheEventLoopStillEndsIt)
{
    m_application.endProgram();
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    watchdog.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

}  // namespace
