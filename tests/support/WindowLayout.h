#pragma once
// What is wrong with a window's layout as the user would see it: the window larger
// than the screen, a visible control's text clipped by its box, or two visible
// widgets over each other (a control inside a frame does not count).

#include <QSize>
#include <QStringList>

class QWidget;

[[nodiscard]] QStringList LayoutProblems(const QWidget& window, QSize screen);
// Access keys used twice in one scope: the window's controls with its menu bar, or
// the items of one menu.
[[nodiscard]] QStringList AccessKeyClashes(const QWidget& window);
// The window's texts (title, captions, menus) that hold Japanese characters.
[[nodiscard]] QStringList JapaneseTexts(const QWidget& window);
