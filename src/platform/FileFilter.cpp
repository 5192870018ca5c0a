#include "FileFilter.h"

namespace FileFilter {

QStringList toQtNameFilters(const QString& pairs)
{
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ').trimmed();
        const QString own = u'(' + patterns + u')';
        filters.append(description.endsWith(own) ? description : description + u' ' + own);
    }
    return filters;
}

}  // namespace FileFilter
