#pragma once
// The grab's picture written where the request says: a file (replaced whole or not
// at all), standard output, the next free Picture_####.png of the pictures folder, or
// the clipboard.
// No window, no Set.ini.

#include "GrabRequest.h"

class Clipboard;
class DeviceContext;

// Where the targets other than a named file are.
struct GrabPlaces {
    QString picturesFolder;  // for the numbered files
    int standardOutput;      // a descriptor
    Clipboard* clipboard;    // for the clipboard target only
};

struct GrabOutcome {
    int status = GrabExit::Written;
    QString error;    // one line for standard error, without the program's name
    QString written;  // the pictures folder's file that was written
};

// Whether region lies wholly on a screen of that size; the refusal when not.
[[nodiscard]] GrabOutcome CheckRegion(const QRect& region, const DeviceContext& screen);

// Writes region of screen (which CheckRegion accepted) where request says.
[[nodiscard]] GrabOutcome WriteGrab(const DeviceContext& screen, const QRect& region, const GrabRequest& request,
                                    const GrabPlaces& places);
