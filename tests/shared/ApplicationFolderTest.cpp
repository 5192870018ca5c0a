#include "shared/ApplicationFolder.h"

#include <QTemporaryDir>

#include "CaseName.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct FolderCase {
    const char* executableFolder;
    const char* applicationFolder;
    friend void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.executableFolder; }
};

class FromExecutableFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FromExecutableFolder, EndsInOneSlash)
{
    const QString folder = ApplicationFolder::fromExecutableFolder(QString::fromUtf8(GetParam().executableFolder));
    EXPECT_EQ(folder, QString::fromUtf8(GetParam().applicationFolder));
}

INSTANTIATE_TEST_SUITE_P(ApplicationFolder, FromExecutableFolder,
                         ::testing::Values(FolderCase{"/usr/bin", "/usr/bin/"}, FolderCase{"/", "/"},
                                           FolderCase{"/opt/スクリンブル", "/opt/スクリンブル/"},
                                           FolderCase{"/home/u/build/", "/home/u/build/"}),
    PrintedCaseName());

struct PlaceCase {
    const char* name;
    ApplicationFolder::SettingsPlace place;
    const char* expected;
    friend void PrintTo(const PlaceCase& c, std::ostream* out) { *out << c.name; }
};

class SettingsFolder : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(SettingsFolder, BesideProgramUnlessItCannotHoldTheFile)
{
    EXPECT_EQ(ApplicationFolder::settingsFolder(QStringLiteral("/usr/bin/"), GetParam().place),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    ApplicationFolder, SettingsFolder,
    ::testing::Values(PlaceCase{"Writable", {true, false, "/x", "/home/u"}, "/usr/bin/"},
                      PlaceCase{"ReadOnlyWithFile", {false, true, "/x", "/home/u"}, "/usr/bin/"},
                      PlaceCase{"ReadOnlyXdg", {false, false, "/x/conf", "/home/u"}, "/x/conf/scrimble/"},
                      PlaceCase{"ReadOnlyXdgTrailingSlash", {false, false, "/x/conf/", "/home/u"}, "/x/conf/scrimble/"},
                      PlaceCase{"ReadOnlyNoXdg", {false, false, "", "/home/u"}, "/home/u/.config/scrimble/"},
                      PlaceCase{"RelativeXdgIgnored", {false, false, "conf", "/home/u"}, "/home/u/.config/scrimble/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApplicationFolder, RootFolderGivesOneSlash)
{
    if (::access("/", W_OK) != 0)
        GTEST_SKIP() << "the root folder is writable only for root";
    EXPECT_EQ(ApplicationFolder::settingsPath(ApplicationFolder::fromExecutableFolder(QStringLiteral("/"))),
              QStringLiteral("/Set.ini"));
}

TEST(ApplicationFolder, WritableFolderKeepsSetIniBesideProgram)
{
    QTemporaryDir dir;
    const QString folder = ApplicationFolder::fromExecutableFolder(dir.path());
    EXPECT_EQ(ApplicationFolder::settingsPath(folder), dir.path() + QStringLiteral("/Set.ini"));
}

}  // namespace
