#include "Controls.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

QButtonGroup* OptionButtons(QWidget* parent, QBoxLayout* layout, const char* name,
                            std::initializer_list<const char*> captions)
{
    auto* group = new QButtonGroup(parent);
    group->setObjectName(QString::fromLatin1(name));
    int id = 0;
    for (const char* caption : captions) {
        auto* button = named(new QRadioButton(QString::fromUtf8(caption), parent), name);
        button->setProperty("index", id);
        group->addButton(button, id++);
        layout->addWidget(button);
    }
    return group;
}

void showText(QLineEdit* field, const QString& text)
{
    if (field->text() != text)
        field->setText(text);
}
