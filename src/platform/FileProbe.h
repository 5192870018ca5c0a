#pragma once
// File-system questions the windows may not ask the disk directly.

#include <QString>

class FileProbe
{
public:
    virtual ~FileProbe() = default;
    [[nodiscard]] virtual bool exists(const QString& path) const = 0;
};
