#pragma once

#include "LargeBuffers.h"

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

// Leaves new elements uninitialised: pixel buffers are written in full right after
// allocation, and zeroing tens of megabytes first would cost more than the copy.
template<class T>
struct DefaultInitAllocator : std::allocator<T> {
    template<class U>
    struct rebind {
        using other = DefaultInitAllocator<U>;
    };
    using std::allocator<T>::allocator;

    [[nodiscard]] T* allocate(std::size_t n)
    {
        T* buffer = std::allocator<T>::allocate(n);
        adviseHugePages(buffer, n * sizeof(T));
        return buffer;
    }

    template<class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template<class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// The same for a screen's surface, which is placed for huge pages whole.
template<class T>
struct SurfaceAllocator : DefaultInitAllocator<T> {
    template<class U>
    struct rebind {
        using other = SurfaceAllocator<U>;
    };
    using DefaultInitAllocator<T>::DefaultInitAllocator;

    [[nodiscard]] T* allocate(std::size_t n)
    {
        if (n > std::size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(allocateSurface(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { freeSurface(p, n * sizeof(T)); }
};
