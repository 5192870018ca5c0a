#include "NumberField.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace {

// Full-width forms an input method types (U+FF01..U+FF5E) and the ideographic space
// become their ASCII forms, and the decimal digits of every script their ASCII digits.
QString narrowed(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(c.unicode() - 0xFF01 + u'!');
        else if (c.unicode() == 0x3000)
            c = u' ';
        else if (c.isDigit() && c.digitValue() >= 0)
            c = QChar(u'0' + c.digitValue());
    }
    return out;
}

// The locale reads group separators only where they group thousands; a field ignores
// them wherever they stand ("1,5" is 15), as users of the program expect.
QString withoutGroupSeparators(const QString& text, const QLocale& locale)
{
    QString out = text;
    return out.remove(locale.groupSeparator());
}

// Optional sign, then digits and group separators only: a plain integer, however long.
bool isDigitString(const QString& text, const QLocale& locale)
{
    const QString group = locale.groupSeparator();
    qsizetype i = (text.startsWith(u'-') || text.startsWith(u'+')) ? 1 : 0;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        if (text[i].isDigit())
            anyDigit = true;
        else if (!group.contains(text[i]))
            return false;
    }
    return anyDigit;
}

constexpr double Int64Limit = 9223372036854775808.0;  // 2^63, exact in a double

std::int64_t saturated(double integral)
{
    if (integral >= Int64Limit)
        return std::numeric_limits<std::int64_t>::max();
    if (integral < -Int64Limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(integral);
}

}  // namespace

namespace NumberField {

std::optional<double> parse(const QString& text, const QLocale& locale)
{
    const QString plain = narrowed(text).trimmed();
    // QLocale reads exponents, "inf" and "nan"; a number field takes no letters at all.
    if (plain.isEmpty() || std::any_of(plain.begin(), plain.end(), [](QChar c) { return c.isLetter(); }))
        return std::nullopt;
    bool ok = false;
    double value = locale.toDouble(plain, &ok);
    if (!ok)
        value = locale.toDouble(withoutGroupSeparators(plain, locale), &ok);
    if (ok && std::isfinite(value))
        return value;
    if (isDigitString(plain, locale))
        return plain.startsWith(u'-') ? -DBL_MAX : DBL_MAX;
    return std::nullopt;
}

std::int64_t floorToInt(double value) { return saturated(std::floor(value)); }

std::optional<std::int64_t> parseFloor(const QString& text)
{
    const std::optional<double> number = parse(text);
    return number ? std::optional(floorToInt(*number)) : std::nullopt;
}

std::int64_t roundHalfEven(double value)
{
    // nearbyint rounds by the current mode, which the program never changes from
    // round-to-nearest-even.
    return saturated(std::nearbyint(value));
}

std::int64_t clamp(std::int64_t value, std::int64_t lower, std::int64_t upper)
{
    return std::clamp(value, std::min(lower, upper), std::max(lower, upper));
}

QString formatPlain(std::int64_t value) { return QString::number(value); }

QString formatGrouped(std::int64_t value, const QLocale& locale)
{
    QLocale grouping = locale;
    grouping.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouping.toString(static_cast<qlonglong>(value));
}

}  // namespace NumberField
