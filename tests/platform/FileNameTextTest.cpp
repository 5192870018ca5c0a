// File-system names as text: whatever the bytes, text and back gives the same bytes,
// and UTF-8 reads as the characters it spells.
#include "platform/FileNameText.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* name;
    QByteArray bytes;
    QString text;  // as decoded
};

class FileNameTextCases : public testing::TestWithParam<NameCase>
{};

TEST_P(FileNameTextCases, DecodesAndGivesTheSameBytesBack)
{
    const NameCase& c = GetParam();
    const QString text = FileNameText::decode(c.bytes);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(FileNameText::encode(text), c.bytes);
}

QString escaped(std::initializer_list<char16_t> units)
{
    QString text;
    for (const char16_t unit : units)
        text += QChar(unit);
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTextCases,
    testing::Values(NameCase{"Ascii", "/home/u/Pictures", QStringLiteral("/home/u/Pictures")},
                    NameCase{"Utf8Japanese", "/home/u/\xe5\x86\x99\xe7\x9c\x9f", QStringLiteral("/home/u/写真")},
                    NameCase{"OutsideTheBasicPlane", "\xf0\x9f\x93\xb7", QStringLiteral("📷")},
                    NameCase{"ShiftJis", "/\x83\x58\x83\x4e", u'/' + escaped({0xDC83, u'X', 0xDC83, u'N'})},
                    NameCase{"OverlongSlash", "\xc0\xaf", escaped({0xDCC0, 0xDCAF})},
                    NameCase{"EncodedSurrogate", "\xed\xb2\x80", escaped({0xDCED, 0xDCB2, 0xDC80})},
                    NameCase{"CutCharacterAtTheEnd", "a\xe5\x86", u'a' + escaped({0xDCE5, 0xDC86})},
                    NameCase{"BeyondUnicode", "\xf4\x90\x80\x80", escaped({0xDCF4, 0xDC90, 0xDC80, 0xDC80})}),
    [](const testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

// Text typed by the user that happens to hold a paired surrogate in the escape range
// is a character, not an escaped byte.
TEST(FileNameText, PairedLowSurrogateIsNoEscape)
{
    const QString text = QString::fromUcs4(U"\U00010080");
    ASSERT_EQ(text.size(), 2);
    EXPECT_EQ(FileNameText::encode(text), QByteArray("\xf0\x90\x82\x80"));
}

}  // namespace
