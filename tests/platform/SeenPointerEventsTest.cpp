// Which of the window system's pointer events stands behind the mouse event Qt
// delivers: Qt keeps their order, merges moves away and never delivers some at all.
#include "platform/SeenPointerEvents.h"

#include "CaseName.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr quintptr Copy = 7;
constexpr quintptr Panel = 9;

SeenPointerEvent seen(PointerEvent kind, unsigned long time, QPoint at, quintptr window = Copy, bool held = true)
{
    return {{kind, time, window, held}, at};
}

PointerEventKey delivered(PointerEvent kind, unsigned long time, bool held = true) { return {kind, time, Copy, held}; }

struct DeliveryCase {
    const char* name;
    std::vector<SeenPointerEvent> seen;
    std::vector<PointerEventKey> delivered;
    std::vector<std::optional<QPoint>> positions;
    friend void PrintTo(const DeliveryCase& c, std::ostream* out) { *out << c.name; }
};

class Deliveries : public testing::TestWithParam<DeliveryCase>
{};

TEST_P(Deliveries, GiveThePositionOfTheEventBehindEach)
{
    SeenPointerEvents events;
    for (const SeenPointerEvent& event : GetParam().seen)
        events.remember(event);
    std::vector<std::optional<QPoint>> positions;
    for (const PointerEventKey& key : GetParam().delivered)
        positions.push_back(events.take(key));
    EXPECT_EQ(positions, GetParam().positions);
}

using P = PointerEvent;

INSTANTIATE_TEST_SUITE_P(
    SeenPointerEvents, Deliveries,
    testing::Values(
        // One millisecond: the move without a button is never delivered, the first
        // move with one merged away.
        DeliveryCase{"burst in one millisecond",
                     {seen(P::Move, 5, {1000, 800}, Copy, false), seen(P::Press, 5, {1000, 800}),
                      seen(P::Move, 5, {700, 600}), seen(P::Release, 5, {700, 600})},
                     {delivered(P::Press, 5), delivered(P::Move, 5), delivered(P::Release, 5)},
                     {QPoint(1000, 800), QPoint(700, 600), QPoint(700, 600)}},
        DeliveryCase{"moves of one millisecond in their order",
                     {seen(P::Press, 5, {10, 10}), seen(P::Move, 5, {20, 20}), seen(P::Move, 5, {30, 30})},
                     {delivered(P::Press, 5), delivered(P::Move, 5), delivered(P::Move, 5)},
                     {QPoint(10, 10), QPoint(20, 20), QPoint(30, 30)}},
        DeliveryCase{
            "events of other windows passed over",
            {seen(P::Press, 5, {1, 1}, Panel), seen(P::Release, 5, {1, 1}, Panel), seen(P::Press, 5, {50, 60})},
            {delivered(P::Press, 5)},
            {QPoint(50, 60)}},
        DeliveryCase{"each event delivered once",
                     {seen(P::Press, 5, {10, 10})},
                     {delivered(P::Press, 5), delivered(P::Press, 5)},
                     {QPoint(10, 10), std::nullopt}},
        DeliveryCase{"a double click is its press",
                     {seen(P::Press, 5, {10, 10}), seen(P::Release, 6, {10, 10}), seen(P::Press, 9, {11, 10})},
                     {delivered(P::Press, 5), delivered(P::Release, 6), delivered(P::Press, 9),
                      delivered(P::DoubleClick, 9), delivered(P::DoubleClick, 5)},
                     {QPoint(10, 10), QPoint(10, 10), QPoint(11, 10), QPoint(11, 10), std::nullopt}},
        // Qt's own events, sent by a program or a test, have no event behind them.
        DeliveryCase{"no event behind it", {seen(P::Move, 5, {10, 10})}, {delivered(P::Move, 4)}, {std::nullopt}}),
    PrintedCaseName());

TEST(SeenPointerEvents, KeepsTheLatestWhenManyAreNeverDelivered)
{
    SeenPointerEvents events;
    for (unsigned long time = 0; time < 10000; ++time)
        events.remember(seen(P::Move, time, {1, 1}, Copy, false));
    events.remember(seen(P::Press, 10000, {3, 4}));
    EXPECT_EQ(events.take(delivered(P::Press, 10000)), QPoint(3, 4));
}

}  // namespace
