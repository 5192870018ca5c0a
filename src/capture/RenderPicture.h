#pragma once
// Renders the selection of the desktop copy into the picture window's surface:
// the refresh's image steps, after the caller has shown and sized the windows.

#include "imaging/dibimage.h"

struct CaptureSelection;
struct OutputOptions;

enum class GreyStep : bool { No = false, Yes = true };

// Copies the SelectionWidth x SelectionHeight rectangle at (sourceX, sourceY) of
// desktop, reduces its colours as options.BitDepth says, draws it 1:1 into the
// buffer F (a halftone surface of the selection's size that lives only during
// this call) and reads it back (the reduced colours in the screen's depth), moves
// it toward grey by options.GrayStrength when grey says so, and draws it scaled
// into picture at ViewWidth x ViewHeight. At 24 bits that round trip would give
// back the same pixels, so it is skipped.
// The caller has sized picture to ViewWidth x ViewHeight and emptied it. A
// selection of zero width or height draws nothing and succeeds. Returns the first library failure; the images are
// freed in every case.
DibStatus RenderPicture(const DeviceContext& desktop, DeviceContext& picture, int sourceX, int sourceY, const CaptureSelection& selection,
                        const OutputOptions& options, GreyStep grey);
