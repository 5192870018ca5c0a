// The save's rules without windows: what the dialog remembers, which encoder a filter
// and a name mean, and which selections can be saved.
#include "ImageOutput.h"

#include "CaseName.h"
#include "SelectionGeometry.h"

#include <gtest/gtest.h>

namespace {

struct MemoryCase {
    const char* fileName;
    int filterIndex;
    const char* proposed;   // the name the next dialog proposes
    const char* extension;  // its default extension, "jpg" before
};

class RememberSaveTest : public testing::TestWithParam<MemoryCase>
{};

TEST_P(RememberSaveTest, ProposesTheNameWithoutItsExtension)
{
    SaveDialogMemory memory;
    RememberSave(memory, QString::fromUtf8(GetParam().fileName), GetParam().filterIndex);
    EXPECT_EQ(memory.fileName, QString::fromUtf8(GetParam().proposed));
    EXPECT_EQ(memory.filterIndex, GetParam().filterIndex);
    EXPECT_EQ(memory.defaultExtension, QString::fromUtf8(GetParam().extension));
}

INSTANTIATE_TEST_SUITE_P(Saves, RememberSaveTest,
                         testing::Values(MemoryCase{"/home/u/photo.old.png", 3, "/home/u/photo.old", "png"},
                                         MemoryCase{"/tmp/a.b/shot", 1, "/tmp/a.b/shot", "bmp"},
                                         MemoryCase{"/tmp/a.b/shot.jpeg", 2, "/tmp/a.b/shot", "jpg"},
                                         MemoryCase{"/tmp/.hidden", 2, "/tmp/.hidden", "jpg"},
                                         MemoryCase{"/x/y.png", AllFilesFilter, "/x/y", "jpg"}),
                         [](const auto& c) { return CaseName(c.param.fileName, c.param.filterIndex); });

struct FormatCase {
    int filterIndex;
    const char* fileName;
    std::optional<SaveFormat> format;
};

class FormatOfSaveTest : public testing::TestWithParam<FormatCase>
{};

TEST_P(FormatOfSaveTest, FilterDecidesAndAllFilesGoesByExtension)
{
    EXPECT_EQ(FormatOfSave(GetParam().filterIndex, QString::fromUtf8(GetParam().fileName)), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FormatOfSaveTest,
    testing::Values(FormatCase{1, "a.png", SaveFormat::Bmp}, FormatCase{2, "a", SaveFormat::Jpeg},
                    FormatCase{3, "a.bmp", SaveFormat::Png}, FormatCase{4, "a.BMP", SaveFormat::Bmp},
                    FormatCase{4, "a.jpe", SaveFormat::Jpeg}, FormatCase{4, "a.JPEG", SaveFormat::Jpeg},
                    FormatCase{4, "b.jpg", SaveFormat::Jpeg}, FormatCase{4, "a.png", SaveFormat::Png},
                    FormatCase{4, "a.gif", std::nullopt}, FormatCase{4, "png", std::nullopt}),
    [](const auto& c) { return CaseName(c.param.filterIndex, c.param.fileName); });

struct SelectionCase {
    bool visible;
    double width;
    double height;
    bool savable;
};

class SavableSelectionTest : public testing::TestWithParam<SelectionCase>
{};

TEST_P(SavableSelectionTest, VisibleAndAtLeastTwoPixelsOneWay)
{
    const ShapeRect shape{10, 10, GetParam().width, GetParam().height, GetParam().visible};
    EXPECT_EQ(IsSavableSelection(shape), GetParam().savable);
}

INSTANTIATE_TEST_SUITE_P(Selections, SavableSelectionTest,
                         testing::Values(SelectionCase{false, 500, 500, false}, SelectionCase{true, 1, 1, false},
                                         SelectionCase{true, 1, 2, true}, SelectionCase{true, 2, 1, true},
                                         SelectionCase{true, 0, 0, false}),
                         [](const auto& c) {
                             return CaseName(c.param.visible ? "shown" : "hidden", c.param.width, c.param.height);
                         });

}  // namespace

namespace {

struct GreyCase {
    const char* name;
    int strength;
    DibError error;
    bool kept;
};

class GreyedSourceTest : public testing::TestWithParam<GreyCase>
{};

// A grey step that fails leaves nothing to save, and says why.
TEST_P(GreyedSourceTest, KeepsTheImageOnlyWhenTheGreyStepWorked)
{
    const GreyCase& c = GetParam();
    DeviceContext picture(8, 4);
    picture.fill(0xFF336699);
    const SaveSource source = GreyedSource(DCtoDIB(picture, 0, 0, 8, 4), c.strength);
    EXPECT_EQ(source.status.error, c.error);
    EXPECT_EQ(static_cast<bool>(source.image), c.kept);
}

INSTANTIATE_TEST_SUITE_P(Strengths, GreyedSourceTest,
                         testing::Values(GreyCase{"None", 0, DibError::None, true},
                                         GreyCase{"Full", 255, DibError::None, true},
                                         GreyCase{"AboveFull", 256, DibError::BadArgument, false},
                                         GreyCase{"Negative", -1, DibError::BadArgument, false}),
                         OwnCaseName());

TEST(GreyedSource, NoImageIsAFailure) { EXPECT_EQ(GreyedSource(0, 128).status.error, DibError::BadHandle); }

}  // namespace
