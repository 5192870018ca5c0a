#pragma once
// What `scrimble --grab` is asked for, read from the command line without a window:
// the part of the screen, the delay, and where the picture goes with which of the
// image library's options. The options are those of the capture save, mapped to
// the library in one place (capture/ImageOutput).

#include "capture/OutputOptions.h"
#include "shared/ImageFiles.h"

#include <QRect>
#include <QString>

#include <optional>
#include <variant>

class QCommandLineParser;

enum class GrabTarget {
    PicturesFolder,  // the first free Picture_####.png in the user's pictures folder
    File,
    StandardOutput,  // --output -: a PNG
    Clipboard,
};

struct GrabRequest {
    std::optional<QRect> region;  // screen pixels; none: the whole screen
    int delayMilliseconds = 0;
    GrabTarget target = GrabTarget::PicturesFolder;
    QString output;  // File: the name as given
    SaveFormat format = SaveFormat::Png;
    OutputOptions options;
};

// The documented exit statuses of the grab.
namespace GrabExit {
inline constexpr int Written = 0;
inline constexpr int NoScreen = 1;        // no display, the desktop refused or the read failed
inline constexpr int BadCommandLine = 2;  // as for every refused command line
inline constexpr int OutsideScreen = 3;   // the region is not wholly on the screen
inline constexpr int WriteFailed = 4;     // the file, standard output or the clipboard
}  // namespace GrabExit

// Adds --grab and its options to the program's parser.
void AddGrabOptions(QCommandLineParser& parser);
// Whether --grab was given (after a successful parse).
[[nodiscard]] bool IsGrabAsked(const QCommandLineParser& parser);
// The request, or the one-line reason it is refused (without the program's name). A
// grab option without --grab is refused too.
[[nodiscard]] std::variant<GrabRequest, QString> ReadGrabRequest(const QCommandLineParser& parser);

// "WIDTHxHEIGHT+X+Y" (the X geometry form, X and Y not negative) or "WIDTHxHEIGHT" at
// the top-left corner; none for anything else and for an empty size.
[[nodiscard]] std::optional<QRect> ParseRegion(const QString& text);
