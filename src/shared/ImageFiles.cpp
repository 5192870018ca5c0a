#include "ImageFiles.h"

#include "imaging/dibimage.h"

#include <QCoreApplication>

namespace {

const char* messageOf(DibError error)
{
    switch (error) {
    case DibError::None: return QT_TRANSLATE_NOOP("ImageFiles", "成功しました");
    case DibError::BadHandle: return QT_TRANSLATE_NOOP("ImageFiles", "画像がありません");
    case DibError::BadArgument: return QT_TRANSLATE_NOOP("ImageFiles", "値が範囲外です");
    case DibError::TooLarge: return QT_TRANSLATE_NOOP("ImageFiles", "画像が大きすぎます");
    case DibError::OutOfMemory: return QT_TRANSLATE_NOOP("ImageFiles", "メモリが足りません");
    case DibError::WrongDepth: return QT_TRANSLATE_NOOP("ImageFiles", "この色数の画像には使えない変換です");
    case DibError::CannotCreate: return QT_TRANSLATE_NOOP("ImageFiles", "ファイルを作成できません");
    case DibError::WriteFailed: return QT_TRANSLATE_NOOP("ImageFiles", "ファイルの書き込みに失敗しました");
    case DibError::EncoderFailed: return QT_TRANSLATE_NOOP("ImageFiles", "画像の圧縮に失敗しました");
    case DibError::DecodeFailed: return QT_TRANSLATE_NOOP("ImageFiles", "画像ファイルを読み取れません");
    case DibError::FileExists: return QT_TRANSLATE_NOOP("ImageFiles", "同じ名前のファイルがあります");
    case DibError::NotYours:
        return QT_TRANSLATE_NOOP("ImageFiles", "共有フォルダにある他のユーザーのリンクまたはファイルです");
    }
    return QT_TRANSLATE_NOOP("ImageFiles", "不明なエラーです");
}

}  // namespace

QString SaveErrorTitle() { return QCoreApplication::translate("ImageFiles", "エラー"); }

QString DibErrorMessage(DibError error) { return QCoreApplication::translate("ImageFiles", messageOf(error)); }

QString SaveFailedText(const QString& fileName, const QString& cause)
{
    return QCoreApplication::translate("ImageFiles", "%1 を保存できませんでした（%2）。").arg(fileName, cause);
}

QString SaveFailedText(const QString& fileName, const DibStatus& status)
{
    return SaveFailedText(fileName, DibErrorMessage(status.error));
}
