// The take-image command's delayed capture goes the way of the first one: after its
// interval, through the same request, so that a desktop slow to hand the screen over
// shows the wait window, whose cancel gives up this capture only.
#include "CaptureModel.h"
#include "FakeScreenGrabber.h"
#include "ScreenAcquisition.h"
#include "ScreenWait.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The fake screen, or once answersAtOnce is false a desktop that has not answered yet:
// the grab stays pending.
class SlowScreen final : public ScreenGrabber
{
public:
    FakeScreenGrabber screen;
    Done pending;
    bool answersAtOnce = true;

    void grab(Done done) override
    {
        if (answersAtOnce)
            screen.grab(std::move(done));
        else
            pending = std::move(done);
    }
    void cancel() override { pending = nullptr; }
    [[nodiscard]] ScreenInfo screenInfo() const override { return screen.screenInfo(); }
};

ScreenWait* waitWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* wait = qobject_cast<ScreenWait*>(window); wait && wait->isVisible())
            return wait;
    return nullptr;
}

struct Acquiring {
    SlowScreen screen;
    CaptureModel model{screen};
    ScreenAcquisition acquisition{screen, model};
    QSignalSpy recaptured{&acquisition, &ScreenAcquisition::recaptured};
    QSignalSpy cancelled{&acquisition, &ScreenAcquisition::cancelled};
    QSignalSpy recaptureCancelled{&acquisition, &ScreenAcquisition::recaptureCancelled};

    Acquiring()
    {
        screen.screen.screen.fill(0xFF102030);
        bool first = false;
        acquisition.acquire([&first](bool grabbed) { first = grabbed; });
        EXPECT_TRUE(first);
        screen.screen.screen.fill(0xFF405060);
    }
    [[nodiscard]] std::uint32_t frozenPixel() const { return model.screen().row(10)[10]; }
};

TEST(ScreenAcquisition, DelayedCaptureTakesTheScreenAfterItsInterval)
{
    Acquiring a;
    a.acquisition.acquireAfter(200);
    EXPECT_TRUE(a.acquisition.recaptureTimer().isActive());
    QTest::qWait(100);
    EXPECT_EQ(a.recaptured.count(), 0);
    ASSERT_TRUE(a.recaptured.wait(2000));
    EXPECT_EQ(a.recaptured.takeFirst().at(0).toBool(), true);
    EXPECT_EQ(a.frozenPixel(), 0xFF405060u);
    EXPECT_FALSE(a.acquisition.recaptureTimer().isActive());
}

TEST(ScreenAcquisition, FailedDelayedCaptureKeepsTheScreenAndSaysWhy)
{
    Acquiring a;
    a.screen.screen.failWith(QStringLiteral("the display is gone"));
    a.acquisition.acquireAfter(0);
    ASSERT_TRUE(a.recaptured.wait(2000));
    EXPECT_EQ(a.recaptured.takeFirst().at(0).toBool(), false);
    EXPECT_EQ(a.frozenPixel(), 0xFF102030u);
    EXPECT_EQ(a.acquisition.error(), QStringLiteral("the display is gone"));
}

TEST(ScreenAcquisition, SlowDesktopShowsTheWaitWindowAndItsCancelGivesUpTheDelayedCapture)
{
    Acquiring a;
    a.screen.answersAtOnce = false;
    a.acquisition.acquireAfter(0);
    ASSERT_TRUE(QTest::qWaitFor([] { return waitWindow() != nullptr; }, 3000));
    ASSERT_TRUE(a.screen.pending);
    waitWindow()->close();
    EXPECT_EQ(a.recaptureCancelled.count(), 1);
    EXPECT_EQ(a.cancelled.count(), 0);
    EXPECT_FALSE(a.screen.pending) << "the desktop's request stays open";
    QTest::qWait(100);
    EXPECT_EQ(a.recaptured.count(), 0);
    EXPECT_EQ(a.frozenPixel(), 0xFF102030u);
}

TEST(ScreenAcquisition, StopBeforeTheIntervalTakesNothing)
{
    Acquiring a;
    a.acquisition.acquireAfter(50);
    a.acquisition.stop();
    QTest::qWait(200);
    EXPECT_EQ(a.recaptured.count(), 0);
    EXPECT_EQ(a.frozenPixel(), 0xFF102030u);
}

}  // namespace
