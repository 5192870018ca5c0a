#pragma once
// Splits row work over the machine's cores. Threads are started per call and joined
// before returning: no pool outlives the call.

#include <algorithm>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// Runs work(begin, end) on [0, count): in two halves on two threads when count is at
// least minimum, else in one piece on the calling thread (also when no thread starts).
// Returns false when a part ran out of memory; its rows are then unfinished.
template<class Work>
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

// The parts worth giving one core each for work of size units, at least minimum
// units a part.
[[nodiscard]] inline int partsFor(std::size_t size, std::size_t minimum)
{
    const auto cores = static_cast<std::size_t>(std::max(1u, std::thread::hardware_concurrency()));
    return static_cast<int>(std::clamp<std::size_t>(size / std::max<std::size_t>(minimum, 1), 1, cores));
}

// Runs work(part) for part 0 .. parts - 1, each on a thread of its own (part 0 on the
// calling thread; a part whose thread does not start runs there too). Returns false
// when a part ran out of memory.
template<class Work>
[[nodiscard]] bool forEachPart(int parts, const Work& work)
{
    std::vector<char> ok(static_cast<std::size_t>(std::max(parts, 0)), 0);
    auto guarded = [&work, &ok](int part) {
        try {
            work(part);
            ok[static_cast<std::size_t>(part)] = 1;
        } catch (const std::bad_alloc&) {}
    };
    std::vector<std::thread> threads;
    // Reserved first: a vector that grew while threads ran would end the program.
    threads.reserve(static_cast<std::size_t>(std::max(parts, 1)));
    for (int part = 1; part < parts; ++part) {
        try {
            threads.emplace_back(guarded, part);
        } catch (const std::system_error&) {
            guarded(part);
        }
    }
    if (parts > 0)
        guarded(0);
    for (std::thread& t : threads)
        t.join();
    return std::all_of(ok.begin(), ok.end(), [](char done) { return done != 0; });
}
