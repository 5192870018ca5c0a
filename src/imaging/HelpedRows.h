#pragma once
// Row work shared with one helper thread without ever waiting for it to start. On a
// busy machine a new thread can wait milliseconds for a core; the calling thread then
// does every chunk of rows itself, and waits only for a chunk the helper has taken to
// be finished. The helper holds the shared state: it may start after the call has
// returned, find no chunk left, and end without touching the caller's data.

#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
#include <thread>

namespace helped_rows {

struct Shared {
    std::atomic<int> next{0};      // the first row no thread has taken
    std::atomic<int> working{0};   // helpers inside a take-and-work step
    int count = 0;
    int chunk = 1;
};

// Takes and does chunks until none is left; the helper announces itself in working
// before each take, so the caller's final check sees any chunk it took.
template <class Work>
void takeChunks(Shared& shared, const Work& work, bool helper)
{
    for (;;) {
        if (helper)
            shared.working.fetch_add(1);
        const int begin = shared.next.fetch_add(shared.chunk);
        if (begin < shared.count)
            work(begin, std::min(shared.count, begin + shared.chunk));
        if (helper && shared.working.fetch_sub(1) == 1)
            shared.working.notify_all();
        if (begin >= shared.count)
            return;
    }
}

}  // namespace helped_rows

// Runs work(begin, end) over [0, count) in chunks of rows; one thread helps from
// minimum rows on. work must not throw.
template <class Work>
void helpedRows(int count, int chunk, int minimum, const Work& work)
{
    auto shared = std::make_shared<helped_rows::Shared>();
    shared->count = count;
    shared->chunk = std::max(1, chunk);
    if (count >= minimum && std::thread::hardware_concurrency() >= 2) {
        try {
            // The work is reached only through a chunk taken before the caller returns.
            std::thread([shared, &work] { helped_rows::takeChunks(*shared, work, true); }).detach();
        } catch (const std::system_error&) {
        }
    }
    helped_rows::takeChunks(*shared, work, false);
    for (int busy = shared->working.load(); busy != 0; busy = shared->working.load())
        shared->working.wait(busy);
}
