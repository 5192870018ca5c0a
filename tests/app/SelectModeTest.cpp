// The chooser driven as a user drives it, against a host that stands in for the modes;
// the outcome is read from Set.ini on disk.
#include "shared/ModeHost.h"
#include "app/SelectMode.h"
#include "shared/Settings.h"

#include "TestFiles.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

enum class Opened { None, Desktop, PrintScreen };

// The chooser's control of that name, as its form file names it.
template<typename Control>
Control* child(const QWidget* chooser, const char* name)
{
    return chooser->findChild<Control*>(QString::fromLatin1(name));
}

class FakeHost final : public ModeHost
{
public:
    explicit FakeHost(QString settingsPath) : m_settingsPath(std::move(settingsPath)) {}

    ModeOpenResult result = ModeOpenResult::Opened;
    Opened opened = Opened::None;
    bool settingsExistedAtOpen = false;
    bool chooserVisibleAtOpen = false;
    QPointer<SelectMode> chooser;

    ModeOpenResult openDesktopCapture() override { return open(Opened::Desktop); }
    ModeOpenResult openPrintScreenSave() override { return open(Opened::PrintScreen); }
    void returnToModeChooser() override {}
    void endProgram() override {}

private:
    ModeOpenResult open(Opened mode)
    {
        opened = mode;
        settingsExistedAtOpen = QFile::exists(m_settingsPath);
        chooserVisibleAtOpen = chooser && chooser->isVisible();
        return result;
    }
    QString m_settingsPath;
};

class SelectModeTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("Set.ini"));
    Settings m_settings{m_path};
    FakeHost m_host{m_path};

    void writeFile(const QByteArray& contents) const { ASSERT_TRUE(writeTestFile(m_path, contents)); }
    [[nodiscard]] std::optional<QByteArray> fileContents() const { return readTestFile(m_path); }
    // A fresh chooser, loaded as at program start.
    QPointer<SelectMode> startChooser()
    {
        auto* chooser = new SelectMode(m_host, m_settings);
        m_host.chooser = chooser;
        chooser->load();
        return chooser;
    }
    static void waitGone(const QPointer<SelectMode>& chooser) { QTRY_VERIFY(chooser.isNull()); }
    static void clickOption(QRadioButton* option)
    {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }
};

TEST_F(SelectModeTest, NoSettingsFileShowsChooserWithDefaults)
{
    const QPointer<SelectMode> chooser = startChooser();
    ASSERT_FALSE(chooser.isNull());
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_TRUE(child<QRadioButton>(chooser, "Option1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(chooser, "Option2")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(chooser, "Check1")->isChecked());
    EXPECT_EQ(m_host.opened, Opened::None);
    EXPECT_FALSE(fileContents().has_value()) << "loading writes nothing";
    delete chooser.data();
}

struct LoadCase {
    const char* name;
    const char* file;
    Opened opened;  // None: the chooser shows itself
    friend void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.name; }
};

class ChooserLoad : public SelectModeTest, public ::testing::WithParamInterface<LoadCase>
{};

TEST_P(ChooserLoad, OpensStoredModeOrShowsItself)
{
    writeFile(GetParam().file);
    const QPointer<SelectMode> chooser = startChooser();
    EXPECT_EQ(m_host.opened, GetParam().opened);
    EXPECT_EQ(fileContents(), QByteArray(GetParam().file)) << "loading writes nothing";
    if (GetParam().opened == Opened::None) {
        ASSERT_FALSE(chooser.isNull());
        EXPECT_TRUE(chooser->isVisible());
        EXPECT_TRUE(child<QRadioButton>(chooser, "Option1")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(chooser, "Check1")->isChecked());
        delete chooser.data();
        return;
    }
    EXPECT_FALSE(m_host.chooserVisibleAtOpen) << "the user never sees the chooser";
    waitGone(chooser);
}

INSTANTIATE_TEST_SUITE_P(
    SelectMode, ChooserLoad,
    ::testing::Values(LoadCase{"DesktopDirect", "[Start]\nBoolean=1\nMode=1\n", Opened::Desktop},
                      LoadCase{"NoModeKey", "[Start]\nBoolean=1\n", Opened::PrintScreen},
                      LoadCase{"ModeZero", "[Start]\nBoolean=1\nMode=0\n", Opened::PrintScreen},
                      LoadCase{"ModeTwo", "[Start]\nBoolean=1\nMode=2\n", Opened::PrintScreen},
                      LoadCase{"ModeNotNumeric", "[Start]\nBoolean=1\nMode=desktop\n", Opened::PrintScreen},
                      LoadCase{"BooleanTwo", "[Start]\nBoolean=2\nMode=1\n", Opened::None},
                      LoadCase{"BooleanZero", "[Start]\nBoolean=0\nMode=1\n", Opened::None},
                      LoadCase{"BooleanNotNumeric", "[Start]\nBoolean=yes\nMode=1\n", Opened::None},
                      LoadCase{"OtherSectionOnly", "[PrtScSave]\nBoolean=1\n", Opened::None}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectModeTest, StoredModeThatCannotOpenShowsChooser)
{
    writeFile("[Start]\nBoolean=1\nMode=1\n");
    m_host.result = ModeOpenResult::NotOpened;
    const QPointer<SelectMode> chooser = startChooser();
    EXPECT_EQ(m_host.opened, Opened::Desktop);
    ASSERT_FALSE(chooser.isNull());
    EXPECT_TRUE(chooser->isVisible());
    delete chooser.data();
}

struct OkCase {
    const char* name;
    bool pickPrintScreen;
    bool tick;
    Opened opened;
    const char* written;
    friend void PrintTo(const OkCase& c, std::ostream* out) { *out << c.name; }
};

class ChooserOk : public SelectModeTest, public ::testing::WithParamInterface<OkCase>
{};

TEST_P(ChooserOk, WritesBothKeysAfterTheModeLoaded)
{
    const OkCase& c = GetParam();
    const QPointer<SelectMode> chooser = startChooser();
    ASSERT_FALSE(chooser.isNull());
    if (c.pickPrintScreen)
        clickOption(child<QRadioButton>(chooser, "Option2"));
    if (c.tick)
        QTest::mouseClick(child<QCheckBox>(chooser, "Check1"), Qt::LeftButton, {},
                          QPoint(8, child<QCheckBox>(chooser, "Check1")->height() / 2));
    EXPECT_EQ(child<QRadioButton>(chooser, "Option1")->isChecked(), !c.pickPrintScreen);
    EXPECT_EQ(child<QCheckBox>(chooser, "Check1")->isChecked(), c.tick);
    QTest::mouseClick(child<QPushButton>(chooser, "Command1"), Qt::LeftButton);

    EXPECT_EQ(m_host.opened, c.opened);
    EXPECT_FALSE(m_host.chooserVisibleAtOpen) << "hidden before the mode opens";
    EXPECT_FALSE(m_host.settingsExistedAtOpen) << "keys are written after the mode's load";
    EXPECT_EQ(fileContents(), QByteArray(c.written));
    waitGone(chooser);
}

INSTANTIATE_TEST_SUITE_P(
    SelectMode, ChooserOk,
    ::testing::Values(OkCase{"PrintScreenTicked", true, true, Opened::PrintScreen, "[Start]\nBoolean=1\nMode=0\n"},
                      OkCase{"PrintScreenUnticked", true, false, Opened::PrintScreen, "[Start]\nBoolean=0\nMode=0\n"},
                      OkCase{"DesktopTicked", false, true, Opened::Desktop, "[Start]\nBoolean=1\nMode=1\n"},
                      OkCase{"DesktopUnticked", false, false, Opened::Desktop, "[Start]\nBoolean=0\nMode=1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectModeTest, TickedPrintScreenOpensDirectlyAtNextStart)
{
    QPointer<SelectMode> chooser = startChooser();
    clickOption(child<QRadioButton>(chooser, "Option2"));
    QTest::mouseClick(child<QCheckBox>(chooser, "Check1"), Qt::LeftButton, {},
                      QPoint(8, child<QCheckBox>(chooser, "Check1")->height() / 2));
    QTest::mouseClick(child<QPushButton>(chooser, "Command1"), Qt::LeftButton);
    waitGone(chooser);

    m_host.opened = Opened::None;
    chooser = startChooser();
    EXPECT_EQ(m_host.opened, Opened::PrintScreen);
    waitGone(chooser);
}

TEST_F(SelectModeTest, OkKeepsOtherSectionsAndCommentsByteForByte)
{
    const QByteArray before = "; written by hand\r\n[PrtScSave]\r\nFolderPath=/home/u/スクショ\r\n\r\n"
                              "[start]\r\nmode = 1 ; old\r\n\r\n[PrintScSave]\r\nFilePath=Shot_###";
    writeFile(before);
    const QPointer<SelectMode> chooser = startChooser();
    clickOption(child<QRadioButton>(chooser, "Option2"));
    QTest::mouseClick(child<QPushButton>(chooser, "Command1"), Qt::LeftButton);
    EXPECT_EQ(fileContents(), QByteArray("; written by hand\r\n[PrtScSave]\r\nFolderPath=/home/u/スクショ\r\n\r\n"
                                         "[start]\r\nmode=0\r\nBoolean=0\r\n\r\n[PrintScSave]\r\nFilePath=Shot_###"));
    waitGone(chooser);
}

TEST_F(SelectModeTest, ModeThatDoesNotOpenWritesNothingAndChooserStays)
{
    m_host.result = ModeOpenResult::NotOpened;
    const QPointer<SelectMode> chooser = startChooser();
    QTest::mouseClick(child<QPushButton>(chooser, "Command1"), Qt::LeftButton);
    EXPECT_EQ(m_host.opened, Opened::Desktop);
    EXPECT_FALSE(fileContents().has_value());
    ASSERT_FALSE(chooser.isNull());
    EXPECT_TRUE(chooser->isVisible());
    delete chooser.data();
}

TEST_F(SelectModeTest, SecondInstanceEndingWritesNothing)
{
    m_host.result = ModeOpenResult::ProgramEnding;
    const QPointer<SelectMode> chooser = startChooser();
    QTest::mouseClick(child<QPushButton>(chooser, "Command1"), Qt::LeftButton);
    EXPECT_FALSE(fileContents().has_value());
    waitGone(chooser);
}

TEST_F(SelectModeTest, CloseButtonWritesNothingAndOpensNothing)
{
    const QPointer<SelectMode> chooser = startChooser();
    clickOption(child<QRadioButton>(chooser, "Option2"));
    chooser->close();
    waitGone(chooser);
    EXPECT_EQ(m_host.opened, Opened::None);
    EXPECT_FALSE(fileContents().has_value());
}

struct Control {
    QWidget* widget;
    QString text;
    QRect geometry;  // pixels, in the parent
    QWidget* parent;
};

QString shownText(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    return qobject_cast<const QGroupBox*>(widget)->title();
}

std::vector<Control> controlsOf(SelectMode* c)
{
    QGroupBox* frame = child<QGroupBox>(c, "Frame1");
    return {
        {frame, QStringLiteral("機能セレクト"), {8, 8, 289, 153}, c},
        {child<QRadioButton>(c, "Option1"), QStringLiteral("デスクトップキャプチャ"), {8, 16, 257, 17}, frame},
        {child<QLabel>(c, "Label1"),
         QStringLiteral("Scrimbleの通常機能です。画像を取得、範囲を選択、保存します。"),
         {16, 40, 265, 33},
         frame},
        {child<QRadioButton>(c, "Option2"), QStringLiteral("プリントスクリーンセーブ"), {8, 80, 257, 17}, frame},
        {child<QLabel>(c, "Label2"),
         QStringLiteral("プリントスクリーンボタンを押してデスクトップ画像を取得すると自動的にファイルに保存されます。"
                        "そのためいちいち画像編集ソフトを起動して保存する手間が省けます。"),
         {16, 104, 265, 41},
         frame},
        {child<QCheckBox>(c, "Check1"), QStringLiteral("起動時にデフォルトとして使用する。"), {16, 168, 209, 25}, c},
        {child<QPushButton>(c, "Command1"), QStringLiteral("OK(&O)"), {232, 168, 65, 25}, c},
    };
}

TEST_F(SelectModeTest, LayoutAndTexts)
{
    const QPointer<SelectMode> chooser = startChooser();
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Scrimble"));
    EXPECT_EQ(chooser->size(), QSize(310, 197));
    EXPECT_EQ(chooser->minimumSize(), chooser->maximumSize()) << "not resizable";
    for (const Control& control : controlsOf(chooser)) {
        EXPECT_EQ(shownText(control.widget), control.text);
        EXPECT_EQ(control.widget->geometry(), control.geometry) << control.text.toStdString();
        EXPECT_EQ(control.widget->parentWidget(), control.parent) << control.text.toStdString();
    }
    delete chooser.data();
}

TEST_F(SelectModeTest, JapaneseTextsHaveGlyphs)
{
    const QPointer<SelectMode> chooser = startChooser();
    EXPECT_TRUE(child<QLabel>(chooser, "Label1")->font().families().contains(QStringLiteral("ＭＳ Ｐゴシック")));
    for (const Control& control : controlsOf(chooser)) {
        const QFontMetrics metrics(control.widget->font());
        for (const char32_t c : control.text.toUcs4())
            EXPECT_TRUE(metrics.inFontUcs4(c)) << "no glyph for U+" << std::hex << static_cast<unsigned>(c);
    }
    delete chooser.data();
}

TEST_F(SelectModeTest, LabelTextsFitTheirBoxes)
{
    const QPointer<SelectMode> chooser = startChooser();
    for (const QLabel* label : {child<QLabel>(chooser, "Label1"), child<QLabel>(chooser, "Label2")}) {
        const QRect box(QPoint(0, 0), label->size());
        const QRect needed = QFontMetrics(label->font()).boundingRect(box, Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.height(), box.height()) << label->objectName().toStdString();
        EXPECT_GE(label->font().pointSizeF(), 6.0);
    }
    delete chooser.data();
}

}  // namespace
