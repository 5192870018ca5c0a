#include "SaveCopy.h"

#include <span>

namespace {

// Each attempt after the first follows a name that another program took meanwhile.
constexpr int MaxAttempts = 16;

SaveResult failed(const QString& fileName, const DibStatus& status)
{
    return {SaveResult::Outcome::Failed, fileName, status};
}

}  // namespace

DecodedCopy DecodeCopy(const QByteArray& bytes)
{
    DIBHandle decoded = 0;
    const DibStatus read = DIBFromMemory(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())),
        decoded);
    DecodedCopy copy{DibGuard(decoded), read};
    // A BMP copy may have fewer bits; every format starts from 24, as a screen's copy.
    if (read)
        copy.status = DIBto24Bit(copy.image.get());
    return copy;
}

SaveResult SaveDecoded(const DecodedCopy& copy, NamingState& naming, const CaptureFormat& format,
                       const FileIsFree& isFree, PngMemory* memory)
{
    if (!copy.status)
        return {SaveResult::Outcome::Unreadable, {}, copy.status};
    const DIBHandle image = copy.image.get();
    naming.extension = ExtensionOf(format.format);
    if (const DibStatus converted = ConvertForBmp(image, format); !converted)
        return failed(ComposeFileName(naming).fileName, converted);
    const ExistingFile existing = naming.overwriteAllowed ? ExistingFile::Replace : ExistingFile::Keep;
    NamingState attempt = naming;
    ComposedName name = ComposeFileName(attempt);
    DibStatus written = WriteCapture(image, format, name.fileName, existing, memory);
    for (int i = 1; i < MaxAttempts && written.error == DibError::FileExists; ++i) {
        AdvanceCounter(attempt, name.baseName, isFree);
        name = ComposeFileName(attempt);
        written = WriteCapture(image, format, name.fileName, existing, memory);
    }
    if (!written)
        return failed(name.fileName, written);
    naming = attempt;
    AdvanceCounter(naming, name.baseName, isFree);
    return {SaveResult::Outcome::Saved, name.fileName, {}};
}

SaveResult SaveCopy(const QByteArray& bytes, NamingState& naming, const CaptureFormat& format, const FileIsFree& isFree)
{
    return SaveDecoded(DecodeCopy(bytes), naming, format, isFree);
}
