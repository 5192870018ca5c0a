#include "ClickActivation.h"

#include <QEvent>
#include <QWidget>

ClickActivation::ClickActivation(QWidget& window) : QObject(&window), m_window(window)
{
    m_window.installEventFilter(this);
    for (QWidget* child : m_window.findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool ClickActivation::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && !m_window.isActiveWindow())
        m_window.activateWindow();
    return false;
}
