#include "MemoryReuse.h"

#include <malloc.h>

namespace {

// glibc's largest threshold for serving a request from the heap instead of a mapping
// of its own, which is unmapped on free: 32 MiB, just above a 4K screen's 32-bit
// picture.
constexpr int ReusedRequestBytes = 32 << 20;
// The free memory at the heap's end kept before some is given back: a few of the
// largest buffers, all that a capture or a save has in use at once.
constexpr int KeptFreeBytes = 256 << 20;

}  // namespace

void keepFreedMemoryForReuse()
{
    // Either may be refused (another allocator in place): the program then only
    // runs as it would without them.
    ::mallopt(M_MMAP_THRESHOLD, ReusedRequestBytes);
    ::mallopt(M_TRIM_THRESHOLD, KeptFreeBytes);
}

void returnFreedMemory() { ::malloc_trim(0); }
