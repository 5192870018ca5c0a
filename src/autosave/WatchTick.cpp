#include "WatchTick.h"

#include "platform/Clipboard.h"

namespace {

// Each attempt after the first follows a name that another program took meanwhile.
constexpr int MaxAttempts = 16;

TickResult failed(const QString& fileName, const DibStatus& status)
{
    return {TickResult::Outcome::Failed, fileName, status};
}

}  // namespace

TickResult WatchTick(Clipboard& clipboard, NamingState& naming, const CaptureFormat& format, const FileIsFree& isFree)
{
    if (!clipboard.hasImage())
        return {};
    DeviceContext holder;
    if (!clipboard.takeImage(holder))
        return {};
    naming.extension = ExtensionOf(format.format);
    const DibGuard image(DCtoDIB(holder, 0, 0, holder.width(), holder.height()));
    if (!image)
        return failed(ComposeFileName(naming).fileName, {DibError::OutOfMemory});
    if (const DibStatus converted = ConvertForBmp(image.get(), format); !converted)
        return failed(ComposeFileName(naming).fileName, converted);
    const ExistingFile existing = naming.overwriteAllowed ? ExistingFile::Replace : ExistingFile::Keep;
    NamingState attempt = naming;
    ComposedName name = ComposeFileName(attempt);
    DibStatus written = WriteCapture(image.get(), format, name.fileName, existing);
    for (int i = 1; i < MaxAttempts && written.error == DibError::FileExists; ++i) {
        AdvanceCounter(attempt, name.baseName, isFree);
        name = ComposeFileName(attempt);
        written = WriteCapture(image.get(), format, name.fileName, existing);
    }
    if (!written)
        return failed(name.fileName, written);
    clipboard.clearTaken();
    naming = attempt;
    AdvanceCounter(naming, name.baseName, isFree);
    return {TickResult::Outcome::Saved, name.fileName, {}};
}
