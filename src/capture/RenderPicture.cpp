#include "RenderPicture.h"

#include "CaptureSelection.h"
#include "OutputOptions.h"

namespace {

// The first failure of a chain of library calls.
DibStatus firstFailure(DibStatus sofar, DibStatus next)
{
    return sofar.ok() ? next : sofar;
}

// Draws the reduced image 1:1 into the buffer and reads it back: the reduced
// colours in the screen's own depth. Returns the new image's handle (0 on failure).
DIBHandle throughBuffer(DeviceContext& buffer, DIBHandle reduced, int w, int h, DibStatus& status)
{
    buffer.resize(w, h);
    status = firstFailure(status, DIBStretchDIBits(buffer, 0, 0, w, h, reduced, 0, 0, w, h, SRCCOPY));
    return DCtoDIB(buffer, 0, 0, w, h);
}

} // namespace

DibStatus RenderPicture(const DeviceContext& desktop, DeviceContext& buffer, DeviceContext& picture,
                        int sourceX, int sourceY, const CaptureSelection& selection,
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
    // At 24 bits the round trip through the buffer gives back A itself: skip it,
    // and give back the buffer's memory (a whole screen at 4K).
    const bool reduced = ReducesColors(options);
    if (!reduced)
        buffer.resize(0, 0);
    const DibGuard b(reduced ? throughBuffer(buffer, a.get(), w, h, status) : 0);
    if (reduced)
        a.reset();  // B replaces A: one image less at the refresh's peak
    const DIBHandle shown = reduced ? b.get() : a.get();
    if (!shown)
        return firstFailure(status, DibStatus{DibError::BadArgument});
    if (grey == GreyStep::Yes)
        status = firstFailure(status, GrayDIB(shown, options.GrayStrength));
    return firstFailure(status, DIBStretchDIBits(picture, 0, 0, selection.ViewWidth, selection.ViewHeight, shown,
                                                 0, 0, w, h, SRCCOPY));
}
