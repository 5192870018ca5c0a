// One tick of the auto-save watch:
//  - idle: the clipboard unchanged since the last look (answered from memory, no X
//    round trip), beside the format query a tick would make after every change;
//  - saving: a 1920x1080 screenshot on the clipboard written as 24-bit BMP, and a
//    3840x2160 one as PNG level 6, from the image taken to the file in place (the
//    clipboard's own transfer is not in it; bench/compare_autosave measures the
//    whole path from xclip to the file).
// The idle cases need an X display.

#include "BenchSupport.h"
#include "WatchTick.h"
#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A clipboard that offers the same image at every look and is never emptied.
class StandingImage final : public Clipboard
{
public:
    explicit StandingImage(DeviceContext image) : m_image(std::move(image)) {}
    void setImage(const DibSnapshot&) override {}
    bool hasImage() override { return true; }
    bool takeImage(DeviceContext& holder) override
    {
        holder = m_image;
        return true;
    }
    void clearTaken() override {}
    void clear() override {}

private:
    DeviceContext m_image;
};

void BM_IdleTick(benchmark::State& state)
{
    guiApplication();
    QtClipboard clipboard;
    clipboard.clear();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(clipboard.hasImage());
    for (auto _ : state)
        benchmark::DoNotOptimize(clipboard.hasImage());
}
BENCHMARK(BM_IdleTick);

// What every tick would cost if it asked the clipboard each time.
void BM_FormatQuery(benchmark::State& state)
{
    guiApplication();
    for (auto _ : state) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        benchmark::DoNotOptimize(data && data->hasImage());
    }
}
BENCHMARK(BM_FormatQuery)->Unit(benchmark::kMillisecond);

void savingTick(benchmark::State& state, const char* screenshot, SaveFormat format)
{
    StandingImage clipboard(loadDesktop(screenshot));
    QTemporaryDir folder;
    NamingState naming;
    naming.folder = folder.path();
    naming.overwriteAllowed = true;
    static_cast<void>(NormalizePattern(naming));
    CaptureFormat settings;
    settings.format = format;
    for (auto _ : state) {
        naming.serial = QStringLiteral("0");
        benchmark::DoNotOptimize(WatchTick(clipboard, naming, settings, [](const QString&) { return true; }));
    }
}

void BM_SavingTick_1080_Bmp24(benchmark::State& state)
{
    savingTick(state, "desk1080a.png", SaveFormat::Bmp);
}
BENCHMARK(BM_SavingTick_1080_Bmp24)->Unit(benchmark::kMillisecond);

void BM_SavingTick_2160_Png6(benchmark::State& state)
{
    savingTick(state, "desk2160a.png", SaveFormat::Png);
}
BENCHMARK(BM_SavingTick_2160_Png6)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
