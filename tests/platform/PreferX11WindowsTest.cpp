#include "platform/Platform.h"

#include <gtest/gtest.h>

namespace {

struct EnvironmentCase {
    const char* name;
    const char* platformBefore;  // nullptr: unset
    const char* display;         // nullptr: unset
    const char* platformAfter;   // nullptr: still unset
    friend void PrintTo(const EnvironmentCase& c, std::ostream* out) { *out << c.name; }
};

void setOrUnset(const char* name, const char* value)
{
    if (value)
        qputenv(name, value);
    else
        qunsetenv(name);
}

class PreferX11Windows : public ::testing::TestWithParam<EnvironmentCase>
{};

TEST_P(PreferX11Windows, ChoosesXcbOnlyWhenFreeToAndAbleTo)
{
    const QByteArray savedPlatform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray savedDisplay = qgetenv("DISPLAY");
    setOrUnset("QT_QPA_PLATFORM", GetParam().platformBefore);
    setOrUnset("DISPLAY", GetParam().display);
    preferX11Windows();
    const bool isSet = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    const QByteArray after = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", savedPlatform);
    setOrUnset("DISPLAY", savedDisplay.isNull() ? nullptr : savedDisplay.constData());
    if (GetParam().platformAfter)
        EXPECT_EQ(after, QByteArray(GetParam().platformAfter));
    else
        EXPECT_FALSE(isSet);
}

INSTANTIATE_TEST_SUITE_P(Platform, PreferX11Windows,
                         ::testing::Values(EnvironmentCase{"WaylandWithXWayland", nullptr, ":0", "xcb"},
                                           EnvironmentCase{"WaylandOnly", nullptr, nullptr, nullptr},
                                           EnvironmentCase{"ExplicitChoiceKept", "wayland", ":0", "wayland"},
                                           EnvironmentCase{"OffscreenKept", "offscreen", ":0", "offscreen"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
