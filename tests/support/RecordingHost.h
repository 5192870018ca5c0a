#pragma once
// The host of an open mode, as far as the mode talks to it.

#include "shared/ModeHost.h"

class RecordingHost final : public ModeHost
{
public:
    int endRequests = 0;
    int chooserRequests = 0;

    ModeOpenResult openDesktopCapture() override { return ModeOpenResult::NotOpened; }
    ModeOpenResult openPrintScreenSave() override { return ModeOpenResult::NotOpened; }
    void returnToModeChooser() override { ++chooserRequests; }
    void endProgram() override { ++endRequests; }
};
