// The desktop capture mode's two hot paths on real screenshots:
//  - RenderPicture: mouse release to picture drawn (the refresh's image steps) for
//    a 1920x1080 selection of the 3840x2160 desktop at 100 % (24 and 8 bits) and
//    the whole desktop at 50 % (24 bits);
//  - the whole-screen grab on the running X display: X11ScreenGrabber (shared
//    memory and plain replies) beside Qt's QScreen::grabWindow(0);
//  - the save of a 1920x1080 selection at 100 % once the dialog has answered: the
//    Update's refresh with the grey step, the image taken from the picture, the
//    encoder, the file put in place (BMP 24 bits, RLE8, JPEG q60, PNG level 6);
//  - the clipboard copy of a 1920x1080 picture until another program (xclip) has
//    read it as PNG; needs an X display, like the grab.
// BM_PeakMemory, run alone, gives the peak RSS of one capture-mode workload
// (grab, buffer, picture, a whole-screen refresh at 100 %, 8 bits, grey) above
// the Qt baseline.

#include "BenchSupport.h"
#include "CaptureSelection.h"
#include "ImageOutput.h"
#include "OutputOptions.h"
#include "RenderPicture.h"
#include "platform/X11Clipboard.h"
#include "platform/X11ScreenGrabber.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const DeviceContext& desktop2160()
{
    static const DeviceContext desktop = loadDesktop("desk2160a.png");
    return desktop;
}

const DeviceContext& desktop1080()
{
    static const DeviceContext desktop = loadDesktop("desk1080a.png");
    return desktop;
}

void renderSelection(benchmark::State& state, int x, int y, int width, int height, std::int16_t magnification,
                     ColorDepth depth)
{
    const DeviceContext& desktop = desktop2160();
    CaptureSelection selection;
    selection.Magnification = magnification;
    SetSelectionSizes(selection, width, height);
    OutputOptions options;
    options.BitDepth = depth;
    // The picture window's surface, sized by the refresh's first steps, halftone as at load.
    DeviceContext picture(selection.ViewWidth, selection.ViewHeight);
    picture.stretchMode = HALFTONE;
    for (auto _ : state) {
        const DibStatus status = RenderPicture(desktop, picture, x, y, selection, options, GreyStep::No);
        if (!status)
            state.SkipWithError(status.text());
        benchmark::DoNotOptimize(picture.pixels());
    }
}

void BM_RenderPicture_1080_100_24bit(benchmark::State& state)
{
    renderSelection(state, 960, 540, 1920, 1080, 100, ColorDepth::Bits24);
}
void BM_RenderPicture_1080_100_8bit(benchmark::State& state)
{
    renderSelection(state, 960, 540, 1920, 1080, 100, ColorDepth::Bits8);
}
void BM_RenderPicture_2160_50_24bit(benchmark::State& state)
{
    renderSelection(state, 0, 0, 3840, 2160, 50, ColorDepth::Bits24);
}

void grabWith(benchmark::State& state, X11ScreenGrabber::Transfer transfer)
{
    X11ScreenGrabber grabber(QString(), transfer);
    const ScreenInfo info = grabber.screenInfo();
    for (auto _ : state) {
        QString error;
        grabber.grab([&error](ScreenShot shot) {
            error = shot.error;
            benchmark::DoNotOptimize(shot.picture.pixels());
        });
        if (!error.isEmpty()) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
    }
    state.SetLabel(std::to_string(info.width) + "x" + std::to_string(info.height)
                   + (grabber.usesSharedMemory() ? " shm" : " replies"));
}

void BM_Grab_X11ScreenGrabber(benchmark::State& state)
{
    grabWith(state, X11ScreenGrabber::Transfer::SharedMemoryWhenOffered);
}
void BM_Grab_X11ScreenGrabberReplies(benchmark::State& state)
{
    grabWith(state, X11ScreenGrabber::Transfer::RepliesOnly);
}

void BM_Grab_QtGrabWindow(benchmark::State& state)
{
    guiApplication();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        state.SkipWithError("no screen");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(screen->grabWindow(0).toImage().constBits());
}

// Argument: 0 BMP 24 bits, 1 RLE8 BMP, 2 JPEG quality 60, 3 PNG (level 6).
void BM_Save_1080(benchmark::State& state)
{
    const DeviceContext& desktop = desktop1080();
    CaptureSelection selection;
    SetSelectionSizes(selection, desktop.width(), desktop.height());
    OutputOptions options;
    const auto kind = state.range(0);
    if (kind == 1) {
        options.BitDepth = ColorDepth::Bits8;
        options.RleCompress = OptionTrue;
    }
    const SaveFormat format = kind <= 1 ? SaveFormat::Bmp : kind == 2 ? SaveFormat::Jpeg : SaveFormat::Png;
    const std::string path = "/tmp/scrimble-bench-save-" + std::to_string(kind);
    DeviceContext picture(selection.ViewWidth, selection.ViewHeight);
    picture.stretchMode = HALFTONE;
    for (auto _ : state) {
        DibStatus status = RenderPicture(desktop, picture, 0, 0, selection, options, GreyStep::Yes);
        const DibGuard image(DCtoDIB(picture, 0, 0, selection.ViewWidth, selection.ViewHeight));
        if (status)
            status = GrayDIB(image.get(), options.GrayStrength);
        if (status)
            status = WriteImage(image.get(), format, path, options);
        if (!status)
            state.SkipWithError(status.text());
    }
    if (QFile file(QString::fromStdString(path)); file.exists())
        state.counters["bytes"] = static_cast<double>(file.size());
    std::remove(path.c_str());
}

void BM_ClipboardCopy_1080(benchmark::State& state)
{
    guiApplication();
    const DeviceContext& picture = desktop1080();
    X11Clipboard clipboard;
    for (auto _ : state) {
        clipboard.setImage(picture, picture.width(), picture.height());
        QProcess xclip;
        xclip.setStandardOutputFile(QStringLiteral("/dev/null"));
        xclip.start(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "image/png", "-o"});
        // This process answers the paste request while xclip waits for it.
        while (xclip.state() != QProcess::NotRunning)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (xclip.exitCode() != 0) {
            state.SkipWithError("xclip read nothing");
            return;
        }
    }
}

BENCHMARK(BM_ClipboardCopy_1080)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save_1080)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderPicture_1080_100_24bit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderPicture_1080_100_8bit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderPicture_2160_50_24bit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Grab_X11ScreenGrabber)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Grab_X11ScreenGrabberReplies)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Grab_QtGrabWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One pass of what the capture mode holds at once: the desktop copy, the picture
// at 100 % of the whole screen, and the refresh's images and buffer. Peak RSS
// only grows, so this is meaningful alone in its process:
// --benchmark_filter=PeakMemory.
void BM_PeakMemory(benchmark::State& state)
{
    guiApplication();
    const long baseline = peakRssKiB();
    X11ScreenGrabber grabber;
    const ScreenInfo info = grabber.screenInfo();
    for (auto _ : state) {
        DeviceContext desktop(info.width, info.height);
        if (const QString error = grabber.read(desktop); !error.isEmpty()) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        CaptureSelection selection;
        SetSelectionSizes(selection, info.width, info.height);
        DeviceContext picture(selection.ViewWidth, selection.ViewHeight);
        picture.stretchMode = HALFTONE;
        OutputOptions options;
        options.BitDepth = ColorDepth::Bits8;
        if (!RenderPicture(desktop, picture, 0, 0, selection, options, GreyStep::Yes))
            state.SkipWithError("refresh failed");
    }
    const double copyKiB = static_cast<double>(info.width) * info.height * 4 / 1024.0;
    state.counters["baseline_MiB"] = static_cast<double>(baseline) / 1024.0;
    state.counters["above_MiB"] = static_cast<double>(peakRssKiB() - baseline) / 1024.0;
    state.counters["screen_copies"] = static_cast<double>(peakRssKiB() - baseline) / copyKiB;
}

BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
