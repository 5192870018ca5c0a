// The clipboard service on the test's X server, with xclip as the other program: an
// unchanged clipboard is not asked again, and clearing what was taken never clears
// a copy made after the take.
#include "platform/QtClipboard.h"

#include "Xclip.h"
#include "imaging/dibimage.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage filled(QRgb colour)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Qt hears of another program's copy through the event loop.
bool seesImage(QtClipboard& clipboard)
{
    for (int i = 0; i < 200 && !clipboard.hasImage(); ++i)
        QTest::qWait(10);
    return clipboard.hasImage();
}

TEST(QtClipboard, TakesAnImageAndClearsIt)
{
    QtClipboard clipboard;
    Xclip::copyImage(filled(0x336699));
    ASSERT_TRUE(seesImage(clipboard));
    DeviceContext holder;
    ASSERT_TRUE(clipboard.takeImage(holder));
    EXPECT_EQ(holder.width(), 40);
    EXPECT_EQ(holder.row(29)[39] & 0xFFFFFFu, 0x336699u);
    clipboard.clearTaken();
    QTest::qWait(50);
    EXPECT_FALSE(clipboard.hasImage());
    EXPECT_FALSE(Xclip::targets().contains(QStringLiteral("image/png")));
}

TEST(QtClipboard, ACopyAfterTheTakeSurvivesTheClear)
{
    QtClipboard clipboard;
    Xclip::copyImage(filled(0x336699));
    ASSERT_TRUE(seesImage(clipboard));
    DeviceContext holder;
    ASSERT_TRUE(clipboard.takeImage(holder));
    Xclip::copyImage(filled(0x112233));
    ASSERT_EQ(Xclip::image().pixel(0, 0) & 0xFFFFFFu, 0x112233u) << "the second copy is in place";
    clipboard.clearTaken();
    EXPECT_EQ(Xclip::image().pixel(0, 0) & 0xFFFFFFu, 0x112233u);
    ASSERT_TRUE(seesImage(clipboard));
}

TEST(QtClipboard, TextIsNoImageAndStays)
{
    QtClipboard clipboard;
    Xclip::copyText(QStringLiteral("words"));
    QTest::qWait(100);
    EXPECT_FALSE(clipboard.hasImage());
    DeviceContext holder;
    EXPECT_FALSE(clipboard.takeImage(holder));
    EXPECT_EQ(Xclip::text(), QStringLiteral("words"));
}

}  // namespace
