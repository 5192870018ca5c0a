#pragma once
// What the benchmarks share: the screenshots as device contexts, and the Qt
// application object that screen and clipboard access need.

#include "imaging/dibimage.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// The screenshot named file (desk1080a.png, ...) from $SCRIMBLE_BENCH_IMAGES or the
// folder the build was configured with; a black 3840x2160 surface when missing.
inline DeviceContext loadDesktop(const char* file)
{
    const char* folder = std::getenv("SCRIMBLE_BENCH_IMAGES");
    const std::string path = std::string(folder ? folder : SCRIMBLE_DEFAULT_BENCH_IMAGES) + "/" + file;
    const QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return DeviceContext(3840, 2160);
    }
    DeviceContext desktop(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(desktop.row(y), image.constScanLine(y), static_cast<std::size_t>(image.width()) * 4);
    return desktop;
}

// Made on first use, so that the Qt baseline is in place before a memory
// measurement starts.
inline QGuiApplication& guiApplication()
{
    static int argc = 1;
    static char name[] = "scrimble-bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return application;
}
