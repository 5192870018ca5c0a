// The grab waits, however long, for a desktop that asks the user first; the answer
// decides: the picture written, or status 1 with the desktop's reason in one line.
#include "FakeScreenGrabber.h"
#include "grab/GrabCommand.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace {

// The screen once the user has answered; until then the grab is pending.
class AskingScreen final : public ScreenGrabber
{
public:
    FakeScreenGrabber screen;
    Done pending;

    void grab(Done done) override { pending = std::move(done); }
    void cancel() override { pending = nullptr; }
    [[nodiscard]] ScreenInfo screenInfo() const override { return screen.screenInfo(); }
    void answer(bool allowed)
    {
        if (!allowed)
            screen.failWith(QStringLiteral("the user refused"));
        screen.grab(std::exchange(pending, nullptr));
    }
};

class GrabCommandTest : public testing::TestWithParam<bool>
{};

TEST_P(GrabCommandTest, WaitsForTheAnswer)
{
    const bool allowed = GetParam();
    const QTemporaryDir folder;
    GrabRequest request;
    request.target = GrabTarget::File;
    request.output = folder.filePath(QStringLiteral("a.png"));
    AskingScreen screen;
    GrabCommand command(screen, request, GrabPlaces{folder.path(), -1, nullptr});
    std::optional<GrabOutcome> outcome;
    command.start([&outcome](const GrabOutcome& done) { outcome = done; });
    ASSERT_TRUE(QTest::qWaitFor([&screen] { return screen.pending != nullptr; }, 5000));
    QTest::qWait(300);
    EXPECT_FALSE(outcome.has_value());
    screen.answer(allowed);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->status, allowed ? GrabExit::Written : GrabExit::NoScreen);
    EXPECT_EQ(QFileInfo::exists(request.output), allowed);
    EXPECT_EQ(outcome->error.contains(QStringLiteral("the user refused")), !allowed);
    EXPECT_FALSE(outcome->error.contains(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(Answers, GrabCommandTest, testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Allowed" : "Refused"; });

}  // namespace
