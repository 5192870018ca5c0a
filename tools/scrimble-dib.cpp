// scrimble-dib: reads a PNG or BMP file, runs the image library's steps on it in the
// program's order (scale, colour depth, grey, RLE) and writes OUT; --timings prints
// the milliseconds of every step to standard error.
#include "DibToolOptions.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

class StepRunner
{
public:
    explicit StepRunner(bool timings) : m_timings(timings) {}

    // Runs one step; false (after a message) when it failed.
    bool run(const char* name, const std::function<DibStatus()>& step)
    {
        const auto start = std::chrono::steady_clock::now();
        const DibStatus status = step();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (m_timings)
            std::fprintf(stderr, "%-10s %9.2f ms\n", name, took.count());
        if (!status)
            std::fprintf(stderr, "scrimble-dib: %s: %s\n", name, status.text());
        return status.ok();
    }

private:
    bool m_timings;
};

enum class OutputFormat { Bmp, Jpeg, Png };

// The format OUT's extension names, whatever its case; nullopt for any other.
std::optional<OutputFormat> outputFormatOf(const std::string& path)
{
    const auto dot = path.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (ext == "bmp")
        return OutputFormat::Bmp;
    if (ext == "jpg" || ext == "jpeg")
        return OutputFormat::Jpeg;
    if (ext == "png")
        return OutputFormat::Png;
    return std::nullopt;
}

DibStatus scaled(DibGuard& image, int width, int height)
{
    DeviceContext dc(width, height);
    dc.stretchMode = HALFTONE;
    int sourceWidth = 0, sourceHeight = 0, bitCount = 0;
    if (const DibStatus status = DIBDimensions(image.get(), sourceWidth, sourceHeight, bitCount); !status)
        return status;
    if (const DibStatus status =
            DIBStretchDIBits(dc, 0, 0, width, height, image.get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
        !status)
        return status;
    image.reset(DCtoDIB(dc, 0, 0, width, height));
    return image ? DibStatus{} : DibStatus{DibError::OutOfMemory};
}

DibStatus write(const DibToolOptions& o, DIBHandle image, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Bmp: return DIBtoBMP(o.output, image);
    case OutputFormat::Jpeg: return DIBtoJPG(o.output, image, o.jpegQuality, o.progressive ? -1 : 0);
    case OutputFormat::Png: break;
    }
    return o.pngRecord ? DIBtoPNGex(o.output, image, *o.pngRecord) : DIBtoPNG(o.output, image, 0);
}

int runTool(const DibToolOptions& o, OutputFormat format)
{
    StepRunner steps(o.timings);
    DibGuard image;
    bool ok = steps.run("read", [&] {
        DIBHandle handle = 0;
        const DibStatus status = DIBFromFile(o.input, handle);
        image.reset(handle);
        return status;
    });
    if (ok && o.scaleWidth > 0)
        ok = steps.run("scale", [&] { return scaled(image, o.scaleWidth, o.scaleHeight); });
    if (ok && o.depth == 16)
        ok = steps.run("16bit", [&] { return DIBto16Bit(image.get(), 0); });
    if (ok && o.depth == 8)
        ok = steps.run("8bit", [&] { return DIBto8Bit(image.get(), o.reductionFlags, 0); });
    if (ok && o.gray > 0)
        ok = steps.run("gray", [&] { return GrayDIB(image.get(), o.gray); });
    if (ok && o.rle && o.depth == 8 && format == OutputFormat::Bmp)
        ok = steps.run("rle", [&] { return DIBtoRLE(image.get()); });
    if (ok)
        ok = steps.run("write", [&] { return write(o, image.get(), format); });
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // A file-size limit must fail the write (which leaves nothing behind), not kill
    // the tool in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string error;
    const auto options = parseDibToolOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "scrimble-dib: %s\n%s", error.c_str(), DibToolUsage);
        return 2;
    }
    const std::optional<OutputFormat> format = outputFormatOf(options->output);
    if (!format) {
        std::fprintf(stderr, "scrimble-dib: %s: OUT must end in .bmp, .jpg, .jpeg or .png\n", options->output.c_str());
        return 2;
    }
    return runTool(*options, *format);
}
