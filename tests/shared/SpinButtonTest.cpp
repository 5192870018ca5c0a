#include "shared/SpinButton.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A window with one number field at 10,10 of 80x20 pixels.
struct Field {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLineEdit* edit = new QLineEdit(window.get());

    Field()
    {
        window->setLocale(QLocale(QLocale::English));
        QLocale::setDefault(QLocale(QLocale::English));
        window->resize(200, 100);
        edit->setGeometry(10, 10, 80, 20);
        window->show();
    }
};

QToolButton* arrow(SpinButton* spin, Qt::ArrowType type)
{
    for (QToolButton* button : spin->findChildren<QToolButton*>())
        if (button->arrowType() == type)
            return button;
    return nullptr;
}

struct StepCase {
    const char* name;
    std::int32_t lower;
    std::int32_t upper;
    std::int32_t position;
    const char* typed;  // nullptr: leave the text the spin button wrote
    Qt::ArrowType arrowType;
    int clicks;
    const char* expected;
    friend void PrintTo(const StepCase& c, std::ostream* out) { *out << c.name; }
};

class SpinStep : public ::testing::TestWithParam<StepCase>
{};

TEST_P(SpinStep, ClickingAnArrow)
{
    const StepCase& c = GetParam();
    Field field;
    SpinButton* spin = CreateSpinButton(field.window.get(), field.edit, c.upper, c.lower, c.position);
    ASSERT_NE(spin, nullptr);
    if (c.typed) {
        field.edit->clear();
        QTest::keyClicks(field.edit, QString::fromUtf8(c.typed));
    }
    for (int i = 0; i < c.clicks; ++i)
        QTest::mouseClick(arrow(spin, c.arrowType), Qt::LeftButton);
    EXPECT_EQ(field.edit->text(), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    SpinButton, SpinStep,
    ::testing::Values(StepCase{"UpAtUpperBoundStays", 0, 30, 30, nullptr, Qt::UpArrow, 1, "30"},
                      StepCase{"DownAtLowerBoundStays", 0, 30, 0, nullptr, Qt::DownArrow, 2, "0"},
                      StepCase{"UpToUpperThenStays", 50, 200, 198, nullptr, Qt::UpArrow, 5, "200"},
                      StepCase{"ThousandsSeparatorFrom1000", 1, 30000, 999, nullptr, Qt::UpArrow, 1, "1,000"},
                      StepCase{"NoSeparatorBelow1000", 1, 30000, 1000, nullptr, Qt::DownArrow, 1, "999"},
                      StepCase{"UpperBoundWithSeparator", 1, 30000, 29999, nullptr, Qt::UpArrow, 3, "30,000"},
                      StepCase{"StepsFromTypedNumber", 1, 30000, 500, "1999", Qt::UpArrow, 1, "2,000"},
                      StepCase{"StepsFromTypedGroupedNumber", 1, 30000, 500, "1,999", Qt::DownArrow, 1, "1,998"},
                      StepCase{"StepsFromTypedWithBlanks", 0, 1920, 0, " 7 ", Qt::DownArrow, 1, "6"},
                      StepCase{"StepsFromTypedFraction", 50, 200, 100, "75.9", Qt::UpArrow, 1, "76"},
                      StepCase{"TypedAboveUpperComesBack", 0, 255, 0, "5000", Qt::UpArrow, 1, "255"},
                      StepCase{"TypedBelowLowerComesBack", 1, 100, 60, "-20", Qt::DownArrow, 1, "1"},
                      StepCase{"NotANumberStepsFromLastPosition", 1, 30000, 500, "abc", Qt::UpArrow, 1, "501"},
                      StepCase{"TypedAtUpperLeftAsTyped", 0, 9, 0, "9.0", Qt::UpArrow, 1, "9.0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpinButton, ShowsInitialPositionAtTheFieldsRightEdge)
{
    Field field;
    SpinButton* spin = CreateSpinButton(field.window.get(), field.edit, 30000, 1, 500);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(field.edit->text(), QStringLiteral("500"));
    EXPECT_TRUE(spin->isVisible());
    EXPECT_EQ(spin->geometry().right(), 89) << "ends where the field ended";
    EXPECT_EQ(spin->geometry().top(), 10);
    EXPECT_EQ(spin->height(), 20);
    EXPECT_EQ(field.edit->geometry().right() + 1, spin->geometry().left()) << "the field gives up the width";
}

TEST(SpinButton, ParentMayBeAFrameAroundTheField)
{
    Field field;
    auto* frame = new QWidget(field.window.get());
    frame->setGeometry(20, 30, 150, 60);
    auto* edit = new QLineEdit(frame);
    edit->setGeometry(5, 5, 60, 20);
    SpinButton* spin = CreateSpinButton(frame, edit, 1920, 0, 1920);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->parentWidget(), frame);
    EXPECT_EQ(spin->geometry().right(), 64);
    EXPECT_EQ(edit->text(), QStringLiteral("1,920"));
}

TEST(SpinButton, DestroyRemovesOnlyTheArrows)
{
    Field field;
    CreateSpinButton(field.window.get(), field.edit, 30, 0, 0);
    ASSERT_NE(SpinButton::attachedTo(field.edit), nullptr);
    DestroySpinButton(field.edit);
    EXPECT_EQ(SpinButton::attachedTo(field.edit), nullptr);
    EXPECT_TRUE(field.window->findChildren<SpinButton*>().isEmpty());
    EXPECT_TRUE(field.edit->isVisible());
    DestroySpinButton(field.edit);  // nothing bound any more: no effect
    DestroySpinButton(nullptr);
}

TEST(SpinButton, MissingBuddyCreatesNothing)
{
    Field field;
    EXPECT_EQ(CreateSpinButton(field.window.get(), nullptr, 30, 0, 0), nullptr);
    EXPECT_EQ(CreateSpinButton(nullptr, field.edit, 30, 0, 0), nullptr);
    EXPECT_TRUE(field.window->findChildren<SpinButton*>().isEmpty());
}

TEST(SpinButton, OutlivedBuddyIsHarmless)
{
    Field field;
    SpinButton* spin = CreateSpinButton(field.window.get(), field.edit, 30, 0, 5);
    delete field.edit;
    spin->stepUp();
    EXPECT_EQ(spin->position(), 5);
}

}  // namespace
