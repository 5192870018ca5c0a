#include "BackgroundRun.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void waitForReport(int reports, pid_t background)
{
    unsigned char status = 0;
    ssize_t got = 0;
    do
        got = ::read(reports, &status, 1);
    while (got < 0 && errno == EINTR);
    if (got == 1)
        ::_exit(status);
    int ended = 0;
    while (::waitpid(background, &ended, 0) < 0 && errno == EINTR) {}
    ::_exit(WIFEXITED(ended) ? WEXITSTATUS(ended) : 1);
}

void leaveStandardStreams()
{
    const int nothing = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (nothing < 0)
        return;
    for (int stream = 0; stream <= 2; ++stream)
        ::dup2(nothing, stream);
    ::close(nothing);
}

}  // namespace

BackgroundRun::BackgroundRun()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return;
    const pid_t background = ::fork();
    if (background < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return;
    }
    if (background > 0) {
        ::close(ends[1]);
        waitForReport(ends[0], background);
    }
    ::close(ends[0]);
    m_report = ends[1];
}

BackgroundRun::~BackgroundRun()
{
    if (m_report >= 0)
        ::close(m_report);
}

void BackgroundRun::report(int status)
{
    if (m_report < 0)
        return;
    const auto byte = static_cast<unsigned char>(status);
    while (::write(m_report, &byte, 1) < 0 && errno == EINTR) {}
    ::close(m_report);
    m_report = -1;
    if (status == 0) {
        ::setsid();
        leaveStandardStreams();
    }
}
