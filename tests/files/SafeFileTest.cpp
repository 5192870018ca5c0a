// A replaced file is the new one whole or the old one untouched, and no temporary
// file is left beside it either way.
#include "files/SafeFile.h"

#include "FileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

const std::string OldText = "old contents\n";

struct Folder {
    fs::path path = fs::temp_directory_path() / ("safefile-" + std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
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
{
};

TEST_P(SafeFileRefuses, LeavingTheFolderAsItWas)
{
    Folder folder;
    std::ofstream(folder.path / "file") << OldText;
    EXPECT_EQ(replace((folder.path / GetParam().relative).string(), "new"), GetParam().expected);
    EXPECT_EQ(contents(folder.path / "file"), OldText);
    EXPECT_EQ(folder.entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SafeFileRefuses,
    testing::Values(RefusedTarget{"MissingFolder", "missing/out", SafeFileError::CannotCreate},
                    RefusedTarget{"ParentIsAFile", "file/out", SafeFileError::CannotCreate},
                    RefusedTarget{"NameEndsInSlash", "out/", SafeFileError::CannotCreate}),
    [](const testing::TestParamInfo<RefusedTarget>& info) { return std::string(info.param.name); });

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
    const int result = runUnderFileSizeLimit(4096, [&] {
        return replace(target, std::string(1 << 20, 'x')) == SafeFileError::WriteFailed ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(contents(folder.path / "file"), OldText);
    EXPECT_EQ(folder.entries(), 1u);
}

}  // namespace
