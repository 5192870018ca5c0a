// The auto-save session without its window: the serial field's rule, and the names
// moving on with each file written while the overwrite rule stays the user's.
#include "AutoSaveSession.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace {

struct SerialCase {
    const char* name;
    const char* typed;
    const char* serial;       // the session's serial number after the edit
    const char* replacement;  // what the field must show instead; nullptr: as typed
};

class SessionSerial : public testing::TestWithParam<SerialCase>
{};

TEST_P(SessionSerial, HeldToTheMaximumOfThePattern)
{
    const SerialCase& c = GetParam();
    AutoSaveSession session;
    session.setPattern(QStringLiteral("Shot_##"));
    ASSERT_EQ(session.checkPattern(), PatternCheck::Normalized);
    ASSERT_FALSE(session.editSerial(QStringLiteral("12")));
    const std::optional<QString> replacement = session.editSerial(QString::fromUtf8(c.typed));
    EXPECT_EQ(replacement.value_or(QStringLiteral("<as typed>")),
              c.replacement ? QString::fromUtf8(c.replacement) : QStringLiteral("<as typed>"));
    EXPECT_EQ(session.naming().serial, QString::fromUtf8(c.serial));
}

INSTANTIATE_TEST_SUITE_P(Edits, SessionSerial,
                         testing::Values(SerialCase{"InRange", "42", "42", nullptr},
                                         SerialCase{"AboveTheMaximum", "150", "12", "99"},
                                         SerialCase{"Negative", "-3", "12", "0"},
                                         SerialCase{"FractionAsTyped", "5.5", "5.5", nullptr},
                                         SerialCase{"NoNumberKeepsTheSerial", "abc", "12", nullptr}),
                         OwnCaseName());

TEST(SessionNaming, FileWrittenMovesTheNamesOnAndKeepsTheOverwriteRule)
{
    AutoSaveSession session;
    session.setFolder(QStringLiteral("/pictures"));
    ASSERT_EQ(session.checkPattern(), PatternCheck::Normalized);
    NamingState after = session.naming();
    after.serial = QStringLiteral("8");
    after.pattern = QStringLiteral("Picture_####_$");
    after.overwriteAllowed = false;
    session.setOverwriteAllowed(true);
    session.fileWritten(after);
    EXPECT_EQ(session.naming().serial, QStringLiteral("8"));
    EXPECT_EQ(session.naming().pattern, QStringLiteral("Picture_####_$"));
    EXPECT_EQ(session.naming().folder, QStringLiteral("/pictures"));
    EXPECT_TRUE(session.naming().overwriteAllowed);
}

TEST(SessionNaming, StartNumberSkipsTakenNames)
{
    AutoSaveSession session;
    session.setFolder(QStringLiteral("/pictures"));
    ASSERT_EQ(session.checkPattern(), PatternCheck::Normalized);
    const auto takenBelowThree = [](const QString& name) {
        return !name.contains(u"_0000") && !name.contains(u"_0001") && !name.contains(u"_0002");
    };
    EXPECT_TRUE(session.findStartNumber(takenBelowThree));
    EXPECT_EQ(session.naming().serial, QStringLiteral("3"));
    EXPECT_FALSE(session.findStartNumber([](const QString&) { return false; }));
    EXPECT_EQ(session.naming().serial, QStringLiteral("3"));
}

}  // namespace
