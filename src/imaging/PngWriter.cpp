// PNG file: the 8-byte signature, then chunks (u32 big-endian length, 4-byte type,
// data, CRC-32 of type and data):
//   IHDR  width, height, bit depth 8, colour type 2 (RGB: 16 and 24-bit images) or
//         3 (palette: 8-bit and RLE8 images), compression 0, filter 0, interlace 0/1
//   gAMA  u32 gamma x 100000, when the options give a gamma above 0
//   PLTE  red, green, blue per palette entry (colour type 3)
//   IDAT  one zlib stream over all scanlines, each a filter-type byte and the filtered
//         bytes; with Adam7 the seven passes follow one another. Split in 1 MiB chunks.
//   IEND
// libpng writes the signature and every chunk's framing; the IDAT data are filtered
// here and deflated by libdeflate, which is what makes the writer fast, in parts of
// whole rows on all cores (or bands of them, with a memory of the image before), and
// are handed to libpng as finished chunks.
#include "SafeFileStatus.h"
#include "DibTable.h"
#include "Parallel.h"
#include "ZlibStream.h"
#include "PixelRows.h"
#include "PngErrors.h"
#include "PngFilter.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <png.h>

namespace {

struct PngSettings {
    int level = 6;            // zlib level 0..9
    unsigned filters = 0;     // mask of 1 << PngFilterType
    std::uint32_t gamma = 0;  // 0: no gAMA chunk
    bool interlaced = false;
    ExistingFile existing = ExistingFile::Replace;
};

struct Image {
    const Dib* dib;
    std::size_t bytesPerPixel;  // 3 (RGB) or 1 (palette index)
    [[nodiscard]] std::size_t rowBytes() const { return bytesPerPixel * static_cast<std::size_t>(dib->width()); }
    // Row y (from the top) as PNG pixel bytes.
    void row(int y, std::uint8_t* out) const
    {
        if (bytesPerPixel == 1)
            std::memcpy(out, dib->rowFromTop(y), rowBytes());
        else
            readRowRgb(*dib, y, out);
    }
};

// Deflate's work is estimated on every eighth row only: its pixels are counted one by
// one, and neighbouring rows are alike.
constexpr int RowsPerWorkSample = 8;

// Filters the rows [begin, end) of a non-interlaced image into raw, and estimates in
// work[y] what deflating each takes.
void filterRows(const Image& image, unsigned filters, int begin, int end, std::uint8_t* raw, std::uint32_t* work)
{
    const std::size_t n = image.rowBytes();
    // Deflate passes over every byte too: as much as a fresh pixel for 256 bytes.
    const auto bytesShare = static_cast<std::uint32_t>(n / 256);
    std::vector<std::uint8_t> prior(n), current(n), scratch;
    if (begin > 0)
        image.row(begin - 1, prior.data());
    for (int y = begin; y < end; ++y) {
        image.row(y, current.data());
        const std::uint8_t* above = y > 0 ? prior.data() : nullptr;
        filterScanline(current.data(), above, n, image.bytesPerPixel, filters,
                       raw + static_cast<std::size_t>(y) * (n + 1), scratch);
        work[y] = bytesShare
                  + (y % RowsPerWorkSample == 0
                         ? RowsPerWorkSample * freshPixels(current.data(), above, n, image.bytesPerPixel)
                         : 0);
        prior.swap(current);
    }
}

constexpr int Adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};  // x0, y0, dx, dy

DibError interlacedScanlines(const Image& image, unsigned filters, Bytes& raw)
{
    const int w = image.dib->width();
    const int h = image.dib->height();
    const std::size_t bpp = image.bytesPerPixel;
    std::vector<std::uint8_t> line(image.rowBytes()), prior, current, scratch;
    for (const auto& pass : Adam7) {
        const int passWidth = (w - pass[0] + pass[2] - 1) / pass[2];
        if (passWidth <= 0)
            continue;
        const std::size_t n = bpp * static_cast<std::size_t>(passWidth);
        bool first = true;
        for (int y = pass[1]; y < h; y += pass[3]) {
            image.row(y, line.data());
            current.resize(n);
            for (int i = 0; i < passWidth; ++i)
                std::memcpy(&current[bpp * static_cast<std::size_t>(i)],
                            &line[bpp * static_cast<std::size_t>(pass[0] + i * pass[2])], bpp);
            const std::size_t at = raw.size();
            raw.resize(at + n + 1);
            filterScanline(current.data(), first ? nullptr : prior.data(), n, bpp, filters, raw.data() + at, scratch);
            prior.swap(current);
            first = false;
        }
    }
    return DibError::None;
}

// rowWork: for a non-interlaced image, the estimate of each row's deflating.
DibError scanlines(const Image& image, const PngSettings& settings, Bytes& raw, std::vector<std::uint32_t>& rowWork)
{
    if (settings.interlaced) {
        try {
            return interlacedScanlines(image, settings.filters, raw);
        } catch (const std::bad_alloc&) {
            return DibError::OutOfMemory;
        }
    }
    const std::size_t total = (image.rowBytes() + 1) * static_cast<std::size_t>(image.dib->height());
    if (const DibError error = allocateBytes(raw, total); error != DibError::None)
        return error;
    try {
        rowWork.resize(static_cast<std::size_t>(image.dib->height()));
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    const auto rows = [&](int begin, int end) {
        filterRows(image, settings.filters, begin, end, raw.data(), rowWork.data());
    };
    return splitInTwo(image.dib->height(), 64, rows) ? DibError::None : DibError::OutOfMemory;
}

// Everything the C-style writer needs: the header fields and the finished zlib stream.
struct PngJob {
    png_uint_32 width;
    png_uint_32 height;
    int colourType;
    int interlace;
    png_fixed_point gamma;     // 0: no gAMA chunk
    const png_color* palette;  // colour type 3 only
    int paletteSize;
    const std::uint8_t* idat;
    std::size_t idatSize;
    void* sink;  // handed to pngWrite
};

struct PngSink {
    SafeFile* file;
    bool failed;
};

extern "C" void pngWrite(png_structp png, png_bytep data, std::size_t size)
{
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    if (sink->file->write(data, size) != SafeFileError::None) {
        sink->failed = true;
        png_error(png, "write failed");
    }
}

// SafeFile flushes on commit; without this libpng would take the sink for a FILE*.
extern "C" void pngFlush(png_structp) {}

// The only function that uses setjmp: no C++ object with a destructor lives here.
int encodePng(const PngJob* job)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFail, pngWarn);
    if (png == nullptr)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return 0;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    png_set_write_fn(png, job->sink, pngWrite, pngFlush);
    // Any width and height the format allows, not libpng's default cap of a million.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_IHDR(png, info, job->width, job->height, 8, job->colourType, job->interlace, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    if (job->gamma > 0)
        png_set_gAMA_fixed(png, info, job->gamma);
    if (job->colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, job->palette, job->paletteSize);
    png_write_info(png, info);
    constexpr std::size_t ChunkBytes = std::size_t{1} << 20;
    for (std::size_t at = 0; at < job->idatSize; at += ChunkBytes)
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), job->idat + at,
                        std::min(ChunkBytes, job->idatSize - at));
    // png_write_end would refuse: libpng did not write the rows itself.
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return 1;
}

std::vector<png_color> pngPalette(const Dib& dib)
{
    std::vector<png_color> colours;
    colours.reserve(dib.palette().size());
    for (const RgbQuad& q : dib.palette())
        colours.push_back(png_color{q[2], q[1], q[0]});
    return colours;
}

DibStatus writePng(const std::string& path, DIBHandle handle, PngSettings settings, bool defaultFilters,
                   DeflateMemory* memory)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    std::unique_ptr<Dib> decoded;
    const Dib* plain = nullptr;
    if (const DibError error = uncompressedView(*lease->dib, decoded, plain); error != DibError::None)
        return {error};
    const Image image{plain, plain->bitCount() == 8 ? 1u : 3u};
    // Palette indices gain nothing from prediction; true colour takes the best row by row.
    if (defaultFilters)
        settings.filters = image.bytesPerPixel == 1 ? 1u << FilterNone : AllPngFilters;
    Bytes raw;
    std::vector<std::uint32_t> rowWork;
    if (const DibError error = scanlines(image, settings, raw, rowWork); error != DibError::None)
        return {error};
    Bytes idat;
    const std::size_t scanline = settings.interlaced ? 1 : image.rowBytes() + 1;
    if (const DibError error = zlibCompress(raw.data(), raw.size(), settings.level, idat, scanline, rowWork, memory);
        error != DibError::None)
        return {error};
    raw = Bytes();
    const std::vector<png_color> palette = pngPalette(*plain);
    SafeFile out(path, settings.existing);
    if (const DibError error = toDibError(out.open()); error != DibError::None)
        return {error};
    PngSink sink{&out, false};
    // libpng rejects gammas it cannot represent (above 31 bits) or finds implausible.
    const PngJob job{static_cast<png_uint_32>(plain->width()),
                     static_cast<png_uint_32>(plain->height()),
                     image.bytesPerPixel == 1 ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
                     settings.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     static_cast<png_fixed_point>(std::min<std::uint32_t>(settings.gamma, PNG_UINT_31_MAX)),
                     palette.data(),
                     static_cast<int>(palette.size()),
                     idat.data(),
                     idat.size(),
                     &sink};
    if (!encodePng(&job))
        return {sink.failed ? DibError::WriteFailed : DibError::EncoderFailed};
    return {toDibError(out.commit())};
}

// The four filter boxes of the options window, in order, and the PNG filter each
// stands for: similar colours running horizontally -> Sub, vertically -> Up, areas
// changing alike -> Average, smooth areas -> Paeth.
unsigned filterMask(std::uint32_t filterSet)
{
    unsigned mask = 0;
    if (filterSet & PngOptions::SubFilter)
        mask |= 1u << FilterSub;
    if (filterSet & PngOptions::UpFilter)
        mask |= 1u << FilterUp;
    if (filterSet & PngOptions::AverageFilter)
        mask |= 1u << FilterAverage;
    if (filterSet & PngOptions::PaethFilter)
        mask |= 1u << FilterPaeth;
    return mask;
}

}  // namespace

PngMemory::PngMemory() : m_bands(std::make_unique<DeflateMemory>()) {}
PngMemory::~PngMemory() = default;

void PngMemory::forget() { m_bands->bands = {}; }

// The defaults: level 6, no gAMA, not interlaced, filters chosen per row (true colour)
// or none (palette). reserved must be 0.
DibStatus DIBtoPNG(const std::string& path, DIBHandle dib, int reserved)
{
    if (reserved != 0)
        return {DibError::BadArgument};
    return withoutThrowing([&] { return writePng(path, dib, PngSettings{}, true, nullptr); });
}

// Fields whose flag is clear keep the defaults of DIBtoPNG. A filter set without any
// of the four filter bits keeps the default filters. A gamma of 0 writes no gAMA
// chunk (the format forbids a zero gamma); nor does one below 16 (0.00016), which
// libpng refuses as implausible: the image is still worth saving without it.
DibStatus DIBtoPNGex(const std::string& path, DIBHandle dib, const PngOptions& options, ExistingFile existing,
                     PngMemory* memory)
{
    PngSettings settings;
    settings.existing = existing;
    if (options.flags & PngOptions::LevelGiven) {
        if (options.level > 9)
            return {DibError::BadArgument};
        settings.level = options.level;
    }
    settings.filters = (options.flags & PngOptions::FiltersGiven) ? filterMask(options.filters) : 0;
    constexpr std::uint32_t SmallestGamma = 16;
    if ((options.flags & PngOptions::GammaGiven) && options.gamma >= SmallestGamma)
        settings.gamma = options.gamma;
    settings.interlaced = (options.flags & PngOptions::Interlaced) != 0;
    DeflateMemory* deflateMemory = memory != nullptr ? &memory->bands() : nullptr;
    return withoutThrowing([&] { return writePng(path, dib, settings, settings.filters == 0, deflateMemory); });
}
