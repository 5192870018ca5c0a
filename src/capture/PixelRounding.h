#pragma once
// Floating pixel values to the integer widths the capture mode stores them in:
// nearest integer, halves to the even neighbour, saturated at the type's range
// (a selection walked far off the screen must not wrap around).

#include "shared/NumberField.h"

#include <cstdint>
#include <limits>

template<typename Int>
[[nodiscard]] Int RoundPixel(double value)
{
    return static_cast<Int>(NumberField::clamp(NumberField::roundHalfEven(value), std::numeric_limits<Int>::min(),
                                               std::numeric_limits<Int>::max()));
}
