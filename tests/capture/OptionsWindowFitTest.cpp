// The options window as it opens from the command panel, in the face the program uses:
// whole on a 1280 x 720 screen, no control over another, no caption cut.

#include "CaptureFixture.h"
#include "Opt.h"
#include "formcom.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The widget's rectangle in its window's pixels.
QRect inWindow(const QWidget& widget)
{
    return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
}

// The rectangle the label's text takes when drawn in the label's box.
QRect textRect(const QLabel& label)
{
    const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    return label.fontMetrics().boundingRect(label.contentsRect(), flags, label.text());
}

}  // namespace

TEST(OptionsWindowFit, FitsA1280By720ScreenWithNothingHiddenOrCut)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QTest::mouseClick(PanelButton(f.panel(), "Command8"), Qt::LeftButton);
    Opt* window = TopLevel<Opt>();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    // 720 rows less the 30 of a title bar, which Xvfb without a window manager leaves out.
    const QRect frame = window->frameGeometry();
    EXPECT_LE(frame.width(), 1280);
    EXPECT_LE(frame.height(), 690);

    QList<QWidget*> controls;
    for (QWidget* widget : window->centralWidget()->findChildren<QWidget*>())
        if (widget->isVisible())
            controls.append(widget);
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QWidget& a = *controls[i];
            const QWidget& b = *controls[j];
            if (!a.isAncestorOf(&b) && !b.isAncestorOf(&a)) {
                EXPECT_FALSE(inWindow(a).intersects(inWindow(b))) << qPrintable(a.objectName()) << " over "
                                                                  << qPrintable(b.objectName());
            }
        }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty()) {
            EXPECT_TRUE(label->contentsRect().contains(textRect(*label))) << qPrintable(label->text());
        }
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->isVisible() && !button->text().isEmpty()) {
            EXPECT_GE(button->width(), button->sizeHint().width()) << qPrintable(button->text());
        }
    }
}
