#pragma once
// A file system for existence questions: only the paths the test added exist.

#include "platform/FileProbe.h"

#include <QSet>

class FakeFileProbe final : public FileProbe
{
public:
    QSet<QString> existing;
    [[nodiscard]] bool exists(const QString& path) const override { return existing.contains(path); }
};
