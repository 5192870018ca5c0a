// The About box from the version menu, and the system-information program it starts,
// found in PATH as on a real desktop.

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

#include <gtest/gtest.h>

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

TEST(AboutBox, ShowsTheVersion)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QWidget* about = openAbout(f);
    ASSERT_TRUE(about && about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("Scrimbleのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 3.3.2"));
    QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
}

// A program in PATH under one of the names the desktops use: it is started with its
// arguments and writes them to a marker file. None: the one failure message.
struct InformationCase {
    const char* name;
    QString program;
    QString arguments;
};

class SystemInformationCases : public testing::TestWithParam<InformationCase>
{};

TEST_P(SystemInformationCases, StartsTheProgramOrSaysThereIsNone)
{
    const InformationCase& c = GetParam();
    CaptureFixture f;
    f.test.platform.systemInformation = std::make_unique<DesktopSystemInformation>();
    const QString marker = f.dir.filePath(QStringLiteral("started"));
    if (!c.program.isEmpty()) {
        QFile script(f.dir.filePath(c.program));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$@\" > '" + QFile::encodeName(marker) + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QWidget* about = openAbout(f);
    {
        const PathOnly path(f.dir.path());
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    }
    if (c.program.isEmpty()) {
        ASSERT_EQ(f.test.dialogs->messages.size(), std::size_t{1});
        EXPECT_EQ(f.test.dialogs->messages[0].text, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
        EXPECT_EQ(f.test.dialogs->messages[0].title, messageBoxTitle(QString()));
    } else {
        EXPECT_TRUE(QTest::qWaitFor([&] { return markerText(marker) == c.arguments + u'\n'; }, 5000))
            << markerText(marker).toStdString();
        EXPECT_TRUE(f.test.dialogs->messages.empty());
    }
    EXPECT_TRUE(about->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Programs, SystemInformationCases,
                         testing::Values(InformationCase{"Hardinfo", QStringLiteral("hardinfo"), QString()},
                                         InformationCase{"GnomeAtItsAboutPage", QStringLiteral("gnome-control-center"),
                                                         QStringLiteral("info-overview")},
                                         InformationCase{"None", QString(), QString()}),
                         [](const testing::TestParamInfo<InformationCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(AboutBox, NewCaptureHidesIt)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QWidget* about = openAbout(f);
    QPushButton* clear = PanelButton(f.panel(), "Command3");
    clear->click();
    clear->click();
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.desktop().isVisible(); }, 5000));
    EXPECT_FALSE(about->isVisible());
}

}  // namespace
