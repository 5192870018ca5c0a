#pragma once
// A full disk made real: root ignores read-only folders, but not a file-size limit.

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work() in a child process whose files may not grow beyond limitBytes. SIGXFSZ
// is ignored there, so a write past the limit fails with EFBIG instead of killing the
// child. Returns work()'s result as the child's exit code, or -1 when the child could
// not be started or did not exit normally.
template<typename Work>
int runUnderFileSizeLimit(rlim_t limitBytes, Work work)
{
    const pid_t child = ::fork();
    if (child == -1)
        return -1;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(work());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
