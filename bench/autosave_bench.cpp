// The auto-save watch's costs:
//  - idle: a tick with the clipboard unchanged since the last look (no X round trip),
//    beside the format query a tick would make if it asked the clipboard each time;
//  - saving: a copied 1920x1080 screenshot (its PNG bytes, as a browser or xclip
//    offers them) decoded by the image library and written as 24-bit BMP, and a
//    3840x2160 one as PNG level 6: the writer thread's work for one copy (the
//    clipboard's own transfer is not in it; bench/compare_autosave measures the
//    whole path from xclip to the file).
// The idle cases need an X display.

#include "AutoSaveWatch.h"
#include "BenchSupport.h"
#include "platform/X11Clipboard.h"

#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_IdleTick(benchmark::State& state)
{
    guiApplication();
    X11Clipboard clipboard;
    AutoSaveWatch watch(clipboard, [](const QString&) { return true; });
    watch.start(std::chrono::milliseconds(500));
    const NamingState naming;
    for (auto _ : state)
        watch.tick(naming, CaptureFormat{});
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

QByteArray screenshotBytes(const char* file)
{
    const char* folder = std::getenv("SCRIMBLE_BENCH_IMAGES");
    QFile png(QString::fromUtf8(folder ? folder : SCRIMBLE_DEFAULT_BENCH_IMAGES) + u'/' + QString::fromUtf8(file));
    return png.open(QIODevice::ReadOnly) ? png.readAll() : QByteArray();
}

void savingCopy(benchmark::State& state, const char* screenshot, SaveFormat format)
{
    const QByteArray bytes = screenshotBytes(screenshot);
    QTemporaryDir folder;
    NamingState naming;
    naming.folder = folder.path();
    naming.overwriteAllowed = true;
    static_cast<void>(NormalizePattern(naming));
    CaptureFormat settings;
    settings.format = format;
    for (auto _ : state) {
        naming.serial = QStringLiteral("0");
        benchmark::DoNotOptimize(SaveCopy(bytes, naming, settings, [](const QString&) { return true; }));
    }
}

void BM_SavingCopy_1080_Bmp24(benchmark::State& state) { savingCopy(state, "desk1080a.png", SaveFormat::Bmp); }
BENCHMARK(BM_SavingCopy_1080_Bmp24)->Unit(benchmark::kMillisecond);

void BM_SavingCopy_2160_Png6(benchmark::State& state) { savingCopy(state, "desk2160a.png", SaveFormat::Png); }
BENCHMARK(BM_SavingCopy_2160_Png6)->Unit(benchmark::kMillisecond);

}  // namespace
