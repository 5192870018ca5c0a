// The auto-save window under a window manager (openbox), with the real dialogs: the
// start question comes up in front of the window and takes the keyboard, the folder
// browser does too, and the window manager's close is refused while watching.
#include "AutoSaveFixture.h"

#include "X11Desktop.h"
#include "Xclip.h"
#include "platform/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct ModalSeen {
    bool appeared = false;
    bool inFront = false;
};

// Waits (in the modal's own loop) for the modal dialog to be on screen, notes whether
// the X server stacks it above owner, then lets act answer it through the X server.
// A dialog still open after ten seconds is closed, so that a failure cannot hang.
std::shared_ptr<ModalSeen> answerModal(QWidget& owner, std::function<void(QWidget&)> act)
{
    auto seen = std::make_shared<ModalSeen>();
    auto* poll = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [=, &owner] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && !seen->appeared && X11Desktop::isViewable(*modal)) {
            seen->appeared = true;
            seen->inFront = X11Desktop::isAbove(*modal, owner);
            act(*modal);
        }
        if (started->elapsed() > 10000 && modal)
            modal->close();
        if (!modal && seen->appeared)
            poll->deleteLater();
    });
    poll->start(50);
    return seen;
}

QPoint centreOnScreen(const QWidget& widget) { return widget.mapToGlobal(widget.rect().center()); }

class AutoSaveDesktop : public ::testing::Test
{
protected:
    AutoSaveFixture f;

    void SetUp() override
    {
        f.test.platform.dialogs = std::make_unique<QtDialogs>();
        f.open();
        f.window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window()));
    }

    // Command3 pressed through the X server; the question answered with Return (Yes).
    std::shared_ptr<ModalSeen> startWithReturn()
    {
        const auto seen = answerModal(f.window(), [](QWidget&) { X11Desktop::key("Return"); });
        X11Desktop::click(centreOnScreen(*f.control<QAbstractButton>("Command3")));
        AutoSaveFixture::waitFor([&] { return f.mode().watchTimer().interval() != 0; });
        return seen;
    }
};

TEST_F(AutoSaveDesktop, StartQuestionComesInFrontAndTakesTheKeyboard)
{
    const auto seen = startWithReturn();
    EXPECT_TRUE(seen->appeared);
    EXPECT_TRUE(seen->inFront);
    EXPECT_EQ(f.mode().watchTimer().interval(), 500);
    f.stop();
}

TEST_F(AutoSaveDesktop, WindowManagersCloseIsRefusedWhileWatching)
{
    if (!X11Desktop::hasWindowManager())
        GTEST_SKIP() << "no window manager to close the window";
    static_cast<void>(startWithReturn());
    ASSERT_NE(f.mode().watchTimer().interval(), 0);
    f.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window()));
    ASSERT_TRUE(X11Desktop::key("alt+F4"));
    QTest::qWait(300);
    EXPECT_TRUE(X11Desktop::isViewable(f.window()));
    f.stop();
    ASSERT_TRUE(X11Desktop::key("alt+F4"));
    EXPECT_TRUE(AutoSaveFixture::waitFor([&] { return !f.window().isVisible(); }));
}

TEST_F(AutoSaveDesktop, FolderBrowserComesInFrontAndGivesTheFolder)
{
    const QString chosen = f.folder() + QStringLiteral("/chosen");
    ASSERT_TRUE(QDir().mkpath(chosen));
    const auto seen = answerModal(f.window(), [&](QWidget& dialog) {
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(chosen);
        X11Desktop::key("Return");
    });
    X11Desktop::click(centreOnScreen(*f.control<QAbstractButton>("Command1")));
    EXPECT_TRUE(AutoSaveFixture::waitFor([&] { return f.field("Text1")->text() == chosen; }));
    EXPECT_TRUE(seen->appeared);
    EXPECT_TRUE(seen->inFront);
}

// Another window has the focus while another program (xclip) copies twice: two
// files, in order, pixel for pixel, and none more once that program has gone.
TEST_F(AutoSaveDesktop, CopiesWhileAnotherWindowHasTheFocusAreEachSavedOnce)
{
    static_cast<void>(startWithReturn());
    QWidget other;
    other.resize(300, 200);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    for (int i = 0; i < 2; ++i) {
        Xclip::copyImage(AutoSaveFixture::picture(20 + i));
        ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == i + 1; })) << "copy " << i;
    }
    QTest::qWait(500);
    ASSERT_EQ(f.files().size(), 2);
    EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_0000.bmp"), AutoSaveFixture::picture(20)));
    EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_0001.bmp"), AutoSaveFixture::picture(21)));
    EXPECT_FALSE(f.window().isActiveWindow());
    f.stop();
}

}  // namespace
