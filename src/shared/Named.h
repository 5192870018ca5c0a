#pragma once
// A control given the name the user and the tests know it by (its objectName).

#include <QString>

template<typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
