#pragma once
// Runs a check as an ordinary user: root may write any file, so permission rules show
// only for someone else. As root, work() runs in a child process as nobody (uid and gid
// 65534); otherwise it runs here, as the user the tests already are.

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

inline constexpr uid_t NobodyId = 65534;

// work()'s result, or -1 when the child could not run or did not exit normally.
template<typename Work>
int runUnprivileged(Work work)
{
    if (::geteuid() != 0)
        return work();
    const pid_t child = ::fork();
    if (child == -1)
        return -1;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0)
            ::_exit(125);
        ::_exit(work());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The uid that runUnprivileged's work runs as.
[[nodiscard]] inline uid_t unprivilegedUid() { return ::geteuid() == 0 ? NobodyId : ::geteuid(); }
