// The image library on the shared screenshots (desk1080a.png, desk2160a.png):
// argument 0 = 1080p, 1 = 2160p. SCRIMBLE_BENCH_IMAGES overrides the folder.
#include "dibimage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

namespace {

std::string screenshot(std::int64_t size)
{
    const char* folder = std::getenv("SCRIMBLE_BENCH_IMAGES");
    return std::string(folder ? folder : SCRIMBLE_DEFAULT_BENCH_IMAGES)
           + (size == 0 ? "/desk1080a.png" : "/desk2160a.png");
}

// The screenshot drawn into a surface, the way the program holds the desktop copy.
class Screen
{
public:
    explicit Screen(std::int64_t size)
    {
        DIBHandle handle = 0;
        if (!DIBFromFile(screenshot(size), handle))
            return;
        DibGuard image(handle);
        int width = 0, height = 0, bitCount = 0;
        DIBDimensions(image.get(), width, height, bitCount);
        m_dc.resize(width, height);
        DIBStretchDIBits(m_dc, 0, 0, width, height, image.get(), 0, 0, width, height, SRCCOPY);
    }
    [[nodiscard]] bool ok() const { return m_dc.width() > 0; }
    [[nodiscard]] DIBHandle copy() const { return DCtoDIB(m_dc, 0, 0, m_dc.width(), m_dc.height()); }
    [[nodiscard]] const DeviceContext& dc() const { return m_dc; }

private:
    DeviceContext m_dc;
};

// Each screenshot is read once per process; benchmarks only read it afterwards.
const Screen& screenOf(std::int64_t size)
{
    static const Screen small(0);
    static const Screen large(1);
    return size == 0 ? small : large;
}

std::string outputPath(const char* name) { return "/tmp/scrimble-bench-" + std::to_string(::getpid()) + "-" + name; }

// Times step(image) on a fresh copy of the screenshot per iteration (the copy untimed).
void runOnCopy(benchmark::State& state, const std::function<void(DIBHandle)>& step)
{
    const Screen& screen = screenOf(state.range(0));
    if (!screen.ok()) {
        state.SkipWithError("screenshot not found");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        DibGuard image(screen.copy());
        state.ResumeTiming();
        step(image.get());
        state.PauseTiming();
        image.reset();
        state.ResumeTiming();
    }
}

// Like runOnCopy, with the copy reduced to 8 bits (untimed) first.
void runOn8BitCopy(benchmark::State& state, const std::function<void(DIBHandle)>& step)
{
    runOnCopy(state, [&](DIBHandle image) {
        state.PauseTiming();
        DIBto8Bit(image, 0, 0);
        state.ResumeTiming();
        step(image);
    });
}

void BM_DCtoDIB(benchmark::State& state)
{
    const Screen& screen = screenOf(state.range(0));
    for (auto _ : state) {
        DibGuard image(screen.copy());
        benchmark::DoNotOptimize(image.get());
    }
}

void BM_StretchHalf(benchmark::State& state)
{
    const Screen& screen = screenOf(state.range(0));
    DibGuard image(screen.copy());
    DeviceContext target(screen.dc().width() / 2, screen.dc().height() / 2);
    target.stretchMode = HALFTONE;
    for (auto _ : state)
        DIBStretchDIBits(target, 0, 0, target.width(), target.height(), image.get(), 0, 0, screen.dc().width(),
                         screen.dc().height(), SRCCOPY);
}

void BM_StretchOneToOne(benchmark::State& state)
{
    const Screen& screen = screenOf(state.range(0));
    DibGuard image(screen.copy());
    DeviceContext target(screen.dc().width(), screen.dc().height());
    target.stretchMode = HALFTONE;
    for (auto _ : state)
        DIBStretchDIBits(target, 0, 0, target.width(), target.height(), image.get(), 0, 0, target.width(),
                         target.height(), SRCCOPY);
}

void BM_DIBto8Bit(benchmark::State& state)
{
    runOnCopy(state, [&](DIBHandle image) { DIBto8Bit(image, static_cast<std::uint32_t>(state.range(1)), 0); });
}

void BM_DIBto8BitRleBmp(benchmark::State& state)
{
    const std::string path = outputPath("rle.bmp");
    runOnCopy(state, [&](DIBHandle image) {
        DIBto8Bit(image, 0, 0);
        DIBtoRLE(image);
        DIBtoBMP(path, image);
    });
    ::unlink(path.c_str());
}

void BM_DIBto16Bit(benchmark::State& state)
{
    runOnCopy(state, [](DIBHandle image) { DIBto16Bit(image, 0); });
}

void BM_DIBto24BitFrom8(benchmark::State& state)
{
    runOn8BitCopy(state, [](DIBHandle image) { DIBto24Bit(image); });
}

void BM_GrayDIB(benchmark::State& state)
{
    runOnCopy(state, [](DIBHandle image) { GrayDIB(image, 255); });
}

void BM_DIBtoRLE(benchmark::State& state)
{
    runOn8BitCopy(state, [](DIBHandle image) { DIBtoRLE(image); });
}

void BM_DIBtoBMP(benchmark::State& state)
{
    const std::string path = outputPath("a.bmp");
    runOnCopy(state, [&](DIBHandle image) { DIBtoBMP(path, image); });
    ::unlink(path.c_str());
}

void BM_DIBtoJPG(benchmark::State& state)
{
    const std::string path = outputPath("a.jpg");
    runOnCopy(state, [&](DIBHandle image) { DIBtoJPG(path, image, 60, static_cast<int>(state.range(1))); });
    ::unlink(path.c_str());
}

void BM_DIBtoPNG(benchmark::State& state)
{
    const std::string path = outputPath("a.png");
    runOnCopy(state, [&](DIBHandle image) { DIBtoPNG(path, image, 0); });
    ::unlink(path.c_str());
}

// The clipboard's PNG of the screen, from the device context as the copy holds it.
void BM_QuickPng(benchmark::State& state)
{
    const DeviceContext& dc = screenOf(state.range(0)).dc();
    std::vector<std::uint8_t> png;
    for (auto _ : state)
        QuickPng(dc.pixels(), dc.width(), dc.height(), dc.stride(), png);
    state.counters["bytes"] = static_cast<double>(png.size());
}

// The screenshot as a BI_RGB BMP file of 24 or 32 bits (blue, green, red and an unused
// byte, what Windows programs copy), rows bottom-up.
std::vector<std::uint8_t> screenBmp(const DeviceContext& dc, int bits)
{
    const auto width = static_cast<std::uint32_t>(dc.width());
    const auto height = static_cast<std::uint32_t>(dc.height());
    const std::uint32_t stride = (width * static_cast<std::uint32_t>(bits) + 31) / 32 * 4;
    std::vector<std::uint8_t> f;
    const auto put = [&f](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            f.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    f.push_back('B');
    f.push_back('M');
    for (const auto& [value, bytes] :
         std::initializer_list<std::pair<std::uint32_t, int>>{{54 + stride * height, 4},
                                                              {0, 4},
                                                              {54, 4},
                                                              {40, 4},
                                                              {width, 4},
                                                              {height, 4},
                                                              {1, 2},
                                                              {static_cast<std::uint32_t>(bits), 2},
                                                              {0, 4},
                                                              {stride * height, 4},
                                                              {0, 4},
                                                              {0, 4},
                                                              {0, 4},
                                                              {0, 4}})
        put(value, bytes);
    for (std::uint32_t y = height; y-- > 0;) {
        const std::uint32_t* row = dc.row(static_cast<int>(y));
        const std::size_t start = f.size();
        for (std::uint32_t x = 0; x < width; ++x)
            put(row[x] | 0xFF000000u, bits / 8);
        f.resize(start + stride, 0);
    }
    return f;
}

// Another program's BMP copy decoded, as the auto-save mode does: 24 against 32 bits.
void BM_DIBFromMemoryBmp(benchmark::State& state)
{
    const Screen& screen = screenOf(state.range(0));
    const std::vector<std::uint8_t> bmp = screenBmp(screen.dc(), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        DIBHandle handle = 0;
        if (!DIBFromMemory(bmp, handle))
            state.SkipWithError("not decoded");
        DeleteDIB(handle);
    }
}

}  // namespace

BENCHMARK(BM_DCtoDIB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchHalf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchOneToOne)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
// The second reduction case: brightness split, both box-colour flags and the YCrCb
// match (131457 in the benchmark's name).
constexpr std::int64_t ManyReductionFlags = SplitByBrightness | ColorFromAllPixels | ColorFromDistinct | MatchYCrCb;
BENCHMARK(BM_DIBto8Bit)->ArgsProduct({{0, 1}, {0, ManyReductionFlags}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBto8BitRleBmp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBto16Bit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBto24BitFrom8)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrayDIB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBtoRLE)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBtoBMP)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBtoJPG)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBtoPNG)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickPng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBFromMemoryBmp)->ArgsProduct({{0, 1}, {24, 32}})->Unit(benchmark::kMillisecond);
