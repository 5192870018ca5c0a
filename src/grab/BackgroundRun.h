#pragma once
// A command that must outlive its caller's wait, as `xclip` does: the process that the
// shell started waits only until the command reports how it went, exits with that
// status, and leaves the rest of the work (serving the clipboard) to a process of its
// own in the background. Made before any thread exists (before the QApplication).
// Plain POSIX.

class BackgroundRun
{
public:
    // Forks. The calling process stays here until the background one reports, and exits
    // with its status (or with its exit status, should it end without reporting); only
    // the background process returns. Where fork fails, everything stays in this process.
    BackgroundRun();
    ~BackgroundRun();
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    // Lets the waiting process exit with status. After a success this process leaves
    // the terminal's session and its standard streams, so that nothing waits on it.
    void report(int status);

private:
    int m_report = -1;  // the pipe's writing end; -1 once reported or without a fork
};
