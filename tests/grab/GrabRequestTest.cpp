// The region's X geometry form: what it accepts and what it refuses.
#include "grab/GrabRequest.h"

#include <gtest/gtest.h>

namespace {

struct RegionText {
    const char* name;
    const char* text;
    std::optional<QRect> region;
};

class ParseRegionTest : public testing::TestWithParam<RegionText>
{};

TEST_P(ParseRegionTest, Parses) { EXPECT_EQ(ParseRegion(QString::fromLatin1(GetParam().text)), GetParam().region); }

INSTANTIATE_TEST_SUITE_P(Regions, ParseRegionTest,
                         testing::Values(RegionText{"Geometry", "200x150+100+50", QRect(100, 50, 200, 150)},
                                         RegionText{"SizeAlone", "640x480", QRect(0, 0, 640, 480)},
                                         RegionText{"OnePixel", "1x1+0+0", QRect(0, 0, 1, 1)},
                                         RegionText{"Empty", "0x0", std::nullopt},
                                         RegionText{"NoHeight", "200x0+1+1", std::nullopt},
                                         RegionText{"NegativeOffset", "200x150-10+5", std::nullopt},
                                         RegionText{"OneOffset", "200x150+10", std::nullopt},
                                         RegionText{"Spaces", " 200x150+1+1", std::nullopt},
                                         RegionText{"Huge", "9999999x1+0+0", std::nullopt},
                                         RegionText{"Words", "screen", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
