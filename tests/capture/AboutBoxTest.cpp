// The About box from the version menu, and the system-information program it starts,
// found in PATH as on a real desktop.

#include "AboutBoxTest.h"

#include "CaptureFixture.h"
#include "about/frmAbout.h"
#include "formcom.h"
#include "platform/DesktopSystemInformation.h"
#include "scrimble.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

QWidget* openAbout(CaptureFixture& f)
{
    f.panel().findChild<QAction*>(QStringLiteral("version"))->trigger();
    return TopLevel<frmAbout>();
}

// PATH is this folder alone while the object lives.
class PathOnly
{
public:
    explicit PathOnly(const QString& folder) : m_saved(qgetenv("PATH")) { qputenv("PATH", QFile::encodeName(folder)); }
    ~PathOnly() { qputenv("PATH", m_saved); }
    PathOnly(const PathOnly&) = delete;
    PathOnly& operator=(const PathOnly&) = delete;

private:
    QByteArray m_saved;
};

// What the started program wrote, once it has written its line.
QString markerText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

void AboutBoxTest::showsTheVersion()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QWidget* about = openAbout(f);
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("Scrimbleのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 3.3.2"));
    QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!about->isVisible());
}

// A program in PATH under one of the names the desktops use: it is started with its
// arguments and writes them to a marker file. None: the one failure message.
void AboutBoxTest::systemInformation_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("arguments");
    QTest::newRow("hardinfo") << "hardinfo" << "";
    QTest::newRow("GNOME at its about page") << "gnome-control-center" << "info-overview";
    QTest::newRow("none") << "" << "";
}

void AboutBoxTest::systemInformation()
{
    QFETCH(QString, program);
    QFETCH(QString, arguments);
    CaptureFixture f;
    f.test.platform.systemInformation = std::make_unique<DesktopSystemInformation>();
    const QString marker = f.dir.filePath(QStringLiteral("started"));
    if (!program.isEmpty()) {
        QFile script(f.dir.filePath(program));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$@\" > '" + QFile::encodeName(marker) + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QWidget* about = openAbout(f);
    {
        const PathOnly path(f.dir.path());
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    }
    if (program.isEmpty()) {
        QCOMPARE(f.test.dialogs->messages.size(), std::size_t{1});
        QCOMPARE(f.test.dialogs->messages[0].text, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
        QCOMPARE(f.test.dialogs->messages[0].title, messageBoxTitle(QString()));
    } else {
        QTRY_COMPARE(markerText(marker), arguments + u'\n');
        QVERIFY(f.test.dialogs->messages.empty());
    }
    QVERIFY(about->isVisible());
}

void AboutBoxTest::newCaptureHidesIt()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QWidget* about = openAbout(f);
    QPushButton* clear = PanelButton(f.panel(), "Command3");
    clear->click();
    clear->click();
    QVERIFY(!about->isVisible());
    QTRY_VERIFY(f.desktop().isVisible());
    QVERIFY(!about->isVisible());
}
