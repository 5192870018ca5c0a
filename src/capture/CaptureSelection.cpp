#include "CaptureSelection.h"

#include "PixelRounding.h"

void SetSelectionSizes(CaptureSelection& selection, double width, double height)
{
    // Product first, then the division: 55 x 110 / 100 is exactly 60.5 (-> 60),
    // where 0.55 x 110 would land above the half.
    selection.ViewHeight = RoundPixel<std::int32_t>(selection.Magnification * height / 100.0);
    selection.ViewWidth = RoundPixel<std::int32_t>(selection.Magnification * width / 100.0);
    selection.SelectionHeight = RoundPixel<std::int32_t>(height);
    selection.SelectionWidth = RoundPixel<std::int32_t>(width);
}
