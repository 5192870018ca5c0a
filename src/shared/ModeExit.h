#pragma once
// How a mode ends, the same in every mode: the user asks for the chooser, or closes the
// mode's main window. Back to the chooser, the mode's windows close, "Boolean" becomes
// "0" (the chooser shows at the next start) and the host shows the chooser; the main
// window closed in any other way ends the program, rather than leaving it running with
// nothing on the screen.

#include <functional>

class ModeHost;
class Settings;

class ModeExit
{
public:
    ModeExit(ModeHost& host, const Settings& settings);

    // closeWindows closes the mode's windows, the main one last; false when one refused
    // (the mode then stays as it is).
    void returnToChooser(const std::function<bool()>& closeWindows);
    void mainWindowClosed();

private:
    ModeHost& m_host;
    const Settings& m_settings;
    bool m_returningToChooser = false;
};
