#pragma once
// What the program says when the user picks something this build does not have yet:
// it must not pretend to work.

#include <QString>

[[nodiscard]] inline QString NotYetBuiltText(const QString& featureName)
{
    return QStringLiteral("「%1」はこのビルドではまだ使用できません。").arg(featureName);
}
