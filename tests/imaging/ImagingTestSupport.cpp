#include "ImagingTestSupport.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace {

std::string pillowPython()
{
    const char* python = std::getenv("SCRIMBLE_PILLOW_PYTHON");
    return python ? python : "/usr/bin/python3";
}

std::string runCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    ::pclose(pipe);
    return output;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void pngChunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& data)
{
    putBigEndian(png, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    putBigEndian(png, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

std::vector<std::uint8_t> pngHeader(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                                    std::uint8_t colourType = 0, std::uint8_t interlace = 0)
{
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.insert(header.end(), {bitDepth, colourType, 0, 0, interlace});
    pngChunk(png, "IHDR", header);
    return png;
}

// zeroBytes zero bytes deflated a block at a time, without holding them all.
std::vector<std::uint8_t> deflatedZeros(std::size_t zeroBytes)
{
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    const std::vector<std::uint8_t> zeros(1 << 20, 0);
    std::vector<std::uint8_t> packed;
    std::vector<std::uint8_t> out(1 << 16);
    int result = Z_OK;
    do {
        const std::size_t block = std::min(zeros.size(), zeroBytes);
        zeroBytes -= block;
        stream.next_in = const_cast<Bytef*>(zeros.data());
        stream.avail_in = static_cast<uInt>(block);
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            result = deflate(&stream, zeroBytes == 0 ? Z_FINISH : Z_NO_FLUSH);
            packed.insert(packed.end(), out.data(), out.data() + (out.size() - stream.avail_out));
        } while (stream.avail_out == 0);
    } while (zeroBytes > 0 || result != Z_STREAM_END);
    deflateEnd(&stream);
    return packed;
}

}  // namespace

std::vector<std::uint8_t> zeroPng(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                                  std::size_t zeroBytes)
{
    std::vector<std::uint8_t> png = pngHeader(width, height, bitDepth);
    pngChunk(png, "IDAT", deflatedZeros(zeroBytes));
    pngChunk(png, "IEND", {});
    return png;
}

std::vector<std::uint8_t> blackOneBitPng(std::uint32_t side)
{
    return zeroPng(side, side, 1, std::size_t{side} * (1 + (side + 7) / 8));
}

std::vector<std::uint8_t> rgbPng(std::uint32_t width, std::uint32_t height, const std::vector<std::uint8_t>& scanlines,
                                 std::size_t chunkBytes)
{
    std::vector<std::uint8_t> packed(compressBound(static_cast<uLong>(scanlines.size())));
    uLongf size = static_cast<uLongf>(packed.size());
    compress2(packed.data(), &size, scanlines.data(), static_cast<uLong>(scanlines.size()), Z_BEST_SPEED);
    packed.resize(size);
    std::vector<std::uint8_t> png = pngHeader(width, height, 8, 2);
    for (std::size_t at = 0; at < packed.size(); at += chunkBytes) {
        const auto end = packed.begin() + static_cast<std::ptrdiff_t>(std::min(packed.size(), at + chunkBytes));
        pngChunk(png, "IDAT", std::vector<std::uint8_t>(packed.begin() + static_cast<std::ptrdiff_t>(at), end));
    }
    pngChunk(png, "IEND", {});
    return png;
}

void SamplePacker::put(unsigned value, int bits)
{
    m_bits = (m_bits << bits) | value;
    m_filled += bits;
    if (m_filled == 8) {
        m_out.push_back(static_cast<std::uint8_t>(m_bits));
        m_bits = 0;
        m_filled = 0;
    }
}

void SamplePacker::endRow()
{
    if (m_filled > 0)
        m_out.push_back(static_cast<std::uint8_t>(m_bits << (8 - m_filled)));
    m_bits = 0;
    m_filled = 0;
}

namespace {

int channelsOf(std::uint8_t colourType)
{
    switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

// The scanlines (filter type 0) of the pixels from (x0, y0) in steps of dx, dy.
void appendScanlines(const PngPicture& p, int x0, int y0, int dx, int dy, std::vector<std::uint8_t>& out)
{
    const int channels = channelsOf(p.colourType);
    for (int y = y0; y < p.height; y += dy) {
        if (x0 >= p.width)
            return;
        out.push_back(0);
        SamplePacker packer(out);
        for (int x = x0; x < p.width; x += dx)
            for (int c = 0; c < channels; ++c) {
                const unsigned v = p.sample(x, y, c);
                if (p.bitDepth == 16)
                    out.insert(out.end(), {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
                else
                    packer.put(v, p.bitDepth);
            }
        packer.endRow();
    }
}

}  // namespace

std::vector<std::uint8_t> pngOf(const PngPicture& p)
{
    std::vector<std::uint8_t> scanlines;
    if (p.interlaced) {
        constexpr int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& pass : passes)
            appendScanlines(p, pass[0], pass[1], pass[2], pass[3], scanlines);
    } else {
        appendScanlines(p, 0, 0, 1, 1, scanlines);
    }
    std::vector<std::uint8_t> packed(compressBound(static_cast<uLong>(scanlines.size())));
    uLongf size = static_cast<uLongf>(packed.size());
    compress2(packed.data(), &size, scanlines.data(), static_cast<uLong>(scanlines.size()), Z_BEST_SPEED);
    packed.resize(size);
    std::vector<std::uint8_t> png = pngHeader(static_cast<std::uint32_t>(p.width), static_cast<std::uint32_t>(p.height),
                                              p.bitDepth, p.colourType, p.interlaced ? 1 : 0);
    if (p.colourType == 3) {
        std::vector<std::uint8_t> colours;
        std::vector<std::uint8_t> alphas;
        for (const auto& entry : p.palette) {
            colours.insert(colours.end(), entry.begin(), entry.begin() + 3);
            alphas.push_back(entry[3]);
        }
        pngChunk(png, "PLTE", colours);
        pngChunk(png, "tRNS", alphas);
    }
    pngChunk(png, "IDAT", packed);
    pngChunk(png, "IEND", {});
    return png;
}

std::vector<std::uint8_t> pngWithHugeTextChunk()
{
    std::vector<std::uint8_t> png = pngHeader(1, 1, 8);
    putBigEndian(png, 0x7ffffff0);
    png.insert(png.end(), {'t', 'E', 'X', 't', 'a', 0, 'b'});
    return png;
}

TempDir::TempDir()
{
    char pattern[] = "/tmp/scrimble-imaging-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::string> TempDir::entries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

DIBHandle makeImage(int width, int height, const std::function<std::uint32_t(int, int)>& colour)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                0xFF000000u | colour(x, y);
    return DIBFromPixels(pixels.data(), width, height, static_cast<std::size_t>(width));
}

DibSnapshot snapshotOf(DIBHandle dib)
{
    DibSnapshot snapshot;
    if (!DIBSnapshot(dib, snapshot))
        throw std::runtime_error("no snapshot");
    return snapshot;
}

bool encodeJpegWithPillow(const std::string& source, const std::string& out, int quality)
{
    const std::string script = std::string(SCRIMBLE_IMAGING_SCRIPTS) + "/pillow_jpeg.py";
    runCommand(pillowPython() + " '" + script + "' '" + source + "' '" + out + "' " + std::to_string(quality));
    return std::filesystem::exists(out);
}

PillowImage decodeWithPillow(const std::string& path)
{
    PillowImage image;
    // The pixels go to a file of this test's own, never beside the image (the shared
    // screenshots' folder may be read-only and other test processes read it too).
    const TempDir scratch;
    const std::string raw = scratch.file("pixels.raw");
    const std::string script = std::string(SCRIMBLE_IMAGING_SCRIPTS) + "/pillow_decode.py";
    std::istringstream lines(runCommand(pillowPython() + " '" + script + "' '" + path + "' '" + raw + "'"));
    std::string line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            image.fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    if (!image.fields.contains("width"))
        return image;
    image.width = std::stoi(image.fields["width"]);
    image.height = std::stoi(image.fields["height"]);
    const std::vector<std::uint8_t> bytes = readFileBytes(raw);
    if (bytes.size() != 3 * static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return image;
    for (std::size_t i = 0; i < bytes.size(); i += 3)
        image.rgb.push_back((std::uint32_t{bytes[i]} << 16) | (std::uint32_t{bytes[i + 1]} << 8) | bytes[i + 2]);
    image.ok = true;
    return image;
}

std::string benchScreenshotPath(const std::string& name)
{
    const std::string path = std::string(SCRIMBLE_BENCH_IMAGES) + "/" + name;
    return std::filesystem::exists(path) ? path : std::string();
}

PillowImage benchScreenshot(const std::string& name)
{
    const std::string path = benchScreenshotPath(name);
    return path.empty() ? PillowImage{} : decodeWithPillow(path);
}

std::vector<std::uint8_t> readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16)
           | (std::uint32_t{b[at + 3]} << 24);
}

std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8)
           | b[at + 3];
}

double lumaOf(std::uint32_t rgb)
{
    return 0.299 * ((rgb >> 16) & 0xFF) + 0.587 * ((rgb >> 8) & 0xFF) + 0.114 * (rgb & 0xFF);
}

double psnr(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int shift = 0; shift <= 16; shift += 8) {
            const double d = static_cast<double>((a[i] >> shift) & 0xFF) - static_cast<double>((b[i] >> shift) & 0xFF);
            sum += d * d;
        }
    const double mse = sum / (3.0 * static_cast<double>(a.size()));
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}
