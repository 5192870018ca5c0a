#pragma once
// An XCB reply or event, freed with the C library's free() as XCB asks.

#include <cstdlib>
#include <memory>

struct FreeXcb {
    void operator()(void* reply) const { std::free(reply); }
};
template<typename T>
using XcbReply = std::unique_ptr<T, FreeXcb>;
