// The desktop copy with real mouse input: drawing, resizing, moving and the release
// on a fake screen of known pixels (1024 x 768).

#include "DesktopCopyTest.h"

#include "CaptureFixture.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <memory>

namespace {

QStringList fieldTexts(CaptureFixture& f)
{
    return {f.field("sX").text(), f.field("sY").text(), f.field("eX").text(), f.field("eY").text()};
}

QRectF shapeOf(CaptureFixture& f)
{
    const ShapeRect& s = f.desktop().editor().shape();
    return {s.left, s.top, s.width, s.height};
}

std::unique_ptr<CaptureFixture> loadedFixture()
{
    auto f = std::make_unique<CaptureFixture>();
    if (f->load() != ModeOpenResult::Opened)
        return nullptr;
    return f;
}

}  // namespace

void DesktopCopyTest::drag_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRectF>("shape");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("up and left") << QPointF(300, 200) << QPointF(100, 50) << QRectF(100, 50, 200, 150)
                                 << QStringList{"100", "50", "300", "200"};
    QTest::newRow("down and right") << QPointF(100, 50) << QPointF(300, 200) << QRectF(100, 50, 200, 150)
                                    << QStringList{"100", "50", "300", "200"};
    QTest::newRow("past left and top stops at 0") << QPointF(300, 200) << QPointF(-40, -15)
                                                  << QRectF(0, 0, 300, 200) << QStringList{"0", "0", "300", "200"};
    QTest::newRow("past right and bottom not clamped") << QPointF(900, 700) << QPointF(1100, 900)
                                                       << QRectF(900, 700, 200, 200)
                                                       << QStringList{"900", "700", "1100", "900"};
    QTest::newRow("halves round to even") << QPointF(10.5, 11.5) << QPointF(20.5, 21.5)
                                          << QRectF(10, 12, 10, 10) << QStringList{"10", "12", "20", "22"};
    QTest::newRow("click without movement") << QPointF(50, 60) << QPointF(50, 60) << QRectF(50, 60, 0, 0)
                                            << QStringList{"50", "60", "50", "60"};
}

void DesktopCopyTest::drag()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QRectF, shape);
    QFETCH(QStringList, fields);
    auto f = loadedFixture();
    QVERIFY(f);
    MouseDrag(f->desktop(), from, to);
    QCOMPARE(shapeOf(*f), shape);
    QCOMPARE(fieldTexts(*f), fields);
    QVERIFY(f->picture().isVisible());
    QCOMPARE(f->picture().size(), shape.size().toSize());
    QVERIFY(f->desktop().handlesVisible());
}

// Handle drags on the committed selection (200, 200, 100, 100); the press lands 0..3
// pixels inside each handle.
void DesktopCopyTest::handleDrag_data()
{
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRectF>("shape");
    QTest::addColumn<int>("cursor");
    QTest::newRow("bottom right flips past the left edge")
        << QPointF(300, 300) << QPointF(150, 300) << QRectF(150, 200, 50, 100) << int(Qt::SizeFDiagCursor);
    QTest::newRow("left handle, right edge shifts by the press offset")
        << QPointF(198, 250) << QPointF(150, 250) << QRectF(150, 200, 148, 100) << int(Qt::SizeHorCursor);
    QTest::newRow("top handle dragged below the bottom")
        << QPointF(250, 200) << QPointF(250, 350) << QRectF(200, 300, 100, 50) << int(Qt::SizeVerCursor);
    QTest::newRow("centre moves off the screen")
        << QPointF(250, 250) << QPointF(-200, 250) << QRectF(-250, 200, 100, 100) << int(Qt::SizeAllCursor);
    QTest::newRow("leftmost column of a handle starts a new outline")
        << QPointF(196, 250) << QPointF(196, 250) << QRectF(196, 250, 0, 0) << int(Qt::ArrowCursor);
    QTest::newRow("top row of a handle starts a new outline")
        << QPointF(300, 196) << QPointF(310, 206) << QRectF(300, 196, 10, 10) << int(Qt::ArrowCursor);
    QTest::newRow("move back to the press point keeps the selection")
        << QPointF(300, 300) << QPointF(300, 300) << QRectF(200, 200, 100, 100) << int(Qt::SizeFDiagCursor);
}

void DesktopCopyTest::handleDrag()
{
    QFETCH(QPointF, press);
    QFETCH(QPointF, to);
    QFETCH(QRectF, shape);
    QFETCH(int, cursor);
    auto f = loadedFixture();
    QVERIFY(f);
    scrimble& desktop = f->desktop();
    MouseDrag(desktop, QPointF(200, 200), QPointF(300, 300));
    MousePress(desktop, press);
    QVERIFY(!desktop.handlesVisible());
    MouseMove(desktop, to);
    QCOMPARE(int(desktop.cursor().shape()), cursor);
    MouseRelease(desktop, to);
    QCOMPARE(shapeOf(*f), shape);
    QCOMPARE(int(desktop.cursor().shape()), int(Qt::ArrowCursor));
    QVERIFY(desktop.handlesVisible());
    const QRectF& s = shape;
    QCOMPARE(fieldTexts(*f), (QStringList{QString::number(s.left()), QString::number(s.top()),
                                          QString::number(s.right()), QString::number(s.bottom())}));
}

// A click on a handle without any movement keeps the selection and refreshes the
// picture, here at a magnification committed since the last release.
void DesktopCopyTest::clickOnHandle()
{
    auto f = loadedFixture();
    QVERIFY(f);
    scrimble& desktop = f->desktop();
    MouseDrag(desktop, QPointF(200, 200), QPointF(300, 300));
    QVERIFY(TypeAndCommit(f->panel(), f->field("Text2"), QStringLiteral("200")));
    MousePress(desktop, QPointF(250, 250));
    MouseRelease(desktop, QPointF(250, 250));
    QCOMPARE(shapeOf(*f), QRectF(200, 200, 100, 100));
    QCOMPARE(f->picture().size(), QSize(200, 200));
    QCOMPARE(int(desktop.cursor().shape()), int(Qt::ArrowCursor));
    QVERIFY(desktop.handlesVisible());
}

// A selection 4 pixels wide: handle columns 96, 98 and 100 overlap. Three matches
// start a new outline; two columns and no row grab the top handle of the last column.
void DesktopCopyTest::narrowSelection_data()
{
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRectF>("shape");
    QTest::newRow("two columns and a row: new outline") << QPointF(99, 150) << QPointF(120, 160)
                                                        << QRectF(99, 150, 21, 10);
    QTest::newRow("two columns, no row: top handle") << QPointF(99, 90) << QPointF(99, 80)
                                                     << QRectF(100, 80, 4, 110);
}

void DesktopCopyTest::narrowSelection()
{
    QFETCH(QPointF, press);
    QFETCH(QPointF, to);
    QFETCH(QRectF, shape);
    auto f = loadedFixture();
    QVERIFY(f);
    MouseDrag(f->desktop(), QPointF(100, 100), QPointF(104, 200));
    MouseDrag(f->desktop(), press, to);
    QCOMPARE(shapeOf(*f), shape);
}

// With the picture window hidden the handles cannot be grabbed; F3 brings both back.
void DesktopCopyTest::handleWhilePictureHidden()
{
    auto f = loadedFixture();
    QVERIFY(f);
    scrimble& desktop = f->desktop();
    MouseDrag(desktop, QPointF(200, 200), QPointF(300, 300));
    f->picture().close();
    QVERIFY(!f->picture().isVisible());
    MouseDrag(desktop, QPointF(300, 300), QPointF(320, 310));
    QCOMPARE(shapeOf(*f), QRectF(300, 300, 20, 10));

    MouseDrag(desktop, QPointF(200, 200), QPointF(300, 300));
    f->picture().close();
    QTest::keyClick(&desktop, Qt::Key_F3);
    QVERIFY(f->picture().isVisible());
    QCOMPARE(f->picture().pos(), QPoint(0, 0));
    QCOMPARE(f->picture().size(), QSize(gazou::DesignWidth, gazou::DesignHeight));
    MouseDrag(desktop, QPointF(300, 300), QPointF(320, 310));
    QCOMPARE(shapeOf(*f), QRectF(200, 200, 120, 110));
}

// The outline and the handles are drawn over the copy on screen but never into it:
// the stored copy keeps the screen's pixels under them.
void DesktopCopyTest::overlayStaysOffTheCopy()
{
    auto f = loadedFixture();
    QVERIFY(f);
    scrimble& desktop = f->desktop();
    MouseDrag(desktop, QPointF(100, 100), QPointF(300, 200));
    for (const QPoint p : {QPoint(100, 100), QPoint(299, 150), QPoint(200, 199), QPoint(97, 97), QPoint(303, 203)})
        QCOMPARE(desktop.surface().row(p.y())[p.x()], PatternPixel(p.x(), p.y()));
    QVERIFY(QTest::qWaitForWindowExposed(&desktop));
    const auto shownAt = [](QPoint p) {
        return QGuiApplication::primaryScreen()->grabWindow(0, p.x(), p.y(), 1, 1).toImage().pixel(0, 0) & 0xFFFFFFu;
    };
    const auto blackOrWhite = [](std::uint32_t rgb) { return rgb == 0 || rgb == 0xFFFFFFu; };
    QTRY_VERIFY(blackOrWhite(shownAt(QPoint(299, 150))));
    QVERIFY(blackOrWhite(shownAt(QPoint(200, 199))));
    QCOMPARE(shownAt(QPoint(150, 150)), PatternPixel(150, 150) & 0xFFFFFFu);
    QCOMPARE(shownAt(QPoint(200, 150)), 0u);  // inside the centre handle
}

void DesktopCopyTest::functionKeys()
{
    auto f = loadedFixture();
    QVERIFY(f);
    MouseDrag(f->desktop(), QPointF(10, 10), QPointF(50, 50));
    f->panel().hide();
    f->picture().hide();
    QTest::keyClick(&f->desktop(), Qt::Key_F1);
    QVERIFY(!f->panel().isVisible());
    QVERIFY(!f->picture().isVisible());
    QTest::keyClick(&f->desktop(), Qt::Key_F2);
    QVERIFY(f->panel().isVisible());
    QTest::keyClick(&f->desktop(), Qt::Key_F3);
    QVERIFY(f->picture().isVisible());
    f->desktop().hide();
    QTest::keyClick(&f->picture(), Qt::Key_F1);
    QVERIFY(f->desktop().isVisible());
    f->panel().hide();
    QTest::keyClick(&f->picture(), Qt::Key_F2);
    QVERIFY(f->panel().isVisible());
    f->picture().hide();
    QTest::keyClick(&f->panel(), Qt::Key_F3);
    QVERIFY(f->picture().isVisible());
}
