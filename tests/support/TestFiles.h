#pragma once
// Whole-file reads and writes for tests that set up and check files on disk.

#include <QByteArray>
#include <QString>

#include <optional>

// Writes bytes as the whole file; false when it cannot be written.
bool writeTestFile(const QString& path, const QByteArray& bytes);
// The whole file, or nullopt when it does not exist or cannot be read.
[[nodiscard]] std::optional<QByteArray> readTestFile(const QString& path);
