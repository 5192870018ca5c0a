// The monitors a full-screen copy spans: the outermost on each side, by their index.
#include "platform/MonitorSpan.h"

#include <gtest/gtest.h>

namespace {

struct SpanCase {
    const char* name;
    std::vector<QRect> monitors;
    std::optional<MonitorSpan> span;  // top, bottom, left, right
};

class MonitorSpanCases : public testing::TestWithParam<SpanCase>
{};

TEST_P(MonitorSpanCases, OutermostOnEachSide) { EXPECT_EQ(SpanOfAllMonitors(GetParam().monitors), GetParam().span); }

INSTANTIATE_TEST_SUITE_P(
    Layouts, MonitorSpanCases,
    testing::Values(
        SpanCase{"None", {}, std::nullopt}, SpanCase{"One", {QRect(0, 0, 1920, 1080)}, std::nullopt},
        SpanCase{"SideBySide", {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)}, MonitorSpan{0, 0, 0, 1}},
        // The primary first in the list, on the right and taller.
        SpanCase{
            "PrimaryRightAndTaller", {QRect(1280, 0, 2560, 1440), QRect(0, 200, 1280, 1024)}, MonitorSpan{0, 0, 1, 0}},
        SpanCase{"Stacked", {QRect(0, 1080, 1920, 1080), QRect(0, 0, 1920, 1080)}, MonitorSpan{1, 0, 0, 0}},
        SpanCase{"ThreeInAnL",
                 {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080), QRect(0, 1080, 1280, 1024)},
                 MonitorSpan{0, 2, 0, 1}}),
    [](const testing::TestParamInfo<SpanCase>& info) { return std::string(info.param.name); });

}  // namespace
