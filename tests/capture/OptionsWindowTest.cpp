// The options window driven as the user drives it; the number rules themselves are
// tables of the logic tests.

#include "OptionsWindowTest.h"

#include "CaptureFixture.h"
#include "Opt.h"
#include "X11Desktop.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

namespace {

Opt& openOptions(CaptureFixture& f)
{
    QTest::mouseClick(PanelButton(f.panel(), "Command8"), Qt::LeftButton);
    return *TopLevel<Opt>();
}

template <typename Widget>
Widget* child(Opt& window, const char* name)
{
    return window.findChild<Widget*>(QString::fromLatin1(name));
}

QRadioButton* option(Opt& window, const char* group, int index)
{
    for (QRadioButton* button : window.findChildren<QRadioButton*>(QString::fromLatin1(group)))
        if (button->property("index").toInt() == index)
            return button;
    return nullptr;
}

// A click on the option button's round indicator, which a wide button's middle may miss.
void choose(Opt& window, const char* group, int index)
{
    QRadioButton* button = option(window, group, index);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Types text over the field's text and moves the focus on, as a user leaving the field.
bool typeInto(Opt& window, QLineEdit* field, const QString& text)
{
    window.activateWindow();
    if (!QTest::qWaitFor([&] { return window.isActiveWindow(); }, 5000))
        return false;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
    return true;
}

}  // namespace

void OptionsWindowTest::opensFromTheButtonAndF5_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Command8") << false;
    QTest::newRow("F5 on the desktop copy") << true;
}

void OptionsWindowTest::opensFromTheButtonAndF5()
{
    QFETCH(bool, byKey);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    if (byKey)
        QTest::keyClick(&f.desktop(), Qt::Key_F5);
    else
        QTest::mouseClick(PanelButton(f.panel(), "Command8"), Qt::LeftButton);
    QVERIFY(TopLevel<Opt>() && TopLevel<Opt>()->isVisible());
    QCOMPARE(TopLevel<Opt>()->windowTitle(), QStringLiteral("各種設定"));
}

// Each field's rule, typed key by key, reaches the options, the field's text and its
// slider (the rules' rows are the logic test's).
void OptionsWindowTest::numberFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::newRow("grey -4") << "Text1" << "-4" << 0;
    QTest::newRow("quality 2.5") << "Text2" << "2.5" << 2;
    QTest::newRow("level 12") << "Text3" << "12" << 9;
    QTest::newRow("gamma letters") << "Text4" << "abc" << 0;
}

void OptionsWindowTest::numberFields()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(int, value);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.options.PngDetailed = 1;
    Opt& window = openOptions(f);
    auto* text = child<QLineEdit>(window, qPrintable(field));
    QVERIFY(typeInto(window, text, typed));
    const int stored = field == u"Text1" ? f.options.GrayStrength
                       : field == u"Text2" ? f.options.JpegQuality
                       : field == u"Text3" ? f.options.PngCompression
                                           : f.options.PngGamma;
    QCOMPARE(stored, value);
    QCOMPARE(text->text(), QString::number(value));
    QCOMPARE(child<QSlider>(window, qPrintable(QStringLiteral("Slider") + field.back()))->value(), value);
}

void OptionsWindowTest::gammaPresetsAndReset()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.options.PngDetailed = 1;
    Opt& window = openOptions(f);
    QTest::mouseClick(child<QPushButton>(window, "Command2"), Qt::LeftButton);
    QCOMPARE(f.options.PngGamma, 55556);
    QCOMPARE(child<QSlider>(window, "Slider4")->value(), 55556);
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    QCOMPARE(f.options.PngGamma, 45455);
    f.options.JpegProgressive = OptionTrue;
    choose(window, "Option4", 2);
    QTest::mouseClick(child<QPushButton>(window, "Command3"), Qt::LeftButton);
    QCOMPARE(f.options.PngCompression, std::int16_t{5});
    QCOMPARE(f.options.BitDepth, ColorDepth::Bits24);
    QCOMPARE(f.options.PngDetailed, std::int16_t{0});
    QCOMPARE(f.options.JpegProgressive, OptionTrue);
    QVERIFY(option(window, "Option4", 0)->isChecked());
    QVERIFY(!child<QGroupBox>(window, "Frame7")->isEnabled());
}

// The 8-bit group is enabled exactly at 8 bits, and keeps its choices meanwhile.
void OptionsWindowTest::eightBitGroupFollowsTheBitDepth()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    Opt& window = openOptions(f);
    auto* group = child<QGroupBox>(window, "Frame1");
    QVERIFY(!group->isEnabled());
    choose(window, "Option4", 2);
    QVERIFY(group->isEnabled());
    choose(window, "Option2", 1);
    choose(window, "Option4", 1);
    QVERIFY(!group->isEnabled());
    choose(window, "Option4", 0);
    QVERIFY(!group->isEnabled());
    choose(window, "Option4", 2);
    QVERIFY(group->isEnabled());
    QVERIFY(option(window, "Option2", 1)->isChecked());
    QCOMPARE(f.options.BoxColorMethod, std::int16_t{1});
}

void OptionsWindowTest::reopeningShowsTheSameAndKeepsTheGamma()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    Opt& window = openOptions(f);
    choose(window, "Option4", 2);
    choose(window, "Option3", 2);
    choose(window, "Option5", 1);
    QVERIFY(typeInto(window, child<QLineEdit>(window, "Text4"), QStringLiteral("12345")));
    const OutputOptions before = f.options;
    QTest::mouseClick(child<QPushButton>(window, "Command4"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    Opt& again = openOptions(f);
    QVERIFY(SameOptions(f.options, before));
    QVERIFY(option(again, "Option3", 2)->isChecked() && option(again, "Option5", 1)->isChecked());
    QCOMPARE(child<QLineEdit>(again, "Text4")->text(), QStringLiteral("12345"));
}

// Command5 refreshes the picture with the grey step and keeps this window in front.
void OptionsWindowTest::refreshKeepsItInFront()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(f.type({{"sX", "10"}, {"sY", "10"}, {"eX", "110"}, {"eY", "60"}}));
    Opt& window = openOptions(f);
    QVERIFY(typeInto(window, child<QLineEdit>(window, "Text1"), QStringLiteral("255")));
    QTest::mouseClick(child<QPushButton>(window, "Command5"), Qt::LeftButton);
    QCOMPARE(f.picture().size(), QSize(100, 50));
    const std::uint32_t pixel = f.picture().surface().row(20)[30];
    QCOMPARE((pixel >> 16) & 0xFFu, pixel & 0xFFu);
    QTRY_VERIFY(X11Desktop::isAbove(window, f.picture()) && X11Desktop::isAbove(window, f.panel()));
}

// With none of its controls holding the focus, the window closes when it loses it.
void OptionsWindowTest::losingTheFocusClosesIt()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    Opt& window = openOptions(f);
    QTRY_VERIFY(window.isActiveWindow());
    if (QWidget* focused = window.focusWidget())
        focused->clearFocus();
    f.panel().activateWindow();
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(!window.isLoaded());
}

void OptionsWindowTest::newCaptureHidesIt()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    Opt& window = openOptions(f);
    QPushButton* clear = PanelButton(f.panel(), "Command3");
    clear->click();
    clear->click();
    QVERIFY(!window.isVisible());
    QVERIFY(window.isLoaded());
}
