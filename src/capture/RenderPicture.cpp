#include "RenderPicture.h"

#include "CaptureSelection.h"
#include "OutputOptions.h"

namespace {

// The first failure of a chain of library calls.
DibStatus firstFailure(DibStatus sofar, DibStatus next)
{
    return sofar.ok() ? next : sofar;
}

// Draws the reduced image 1:1 into the buffer F and reads it back: the reduced
// colours in the screen's own depth. A is freed before the read-back, and F only
// lives for this pass, so that a whole 4K screen costs one copy less at its peak.
// Returns the new image's handle (0 on failure).
DIBHandle throughBuffer(DibGuard& reduced, int w, int h, DibStatus& status)
{
    DeviceContext buffer(w, h);
    buffer.stretchMode = HALFTONE;
    status = firstFailure(status, DIBStretchDIBits(buffer, 0, 0, w, h, reduced.get(), 0, 0, w, h, SRCCOPY));
    reduced.reset();
    return DCtoDIB(buffer, 0, 0, w, h);
}

} // namespace

DibStatus RenderPicture(const DeviceContext& desktop, DeviceContext& picture, int sourceX, int sourceY, const CaptureSelection& selection,
                        const OutputOptions& options, GreyStep grey)
{
    const int w = selection.SelectionWidth;
    const int h = selection.SelectionHeight;
    if (w <= 0 || h <= 0)
        return {};
    DibGuard a(DCtoDIB(desktop, sourceX, sourceY, w, h));
    if (!a)
        return {DibError::BadArgument};
    DibStatus status = ReduceColors(a.get(), options);
    // At 24 bits the round trip through the buffer gives back A itself: skip it.
    const bool reduced = ReducesColors(options);
    const DibGuard b(reduced ? throughBuffer(a, w, h, status) : 0);
    const DIBHandle shown = reduced ? b.get() : a.get();
    if (!shown)
        return firstFailure(status, DibStatus{DibError::BadArgument});
    if (grey == GreyStep::Yes)
        status = firstFailure(status, GrayDIB(shown, options.GrayStrength));
    return firstFailure(status, DIBStretchDIBits(picture, 0, 0, selection.ViewWidth, selection.ViewHeight, shown,
                                                 0, 0, w, h, SRCCOPY));
}
