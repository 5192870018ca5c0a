#pragma once
// What both modes say of the image files they write: the three formats, and the
// message of a write that failed.

#include <QCoreApplication>
#include <QString>

#include <cstdint>

enum class SaveFormat : std::int16_t { Bmp = 0, Jpeg = 1, Png = 2 };

[[nodiscard]] inline QString SaveErrorTitle()
{
    return QCoreApplication::translate("ImageFiles", "エラー");
}
// Names the file and the cause as the image library gives it.
[[nodiscard]] inline QString SaveFailedText(const QString& fileName, const char* cause)
{
    return QCoreApplication::translate("ImageFiles", "%1 を保存できませんでした（%2）。")
        .arg(fileName, QString::fromLatin1(cause));
}
