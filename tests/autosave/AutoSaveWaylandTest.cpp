// The auto-save mode in a Wayland session (sway, started by run-on-wayland): images
// copied with wl-copy while another window has the focus are saved all the same,
// through the compositor's clipboard control, each once, however soon after the one
// before.
#include "AutoSaveFixture.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

bool runWith(const QString& program, const QStringList& arguments, const QByteArray& input = {},
             QByteArray* output = nullptr)
{
    QProcess tool;
    tool.start(program, arguments);
    tool.write(input);
    tool.closeWriteChannel();
    const bool ran = tool.waitForFinished(10000) && tool.exitCode() == 0;
    if (output)
        *output = tool.readAllStandardOutput();
    return ran;
}

// The title of the window that has the focus, as sway has it.
QString focusedTitle(const QJsonObject& node)
{
    if (node.value(QStringLiteral("focused")).toBool())
        return node.value(QStringLiteral("name")).toString();
    for (const QString& children : {QStringLiteral("nodes"), QStringLiteral("floating_nodes")})
        for (const QJsonValue child : node.value(children).toArray())
            if (const QString title = focusedTitle(child.toObject()); !title.isEmpty())
                return title;
    return {};
}

QString swayFocus()
{
    QByteArray tree;
    if (!runWith(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree")}, {}, &tree))
        return {};
    return focusedTitle(QJsonDocument::fromJson(tree).object());
}

bool wlCopy(const QImage& picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return runWith(QStringLiteral("wl-copy"), {QStringLiteral("--type"), QStringLiteral("image/png")}, png);
}

class AutoSaveWayland : public testing::Test
{
protected:
    AutoSaveWayland()
    {
        f.test.platform.clipboard = makeDesktopPlatform().clipboard;
        f.open();
        f.start(MessageAnswer::Yes);
    }

    AutoSaveFixture f;
};

TEST_F(AutoSaveWayland, SavesEachCopyMadeWhileAnotherWindowHasTheFocusOnce)
{
    ASSERT_TRUE(f.test.platform.clipboard->seesCopiesWithoutFocus());
    QWidget other;
    other.setWindowTitle(QStringLiteral("scrimble-other-window"));
    other.resize(300, 200);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    // sway learns an XWayland window's title a moment after Qt has it on the screen.
    ASSERT_TRUE(AutoSaveFixture::waitFor([] {
        return runWith(QStringLiteral("swaymsg"), {QStringLiteral("[title=\"scrimble-other-window\"] focus")})
               && swayFocus() == u"scrimble-other-window";
    }));

    // Two copies, each saved once in order; the first put back after its clearing, as
    // a clipboard manager restores it, makes no third file.
    for (const int seed : {7, 8, 8}) {
        ASSERT_TRUE(wlCopy(AutoSaveFixture::picture(seed)));
        ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == seed - 6; }, 10000)) << seed;
        QTest::qWait(300);
    }
    ASSERT_EQ(f.files().size(), 2);
    EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_0000.bmp"), AutoSaveFixture::picture(7)));
    EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_0001.bmp"), AutoSaveFixture::picture(8)));
}

// A copy made right after the one before was saved is never cleared before it is
// saved itself, nor saved twice.
TEST_F(AutoSaveWayland, CopiesAtRandomSpacingAreNeitherLostNorDoubled)
{
    f.expectEachCopyOnceAtRandomSpacing(wlCopy, 50);
}

}  // namespace
