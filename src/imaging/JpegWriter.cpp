// JPEG/JFIF through libjpeg-turbo: SOI, APP0 JFIF (1:1 density), DQT, SOF0 (baseline)
// or SOF2 (progressive, with optimised Huffman tables), DHT, SOS + entropy-coded scans,
// EOI. Colour: Y Cb Cr with 2x2 subsampled chroma, the library's default.
// 24-bit rows go to the encoder straight from the image; other depths are expanded
// one row at a time. The encoder writes into memory and the file gets it in a few
// large writes: libjpeg's own stdio destination hands over 4 KB at a time, which
// cost a fifth of the whole encode.
// A large baseline image is encoded in two bands at once, one per core: each band
// is a JPEG of its own with the same tables, and their entropy-coded data, joined
// with a restart marker (DRI/RST0) between them, decodes to exactly the pixels of
// a single pass, as a restart only resets what each band starts from anyway.
#include "SafeFileStatus.h"
#include "DibTable.h"
#include "PixelRows.h"

#include "Parallel.h"

#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>
#include <jpeglib.h>

namespace {

// Everything the C-style encoder needs; rows are supplied from outside.
struct JpegJob {
    unsigned char** encoded;  // set to a malloc'd buffer the caller frees, also on failure
    unsigned long* encodedSize;
    int width;
    int height;
    int quality;
    int progressive;
    int rowsAtOnce;                                    // rows the supplier can give per call
    int firstRow;                                      // of the image, for the band's row 0
    const std::uint8_t* (*row)(void* context, int y);  // row y from the top, B G R
    void* context;
};

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

extern "C" void jpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

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
            rows[count] = const_cast<JSAMPROW>(job->row(job->context, job->firstRow + first + count));
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

// One encoded JPEG in memory, freed with the C library as libjpeg asks.
struct Encoded {
    unsigned char* data = nullptr;
    unsigned long size = 0;
    Encoded() = default;
    Encoded(const Encoded&) = delete;
    Encoded& operator=(const Encoded&) = delete;
    ~Encoded() { std::free(data); }
};

bool encodeRows(const Dib& plain, int quality, bool progressive, int firstRow, int rows, Encoded& out)
{
    // Sized here so that the row supplier never allocates while libjpeg is on the stack.
    RowSupplier supplier{&plain, std::vector<std::uint8_t>(3 * static_cast<std::size_t>(plain.width()))};
    const JpegJob job{
        &out.data, &out.size,   plain.width(), rows, quality, progressive, plain.bitCount() == 24 ? 16 : 1,
        firstRow,  suppliedRow, &supplier};
    return encodeJpeg(&job) != 0;
}

constexpr int McuRows = 16;  // 2x2 subsampled chroma: MCUs of 16 x 16
constexpr std::size_t LeastBandedPixels = 1u << 18;
constexpr unsigned char EndOfImage[] = {0xFF, 0xD9};

struct Markers {
    std::size_t frameHeight = 0;  // offset of SOF0's height
    std::size_t scanHeader = 0;   // offset of the SOS marker
    std::size_t scanData = 0;     // just past the SOS segment
};

// Where libjpeg put its frame and scan headers; nullopt when the data is not as expected.
std::optional<Markers> findMarkers(const Encoded& jpeg)
{
    Markers found;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size && jpeg.data[at] == 0xFF) {
        const unsigned marker = jpeg.data[at + 1];
        const std::size_t length = static_cast<std::size_t>(jpeg.data[at + 2]) << 8 | jpeg.data[at + 3];
        if (marker == 0xC0)
            found.frameHeight = at + 5;
        if (marker == 0xDA) {
            found.scanHeader = at;
            found.scanData = at + 2 + length;
            break;
        }
        at += 2 + length;
    }
    if (found.frameHeight == 0 || found.scanData == 0 || found.scanData + 2 > jpeg.size)
        return std::nullopt;
    return found;
}

// The two bands as one file: the first band's headers with the whole height and a
// restart interval of one band, its scan data, RST0, the second band's scan data, EOI.
DibError writeBands(SafeFile& file, const std::array<Encoded, 2>& bands, int height, unsigned restartInterval)
{
    const std::optional<Markers> first = findMarkers(bands[0]);
    const std::optional<Markers> second = findMarkers(bands[1]);
    if (!first || !second)
        return DibError::EncoderFailed;
    std::vector<unsigned char> head(bands[0].data, bands[0].data + first->scanHeader);
    head[first->frameHeight] = static_cast<unsigned char>(height >> 8);
    head[first->frameHeight + 1] = static_cast<unsigned char>(height);
    const unsigned char restart[] = {0xFF,
                                     0xDD,
                                     0x00,
                                     0x04,
                                     static_cast<unsigned char>(restartInterval >> 8),
                                     static_cast<unsigned char>(restartInterval)};
    head.insert(head.end(), std::begin(restart), std::end(restart));
    const unsigned char marker[] = {0xFF, 0xD0};
    const std::pair<const void*, std::size_t> pieces[] = {
        {head.data(), head.size()},
        {bands[0].data + first->scanHeader, bands[0].size - 2 - first->scanHeader},
        {marker, sizeof marker},
        {bands[1].data + second->scanData, bands[1].size - 2 - second->scanData},
        {EndOfImage, sizeof EndOfImage}};
    for (const auto& [data, size] : pieces)
        if (const DibError error = toDibError(file.write(data, size)); error != DibError::None)
            return error;
    return DibError::None;
}

unsigned mcusPerRow(const Dib& plain) { return static_cast<unsigned>((plain.width() + McuRows - 1) / McuRows); }

// Rows of the first band (whole MCU rows) when the image is worth two bands and the
// restart interval fits its 16 bits; 0 otherwise.
int firstBandRows(const Dib& plain, bool progressive)
{
    const int mcuRows = (plain.height() + McuRows - 1) / McuRows;
    const int firstMcuRows = (mcuRows + 1) / 2;
    const bool worthIt =
        static_cast<std::size_t>(plain.width()) * static_cast<std::size_t>(plain.height()) >= LeastBandedPixels;
    if (progressive || !worthIt || mcuRows < 2 || mcusPerRow(plain) * static_cast<unsigned>(firstMcuRows) > 0xFFFF)
        return 0;
    return firstMcuRows * McuRows;
}

DibError writeTwoBands(SafeFile& file, const Dib& plain, int quality, int firstRows)
{
    std::array<Encoded, 2> bands;
    const int starts[] = {0, firstRows, plain.height()};
    bool encoded[2] = {false, false};
    const bool ran = splitInTwo(2, 2, [&](int begin, int end) {
        for (int k = begin; k < end; ++k)
            encoded[k] = encodeRows(plain, quality, false, starts[k], starts[k + 1] - starts[k],
                                    bands[static_cast<std::size_t>(k)]);
    });
    if (!ran || !encoded[0] || !encoded[1])
        return DibError::EncoderFailed;
    return writeBands(file, bands, plain.height(), mcusPerRow(plain) * static_cast<unsigned>(firstRows / McuRows));
}

DibError writeOnePass(SafeFile& file, const Dib& plain, int quality, bool progressive)
{
    Encoded jpeg;
    if (!encodeRows(plain, quality, progressive, 0, plain.height(), jpeg))
        return DibError::EncoderFailed;
    return toDibError(file.write(jpeg.data, jpeg.size));
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
    const int firstRows = firstBandRows(*plain, progressive != 0);
    const DibError written = firstRows > 0 ? writeTwoBands(file, *plain, quality, firstRows)
                                           : writeOnePass(file, *plain, quality, progressive != 0);
    if (written != DibError::None)
        return {written};
    return {toDibError(file.commit())};
}

}  // namespace

DibStatus DIBtoJPG(const std::string& path, DIBHandle handle, int quality, int progressive, ExistingFile existing)
{
    return withoutThrowing([&] { return writeJpeg(path, handle, quality, progressive, existing); });
}
