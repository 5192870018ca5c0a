#include "ScreenFit.h"

#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace {

// Room kept for the title bar and the borders a window manager adds.
constexpr int FrameAllowance = 48;

}  // namespace

void ScrollWhenLargerThanScreen(QMainWindow& window)
{
    window.adjustSize();
    QSize size = window.size();
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    // Not a control: the window's focus stays with its fields and buttons.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setWidget(window.takeCentralWidget());
    window.setCentralWidget(scroll);
    // The window's least size is still the controls' until its layout looks again.
    window.layout()->activate();
    const QSize room = window.screen()->availableGeometry().size() - QSize(FrameAllowance, FrameAllowance);
    // A bar along one side takes room from the other.
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (size.height() > room.height())
        size.rwidth() += bar;
    if (size.width() > room.width())
        size.rheight() += bar;
    window.resize(size.boundedTo(room));
}
