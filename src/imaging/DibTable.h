#pragma once
// The library's own heap: every image lives here behind a handle until DeleteDIB.
// Handles come from a counter, so a deleted handle is not handed out again until the
// counter wraps after 2^32 - 1 images; 0 is never a handle.

#include "Dib.h"

#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <unordered_map>

// An image held for the length of one library call: the image stays alive even if
// another thread deletes its handle meanwhile, and calls on one image do not overlap.
struct DibLease {
    std::shared_ptr<Dib> dib;
    std::unique_lock<std::mutex> lock;
};

class DibTable
{
public:
    // The one table of the process, created on first use (the library's heap).
    static DibTable& instance();

    // Takes ownership; returns 0 when the image cannot be stored.
    DIBHandle add(std::unique_ptr<Dib> dib);
    [[nodiscard]] std::optional<DibLease> lease(DIBHandle handle);
    bool remove(DIBHandle handle);

private:
    DibTable() = default;

    std::mutex m_mutex;
    std::unordered_map<DIBHandle, std::shared_ptr<Dib>> m_dibs;
    DIBHandle m_next = 1;
};

// Stores a new image and returns its handle (0 on failure).
DIBHandle storeDib(int width, int height, int bitCount, Bytes bits, std::vector<RgbQuad> palette = {});

// Runs the body of a library call so that an exhausted heap comes back as a status:
// no exception leaves the library.
template<class Call>
DibStatus withoutThrowing(const Call& call)
{
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return {DibError::OutOfMemory};
    } catch (const std::length_error&) {
        return {DibError::TooLarge};
    }
}
