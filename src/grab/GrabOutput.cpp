#include "GrabOutput.h"

#include "autosave/NumberedNames.h"
#include "capture/ImageOutput.h"
#include "platform/Clipboard.h"
#include "platform/DiskFileProbe.h"
#include "platform/FileNameText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

GrabOutcome writeFailed(const QString& name, const QString& cause)
{
    return {GrabExit::WriteFailed, SaveFailedText(name, cause), {}};
}

GrabOutcome writeFailed(const QString& name, const DibStatus& status)
{
    return {GrabExit::WriteFailed, SaveFailedText(name, status), {}};
}

GrabOutcome systemFailed(const QString& name)
{
    return writeFailed(name, QString::fromLocal8Bit(std::strerror(errno)));
}

DibStatus writeImage(DIBHandle image, const GrabRequest& request, const QString& name, ExistingFile existing)
{
    return WriteImage(image, request.format, FileNameText::encode(name).toStdString(), request.options, existing);
}

bool writeAll(int descriptor, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(descriptor, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Through a private temporary file: the writers make files, and a failed encode must
// leave nothing half-written in the pipe.
GrabOutcome writeStandardOutput(DIBHandle image, const GrabRequest& request, int descriptor)
{
    const QString name = QCoreApplication::translate("GrabOutput", "standard output");
    const QTemporaryDir folder;
    if (!folder.isValid())
        return systemFailed(name);
    const QString file = folder.filePath(QStringLiteral("grab.png"));
    if (const DibStatus status = writeImage(image, request, file, ExistingFile::Replace); !status)
        return writeFailed(name, status);
    QFile encoded(file);
    if (!encoded.open(QIODevice::ReadOnly))
        return writeFailed(name, encoded.errorString());
    if (!writeAll(descriptor, encoded.readAll()))
        return systemFailed(name);
    return {};
}

// The first free number of Picture_####; a file that takes the name meanwhile (a
// second grab at the same moment) is kept, and the next free number is tried.
GrabOutcome writeNumbered(DIBHandle image, const GrabRequest& request, const QString& folder)
{
    if (!QDir().mkpath(folder))
        return systemFailed(folder);
    NamingState naming;
    naming.folder = folder;
    naming.extension = QStringLiteral(".png");
    static_cast<void>(NormalizePattern(naming));
    const DiskFileProbe disk;
    const FileIsFree isFree = FreeWhereAbsent(disk);
    while (FindStartNumber(naming, isFree)) {
        const QString name = ComposeFileName(naming).fileName;
        const DibStatus status = writeImage(image, request, name, ExistingFile::Keep);
        if (status)
            return {GrabExit::Written, {}, name};
        if (status.error != DibError::FileExists)
            return writeFailed(name, status);
    }
    return {GrabExit::WriteFailed,
            QCoreApplication::translate("GrabOutput", "%1 holds every number of Picture_####.png already").arg(folder),
            {}};
}

// The clipboard takes the top-left pixels of a picture: the region is copied there.
void putOnClipboard(const DeviceContext& screen, const QRect& region, Clipboard& clipboard)
{
    DeviceContext part(region.width(), region.height());
    for (int y = 0; y < region.height(); ++y)
        std::copy_n(screen.row(region.y() + y) + region.x(), region.width(), part.row(y));
    clipboard.setImage(part, region.width(), region.height());
}

}  // namespace

GrabOutcome CheckRegion(const QRect& region, const DeviceContext& screen)
{
    if (QRect(0, 0, screen.width(), screen.height()).contains(region))
        return {};
    return {GrabExit::OutsideScreen,
            QCoreApplication::translate("GrabOutput", "the region %1x%2+%3+%4 is not wholly on the screen (%5x%6)")
                .arg(region.width())
                .arg(region.height())
                .arg(region.x())
                .arg(region.y())
                .arg(screen.width())
                .arg(screen.height()),
            {}};
}

GrabOutcome WriteGrab(const DeviceContext& screen, const QRect& region, const GrabRequest& request,
                      const GrabPlaces& places)
{
    if (request.target == GrabTarget::Clipboard) {
        putOnClipboard(screen, region, *places.clipboard);
        return {};
    }
    const DibGuard image(DCtoDIB(screen, region.x(), region.y(), region.width(), region.height()));
    // Moved toward grey first, as the capture save does with its grey strength.
    if (request.options.GrayStrength > 0)
        if (const DibStatus status = GrayDIB(image.get(), request.options.GrayStrength); !status)
            return writeFailed(request.output, status);
    switch (request.target) {
    case GrabTarget::File:
        if (const DibStatus status = writeImage(image.get(), request, request.output, ExistingFile::Replace); !status)
            return writeFailed(request.output, status);
        return {};
    case GrabTarget::StandardOutput: return writeStandardOutput(image.get(), request, places.standardOutput);
    case GrabTarget::PicturesFolder:
    case GrabTarget::Clipboard: break;
    }
    return writeNumbered(image.get(), request, places.picturesFolder);
}
