#include "DiskFileProbe.h"

#include "FileNameText.h"

#include <sys/stat.h>

// The entry itself, not what a link names: a dangling link takes its name too.
bool DiskFileProbe::exists(const QString& path) const
{
    struct stat entry {};
    return !path.isEmpty() && ::lstat(FileNameText::encode(path).constData(), &entry) == 0;
}
