// Every window of the program whole on a 1280 x 720 screen (a title bar's height left
// for the window manager's frame), in the Japanese face the program is drawn in: no
// caption clipped, no control over another; in each language the program speaks, and
// in English with every text translated and no access key used twice.
#include "CaptureFixture.h"
#include "RecordingHost.h"
#include "TestPlatform.h"
#include "WindowLayout.h"
#include "about/frmAbout.h"
#include "app/Translations.h"
#include "app/SelectMode.h"
#include "autosave/PrtScSave.h"
#include "capture/Opt.h"
#include "capture/ScreenWait.h"
#include "formcom.h"
#include "shared/Settings.h"

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr QSize Screen(1280, 720 - 32);

class WindowsFit : public testing::TestWithParam<Language>
{
protected:
    std::string problemsOf(QWidget& window) const
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return "not shown";
        QStringList problems = LayoutProblems(window, Screen);
        if (GetParam() == Language::English)
            problems << JapaneseTexts(window) << AccessKeyClashes(window);
        return problems.join(QStringLiteral("; ")).toStdString();
    }

    // Before the first window: the windows take their texts when they are made.
    const Translations m_translations{GetParam()};
};

TEST_P(WindowsFit, CaptureModeWindows)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    EXPECT_EQ(problemsOf(f.panel()), "");
    QTest::mouseClick(PanelButton(f.panel(), "Command8"), Qt::LeftButton);
    ASSERT_NE(TopLevel<Opt>(), nullptr);
    EXPECT_EQ(problemsOf(*TopLevel<Opt>()), "");
    f.panel().findChild<QAction*>(QStringLiteral("version"))->trigger();
    ASSERT_NE(TopLevel<frmAbout>(), nullptr);
    EXPECT_EQ(problemsOf(*TopLevel<frmAbout>()), "");
    ScreenWait wait;
    EXPECT_EQ(problemsOf(wait), "");
}

TEST_P(WindowsFit, ChooserAndAutoSaveWindow)
{
    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("Set.ini")));
    RecordingHost host;
    SelectMode chooser(host, settings);
    EXPECT_EQ(problemsOf(chooser), "");
    TestPlatform test;
    PrtScSave window(*test.platform.dialogs, settings, dir.path());
    window.Form_Load();
    EXPECT_EQ(problemsOf(window), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowsFit, testing::Values(Language::Japanese, Language::English),
                         [](const auto& info) { return info.param == Language::English ? "English" : "Japanese"; });

}  // namespace
