#pragma once
// The save dialog's filter text: "BMPファイル(*.bmp)|*.bmp|JPEGファイル(*.jpg;*.jpeg)|*.jpg;*.jpeg"
// holds description|patterns pairs. Qt's dialog wants one "description (patterns)"
// entry per pair, patterns separated by spaces.

#include <QString>
#include <QStringList>

namespace FileFilter {

// One Qt name filter per pair. A description that already ends in its own patterns
// in parentheses is kept as it is; otherwise the patterns are added in parentheses.
// A trailing description without patterns is dropped.
[[nodiscard]] QStringList toQtNameFilters(const QString& pairs);

}  // namespace FileFilter
