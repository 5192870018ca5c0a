#include "PanelFields.h"

#include "CaptureSelection.h"
#include "shared/NumberField.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

// The committed value: the text's floor held to [lower, upper], or the previous
// value when the text is not a number.
std::int32_t committedValue(const QString& text, std::int64_t lower, std::int64_t upper, std::int32_t previous)
{
    const std::optional<std::int64_t> value = NumberField::parseFloor(text);
    return value ? static_cast<std::int32_t>(NumberField::clamp(*value, lower, upper)) : previous;
}

FieldCommit fieldCommit(std::int32_t value) { return {value, NumberField::formatPlain(value)}; }

}  // namespace

CoordinateCommit CommitStartField(const QString& text, const QString& endText, std::int32_t previous,
                                  std::int32_t screenExtent)
{
    CoordinateCommit commit;
    commit.value = committedValue(text, 0, screenExtent, previous);
    commit.text = NumberField::formatPlain(commit.value);
    const std::optional<std::int64_t> end = NumberField::parseFloor(endText);
    if (end && *end < commit.value)
        commit.oppositeText = commit.text;
    return commit;
}

CoordinateCommit CommitEndField(const QString& text, const QString& startText, std::int32_t previous,
                                std::int32_t screenExtent)
{
    const std::optional<std::int64_t> typed = NumberField::parseFloor(text);
    // The start field is compared with the end before its upper clamp, so a start
    // beyond the screen is pulled back only as far as the end was typed.
    const std::int64_t unclamped = typed ? std::max<std::int64_t>(*typed, 0) : previous;
    CoordinateCommit commit;
    commit.value = static_cast<std::int32_t>(NumberField::clamp(unclamped, 0, screenExtent));
    commit.text = NumberField::formatPlain(commit.value);
    const std::optional<std::int64_t> start = NumberField::parseFloor(startText);
    if (start && *start > unclamped)
        commit.oppositeText = NumberField::formatPlain(unclamped);
    return commit;
}

FieldCommit CommitMagnification(const QString& text, std::int16_t previous)
{
    return fieldCommit(committedValue(text, MinMagnification, MaxMagnification, previous));
}

FieldCommit CommitCaptureDelay(const QString& text, std::int16_t previous)
{
    const std::optional<std::int64_t> typed = NumberField::parseFloor(text);
    if (!typed)
        return fieldCommit(previous);
    const auto held = static_cast<std::int32_t>(NumberField::clamp(*typed, 0, MaxCaptureDelay));
    return held == *typed ? FieldCommit{held, text} : fieldCommit(held);
}

int CaptureTimerInterval(std::int16_t delaySeconds)
{
    return static_cast<int>(NumberField::clamp(delaySeconds, 0, MaxCaptureDelay)) * 1000 + 1;
}

ShapeRect UpdateRect(const CaptureSelection& selection, const ShapeRect& current)
{
    ShapeRect shape = current;
    shape.left = std::min(selection.StartX, selection.EndX);
    shape.top = std::min(selection.StartY, selection.EndY);
    shape.width = std::abs(static_cast<double>(selection.EndX) - selection.StartX);
    shape.height = std::abs(static_cast<double>(selection.EndY) - selection.StartY);
    return shape;
}

SelectAllResult SelectAll(CaptureSelection& selection, std::int32_t width, std::int32_t height)
{
    SetSelectionSizes(selection, width, height);
    SelectAllResult result;
    result.shape = {0, 0, static_cast<double>(width), static_cast<double>(height), true};
    result.fieldTexts = CommitCorners(selection, result.shape);
    return result;
}

std::array<QString, 4> CommitCorners(CaptureSelection& selection, const ShapeRect& shape)
{
    const auto corner = [](double value) { return static_cast<std::int32_t>(NumberField::roundHalfEven(value)); };
    selection.StartX = corner(shape.left);
    selection.StartY = corner(shape.top);
    selection.EndX = corner(shape.left + shape.width);
    selection.EndY = corner(shape.top + shape.height);
    return {NumberField::formatPlain(selection.StartX), NumberField::formatPlain(selection.StartY),
            NumberField::formatPlain(selection.EndX), NumberField::formatPlain(selection.EndY)};
}

QString ScreenInfoTitle() { return QCoreApplication::translate("ScreenInformation", "画素数"); }

QString ScreenInfoText(std::int32_t width, std::int32_t height, std::int16_t bitsPerPixel)
{
    return QCoreApplication::translate("ScreenInformation", "画面の領域　%1X%2\r\n解像度　   　%3ビット")
        .arg(width)
        .arg(height)
        .arg(bitsPerPixel);
}
