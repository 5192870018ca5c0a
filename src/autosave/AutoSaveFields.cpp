#include "AutoSaveFields.h"

#include "shared/NumberField.h"

HeldField HoldField(const QString& text, std::int64_t lower, std::int64_t upper, std::int64_t previous)
{
    const std::optional<std::int64_t> whole = NumberField::parseFloor(text);
    if (!whole)
        return {previous, std::nullopt};
    const std::int64_t held = NumberField::clamp(*whole, lower, upper);
    if (held == *whole)
        return {held, std::nullopt};
    return {held, NumberField::formatPlain(held)};
}
