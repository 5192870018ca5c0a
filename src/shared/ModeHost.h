#pragma once
// What the mode chooser and the modes ask of the object that owns them.

// How opening a mode went.
enum class ModeOpenResult {
    Opened,         // the mode's first window is shown and has run its load
    NotOpened,      // the mode could not open; the user has been told why
    ProgramEnding,  // the mode's load ended the program (another instance runs)
};

// The windows of one open mode, owned by the host while the mode is open.
class OpenMode
{
public:
    virtual ~OpenMode() = default;
};

class ModeHost
{
public:
    virtual ~ModeHost() = default;

    // Show the mode's first window, running its load before returning.
    virtual ModeOpenResult openDesktopCapture() = 0;
    virtual ModeOpenResult openPrintScreenSave() = 0;

    // Back to the chooser from an open mode (which has written "Boolean" = "0"): the
    // mode's windows go away once the current event handler has returned, and a new
    // chooser runs its load.
    virtual void returnToModeChooser() = 0;

    // Ends the program once the current event handler has returned; safe to call
    // before the event loop runs.
    virtual void endProgram() = 0;
};
