// The desktop capture mode as the program reaches it: through the application object
// and the mode chooser, and back.

#include "CaptureFixture.h"
#include "QtPrinters.h"
#include "TestPlatform.h"
#include "app/Application.h"
#include "app/SelectMode.h"
#include "formcom.h"
#include "scrimble.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

template<typename Window>
Window* shown()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Window*>(window); found && found->isVisible())
            return found;
    return nullptr;
}

// A program run on fake platform services with Set.ini in a temporary folder.
struct Program {
    QTemporaryDir dir;
    TestPlatform test = makeTestPlatform();
    FakeInstanceLock& lock = *test.lock;
    QString setIni = dir.filePath(QStringLiteral("Set.ini"));
    std::unique_ptr<Application> application;

    void start()
    {
        application = std::make_unique<Application>(std::move(test.platform), dir.path() + u'/', setIni);
        application->start();
    }
    [[nodiscard]] int readInt(const char* key) const
    {
        return application->settings().readInt(QStringLiteral("Start"), QString::fromLatin1(key), -99);
    }
    void chooseDesktopCapture() const
    {
        QTest::mouseClick(application->modeChooser()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
    }
};

class ModeChooser : public testing::Test
{
protected:
    // The program's windows come and go between the chooser and the mode, and
    // SecondInstanceExitsWritingNothing runs the event loop to see the program end
    // itself: Qt must not end it when the last window closes.
    void SetUp() override
    {
        m_quitOnLastWindowClosed = QApplication::quitOnLastWindowClosed();
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override { QApplication::setQuitOnLastWindowClosed(m_quitOnLastWindowClosed); }

private:
    bool m_quitOnLastWindowClosed = true;
};

TEST_F(ModeChooser, ChooserOpensTheMode)
{
    Program program;
    program.start();
    ASSERT_TRUE(program.application->modeChooser());
    program.chooseDesktopCapture();
    EXPECT_TRUE(program.application->hasOpenMode());
    EXPECT_TRUE(shown<scrimble>());
    EXPECT_TRUE(shown<formcom>());
    EXPECT_EQ(program.readInt("Boolean"), 0);
    EXPECT_EQ(program.readInt("Mode"), 1);
    EXPECT_TRUE(program.test.dialogs->messages.empty());
}

TEST_F(ModeChooser, StoredDefaultOpensTheMode)
{
    Program program;
    Settings(program.setIni).writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("1"));
    Settings(program.setIni).writeText(QStringLiteral("Start"), QStringLiteral("Mode"), QStringLiteral("1"));
    program.start();
    EXPECT_TRUE(program.application->hasOpenMode());
    EXPECT_TRUE(shown<scrimble>());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown<SelectMode>() && !program.application->modeChooser(); }, 5000));
}

// Back to the chooser and into the mode again: Set.ini holds "Boolean" = "0", and the
// options keep JpegProgressive, ColorMode and GrayStrength while the rest start over.
TEST_F(ModeChooser, ReturnAndComeBack)
{
    Program program;
    Settings(program.setIni).writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("1"));
    Settings(program.setIni).writeText(QStringLiteral("Start"), QStringLiteral("Mode"), QStringLiteral("1"));
    program.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program.application->modeChooser(); }, 5000));
    OutputOptions& options = program.application->outputOptions();
    options = UnusualOptions();
    ASSERT_TRUE(shown<formcom>());
    shown<formcom>()->findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
    EXPECT_EQ(program.readInt("Boolean"), 0);
    EXPECT_EQ(program.readInt("Mode"), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown<SelectMode>() != nullptr; }, 5000));
    EXPECT_TRUE(!shown<scrimble>() && !shown<formcom>());
    EXPECT_FALSE(program.application->hasOpenMode());

    program.chooseDesktopCapture();
    EXPECT_TRUE(shown<scrimble>());
    EXPECT_EQ(options.JpegProgressive, std::int16_t{-1});
    EXPECT_EQ(options.ColorMode, std::int16_t{1});
    EXPECT_EQ(options.GrayStrength, 200);
    OutputOptions modeStart = UnusualOptions();
    InitOutputOptions(modeStart);
    EXPECT_TRUE(SameOptions(options, modeStart));
    EXPECT_EQ(options.BitDepth, ColorDepth::Bits24);
    EXPECT_EQ(options.JpegQuality, std::int16_t{60});
}

// The committed coordinates live for the whole run: the panel of the second entry
// shows "0" in every field, and its Update still selects what was typed in the first.
TEST_F(ModeChooser, SelectionSurvivesTheChooser)
{
    Program program;
    program.start();
    program.chooseDesktopCapture();
    formcom* panel = shown<formcom>();
    ASSERT_TRUE(panel);
    for (const auto& [name, text] : {std::pair{"sX", "100"}, {"sY", "50"}, {"eX", "300"}, {"eY", "250"}})
        ASSERT_TRUE(
            TypeAndCommit(*panel, *panel->findChild<QLineEdit*>(QString::fromLatin1(name)), QString::fromLatin1(text)))
            << name;
    panel->findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown<SelectMode>() != nullptr; }, 5000));

    program.chooseDesktopCapture();
    panel = shown<formcom>();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->findChild<QLineEdit*>(QStringLiteral("eY"))->text(), QStringLiteral("0"));
    const CaptureSelection& kept = program.application->captureSelection();
    EXPECT_EQ((QList<int>{kept.StartX, kept.StartY, kept.EndX, kept.EndY}), (QList<int>{100, 50, 300, 250}));
    QTest::mouseClick(PanelButton(*panel, "Command4"), Qt::LeftButton);
    ASSERT_TRUE(shown<scrimble>());
    const auto* capture = dynamic_cast<const CaptureMode*>(program.application->openMode());
    ASSERT_TRUE(capture);
    const ShapeRect& shape = capture->model().editor().shape();
    EXPECT_EQ(QRectF(shape.left, shape.top, shape.width, shape.height), QRectF(100, 50, 200, 200));
}

TEST_F(ModeChooser, SecondInstanceExitsWritingNothing)
{
    Program program;
    program.lock.first = false;
    program.start();
    program.chooseDesktopCapture();
    EXPECT_TRUE(!shown<scrimble>() && !shown<formcom>() && !shown<SelectMode>());
    EXPECT_TRUE(program.test.dialogs->messages.empty());
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    watchdog.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0) << "7: the program did not end";
    EXPECT_FALSE(QFile::exists(program.setIni));
    EXPECT_TRUE(QDir(program.dir.path()).isEmpty());
}

}  // namespace
