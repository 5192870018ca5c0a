#include "DesktopSystemInformation.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace {

struct Candidate {
    const char* program;
    const char* argument;  // nullptr: none
};

constexpr Candidate Candidates[] = {
    {"kinfocenter", nullptr},
    {"gnome-control-center", "info-overview"},
    {"hardinfo2", nullptr},
    {"hardinfo", nullptr},
};

}  // namespace

bool DesktopSystemInformation::start()
{
    for (const Candidate& candidate : Candidates) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(candidate.program));
        if (path.isEmpty())
            continue;
        QStringList arguments;
        if (candidate.argument)
            arguments << QString::fromLatin1(candidate.argument);
        return QProcess::startDetached(path, arguments);
    }
    return false;
}
