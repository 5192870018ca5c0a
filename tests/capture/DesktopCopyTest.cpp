// The desktop copy with real mouse input: drawing, resizing, moving and the release
// on a fake screen of known pixels (1024 x 768).

#include "CaptureFixture.h"
#include "CaseName.h"
#include "QtPrinters.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QStringList fieldTexts(CaptureFixture& f)
{
    return {f.field("sX").text(), f.field("sY").text(), f.field("eX").text(), f.field("eY").text()};
}

QRectF shapeOf(CaptureFixture& f)
{
    const ShapeRect& s = f.model().editor().shape();
    return {s.left, s.top, s.width, s.height};
}

std::unique_ptr<CaptureFixture> loadedFixture()
{
    auto f = std::make_unique<CaptureFixture>();
    if (f->load() != ModeOpenResult::Opened)
        return nullptr;
    return f;
}

struct DragCase {
    const char* name;
    QPointF from;
    QPointF to;
    QRectF shape;
    QStringList fields;
    friend void PrintTo(const DragCase& c, std::ostream* out) { *out << c.name; }
};

class Drag : public testing::TestWithParam<DragCase>
{};

TEST_P(Drag, SelectsAndShowsThePicture)
{
    const DragCase& c = GetParam();
    auto f = loadedFixture();
    ASSERT_TRUE(f);
    MouseDrag(f->desktop(), c.from, c.to);
    EXPECT_EQ(shapeOf(*f), c.shape);
    EXPECT_EQ(fieldTexts(*f), c.fields);
    EXPECT_TRUE(f->picture().isVisible());
    EXPECT_EQ(f->picture().size(), c.shape.size().toSize());
    EXPECT_TRUE(f->model().handlesVisible());
}

INSTANTIATE_TEST_SUITE_P(DesktopCopy, Drag,
                         testing::Values(DragCase{"up and left", QPointF(300, 200), QPointF(100, 50),
                                                  QRectF(100, 50, 200, 150), QStringList{"100", "50", "300", "200"}},
                                         DragCase{"down and right", QPointF(100, 50), QPointF(300, 200),
                                                  QRectF(100, 50, 200, 150), QStringList{"100", "50", "300", "200"}},
                                         DragCase{"past left and top stops at 0", QPointF(300, 200), QPointF(-40, -15),
                                                  QRectF(0, 0, 300, 200), QStringList{"0", "0", "300", "200"}},
                                         DragCase{"past right and bottom not clamped", QPointF(900, 700),
                                                  QPointF(1100, 900), QRectF(900, 700, 200, 200),
                                                  QStringList{"900", "700", "1100", "900"}},
                                         DragCase{"halves round to even", QPointF(10.5, 11.5), QPointF(20.5, 21.5),
                                                  QRectF(10, 12, 10, 10), QStringList{"10", "12", "20", "22"}},
                                         DragCase{"click without movement", QPointF(50, 60), QPointF(50, 60),
                                                  QRectF(50, 60, 0, 0), QStringList{"50", "60", "50", "60"}}),
                         PrintedCaseName());

// Handle drags on the committed selection (200, 200, 100, 100); the press lands 0..3
// pixels inside each handle.
struct HandleDragCase {
    const char* name;
    QPointF press;
    QPointF to;
    QRectF shape;
    Qt::CursorShape cursor;
    friend void PrintTo(const HandleDragCase& c, std::ostream* out) { *out << c.name; }
};

class HandleDrag : public testing::TestWithParam<HandleDragCase>
{};

TEST_P(HandleDrag, ResizesMovesOrStartsAnew)
{
    const HandleDragCase& c = GetParam();
    auto f = loadedFixture();
    ASSERT_TRUE(f);
    scrimble& desktop = f->desktop();
    MouseDrag(desktop, QPointF(200, 200), QPointF(300, 300));
    MousePress(desktop, c.press);
    EXPECT_FALSE(f->model().handlesVisible());
    MouseMove(desktop, c.to);
    EXPECT_EQ(int(desktop.cursor().shape()), int(c.cursor));
    MouseRelease(desktop, c.to);
    EXPECT_EQ(shapeOf(*f), c.shape);
    EXPECT_EQ(int(desktop.cursor().shape()), int(Qt::ArrowCursor));
    EXPECT_TRUE(f->model().handlesVisible());
    const QRectF& s = c.shape;
    EXPECT_EQ(fieldTexts(*f), (QStringList{QString::number(s.left()), QString::number(s.top()),
                                           QString::number(s.right()), QString::number(s.bottom())}));
}

INSTANTIATE_TEST_SUITE_P(
    DesktopCopy, HandleDrag,
    testing::Values(HandleDragCase{"bottom right flips past the left edge", QPointF(300, 300), QPointF(150, 300),
                                   QRectF(150, 200, 50, 100), Qt::SizeFDiagCursor},
                    HandleDragCase{"left handle, right edge shifts by the press offset", QPointF(198, 250),
                                   QPointF(150, 250), QRectF(150, 200, 148, 100), Qt::SizeHorCursor},
                    HandleDragCase{"top handle dragged below the bottom", QPointF(250, 200), QPointF(250, 350),
                                   QRectF(200, 300, 100, 50), Qt::SizeVerCursor},
                    HandleDragCase{"centre moves off the screen", QPointF(250, 250), QPointF(-200, 250),
                                   QRectF(-250, 200, 100, 100), Qt::SizeAllCursor},
                    HandleDragCase{"leftmost column of a handle starts a new outline", QPointF(196, 250),
                                   QPointF(196, 250), QRectF(196, 250, 0, 0), Qt::ArrowCursor},
                    HandleDragCase{"top row of a handle starts a new outline", QPointF(300, 196), QPointF(310, 206),
                                   QRectF(300, 196, 10, 10), Qt::ArrowCursor},
                    HandleDragCase{"move back to the press point keeps the selection", QPointF(300, 300),
                                   QPointF(300, 300), QRectF(200, 200, 100, 100), Qt::SizeFDiagCursor}),
    PrintedCaseName());

// A click on a handle without any movement keeps the selection and refreshes the
// picture, here at a magnification committed since the last release.
TEST(DesktopCopy, ClickOnHandle)
{
    auto f = loadedFixture();
    ASSERT_TRUE(f);
    scrimble& desktop = f->desktop();
    MouseDrag(desktop, QPointF(200, 200), QPointF(300, 300));
    ASSERT_TRUE(TypeAndCommit(f->panel(), f->field("Text2"), QStringLiteral("200")));
    MousePress(desktop, QPointF(250, 250));
    MouseRelease(desktop, QPointF(250, 250));
    EXPECT_EQ(shapeOf(*f), QRectF(200, 200, 100, 100));
    EXPECT_EQ(f->picture().size(), QSize(200, 200));
    EXPECT_EQ(int(desktop.cursor().shape()), int(Qt::ArrowCursor));
    EXPECT_TRUE(f->model().handlesVisible());
}

// A selection 4 pixels wide: handle columns 96, 98 and 100 overlap. Three matches
// start a new outline; two columns and no row grab the top handle of the last column.
struct NarrowCase {
    const char* name;
    QPointF press;
    QPointF to;
    QRectF shape;
    friend void PrintTo(const NarrowCase& c, std::ostream* out) { *out << c.name; }
};

class NarrowSelection : public testing::TestWithParam<NarrowCase>
{};

TEST_P(NarrowSelection, PicksTheHandleOrANewOutline)
{
    const NarrowCase& c = GetParam();
    auto f = loadedFixture();
    ASSERT_TRUE(f);
    MouseDrag(f->desktop(), QPointF(100, 100), QPointF(104, 200));
    MouseDrag(f->desktop(), c.press, c.to);
    EXPECT_EQ(shapeOf(*f), c.shape);
}

INSTANTIATE_TEST_SUITE_P(DesktopCopy, NarrowSelection,
                         testing::Values(NarrowCase{"two columns and a row: new outline", QPointF(99, 150),
                                                    QPointF(120, 160), QRectF(99, 150, 21, 10)},
                                         NarrowCase{"two columns, no row: top handle", QPointF(99, 90), QPointF(99, 80),
                                                    QRectF(100, 80, 4, 110)}),
                         PrintedCaseName());

// With the picture window hidden the handles cannot be grabbed; F3 brings both back.
TEST(DesktopCopy, HandleWhilePictureHidden)
{
    auto f = loadedFixture();
    ASSERT_TRUE(f);
    scrimble& desktop = f->desktop();
    MouseDrag(desktop, QPointF(200, 200), QPointF(300, 300));
    f->picture().close();
    ASSERT_FALSE(f->picture().isVisible());
    MouseDrag(desktop, QPointF(300, 300), QPointF(320, 310));
    EXPECT_EQ(shapeOf(*f), QRectF(300, 300, 20, 10));

    MouseDrag(desktop, QPointF(200, 200), QPointF(300, 300));
    f->picture().close();
    QTest::keyClick(&desktop, Qt::Key_F3);
    ASSERT_TRUE(f->picture().isVisible());
    EXPECT_EQ(f->picture().pos(), QPoint(0, 0));
    EXPECT_EQ(f->picture().size(), QSize(gazou::DesignWidth, gazou::DesignHeight));
    MouseDrag(desktop, QPointF(300, 300), QPointF(320, 310));
    EXPECT_EQ(shapeOf(*f), QRectF(200, 200, 120, 110));
}

// The outline and the handles are drawn over the copy on screen but never into it:
// the stored copy keeps the screen's pixels under them.
TEST(DesktopCopy, OverlayStaysOffTheCopy)
{
    auto f = loadedFixture();
    ASSERT_TRUE(f);
    scrimble& desktop = f->desktop();
    MouseDrag(desktop, QPointF(100, 100), QPointF(300, 200));
    for (const QPoint p : {QPoint(100, 100), QPoint(299, 150), QPoint(200, 199), QPoint(97, 97), QPoint(303, 203)})
        EXPECT_EQ(f->model().screen().row(p.y())[p.x()], PatternPixel(p.x(), p.y())) << p.x() << ',' << p.y();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));
    const auto shownAt = [](QPoint p) {
        return QGuiApplication::primaryScreen()->grabWindow(0, p.x(), p.y(), 1, 1).toImage().pixel(0, 0) & 0xFFFFFFu;
    };
    const auto blackOrWhite = [](std::uint32_t rgb) { return rgb == 0 || rgb == 0xFFFFFFu; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return blackOrWhite(shownAt(QPoint(299, 150))); }, 5000))
        << std::hex << shownAt(QPoint(299, 150));
    EXPECT_TRUE(blackOrWhite(shownAt(QPoint(200, 199)))) << std::hex << shownAt(QPoint(200, 199));
    EXPECT_EQ(shownAt(QPoint(150, 150)), PatternPixel(150, 150) & 0xFFFFFFu);
    EXPECT_EQ(shownAt(QPoint(200, 150)), 0u);  // inside the centre handle
}

TEST(DesktopCopy, FunctionKeys)
{
    auto f = loadedFixture();
    ASSERT_TRUE(f);
    MouseDrag(f->desktop(), QPointF(10, 10), QPointF(50, 50));
    f->panel().hide();
    f->picture().hide();
    QTest::keyClick(&f->desktop(), Qt::Key_F1);
    EXPECT_FALSE(f->panel().isVisible());
    EXPECT_FALSE(f->picture().isVisible());
    QTest::keyClick(&f->desktop(), Qt::Key_F2);
    EXPECT_TRUE(f->panel().isVisible());
    QTest::keyClick(&f->desktop(), Qt::Key_F3);
    ASSERT_TRUE(f->picture().isVisible());
    f->desktop().hide();
    QTest::keyClick(&f->picture(), Qt::Key_F1);
    EXPECT_TRUE(f->desktop().isVisible());
    f->panel().hide();
    QTest::keyClick(&f->picture(), Qt::Key_F2);
    EXPECT_TRUE(f->panel().isVisible());
    f->picture().hide();
    QTest::keyClick(&f->panel(), Qt::Key_F3);
    EXPECT_TRUE(f->picture().isVisible());
}

}  // namespace
