#include "platform/DiskFileProbe.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DiskFileProbe, AnswersWhatTheDiskHolds)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Picture_0001.png"));
    ASSERT_TRUE(writeTestFile(file, "x"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("画像")));
    const QString dangling = dir.filePath(QStringLiteral("Picture_0003.png"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("elsewhere.png")), dangling));
    const struct {
        QString path;
        bool exists;
    } cases[] = {
        {file, true},
        {dir.filePath(QStringLiteral("画像")), true},
        {dir.filePath(QStringLiteral("Picture_0002.png")), false},
        {file + QStringLiteral("/inside"), false},
        {dangling, true},
        {QString(), false},
    };
    const DiskFileProbe probe;
    for (const auto& c : cases)
        EXPECT_EQ(probe.exists(c.path), c.exists) << c.path.toStdString();
}

}  // namespace
