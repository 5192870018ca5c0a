// The screen taken while Qt starts: the first grab gives it, and only it; a failed one
// leaves the grab to the usual grabber, whose failure is the one reported.
#include "platform/EarlyScreenGrabber.h"

#include "FakeScreenGrabber.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

namespace {

struct EarlyCase {
    const char* name;
    bool earlyFails;
    bool laterFails;
    std::vector<int> expectedWidths;  // of the pictures of three grabs; 0: an error
    int laterGrabs;
};

class EarlyScreenGrabberTest : public ::testing::TestWithParam<EarlyCase>
{};

TEST_P(EarlyScreenGrabberTest, FirstGrabIsTheEarlyPictureUnlessItFailed)
{
    const EarlyCase& c = GetParam();
    std::promise<ScreenShot> early;
    ScreenShot earlyShot;
    earlyShot.picture = DeviceContext(7, 5);
    if (c.earlyFails)
        earlyShot.error = QStringLiteral("no early screen");
    early.set_value(std::move(earlyShot));
    auto later = std::make_unique<FakeScreenGrabber>();
    later->screen = DeviceContext(11, 3);
    if (c.laterFails)
        later->failWith(QStringLiteral("no screen"));
    FakeScreenGrabber& laterView = *later;
    EarlyScreenGrabber grabber(early.get_future(), std::move(later));

    EXPECT_EQ(grabber.screenInfo().width, 11) << "the size is the screen's now";
    std::vector<int> widths;
    for (int i = 0; i < 3; ++i)
        grabber.grab([&widths](ScreenShot shot) { widths.push_back(shot.ok() ? shot.picture.width() : 0); });
    EXPECT_EQ(widths, c.expectedWidths);
    EXPECT_EQ(laterView.grabCount, c.laterGrabs);
}

INSTANTIATE_TEST_SUITE_P(EarlyScreenGrabber, EarlyScreenGrabberTest,
                         ::testing::Values(EarlyCase{"EarlyTaken", false, false, {7, 11, 11}, 2},
                                           EarlyCase{"EarlyFailed", true, false, {11, 11, 11}, 3},
                                           EarlyCase{"BothFailed", true, true, {0, 0, 0}, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

// With nothing taken early, every grab is the usual grabber's.
TEST(EarlyScreenGrabber, NoEarlyGrabLeavesEveryGrabToTheUsualGrabber)
{
    auto later = std::make_unique<FakeScreenGrabber>();
    FakeScreenGrabber& laterView = *later;
    EarlyScreenGrabber grabber(std::future<ScreenShot>(), std::move(later));
    int answers = 0;
    grabber.grab([&answers](ScreenShot shot) { answers += shot.ok(); });
    EXPECT_EQ(answers, 1);
    EXPECT_EQ(laterView.grabCount, 1);
}

}  // namespace
