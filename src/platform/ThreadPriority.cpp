#include "ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {

// Well behind the default of 0, not the last place of 19: the work still goes on
// while another program keeps the cores busy.
constexpr int GivingWayNice = 10;
constexpr int SpareTimeNice = 19;

void setOwnNice(int nice)
{
    // A thread's nice value is its own on Linux and passes to the threads it starts.
    // A refusal leaves the thread as it was: it only works faster than asked.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), nice);
}

}  // namespace

void giveWayToTimelyWork() { setOwnNice(GivingWayNice); }

void workInSpareTime() { setOwnNice(SpareTimeNice); }
