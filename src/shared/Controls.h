#pragma once
// What every window does with its controls once its Designer file has built them.

class QLineEdit;
class QString;
class QWidget;

// Each option button's "index" property, the place (and value) the button stands for,
// becomes its id in its group, so that a group's idClicked gives the option's value.
void NumberOptionButtons(QWidget& window);

// The field shows text unless it already does: each rewrite runs the field's rule
// once more.
void showText(QLineEdit* field, const QString& text);
