#include "WindowLayout.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
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
        return button->sizeHint().width() <= button->width() + 2
               || metrics.horizontalAdvance(caption) <= button->width();
    }
    return true;
}

// A menu's items, each named by its action.
QList<std::pair<QString, QString>> itemsOf(const QMenu& menu)
{
    QList<std::pair<QString, QString>> items;
    for (const QAction* action : menu.actions())
        items.append({action->objectName(), action->text()});
    return items;
}

// What the user reads in the window, menus included, each named by its widget.
QList<std::pair<QString, QString>> textsOf(const QWidget& window)
{
    QList<std::pair<QString, QString>> texts{{QStringLiteral("the title"), window.windowTitle()}};
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(child))
            texts.append({nameOf(child), label->text()});
        else if (const auto* button = qobject_cast<const QAbstractButton*>(child))
            texts.append({nameOf(child), button->text()});
        else if (const auto* group = qobject_cast<const QGroupBox*>(child))
            texts.append({nameOf(child), group->title()});
    }
    for (const QMenu* menu : window.findChildren<QMenu*>()) {
        texts.append({nameOf(menu), menu->title()});
        texts.append(itemsOf(*menu));
    }
    return texts;
}

// Each access key of one scope with the names that use it; a clash for each key used
// more than once.
QStringList clashesAmong(const QList<std::pair<QString, QString>>& captions)
{
    QMap<QString, QStringList> users;
    for (const auto& [name, text] : captions)
        if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty())
            users[key.toString()].append(name);
    QStringList clashes;
    for (auto each = users.cbegin(); each != users.cend(); ++each)
        if (each->size() > 1)
            clashes << QStringLiteral("%1: %2").arg(each.key(), each->join(QStringLiteral(", ")));
    return clashes;
}

}  // namespace

QStringList AccessKeyClashes(const QWidget& window)
{
    QList<std::pair<QString, QString>> controls;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window))
            continue;
        if (const auto* button = qobject_cast<const QAbstractButton*>(child))
            controls.append({nameOf(child), button->text()});
        else if (const auto* label = qobject_cast<const QLabel*>(child); label && label->buddy())
            controls.append({nameOf(child), label->text()});
    }
    QStringList clashes;
    for (const QMenuBar* bar : window.findChildren<QMenuBar*>())
        for (const QAction* menu : bar->actions())
            controls.append({menu->menu() ? nameOf(menu->menu()) : menu->objectName(), menu->text()});
    clashes << clashesAmong(controls);
    for (const QMenu* menu : window.findChildren<QMenu*>())
        clashes << clashesAmong(itemsOf(*menu));
    return clashes;
}

QStringList JapaneseTexts(const QWidget& window)
{
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3000}-\\x{30FF}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    QStringList found;
    for (const auto& [name, text] : textsOf(window))
        if (text.contains(japanese))
            found << QStringLiteral("%1: %2").arg(name, text);
    return found;
}

QStringList LayoutProblems(const QWidget& window, QSize screen)
{
    QStringList problems;
    const QSize frame = window.frameGeometry().size().expandedTo(window.size());
    if (frame.width() > screen.width() || frame.height() > screen.height())
        problems
            << QStringLiteral("the window, %1 x %2, is larger than the screen").arg(frame.width()).arg(frame.height());
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
    const auto inWindow = [&window](const QWidget* widget) {
        return QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
    };
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            if (!shown[i]->isAncestorOf(shown[j]) && !shown[j]->isAncestorOf(shown[i])
                && inWindow(shown[i]).intersects(inWindow(shown[j])))
                problems << QStringLiteral("%1 and %2 overlap").arg(nameOf(shown[i]), nameOf(shown[j]));
    return problems;
}
