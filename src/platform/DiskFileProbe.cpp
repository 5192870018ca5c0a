#include "DiskFileProbe.h"

#include <QFileInfo>

bool DiskFileProbe::exists(const QString& path) const
{
    return !path.isEmpty() && QFileInfo::exists(path);
}
