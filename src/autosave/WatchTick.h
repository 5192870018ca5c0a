#pragma once
// One look at the clipboard during a watch: an image found there is written to the
// next numbered file, and only then is it taken off the clipboard and the serial
// number moved on. A write that fails leaves the image on the clipboard and the
// names as they were, and says which file and why. Without overwriting, no existing
// file is ever replaced: a taken name, even one taken while the file was written,
// moves the serial number on to the next free name.

#include "CaptureFormat.h"
#include "NumberedNames.h"

#include <QString>

class Clipboard;

struct TickResult {
    enum class Outcome { NothingNew, Saved, Failed };
    Outcome outcome = Outcome::NothingNew;
    QString fileName;  // Saved, Failed: the file
    DibStatus status;  // Failed: why
};

[[nodiscard]] TickResult WatchTick(Clipboard& clipboard, NamingState& naming, const CaptureFormat& format,
                                   const FileIsFree& isFree);
