#pragma once
// Splits row work over the machine's two cores. A thread is started per call and
// joined before returning: no pool outlives the call.

#include <new>
#include <system_error>
#include <thread>

// Runs work(begin, end) on [0, count): in two halves on two threads when count is at
// least minimum, else in one piece on the calling thread (also when no thread starts).
// Returns false when a part ran out of memory; its rows are then unfinished.
template <class Work>
[[nodiscard]] bool splitInTwo(int count, int minimum, const Work& work)
{
    auto guarded = [&work](int begin, int end) {
        try {
            work(begin, end);
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    if (count < minimum || std::thread::hardware_concurrency() < 2)
        return guarded(0, count);
    const int half = count / 2;
    bool secondOk = false;
    std::thread second;
    try {
        second = std::thread([&guarded, &secondOk, half, count] { secondOk = guarded(half, count); });
    } catch (const std::system_error&) {
        return guarded(0, count);
    }
    const bool firstOk = guarded(0, half);
    second.join();
    return firstOk && secondOk;
}
