#pragma once
// Reading and writing the windows' number fields. A field's text is a decimal number
// by the locale's rules: group separators are ignored wherever they stand ("1,024" is
// 1024, "1,5" is 15), blanks around it are ignored, full-width digits, signs,
// separators and blanks (as an input method types them) count as their ASCII forms,
// and so do the decimal digits of other scripts ("٣٠٠" is 300). Exponents ("1e3"),
// "inf" and "nan" are not numbers. Each window decides what a text that is not a
// number does.

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

namespace NumberField {

// nullopt: the text is not a number. Digits too many for a double give
// +-DBL_MAX, so that clamping still sends them to the nearest bound.
[[nodiscard]] std::optional<double> parse(const QString& text, const QLocale& locale = QLocale());

// Largest integer not above value, saturated to the int64 range.
[[nodiscard]] std::int64_t floorToInt(double value);
// The text read as a number and rounded down; nullopt when it is not a number.
[[nodiscard]] std::optional<std::int64_t> parseFloor(const QString& text);
// Nearest integer, halves to the even neighbour (10.5 -> 10, 11.5 -> 12), saturated.
[[nodiscard]] std::int64_t roundHalfEven(double value);
// value held inside [lower, upper]; the bounds may come in either order.
[[nodiscard]] std::int64_t clamp(std::int64_t value, std::int64_t lower, std::int64_t upper);

// Plain decimal digits with a leading "-" when negative, no separators: the form the
// windows write back into their fields.
[[nodiscard]] QString formatPlain(std::int64_t value);
// Decimal digits with the locale's thousands separator from 1000 on: the form a spin
// button writes.
[[nodiscard]] QString formatGrouped(std::int64_t value, const QLocale& locale = QLocale());

}  // namespace NumberField
