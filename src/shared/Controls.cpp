#include "Controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QWidget>

void NumberOptionButtons(QWidget& window)
{
    for (QButtonGroup* group : window.findChildren<QButtonGroup*>())
        for (QAbstractButton* button : group->buttons())
            group->setId(button, button->property("index").toInt());
}

void showText(QLineEdit* field, const QString& text)
{
    if (field->text() != text)
        field->setText(text);
}
