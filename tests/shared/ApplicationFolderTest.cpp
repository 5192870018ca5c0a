#include "shared/ApplicationFolder.h"

#include <QFile>
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

class FromExecutableFolder : public ::testing::TestWithParam<FolderCase>
{};

TEST_P(FromExecutableFolder, EndsInOneSlash)
{
    EXPECT_EQ(ApplicationFolder::fromExecutableFolder(GetParam().executableFolder),
              QByteArray(GetParam().applicationFolder));
}

INSTANTIATE_TEST_SUITE_P(ApplicationFolder, FromExecutableFolder,
                         ::testing::Values(FolderCase{"/usr/bin", "/usr/bin/"}, FolderCase{"/", "/"},
                                           FolderCase{"/opt/スクリンブル", "/opt/スクリンブル/"},
                                           FolderCase{"/home/u/build/", "/home/u/build/"}),
                         PrintedCaseName());

struct PlaceCase {
    const char* name;
    const char* folder;
    ApplicationFolder::SettingsPlace place;
    const char* expected;
    friend void PrintTo(const PlaceCase& c, std::ostream* out) { *out << c.name; }
};

class SettingsFolder : public ::testing::TestWithParam<PlaceCase>
{};

TEST_P(SettingsFolder, BesideProgramUnlessItCannotHoldTheFile)
{
    EXPECT_EQ(ApplicationFolder::settingsFolder(GetParam().folder, GetParam().place), QByteArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    ApplicationFolder, SettingsFolder,
    ::testing::Values(
        PlaceCase{"Writable", "/usr/bin/", {true, false, "/x", "/home/u"}, "/usr/bin/"},
        PlaceCase{"ReadOnlyWithFile", "/usr/bin/", {false, true, "/x", "/home/u"}, "/usr/bin/"},
        PlaceCase{"ReadOnlyXdg", "/usr/bin/", {false, false, "/x/conf", "/home/u"}, "/x/conf/scrimble/"},
        PlaceCase{"ReadOnlyXdgTrailingSlash", "/usr/bin/", {false, false, "/x/conf/", "/home/u"}, "/x/conf/scrimble/"},
        PlaceCase{"ReadOnlyNoXdg", "/usr/bin/", {false, false, "", "/home/u"}, "/home/u/.config/scrimble/"},
        PlaceCase{"RelativeXdgIgnored", "/usr/bin/", {false, false, "conf", "/home/u"}, "/home/u/.config/scrimble/"},
        PlaceCase{"RootIsNeverUsed", "/", {true, true, "/x/conf", "/home/u"}, "/x/conf/scrimble/"},
        PlaceCase{"InstalledUsesXdgEvenWhenWritable",
                  "/usr/bin/",
                  {true, true, "/x/conf", "/home/u", true},
                  "/x/conf/scrimble/"},
        PlaceCase{"ShiftJisFolderKeptByteForByte",
                  "/opt/\x83\x58\x83\x4E/",
                  {true, false, "", "/home/u"},
                  "/opt/\x83\x58\x83\x4E/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApplicationFolder, WritableFolderKeepsSetIniBesideProgram)
{
    QTemporaryDir dir;
    const QByteArray folder = ApplicationFolder::fromExecutableFolder(QFile::encodeName(dir.path()));
    EXPECT_EQ(ApplicationFolder::settingsPath(folder), QFile::encodeName(dir.path()) + "/Set.ini");
}

}  // namespace
