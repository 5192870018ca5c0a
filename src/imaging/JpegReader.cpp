// JPEG files through libjpeg-turbo, decoded straight into the bottom-up rows of a
// 24-bit image (grey and Y Cb Cr alike; CMYK files are refused). A file that ends
// before its image does is refused, not shown half grey.
#include "ImageReaders.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

namespace {

// Every MCU (at most 32 x 32 pixels) costs at least one bit of entropy-coded data;
// a header that claims more pixels than that is refused before the image is
// allocated.
constexpr std::uint64_t MostPixelsPerByte = 8 * 32 * 32;

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool cutShort;
};

extern "C" void jpegReadFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

// Warnings are not printed; the one that says the data ran out fails the read.
extern "C" void jpegReadMessage(j_common_ptr info, int level)
{
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    if (level < 0 && errors->manager.msg_code == JWRN_JPEG_EOF)
        errors->cutShort = true;
}

// What the C-style decoder reads and where its rows go: the image is allocated, once
// the header is known, by the caller's allocate, which leaves it in context.
struct JpegJob {
    const std::uint8_t* file;
    unsigned long size;
    std::uint8_t* (*allocate)(void* context, int width, int height);
    void* context;
};

// The only function that uses setjmp: no C++ object with a destructor lives here.
int decodeJpeg(const JpegJob* job)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegReadFail;
    errors.manager.emit_message = jpegReadMessage;
    errors.cutShort = false;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return 0;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = static_cast<long>(MaxBytes);
    jpeg_mem_src(&info, job->file, job->size);
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        jpegReadFail(reinterpret_cast<j_common_ptr>(&info));
    info.out_color_space = JCS_EXT_BGR;
    std::uint8_t* bits =
        job->allocate(job->context, static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    if (!bits)
        jpegReadFail(reinterpret_cast<j_common_ptr>(&info));
    jpeg_start_decompress(&info);
    const std::size_t stride = dibStride(static_cast<int>(info.output_width), 24);
    while (info.output_scanline < info.output_height && !errors.cutShort) {
        JSAMPROW row = bits + stride * (info.output_height - 1 - info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (errors.cutShort) {
        jpeg_destroy_decompress(&info);
        return 0;
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return errors.cutShort ? 0 : 1;
}

struct JpegImage {
    std::uint64_t fileSize = 0;
    int width = 0;
    int height = 0;
    Bytes bits;
    DibError error = DibError::DecodeFailed;
};

std::uint8_t* allocateImage(void* context, int width, int height)
{
    auto& image = *static_cast<JpegImage*>(context);
    std::size_t bytes = 0;
    image.error = decodedImageBytes(width, height, bytes);
    if (image.error == DibError::None
        && std::uint64_t(width) * std::uint64_t(height) > MostPixelsPerByte * image.fileSize)
        image.error = DibError::DecodeFailed;
    if (image.error == DibError::None)
        image.error = allocateBytes(image.bits, bytes);
    if (image.error != DibError::None)
        return nullptr;
    // libjpeg fills each row; only the bytes that pad rows to four are left to zero.
    if (dibStride(width, 24) != 3 * static_cast<std::size_t>(width))
        std::fill(image.bits.begin(), image.bits.end(), 0);
    image.width = width;
    image.height = height;
    image.error = DibError::DecodeFailed;  // until the decoder finishes
    return image.bits.data();
}

}  // namespace

DibError readJpeg(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out)
{
    JpegImage image;
    image.fileSize = file.size();
    const JpegJob job{file.data(), static_cast<unsigned long>(file.size()), allocateImage, &image};
    if (!decodeJpeg(&job))
        return image.error;
    try {
        out = std::make_unique<Dib>(image.width, image.height, 24, std::move(image.bits));
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    return DibError::None;
}
