// The application object with test doubles for the platform: a mode this build does
// not have says so when chosen, keeps the chooser and writes nothing.
#include "app/Application.h"
#include "app/SelectMode.h"

#include "TestFiles.h"
#include "TestPlatform.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

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

TEST_F(ApplicationTest, ChoosingAMissingModeSaysSoAndKeepsTheChooser)
{
    m_application.start();
    SelectMode* chooser = m_application.modeChooser();
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(chooser->isVisible());
    QTest::mouseClick(chooser->Option2, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(chooser->Command1, Qt::LeftButton);

    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].title, QStringLiteral("Scrimble Ver3.1.0"));
    EXPECT_TRUE(m_dialogs.messages[0].text.contains(QStringLiteral("プリントスクリーンセーブ")));
    EXPECT_EQ(m_application.modeChooser(), chooser);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_FALSE(m_application.hasOpenMode());
    EXPECT_EQ(settingsBytes(), QByteArray("<missing>")) << "nothing opened, nothing stored";
}

TEST_F(ApplicationTest, StoredMissingModeFallsBackToTheChooser)
{
    const QByteArray stored = "[Start]\nBoolean=1\nMode=0\n";
    writeSettings(stored);
    m_application.start();
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    ASSERT_NE(m_application.modeChooser(), nullptr);
    EXPECT_TRUE(m_application.modeChooser()->isVisible());
    EXPECT_EQ(settingsBytes(), stored);
}

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

// With the real message box and the real event loop: dismissing the "not available"
// message must not end the program, whose only other window is the chooser.
TEST(ApplicationRealDialogs, DismissingTheMessageKeepsTheProgramRunning)
{
    QTemporaryDir dir;
    TestPlatform test = makeTestPlatform();
    test.platform.dialogs = std::make_unique<QtDialogs>();
    Application application(std::move(test.platform), dir.path() + u'/', dir.filePath(QStringLiteral("Set.ini")));
    application.start();
    bool pressed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Ok)->click();
            pressed = true;
        } else if (pressed) {
            const bool chooserUp = application.modeChooser() && application.modeChooser()->isVisible();
            QCoreApplication::exit(chooserUp ? 5 : 6);
        }
    });
    poll.start(20);
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(application.modeChooser()->Option2, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseClick(application.modeChooser()->Command1, Qt::LeftButton);
    });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QCoreApplication::exec(), 5) << "0: the program ended when the message closed; 7: no message";
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
