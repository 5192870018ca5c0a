#pragma once
// Existence questions answered by the disk.

#include "FileProbe.h"

class DiskFileProbe final : public FileProbe
{
public:
    // true for any existing entry: file, folder, link (a dangling one too) or other.
    [[nodiscard]] bool exists(const QString& path) const override;
};
