// JPEG/JFIF through libjpeg-turbo: SOI, APP0 JFIF (1:1 density), DQT, SOF0 (baseline)
// or SOF2 (progressive, with optimised Huffman tables), DHT, SOS + entropy-coded scans,
// EOI. Colour: Y Cb Cr with 2x2 subsampled chroma, the library's default.
// 24-bit rows go to the encoder straight from the image; other depths are expanded
// one row at a time. The encoder writes into memory and the file gets it in one
// write: libjpeg's own stdio destination hands over 4 KB at a time, which cost a
// fifth of the whole encode.
#include "SafeFileStatus.h"
#include "DibTable.h"
#include "PixelRows.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <jpeglib.h>

namespace {

// Everything the C-style encoder needs; rows are supplied from outside.
struct JpegJob {
    unsigned char** encoded;      // set to a malloc'd buffer the caller frees, also on failure
    unsigned long* encodedSize;
    int width;
    int height;
    int quality;
    int progressive;
    int rowsAtOnce;                                       // rows the supplier can give per call
    const std::uint8_t* (*row)(void* context, int y);     // row y from the top, B G R
    void* context;
};

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

extern "C" void jpegFail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// The only function that uses setjmp: no C++ object with a destructor lives here.
int encodeJpeg(const JpegJob* job)
{
    jpeg_compress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFail;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return 0;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, job->encoded, job->encodedSize);
    info.image_width = static_cast<JDIMENSION>(job->width);
    info.image_height = static_cast<JDIMENSION>(job->height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, job->quality, TRUE);
    if (job->progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    JSAMPROW rows[16];
    while (info.next_scanline < info.image_height) {
        const int first = static_cast<int>(info.next_scanline);
        int count = 0;
        while (count < job->rowsAtOnce && count < 16 && first + count < job->height) {
            rows[count] = const_cast<JSAMPROW>(job->row(job->context, first + count));
            ++count;
        }
        jpeg_write_scanlines(&info, rows, static_cast<JDIMENSION>(count));
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return 1;
}

struct RowSupplier {
    const Dib* dib;
    std::vector<std::uint8_t> scratch;
};

const std::uint8_t* suppliedRow(void* context, int y)
{
    auto* supplier = static_cast<RowSupplier*>(context);
    return bgrRow(*supplier->dib, y, supplier->scratch);
}

// Any non-zero progressive value asks for a progressive file.
DibStatus writeJpeg(const std::string& path, DIBHandle handle, int quality, int progressive, ExistingFile existing)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    if (quality < 1 || quality > 100)
        return {DibError::BadArgument};
    std::unique_ptr<Dib> decoded;
    const Dib* plain = nullptr;
    if (const DibError error = uncompressedView(*lease->dib, decoded, plain); error != DibError::None)
        return {error};
    SafeFile file(path, existing);
    if (const DibError error = toDibError(file.open()); error != DibError::None)
        return {error};
    // Sized here so that the row supplier never allocates while libjpeg is on the stack.
    RowSupplier supplier{plain, std::vector<std::uint8_t>(3 * static_cast<std::size_t>(plain->width()))};
    unsigned char* encoded = nullptr;
    unsigned long encodedSize = 0;
    const JpegJob job{&encoded, &encodedSize, plain->width(), plain->height(), quality, progressive != 0,
                      plain->bitCount() == 24 ? 16 : 1, suppliedRow, &supplier};
    const int ok = encodeJpeg(&job);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(encoded, &std::free);
    if (!ok)
        return {DibError::EncoderFailed};
    if (const DibError error = toDibError(file.write(encoded, encodedSize)); error != DibError::None)
        return {error};
    return {toDibError(file.commit())};
}

}  // namespace

DibStatus DIBtoJPG(const std::string& path, DIBHandle handle, int quality, int progressive, ExistingFile existing)
{
    return withoutThrowing([&] { return writeJpeg(path, handle, quality, progressive, existing); });
}
