#pragma once
// Renders the selection of the desktop copy into the picture window's surface:
// the refresh's image steps, after the caller has shown and sized the windows.

#include "imaging/dibimage.h"

struct CaptureSelection;
struct OutputOptions;

enum class GreyStep : bool { No = false, Yes = true };

// Copies the SelectionWidth x SelectionHeight rectangle at (sourceX, sourceY) of
// desktop, reduces its colours as options.BitDepth says and brings them back to the
// screen's depth (the pixels a 1:1 drawing into a halftone surface and its read-back
// would give), moves it toward grey by options.GrayStrength when grey says so, and
// draws it scaled into picture at ViewWidth x ViewHeight.
// The caller has sized picture to ViewWidth x ViewHeight and emptied it. A
// selection of zero width or height draws nothing and succeeds. Returns the first
// library failure; the images are freed in every case. When colours are reduced, a
// failure can leave the picture black.
DibStatus RenderPicture(const DeviceContext& desktop, DeviceContext& picture, int sourceX, int sourceY,
                        const CaptureSelection& selection, const OutputOptions& options, GreyStep grey);
