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

class QtClipboardTest : public ::testing::Test
{
protected:
    QtClipboard clipboard;
    DeviceContext holder;

    // Another program copies a picture of one colour; the service sees it and takes it.
    bool copiedAndTaken(QRgb colour)
    {
        Xclip::copyImage(filled(colour));
        return seesImage(clipboard) && clipboard.takeImage(holder);
    }
};

TEST_F(QtClipboardTest, TakesAnImageAndClearsIt)
{
    ASSERT_TRUE(copiedAndTaken(0x336699));
    EXPECT_EQ(holder.width(), 40);
    EXPECT_EQ(holder.row(29)[39] & 0xFFFFFFu, 0x336699u);
    clipboard.clearTaken();
    QTest::qWait(50);
    EXPECT_FALSE(clipboard.hasImage());
    EXPECT_FALSE(Xclip::targets().contains(QStringLiteral("image/png")));
}

TEST_F(QtClipboardTest, ACopyAfterTheTakeSurvivesTheClear)
{
    ASSERT_TRUE(copiedAndTaken(0x336699));
    Xclip::copyImage(filled(0x112233));
    ASSERT_EQ(Xclip::image().pixel(0, 0) & 0xFFFFFFu, 0x112233u) << "the second copy is in place";
    clipboard.clearTaken();
    EXPECT_EQ(Xclip::image().pixel(0, 0) & 0xFFFFFFu, 0x112233u);
    ASSERT_TRUE(seesImage(clipboard));
}

TEST_F(QtClipboardTest, TextIsNoImageAndStays)
{
    Xclip::copyText(QStringLiteral("words"));
    QTest::qWait(100);
    EXPECT_FALSE(clipboard.hasImage());
    EXPECT_FALSE(clipboard.takeImage(holder));
    EXPECT_EQ(Xclip::text(), QStringLiteral("words"));
}

}  // namespace
