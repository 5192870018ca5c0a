#include "ZlibStream.h"

#include <libdeflate.h>
#include <memory>

namespace {

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

}  // namespace

DibError zlibCompress(const std::uint8_t* data, std::size_t size, int level, Bytes& out)
{
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(libdeflate_alloc_compressor(level));
    if (!compressor)
        return DibError::OutOfMemory;
    if (const DibError error = allocateBytes(out, libdeflate_zlib_compress_bound(compressor.get(), size));
        error != DibError::None)
        return error;
    const std::size_t written = libdeflate_zlib_compress(compressor.get(), data, size, out.data(), out.size());
    if (written == 0)
        return DibError::EncoderFailed;
    out.resize(written);
    return DibError::None;
}
