// The auto-save mode inside a real GNOME or KDE Plasma session (run-on-desktop-stack):
// a Wayland window of another program has the focus and copies, as a user copies from
// a Wayland program; the mode's own window is an unfocused XWayland window. Every copy
// is one file, in order and pixel for pixel; none comes back when the copying program
// exits, none when the image is put back after the clearing.
#include "AutoSaveFixture.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// The other program: a GTK window on Wayland that takes the focus and copies the
// image file named in ~/copy-request on SIGUSR1.
class WaylandCopier
{
public:
    WaylandCopier()
    {
        const QByteArray stacks = qgetenv("SCRIMBLE_DESKTOP_STACKS");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("wayland"));
        m_window.setProcessEnvironment(environment);
        m_window.start(QStringLiteral("/usr/bin/python3"),
                       {QString::fromLocal8Bit(stacks) + QStringLiteral("/wlwindow.py"), QStringLiteral("600")});
        m_started = AutoSaveFixture::waitFor(
            [this] { return m_window.waitForReadyRead(10) && m_window.readAll().contains("backend"); }, 15000);
        QTest::qWait(500);
    }
    ~WaylandCopier() { exit(); }
    [[nodiscard]] bool started() const { return m_started; }

    // Copies the picture as the window's own copy; true once the window says it did
    // so with the focus, the mode's window being without it.
    bool copy(const QImage& picture)
    {
        const QString file = m_files.filePath(QStringLiteral("copy-%1.png").arg(m_copies++));
        QFile request(QDir::homePath() + QStringLiteral("/copy-request"));
        if (!picture.save(file, "PNG") || !request.open(QIODevice::WriteOnly) || request.write(file.toUtf8()) < 0)
            return false;
        request.close();
        ::kill(static_cast<pid_t>(m_window.processId()), SIGUSR1);
        return AutoSaveFixture::waitFor(
            [this] { return m_window.waitForReadyRead(10) && m_window.readAll().contains("focus True"); }, 10000);
    }
    void exit()
    {
        m_window.terminate();
        m_window.waitForFinished(5000);
    }

private:
    QTemporaryDir m_files;
    QProcess m_window;
    int m_copies = 0;
    bool m_started = false;
};

class AutoSaveOnTheDesktop : public testing::Test
{
protected:
    AutoSaveOnTheDesktop()
    {
        f.test.platform.clipboard = makeDesktopPlatform().clipboard;
        f.open();
        f.start(MessageAnswer::Yes);
    }
    [[nodiscard]] QString file(int serial) const
    {
        return f.folder() + QStringLiteral("/Picture_%1.bmp").arg(serial, 4, 10, QLatin1Char('0'));
    }

    AutoSaveFixture f;
};

TEST_F(AutoSaveOnTheDesktop, SeesCopiesWithoutTheFocus)
{
    EXPECT_TRUE(f.test.platform.clipboard->seesCopiesWithoutFocus());
}

// Two copies, two files; the copying program's exit brings neither back, nor does the
// same image put on the clipboard again right after the clearing.
TEST_F(AutoSaveOnTheDesktop, EachCopyIsOneFileAndStaysOne)
{
    WaylandCopier copier;
    ASSERT_TRUE(copier.started());
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(copier.copy(AutoSaveFixture::picture(i)));
        ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == i + 1; }, 10000)) << "copy " << i;
        QTest::qWait(100);
    }
    ASSERT_TRUE(copier.copy(AutoSaveFixture::picture(1)));
    copier.exit();
    QTest::qWait(2000);
    ASSERT_EQ(f.files().size(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(AutoSaveFixture::holds(file(i), AutoSaveFixture::picture(i))) << i;
}

// A copy made right after the one before was saved is never cleared before it is
// saved itself, nor saved twice.
TEST_F(AutoSaveOnTheDesktop, CopiesAtRandomSpacingAreNeitherLostNorDoubled)
{
    WaylandCopier copier;
    ASSERT_TRUE(copier.started());
    f.expectEachCopyOnceAtRandomSpacing([&copier](const QImage& picture) { return copier.copy(picture); }, 50);
}

}  // namespace
