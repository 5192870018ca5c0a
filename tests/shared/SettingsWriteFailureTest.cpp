// A full disk, made real with a file-size limit in a child process: the write must fail
// without a word, leave the old Set.ini byte for byte and leave no temporary file.
#include "shared/Settings.h"

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Runs writeText in a child whose files may not grow beyond limitBytes; returns the
// child's exit status: 0 when the write reported failure, 1 when it claimed success.
int writeUnderFileSizeLimit(const QString& path, const QString& value, rlim_t limitBytes)
{
    return runUnderFileSizeLimit(limitBytes, [&] {
        return Settings(path).writeText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), value) ? 1 : 0;
    });
}

TEST(SettingsWriteFailure, FullDiskKeepsOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Set.ini"));
    const QByteArray old = "[Start]\nBoolean=1\nMode=0\n; comment\n[PrtScSave]\nFolderPath=/old\n";
    ASSERT_TRUE(writeTestFile(path, old));
    const QString longValue = QString(400, u'z');
    EXPECT_EQ(writeUnderFileSizeLimit(path, longValue, static_cast<rlim_t>(old.size() + 16)), 0);

    EXPECT_EQ(readTestFile(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList{QStringLiteral("Set.ini")});
    EXPECT_EQ(Settings(path).readText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), {}),
              QStringLiteral("/old"));
}

TEST(SettingsWriteFailure, SameWriteSucceedsWithoutTheLimit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Set.ini"));
    EXPECT_EQ(writeUnderFileSizeLimit(path, QString(400, u'z'), RLIM_INFINITY), 1);
    EXPECT_EQ(Settings(path).readText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), {}),
              QString(255, u'z'));
}

}  // namespace
