#include "WindowLayout.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

#include <vector>

namespace {

QString nameOf(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// The text a control shows, and the room its style leaves it.
bool textFits(const QWidget& control)
{
    const QFontMetrics metrics = control.fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        const QRect room = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect needed = metrics.boundingRect(room, flags, label->text());
        return needed.width() <= room.width() + 1 && needed.height() <= room.height() + 1;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        // The caption with its access-key ampersand removed, beside the indicator or
        // inside the frame the style draws.
        QString caption = button->text();
        caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        return button->sizeHint().width() <= button->width() + 2 || metrics.horizontalAdvance(caption) <= button->width();
    }
    return true;
}

}  // namespace

QStringList LayoutProblems(const QWidget& window, QSize screen)
{
    QStringList problems;
    const QSize frame = window.frameGeometry().size().expandedTo(window.size());
    if (frame.width() > screen.width() || frame.height() > screen.height())
        problems << QStringLiteral("the window, %1 x %2, is larger than the screen").arg(frame.width()).arg(frame.height());
    std::vector<const QWidget*> shown;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window) || child->isWindow())
            continue;
        shown.push_back(child);
        if (!textFits(*child))
            problems << QStringLiteral("%1: its text is clipped").arg(nameOf(child));
    }
    // A frame holds its controls: only widgets of which neither holds the other must
    // keep apart.
    const auto inWindow = [&window](const QWidget* widget) { return QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size()); };
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            if (!shown[i]->isAncestorOf(shown[j]) && !shown[j]->isAncestorOf(shown[i])
                && inWindow(shown[i]).intersects(inWindow(shown[j])))
                problems << QStringLiteral("%1 and %2 overlap").arg(nameOf(shown[i]), nameOf(shown[j]));
    return problems;
}
