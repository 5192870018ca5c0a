// Numbered file names: the pattern rules, the name of a capture, the counter with its
// "_$" rule, and the free-number searches, with the existence test injected.
#include "NumberedNames.h"

#include "CaseName.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct PatternCase {
    const char* typed;
    const char* pattern;
    PatternCheck check;
    int digits;           // DigitCount after; 4 before
    const char* maximum;  // "9999" before
};

class NormalizePatternTest : public testing::TestWithParam<PatternCase>
{};

TEST_P(NormalizePatternTest, CutsCompletesOrMeasuresTheRun)
{
    NamingState state;
    state.DigitCount = 4;
    state.maximum = QStringLiteral("9999");
    state.pattern = QString::fromUtf8(GetParam().typed);
    EXPECT_EQ(NormalizePattern(state), GetParam().check);
    EXPECT_EQ(state.pattern, QString::fromUtf8(GetParam().pattern));
    EXPECT_EQ(state.DigitCount, GetParam().digits);
    EXPECT_EQ(state.maximum, QString::fromUtf8(GetParam().maximum));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, NormalizePatternTest,
    testing::Values(PatternCase{"Shot", "Shot_####", PatternCheck::Completed, 4, "9999"},
                    PatternCase{"a:b", "a", PatternCheck::Cut, 4, "9999"},
                    PatternCase{"pic?", "pic", PatternCheck::Cut, 4, "9999"},
                    PatternCase{"x|y####", "x", PatternCheck::Cut, 4, "9999"},
                    PatternCase{"Pic##a##", "Pic##a##", PatternCheck::BrokenRun, 4, "9999"},
                    PatternCase{"##", "##", PatternCheck::Normalized, 2, "99"},
                    PatternCase{"#", "#", PatternCheck::Normalized, 1, "9"},
                    PatternCase{"#########", "#########", PatternCheck::Normalized, 9, "999999999"},
                    PatternCase{"写真.old_###", "写真.old_###", PatternCheck::Normalized, 3, "999"}),
    [](const auto& c) { return CaseName(c.param.typed); });

NamingState named(const char* pattern, const char* serial, const char* extension = ".bmp")
{
    NamingState state;
    state.folder = QStringLiteral("/out");
    state.pattern = QString::fromUtf8(pattern);
    state.serial = QString::fromUtf8(serial);
    state.extension = QString::fromUtf8(extension);
    static_cast<void>(NormalizePattern(state));
    return state;
}

struct ComposeCase {
    const char* pattern;
    const char* serial;
    std::int64_t suffix;
    const char* extension;
    const char* fileName;
};

class ComposeFileNameTest : public testing::TestWithParam<ComposeCase>
{};

TEST_P(ComposeFileNameTest, PrefixPaddedNumberTailExtension)
{
    NamingState state = named(GetParam().pattern, GetParam().serial, GetParam().extension);
    state.SuffixNumber = GetParam().suffix;
    EXPECT_EQ(ComposeFileName(state).fileName, QString::fromUtf8(GetParam().fileName));
}

INSTANTIATE_TEST_SUITE_P(Names, ComposeFileNameTest,
                         testing::Values(ComposeCase{"Picture_####", "7", 0, ".jpg", "/out/Picture_0007.jpg"},
                                         ComposeCase{"Cap###end_$", "4", 2, ".png", "/out/Cap004end_2.png"},
                                         ComposeCase{"Picture_##_$", "5", 3, ".bmp", "/out/Picture_05_$.bmp"},
                                         ComposeCase{"P##", "250", 0, ".bmp", "/out/P99.bmp"}),
                         [](const auto& c) { return CaseName(c.param.pattern, c.param.serial); });

// Files that exist, by number; every other name is free.
FileIsFree takenNumbers(const NamingState& state, std::initializer_list<int> numbers)
{
    QSet<QString> taken;
    for (const int n : numbers) {
        NamingState at = state;
        at.serial = QString::number(n);
        taken.insert(ComposeFileName(at).fileName);
    }
    return [taken](const QString& name) { return !taken.contains(name); };
}

TEST(AdvanceCounterTest, WithoutOverwritingSkipsToTheNextFreeNumber)
{
    NamingState state = named("Picture_####", "3");
    AdvanceCounter(state, ComposeFileName(state).baseName, takenNumbers(state, {4, 5}));
    EXPECT_EQ(state.serial, QStringLiteral("6"));
}

// The maximum however the field writes it (plain, as a spin button groups it, with a
// fraction): with overwriting allowed the next capture must not go to it again.
class AdvanceAtTheMaximum : public testing::TestWithParam<std::pair<const char*, const char*>>
{};

TEST_P(AdvanceAtTheMaximum, WithOverwritingOverflows)
{
    const auto [pattern, serial] = GetParam();
    NamingState state = named(pattern, serial);
    state.overwriteAllowed = true;
    AdvanceCounter(state, ComposeFileName(state).baseName, [](const QString&) { return true; });
    EXPECT_EQ(state.pattern, QString::fromUtf8(pattern) + QStringLiteral("_$"));
    EXPECT_EQ(state.serial, QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Texts, AdvanceAtTheMaximum,
                         testing::Values(std::pair{"Picture_##", "99"}, std::pair{"Picture_####", "9,999"},
                                         std::pair{"Picture_##", "99.5"}),
                         [](const auto& info) { return CaseName(info.param.first, info.param.second); });

// Never onto an existing file: a search that would pass the maximum overflows instead
// of coming back to the maximum's name.
TEST(AdvanceCounterTest, WithoutOverwritingASearchPastTheMaximumOverflows)
{
    NamingState state = named("Picture_##", "98");
    AdvanceCounter(state, ComposeFileName(state).baseName, takenNumbers(state, {99}));
    EXPECT_EQ(state.pattern, QStringLiteral("Picture_##_$"));
    EXPECT_EQ(state.serial, QStringLiteral("0"));
    EXPECT_EQ(state.SuffixNumber, 0);
}

TEST(FindStartNumberTest, FirstFreeNumberUpToTheMaximum)
{
    NamingState state = named("Picture_##", "10");
    QSet<QString> taken;
    for (int n = 10; n <= 99; ++n)
        taken.insert(QStringLiteral("/out/Picture_%1.bmp").arg(n));
    const FileIsFree isFree = [&](const QString& name) { return !taken.contains(name); };
    EXPECT_FALSE(FindStartNumber(state, isFree));
    EXPECT_EQ(state.serial, QStringLiteral("10"));
    taken.remove(QStringLiteral("/out/Picture_42.bmp"));
    EXPECT_TRUE(FindStartNumber(state, isFree));
    EXPECT_EQ(state.serial, QStringLiteral("42"));
}

// The captures' names in turn, each followed by the counter's step.
QStringList capture(NamingState& state, int count, const FileIsFree& isFree)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const ComposedName name = ComposeFileName(state);
        names << name.fileName.mid(state.folder.size() + 1);
        AdvanceCounter(state, name.baseName, isFree);
    }
    return names;
}

struct SequenceCase {
    const char* pattern;
    std::vector<const char*> names;  // the 1st, 100th, 101st, 200th and 201st capture
    const char* patternAfter;        // after 200 captures
};

class WorkedSequenceTest : public testing::TestWithParam<SequenceCase>
{};

TEST_P(WorkedSequenceTest, OverwritingCyclesThroughTheDollarRule)
{
    NamingState state = named(GetParam().pattern, "0");
    state.overwriteAllowed = true;
    const QStringList names = capture(state, 201, [](const QString&) { return true; });
    const QStringList picked{names[0], names[99], names[100], names[199], names[200]};
    QStringList expected;
    for (const char* name : GetParam().names)
        expected << QString::fromUtf8(name);
    EXPECT_EQ(picked, expected);
    EXPECT_EQ(state.pattern, QString::fromUtf8(GetParam().patternAfter));
}

INSTANTIATE_TEST_SUITE_P(Patterns, WorkedSequenceTest,
                         testing::Values(SequenceCase{"Picture_##",
                                                      {"Picture_00.bmp", "Picture_99.bmp", "Picture_00_$.bmp",
                                                       "Picture_99_$.bmp", "Picture_00_$.bmp"},
                                                      "Picture_##_$"},
                                         SequenceCase{"Shot##x",
                                                      {"Shot00x.bmp", "Shot99x.bmp", "Shot00x_0.bmp", "Shot99x_0.bmp",
                                                       "Shot00x_$_0.bmp"},
                                                      "Shot##x_$_$"}),
                         [](const auto& c) { return CaseName(c.param.pattern); });

TEST(WorkedSequenceTest, SuffixGoesUpAfterTheSecondCycle)
{
    NamingState state = named("Picture_##", "0");
    state.overwriteAllowed = true;
    static_cast<void>(capture(state, 200, [](const QString&) { return true; }));
    EXPECT_EQ(state.SuffixNumber, 1);
    EXPECT_EQ(state.serial, QStringLiteral("0"));
}

// On a real folder without overwriting: every capture lands on a new file, past the
// files that were there before.
TEST(WorkedSequenceTest, RealFolderNeverReusesAName)
{
    QTemporaryDir dir;
    NamingState state = named("Shot_##", "0");
    state.folder = dir.path();
    for (const char* existing : {"Shot_01.bmp", "Shot_02.bmp", "Shot_99.bmp"})
        QFile(dir.filePath(QString::fromLatin1(existing))).open(QIODevice::WriteOnly);
    const FileIsFree isFree = [](const QString& name) { return !QFile::exists(name); };
    QSet<QString> written;
    for (int i = 0; i < 150; ++i) {
        const ComposedName name = ComposeFileName(state);
        ASSERT_FALSE(written.contains(name.fileName)) << name.fileName.toStdString();
        ASSERT_TRUE(i == 0 || isFree(name.fileName)) << name.fileName.toStdString();
        QFile(name.fileName).open(QIODevice::WriteOnly);
        written.insert(name.fileName);
        AdvanceCounter(state, name.baseName, isFree);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 153);
}

}  // namespace
