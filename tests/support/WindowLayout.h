#pragma once
// What is wrong with a window's layout as the user would see it: the window larger
// than the screen, a visible control's text clipped by its box, or two visible
// widgets over each other (a control inside a frame does not count).

#include <QSize>
#include <QStringList>

class QWidget;

[[nodiscard]] QStringList LayoutProblems(const QWidget& window, QSize screen);
