#pragma once
// The capture selection variables of the desktop capture mode, in screen pixels.
// Program-lifetime: one record lives in the application object and is handed to
// the desktop copy, the command panel, the picture refresh and the save.

#include <cstdint>

struct CaptureSelection {
    // The committed coordinate fields of the panel; they change only when their
    // own field is committed. End edges are exclusive.
    std::int32_t StartX = 0;
    std::int32_t StartY = 0;
    std::int32_t EndX = 0;
    std::int32_t EndY = 0;
    // Unmagnified size of the current selection = the buffer's size.
    std::int32_t SelectionWidth = 0;
    std::int32_t SelectionHeight = 0;
    // Magnified size = the picture window's client size.
    std::int32_t ViewWidth = 0;
    std::int32_t ViewHeight = 0;
    std::int16_t Magnification = 100;  // percent, 50..200
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    std::int16_t ScreenBitsPerPixel = 0;
};

// SelectionWidth/Height := round(width/height), ViewWidth/Height :=
// round(Magnification x width/height / 100); products in floating point,
// halves to the even neighbour (50 % of 101 gives 50).
void SetSelectionSizes(CaptureSelection& selection, double width, double height);
