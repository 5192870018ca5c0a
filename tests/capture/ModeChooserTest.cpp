// The desktop capture mode as the program reaches it: through the application object
// and the mode chooser, and back.

#include "ModeChooserTest.h"

#include "CaptureFixture.h"
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
        QTest::mouseClick(application->modeChooser()->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    }
};

}  // namespace

void ModeChooserTest::chooserOpensTheMode()
{
    Program program;
    program.start();
    QVERIFY(program.application->modeChooser());
    program.chooseDesktopCapture();
    QVERIFY(program.application->hasOpenMode());
    QVERIFY(shown<scrimble>());
    QVERIFY(shown<formcom>());
    QCOMPARE(program.readInt("Boolean"), 0);
    QCOMPARE(program.readInt("Mode"), 1);
    QVERIFY(program.test.dialogs->messages.empty());
}

void ModeChooserTest::storedDefaultOpensTheMode()
{
    Program program;
    Settings(program.setIni).writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("1"));
    Settings(program.setIni).writeText(QStringLiteral("Start"), QStringLiteral("Mode"), QStringLiteral("1"));
    program.start();
    QVERIFY(program.application->hasOpenMode());
    QVERIFY(shown<scrimble>());
    QTRY_VERIFY(!shown<SelectMode>() && !program.application->modeChooser());
}

// Back to the chooser and into the mode again: Set.ini holds "Boolean" = "0", and the
// options keep JpegProgressive, ColorMode and GrayStrength while the rest start over.
void ModeChooserTest::returnAndComeBack()
{
    Program program;
    Settings(program.setIni).writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("1"));
    Settings(program.setIni).writeText(QStringLiteral("Start"), QStringLiteral("Mode"), QStringLiteral("1"));
    program.start();
    QTRY_VERIFY(!program.application->modeChooser());
    OutputOptions& options = program.application->outputOptions();
    options = UnusualOptions();
    shown<formcom>()->findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
    QCOMPARE(program.readInt("Boolean"), 0);
    QCOMPARE(program.readInt("Mode"), 1);
    QTRY_VERIFY(shown<SelectMode>());
    QVERIFY(!shown<scrimble>() && !shown<formcom>());
    QVERIFY(!program.application->hasOpenMode());

    program.chooseDesktopCapture();
    QVERIFY(shown<scrimble>());
    QCOMPARE(options.JpegProgressive, std::int16_t{-1});
    QCOMPARE(options.ColorMode, std::int16_t{1});
    QCOMPARE(options.GrayStrength, 200);
    OutputOptions modeStart = UnusualOptions();
    InitOutputOptions(modeStart);
    QVERIFY(SameOptions(options, modeStart));
    QCOMPARE(options.BitDepth, ColorDepth::Bits24);
    QCOMPARE(options.JpegQuality, std::int16_t{60});
}

// The committed coordinates live for the whole run: the panel of the second entry
// shows "0" in every field, and its Update still selects what was typed in the first.
void ModeChooserTest::selectionSurvivesTheChooser()
{
    Program program;
    program.start();
    program.chooseDesktopCapture();
    formcom* panel = shown<formcom>();
    QVERIFY(panel);
    for (const auto& [name, text] : {std::pair{"sX", "100"}, {"sY", "50"}, {"eX", "300"}, {"eY", "250"}})
        QVERIFY(TypeAndCommit(*panel, *panel->findChild<QLineEdit*>(QString::fromLatin1(name)), QString::fromLatin1(text)));
    panel->findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
    QTRY_VERIFY(shown<SelectMode>());

    program.chooseDesktopCapture();
    panel = shown<formcom>();
    QVERIFY(panel);
    QCOMPARE(panel->findChild<QLineEdit*>(QStringLiteral("eY"))->text(), QStringLiteral("0"));
    const CaptureSelection& kept = program.application->captureSelection();
    QCOMPARE((QList<int>{kept.StartX, kept.StartY, kept.EndX, kept.EndY}), (QList<int>{100, 50, 300, 250}));
    QTest::mouseClick(PanelButton(*panel, "Command4"), Qt::LeftButton);
    const ShapeRect& shape = shown<scrimble>()->editor().shape();
    QCOMPARE(QRectF(shape.left, shape.top, shape.width, shape.height), QRectF(100, 50, 200, 200));
}

void ModeChooserTest::secondInstanceExitsWritingNothing()
{
    Program program;
    program.lock.first = false;
    program.start();
    program.chooseDesktopCapture();
    QVERIFY(!shown<scrimble>() && !shown<formcom>() && !shown<SelectMode>());
    QVERIFY(program.test.dialogs->messages.empty());
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    watchdog.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!QFile::exists(program.setIni));
    QVERIFY(QDir(program.dir.path()).isEmpty());
}
