// A replaced file is the new one whole or the old one untouched, and no temporary
// file is left beside it either way.
#include "files/SafeFile.h"

#include "FileSizeLimit.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string OldText = "old contents\n";

struct Folder {
    fs::path path = fs::temp_directory_path() / ("safefile-" + std::to_string(::getpid()));
    Folder()
    {
        fs::create_directories(path);
        ::chmod(path.c_str(), 0777);
    }
    ~Folder() { fs::remove_all(path); }
    [[nodiscard]] std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), fs::directory_iterator()));
    }
};

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SafeFileError replace(const std::string& target, const std::string& text, bool commit = true)
{
    SafeFile file(target);
    if (const SafeFileError error = file.open(); error != SafeFileError::None)
        return error;
    if (const SafeFileError error = file.write(text.data(), text.size()); error != SafeFileError::None)
        return error;
    return commit ? file.commit() : SafeFileError::None;
}

struct RefusedTarget {
    const char* name;
    const char* relative;  // below the test folder, which holds "file" (OldText)
    SafeFileError expected;
};

class SafeFileRefuses : public testing::TestWithParam<RefusedTarget>
{};

TEST_P(SafeFileRefuses, LeavingTheFolderAsItWas)
{
    Folder folder;
    std::ofstream(folder.path / "file") << OldText;
    EXPECT_EQ(replace((folder.path / GetParam().relative).string(), "new"), GetParam().expected);
    EXPECT_EQ(contents(folder.path / "file"), OldText);
    EXPECT_EQ(folder.entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Targets, SafeFileRefuses,
                         testing::Values(RefusedTarget{"MissingFolder", "missing/out", SafeFileError::CannotCreate},
                                         RefusedTarget{"ParentIsAFile", "file/out", SafeFileError::CannotCreate},
                                         RefusedTarget{"NameEndsInSlash", "out/", SafeFileError::CannotCreate}),
                         [](const testing::TestParamInfo<RefusedTarget>& info) {
                             return std::string(info.param.name);
                         });

TEST(SafeFile, CommitReplacesTheOldFileWhole)
{
    Folder folder;
    std::ofstream(folder.path / "file") << OldText;
    ASSERT_EQ(replace((folder.path / "file").string(), "new"), SafeFileError::None);
    EXPECT_EQ(contents(folder.path / "file"), "new");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(SafeFile, WithoutCommitTheOldFileStays)
{
    Folder folder;
    std::ofstream(folder.path / "file") << OldText;
    ASSERT_EQ(replace((folder.path / "file").string(), "new", false), SafeFileError::None);
    EXPECT_EQ(contents(folder.path / "file"), OldText);
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(SafeFile, FullDiskFailsTheWriteAndKeepsTheOldFile)
{
    Folder folder;
    std::ofstream(folder.path / "file") << OldText;
    const std::string target = (folder.path / "file").string();
    const int result = runUnderFileSizeLimit(
        4096, [&] { return replace(target, std::string(1 << 20, 'x')) == SafeFileError::WriteFailed ? 0 : 1; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(contents(folder.path / "file"), OldText);
    EXPECT_EQ(folder.entries(), 1u);
}

mode_t modeOf(const fs::path& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// What the user had stays what it was: a link stays a link, a file keeps its mode, a
// file the user may not write stays unwritten. setup() prepares the folder and names
// the path written to; holds() checks the outcome.
struct KeptCase {
    const char* name;
    std::function<fs::path(const fs::path&)> setup;
    bool unprivileged;
    SafeFileError expected;
    std::function<bool(const fs::path&)> holds;
};

class SafeFileKeeps : public testing::TestWithParam<KeptCase>
{};

TEST_P(SafeFileKeeps, WhatTheUserHad)
{
    const KeptCase& c = GetParam();
    Folder folder;
    const std::string target = c.setup(folder.path).string();
    const auto write = [&] { return static_cast<int>(replace(target, "new")); };
    EXPECT_EQ(c.unprivileged ? runUnprivileged(write) : write(), static_cast<int>(c.expected));
    EXPECT_TRUE(c.holds(folder.path));
}

fs::path privateFile(const fs::path& folder)
{
    std::ofstream(folder / "private") << OldText;
    ::chmod((folder / "private").c_str(), 0600);
    return folder / "private";
}

// A file of the unprivileged user's, with the given mode, in a folder with the given mode.
fs::path usersFile(const fs::path& folder, mode_t fileMode, mode_t folderMode)
{
    std::ofstream(folder / "file") << OldText;
    static_cast<void>(::chown((folder / "file").c_str(), unprivilegedUid(), unprivilegedUid()));
    ::chmod((folder / "file").c_str(), fileMode);
    ::chmod(folder.c_str(), folderMode);
    return folder / "file";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SafeFileKeeps,
    testing::Values(
        KeptCase{"LinkToAPrivateFileWritesTheFileKeepingItsMode",
                 [](const fs::path& f) {
                     fs::create_symlink(privateFile(f), f / "link");
                     return f / "link";
                 },
                 false, SafeFileError::None,
                 [](const fs::path& f) {
                     return fs::is_symlink(f / "link") && contents(f / "private") == "new"
                            && modeOf(f / "private") == 0600;
                 }},
        KeptCase{"DanglingLinkCreatesItsTarget",
                 [](const fs::path& f) {
                     fs::create_symlink("made", f / "link");
                     return f / "link";
                 },
                 false, SafeFileError::None,
                 [](const fs::path& f) { return fs::is_symlink(f / "link") && contents(f / "made") == "new"; }},
        KeptCase{"NameOf250Bytes", [](const fs::path& f) { return f / std::string(250, 'n'); }, false,
                 SafeFileError::None, [](const fs::path& f) { return contents(f / std::string(250, 'n')) == "new"; }},
        KeptCase{"FifoIsNotWrittenAndDoesNotHang",
                 [](const fs::path& f) {
                     ::mkfifo((f / "fifo").c_str(), 0666);
                     return f / "fifo";
                 },
                 false, SafeFileError::CannotCreate, [](const fs::path& f) { return fs::is_fifo(f / "fifo"); }},
        KeptCase{"ReadOnlyFileIsNotReplaced", [](const fs::path& f) { return usersFile(f, 0444, 0777); }, true,
                 SafeFileError::CannotCreate,
                 [](const fs::path& f) { return contents(f / "file") == OldText && modeOf(f / "file") == 0444; }},
        KeptCase{"WritableFileInAReadOnlyFolderIsWrittenInPlace",
                 [](const fs::path& f) { return usersFile(f, 0644, 0755); }, true, SafeFileError::None,
                 [](const fs::path& f) { return contents(f / "file") == "new"; }}),
    [](const testing::TestParamInfo<KeptCase>& info) { return std::string(info.param.name); });

// Links and files that another user planted in a shared sticky folder such as /tmp,
// as the unprivileged user saves there: nothing is written through them or over them,
// whatever the kernel's protected_symlinks says. "home" is the user's own folder with
// their notes; "shared" is sticky and world-writable, owned by root like /tmp.
constexpr uid_t OtherUserId = 65533;

struct Places {
    fs::path home;
    fs::path shared;
    [[nodiscard]] fs::path notes() const { return home / "notes.txt"; }
};

enum class Owner { User, OtherUser, FolderOwner };

fs::path plantLink(const fs::path& target, const fs::path& link, Owner owner)
{
    fs::create_symlink(target, link);
    const uid_t uid = owner == Owner::User ? unprivilegedUid() : owner == Owner::OtherUser ? OtherUserId : ::geteuid();
    static_cast<void>(::lchown(link.c_str(), uid, uid));
    return link;
}

struct PlantedCase {
    const char* name;
    std::function<fs::path(const Places&)> plant;  // the path saved to
    SafeFileError replacing;                       // with ExistingFile::Replace
    SafeFileError keeping;                         // with ExistingFile::Keep
    const char* written;                           // where a successful replace lands, below the folder
};

class SafeFilePlanted : public testing::TestWithParam<std::tuple<PlantedCase, ExistingFile>>
{};

TEST_P(SafeFilePlanted, NothingIsWrittenThroughAnotherUsersEntry)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "planting another user's links needs root";
    const auto& [c, existing] = GetParam();
    Folder folder;
    const Places places{folder.path / "home", folder.path / "shared"};
    fs::create_directory(places.home);
    fs::create_directory(places.shared);
    ::chmod(places.shared.c_str(), 01777);
    std::ofstream(places.notes()) << OldText;
    ::chmod(places.notes().c_str(), 0600);
    for (const fs::path& mine : {places.home, places.notes()})
        static_cast<void>(::chown(mine.c_str(), unprivilegedUid(), unprivilegedUid()));
    const fs::path target = c.plant(places);
    const bool wasLink = fs::is_symlink(target);
    const int result = runUnprivileged([&] {
        SafeFile file(target.string(), existing);
        SafeFileError error = file.open();
        if (error == SafeFileError::None && (error = file.write("new", 3)) == SafeFileError::None)
            error = file.commit();
        return static_cast<int>(error);
    });
    const SafeFileError expected = existing == ExistingFile::Replace ? c.replacing : c.keeping;
    EXPECT_EQ(result, static_cast<int>(expected));
    // The new contents stand in one file at most, the one expected, and nowhere else.
    std::vector<fs::path> written;
    for (const auto& entry : fs::recursive_directory_iterator(folder.path))
        if (fs::is_regular_file(entry.symlink_status()) && contents(entry.path()) == "new")
            written.push_back(fs::relative(entry.path(), folder.path));
    const bool wrote = expected == SafeFileError::None;
    EXPECT_EQ(written, wrote ? std::vector<fs::path>{c.written} : std::vector<fs::path>{});
    EXPECT_EQ(contents(places.notes()), wrote && c.written == std::string("home/notes.txt") ? "new" : OldText);
    EXPECT_EQ(fs::is_symlink(target), wasLink);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SafeFilePlanted,
    testing::Combine(
        testing::Values(
            PlantedCase{"OtherUsersLinkToYourFile",
                        [](const Places& p) { return plantLink(p.notes(), p.shared / "shot.png", Owner::OtherUser); },
                        SafeFileError::NotYours, SafeFileError::Exists, "home/notes.txt"},
            PlantedCase{"OtherUsersDanglingLink",
                        [](const Places& p) {
                            return plantLink(p.home / "anything.bmp", p.shared / "Picture_0002.bmp", Owner::OtherUser);
                        },
                        SafeFileError::NotYours, SafeFileError::Exists, "home/anything.bmp"},
            PlantedCase{"OtherUsersRegularFile",
                        [](const Places& p) {
                            std::ofstream(p.shared / "shot.png") << OldText;
                            ::chmod((p.shared / "shot.png").c_str(), 0666);
                            static_cast<void>(::chown((p.shared / "shot.png").c_str(), OtherUserId, OtherUserId));
                            return p.shared / "shot.png";
                        },
                        SafeFileError::NotYours, SafeFileError::Exists, "shared/shot.png"},
            PlantedCase{"FolderOwnersLinkIsFollowed",
                        [](const Places& p) { return plantLink(p.notes(), p.shared / "shot.png", Owner::FolderOwner); },
                        SafeFileError::None, SafeFileError::Exists, "home/notes.txt"},
            PlantedCase{"YourOwnLinkInYourFolder",
                        [](const Places& p) { return plantLink(p.notes(), p.home / "link.png", Owner::User); },
                        SafeFileError::None, SafeFileError::Exists, "home/notes.txt"},
            PlantedCase{"YourOwnDanglingLinkInYourFolder",
                        [](const Places& p) { return plantLink("made.png", p.home / "link.png", Owner::User); },
                        SafeFileError::None, SafeFileError::Exists, "home/made.png"},
            PlantedCase{"PlainNewNameInTheSharedFolder", [](const Places& p) { return p.shared / "shot.png"; },
                        SafeFileError::None, SafeFileError::None, "shared/shot.png"}),
        testing::Values(ExistingFile::Replace, ExistingFile::Keep)),
    [](const testing::TestParamInfo<std::tuple<PlantedCase, ExistingFile>>& info) {
        return std::string(std::get<0>(info.param).name)
               + (std::get<1>(info.param) == ExistingFile::Replace ? "_Replacing" : "_Keeping");
    });

// No named temporary file is left behind by a writer killed in the middle of a write.
TEST(SafeFile, KilledWriterLeavesOnlyTheOldFile)
{
    Folder folder;
    std::ofstream(folder.path / "file") << OldText;
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        SafeFile file((folder.path / "file").string());
        const std::string block(1 << 20, 'x');
        if (file.open() == SafeFileError::None && file.write(block.data(), block.size()) == SafeFileError::None)
            std::fflush(file.stream());
        ::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(contents(folder.path / "file"), OldText);
    EXPECT_EQ(folder.entries(), 1u);
}

// Without replacing: a file that is there at the open, or that appears before the
// commit, stays as it was, and nothing else is left in the folder.
struct NewFileCase {
    const char* name;
    bool presentAtOpen;
    bool appearsBeforeCommit;
    SafeFileError expected;
};

class SafeFileWithoutReplacing : public testing::TestWithParam<NewFileCase>
{};

TEST_P(SafeFileWithoutReplacing, NeverTouchesAnExistingFile)
{
    const NewFileCase& c = GetParam();
    Folder folder;
    const fs::path target = folder.path / "Picture_0000.bmp";
    if (c.presentAtOpen)
        std::ofstream(target) << OldText;
    SafeFileError result = SafeFileError::None;
    {
        SafeFile file(target.string(), ExistingFile::Keep);
        result = file.open();
        if (result == SafeFileError::None) {
            ASSERT_EQ(file.write("new", 3), SafeFileError::None);
            if (c.appearsBeforeCommit)
                std::ofstream(target) << OldText;
            result = file.commit();
        }
    }
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(contents(target), c.expected == SafeFileError::None ? "new" : OldText);
    EXPECT_EQ(folder.entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, SafeFileWithoutReplacing,
                         testing::Values(NewFileCase{"NewName", false, false, SafeFileError::None},
                                         NewFileCase{"PresentAtOpen", true, false, SafeFileError::Exists},
                                         NewFileCase{"AppearsWhileWriting", false, true, SafeFileError::Exists}),
                         [](const testing::TestParamInfo<NewFileCase>& info) { return std::string(info.param.name); });

}  // namespace
