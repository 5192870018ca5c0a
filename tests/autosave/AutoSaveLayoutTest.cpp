// The auto-save window as the user first sees it: every visible control has room of
// its own, every label shows its whole text, and the window fits a small screen.
#include "AutoSaveFixture.h"

#include <QFontMetrics>
#include <QLabel>

#include <gtest/gtest.h>

#include <vector>

namespace {

QRect inWindow(const QWidget* control, const QWidget* window)
{
    return {control->mapTo(window, QPoint(0, 0)), control->size()};
}

std::string nameOf(const QWidget* control)
{
    return (control->objectName().isEmpty() ? QString::fromLatin1(control->metaObject()->className())
                                            : control->objectName())
        .toStdString();
}

TEST(AutoSaveWindow, ControlsNeitherOverlapNorCutTheirTexts)
{
    AutoSaveFixture f;
    f.open();
    const QWidget* window = &f.window();
    EXPECT_LE(window->frameGeometry().width(), 1280);
    EXPECT_LE(window->frameGeometry().height(), 720);

    std::vector<const QWidget*> shown;
    for (const QWidget* control : window->findChildren<QWidget*>())
        if (control->isVisibleTo(window) && !control->isWindow())
            shown.push_back(control);
    // A frame holds its controls: only controls of which neither holds the other must
    // keep apart.
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            if (!shown[i]->isAncestorOf(shown[j]) && !shown[j]->isAncestorOf(shown[i])) {
                EXPECT_FALSE(inWindow(shown[i], window).intersects(inWindow(shown[j], window)))
                    << nameOf(shown[i]) << " and " << nameOf(shown[j]);
            }
        }

    for (const QWidget* control : shown)
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            const QRect box(QPoint(0, 0), label->size());
            const QRect needed = label->fontMetrics().boundingRect(box, Qt::TextWordWrap, label->text());
            EXPECT_LE(needed.height(), box.height()) << nameOf(label);
            EXPECT_LE(needed.width(), box.width()) << nameOf(label);
        }
}

}  // namespace
