#include "RenderPicture.h"

#include "CaptureSelection.h"
#include "OutputOptions.h"

namespace {

// The first failure of a chain of library calls.
DibStatus firstFailure(DibStatus sofar, DibStatus next) { return sofar.ok() ? next : sofar; }

// At 100 % with nothing that changes a colour and the selection wholly on the desktop,
// the picture is the selection's pixels as they are: the library's steps would pack
// every pixel into a DIB only to unpack it again.
bool isPlainCopy(const DeviceContext& desktop, const DeviceContext& picture, int sourceX, int sourceY,
                 const CaptureSelection& selection, const OutputOptions& options, GreyStep grey)
{
    const int w = selection.SelectionWidth;
    const int h = selection.SelectionHeight;
    const bool greys = grey == GreyStep::Yes && options.GrayStrength != 0;
    return !ReducesColors(options) && !greys && selection.ViewWidth == w && selection.ViewHeight == h && sourceX >= 0
           && sourceY >= 0 && sourceX <= desktop.width() - w && sourceY <= desktop.height() - h && picture.width() >= w
           && picture.height() >= h;
}

// Opaque, as a DIB drawn into the picture is.
void copyPlain(const DeviceContext& desktop, DeviceContext& picture, int sourceX, int sourceY, int w, int h)
{
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* from = desktop.row(sourceY + y) + sourceX;
        std::uint32_t* to = picture.row(y);
        for (int x = 0; x < w; ++x)
            to[x] = from[x] | 0xFF000000u;
    }
}

}  // namespace

DibStatus RenderPicture(const DeviceContext& desktop, DeviceContext& picture, int sourceX, int sourceY,
                        const CaptureSelection& selection, const OutputOptions& options, GreyStep grey)
{
    const int w = selection.SelectionWidth;
    const int h = selection.SelectionHeight;
    if (w <= 0 || h <= 0)
        return {};
    if (isPlainCopy(desktop, picture, sourceX, sourceY, selection, options, grey)) {
        copyPlain(desktop, picture, sourceX, sourceY, w, h);
        return {};
    }
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
