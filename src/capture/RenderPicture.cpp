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

// The selection as the picture shows it before scaling: reduced and brought back to
// the screen's depth (what drawing it 1:1 into a halftone surface and reading it back
// gives, without the surface's full-size copy), and greyed when grey says so.
DibStatus shownSelection(const DeviceContext& desktop, int sourceX, int sourceY, int w, int h,
                         const OutputOptions& options, GreyStep grey, DibGuard& shown)
{
    shown.reset(DCtoDIB(desktop, sourceX, sourceY, w, h));
    if (!shown)
        return {DibError::BadArgument};
    DibStatus status = ReduceColors(shown.get(), options);
    if (ReducesColors(options))
        status = firstFailure(status, DIBto24Bit(shown.get()));
    if (grey == GreyStep::Yes)
        status = firstFailure(status, GrayDIB(shown.get(), options.GrayStrength));
    return status;
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
    // Reducing colours holds the selection at 24 and at 8 bits at once: the picture,
    // which the drawing below covers whole, gives its memory back meanwhile, so that a
    // whole-screen selection stays below three screens' worth.
    const bool released =
        ReducesColors(options) && picture.width() == selection.ViewWidth && picture.height() == selection.ViewHeight;
    if (released)
        picture.resizeForOverwrite(0, 0);
    DibGuard shown;
    const DibStatus status = shownSelection(desktop, sourceX, sourceY, w, h, options, grey, shown);
    if (released)
        picture.resizeForOverwrite(selection.ViewWidth, selection.ViewHeight);
    const DibStatus drawn = shown ? DIBStretchDIBits(picture, 0, 0, selection.ViewWidth, selection.ViewHeight,
                                                     shown.get(), 0, 0, w, h, SRCCOPY)
                                  : status;
    if (released && !drawn)
        picture.fill(0);
    return firstFailure(status, drawn);
}
