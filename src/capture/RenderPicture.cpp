#include "RenderPicture.h"

#include "CaptureSelection.h"
#include "OutputOptions.h"

namespace {

// The first failure of a chain of library calls.
DibStatus firstFailure(DibStatus sofar, DibStatus next) { return sofar.ok() ? next : sofar; }

}  // namespace

DibStatus RenderPicture(const DeviceContext& desktop, DeviceContext& picture, int sourceX, int sourceY,
                        const CaptureSelection& selection, const OutputOptions& options, GreyStep grey)
{
    const int w = selection.SelectionWidth;
    const int h = selection.SelectionHeight;
    if (w <= 0 || h <= 0)
        return {};
    DibGuard a(DCtoDIB(desktop, sourceX, sourceY, w, h));
    if (!a)
        return {DibError::BadArgument};
    // The reduced colours back in the screen's depth: what drawing the image 1:1 into
    // a buffer surface and reading it back gives, without the buffer's full-size copy.
    // At 24 bits that changes nothing.
    DibStatus status = ReduceColors(a.get(), options);
    if (ReducesColors(options))
        status = firstFailure(status, DIBto24Bit(a.get()));
    const DIBHandle shown = a.get();
    if (grey == GreyStep::Yes)
        status = firstFailure(status, GrayDIB(shown, options.GrayStrength));
    return firstFailure(
        status, DIBStretchDIBits(picture, 0, 0, selection.ViewWidth, selection.ViewHeight, shown, 0, 0, w, h, SRCCOPY));
}
