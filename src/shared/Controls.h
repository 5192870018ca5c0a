#pragma once
// Building the windows' controls: each named as the user and the tests know it
// (objectName), groups of option buttons, and number fields shown without a
// needless rewrite.

#include <QString>

#include <initializer_list>

class QBoxLayout;
class QButtonGroup;
class QLineEdit;
class QWidget;

template<typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Option buttons named name, children of parent, added to layout in caption order;
// a button's id and its "index" property are its place, from 0.
QButtonGroup* OptionButtons(QWidget* parent, QBoxLayout* layout, const char* name,
                            std::initializer_list<const char*> captions);

// The field shows text unless it already does: each rewrite runs the field's rule
// once more.
void showText(QLineEdit* field, const QString& text);
