#pragma once
// Row work shared with one helper thread without ever waiting for it to start. On a
// busy machine a new thread can wait milliseconds for a core; the calling thread then
// does every chunk of rows itself, and waits only for a chunk the helper has taken to
// be finished. The helper holds the shared state: it may start after the call has
// returned, find no chunk left, and end without touching the caller's data.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <system_error>
#include <thread>

namespace helped_rows {

// The rows no thread has taken, [front, back), in one word: the caller takes chunks
// from the front, the helper from the back, so that each writes its own part of the
// image (and the pages each first touches are its own).
struct Shared {
    std::atomic<std::uint64_t> rows{0};
    std::atomic<int> working{0};  // helpers inside a take-and-work step
    int chunk = 1;
};

inline std::uint64_t packed(std::uint32_t front, std::uint32_t back) { return std::uint64_t{front} << 32 | back; }

// Takes the next chunk from the front or the back into [begin, end); false when none is left.
inline bool take(Shared& shared, bool fromBack, int& begin, int& end)
{
    std::uint64_t rows = shared.rows.load();
    for (;;) {
        const auto front = static_cast<std::uint32_t>(rows >> 32);
        const auto back = static_cast<std::uint32_t>(rows);
        if (front >= back)
            return false;
        const auto chunk = static_cast<std::uint32_t>(shared.chunk);
        const std::uint32_t newFront = fromBack ? front : std::min(back, front + chunk);
        const std::uint32_t newBack = fromBack ? (back - front > chunk ? back - chunk : front) : back;
        if (shared.rows.compare_exchange_weak(rows, packed(newFront, newBack))) {
            begin = static_cast<int>(fromBack ? newBack : front);
            end = static_cast<int>(fromBack ? back : newFront);
            return true;
        }
    }
}

// Takes and does chunks until none is left; the helper announces itself in working
// before each take, so the caller's final check sees any chunk it took.
template<class Work>
void takeChunks(Shared& shared, const Work& work, bool helper)
{
    for (;;) {
        if (helper)
            shared.working.fetch_add(1);
        int begin = 0;
        int end = 0;
        const bool taken = take(shared, helper, begin, end);
        if (taken)
            work(begin, end);
        if (helper && shared.working.fetch_sub(1) == 1)
            shared.working.notify_all();
        if (!taken)
            return;
    }
}

}  // namespace helped_rows

// Runs work(begin, end) over [0, count) in chunks of rows; one thread helps from
// minimum rows on. work must not throw.
template<class Work>
void helpedRows(int count, int chunk, int minimum, const Work& work)
{
    auto shared = std::make_shared<helped_rows::Shared>();
    shared->rows = helped_rows::packed(0, static_cast<std::uint32_t>(std::max(0, count)));
    shared->chunk = std::max(1, chunk);
    if (count >= minimum && std::thread::hardware_concurrency() >= 2) {
        try {
            // The work is reached only through a chunk taken before the caller returns.
            std::thread([shared, &work] { helped_rows::takeChunks(*shared, work, true); }).detach();
        } catch (const std::system_error&) {}
    }
    helped_rows::takeChunks(*shared, work, false);
    for (int busy = shared->working.load(); busy != 0; busy = shared->working.load())
        shared->working.wait(busy);
}
