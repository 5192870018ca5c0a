#include "GrabRequest.h"

#include "capture/ImageOutput.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>

namespace {

const QString Grab = QStringLiteral("grab");
const QString Region = QStringLiteral("region");
const QString Delay = QStringLiteral("delay");
const QString Output = QStringLiteral("output");
const QString ToClipboard = QStringLiteral("clipboard");
const QString Depth = QStringLiteral("depth");
const QString Rle = QStringLiteral("rle");
const QString Gray = QStringLiteral("gray");
const QString JpegQuality = QStringLiteral("jpeg-quality");
const QString Progressive = QStringLiteral("progressive");
const QString PngLevel = QStringLiteral("png-level");

// The options that shape a file, and the one format each belongs to (none: any).
struct FileOption {
    const QString& name;
    std::optional<SaveFormat> format;
};
const FileOption FileOptions[] = {{Depth, SaveFormat::Bmp},        {Rle, SaveFormat::Bmp},
                                  {JpegQuality, SaveFormat::Jpeg}, {Progressive, SaveFormat::Jpeg},
                                  {PngLevel, SaveFormat::Png},     {Gray, std::nullopt}};

const char* FormatNames[] = {"BMP", "JPEG", "PNG"};

std::optional<int> integerIn(const QString& text, int lowest, int highest)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= lowest && value <= highest ? std::optional<int>(value) : std::nullopt;
}

// --delay: seconds, fractions allowed, up to a day.
std::optional<int> delayOf(const QString& text)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 86400)
        return std::nullopt;
    return static_cast<int>(std::lround(seconds * 1000));
}

QString badValue(const QString& option, const QString& value, const char* allowed)
{
    return QCoreApplication::translate("GrabRequest", "bad value '%1' for --%2 (%3)")
        .arg(value, option, QString::fromLatin1(allowed));
}

// Where the picture goes and in which format.
std::optional<QString> readTarget(const QCommandLineParser& parser, GrabRequest& request)
{
    if (parser.isSet(Output) && parser.isSet(ToClipboard))
        return QCoreApplication::translate("GrabRequest", "--output and --clipboard exclude each other");
    if (parser.isSet(ToClipboard)) {
        request.target = GrabTarget::Clipboard;
        return std::nullopt;
    }
    if (!parser.isSet(Output))
        return std::nullopt;
    request.output = parser.value(Output);
    if (request.output == u"-") {
        request.target = GrabTarget::StandardOutput;
        return std::nullopt;
    }
    const std::optional<SaveFormat> format = FormatOfSave(AllFilesFilter, request.output);
    if (!format)
        return QCoreApplication::translate("GrabRequest", "cannot tell the format of '%1': its name must end in "
                                                          ".bmp, .jpg, .jpe, .jpeg or .png")
            .arg(request.output);
    request.target = GrabTarget::File;
    request.format = *format;
    return std::nullopt;
}

std::optional<QString> checkFileOptions(const QCommandLineParser& parser, const GrabRequest& request)
{
    for (const FileOption& option : FileOptions) {
        if (!parser.isSet(option.name))
            continue;
        if (request.target == GrabTarget::Clipboard)
            return QCoreApplication::translate("GrabRequest", "--%1 applies to a file, not to the clipboard")
                .arg(option.name);
        if (option.format && *option.format != request.format)
            return QCoreApplication::translate("GrabRequest", "--%1 applies to %2 files only")
                .arg(option.name, QString::fromLatin1(FormatNames[static_cast<int>(*option.format)]));
    }
    return std::nullopt;
}

// The library's options as the flags ask; the rest keep the capture save's defaults.
std::optional<QString> readFileOptions(const QCommandLineParser& parser, OutputOptions& options)
{
    if (parser.isSet(Depth)) {
        const QString value = parser.value(Depth);
        if (value == u"24" || value == u"16" || value == u"8")
            options.BitDepth = value == u"24"   ? ColorDepth::Bits24
                               : value == u"16" ? ColorDepth::Bits16
                                                : ColorDepth::Bits8;
        else
            return badValue(Depth, value, "24, 16 or 8");
    }
    if (parser.isSet(Rle)) {
        if (options.BitDepth != ColorDepth::Bits8)
            return QCoreApplication::translate("GrabRequest", "--rle needs --depth 8");
        options.RleCompress = OptionTrue;
    }
    if (parser.isSet(Gray)) {
        const std::optional<int> strength = integerIn(parser.value(Gray), 0, 255);
        if (!strength)
            return badValue(Gray, parser.value(Gray), "0 to 255");
        options.GrayStrength = *strength;
    }
    if (parser.isSet(JpegQuality)) {
        const std::optional<int> quality = integerIn(parser.value(JpegQuality), 1, 100);
        if (!quality)
            return badValue(JpegQuality, parser.value(JpegQuality), "1 to 100");
        options.JpegQuality = static_cast<std::int16_t>(*quality);
    }
    if (parser.isSet(Progressive))
        options.JpegProgressive = OptionTrue;
    if (parser.isSet(PngLevel)) {
        const std::optional<int> level = integerIn(parser.value(PngLevel), 0, 9);
        if (!level)
            return badValue(PngLevel, parser.value(PngLevel), "0 to 9");
        // The writer chooses each row's filter among all four, as the plain writer does.
        options.PngDetailed = 1;
        options.PngCompression = static_cast<std::int16_t>(*level);
        options.PngFilters = {1, 1, 1, 1};
    }
    return std::nullopt;
}

}  // namespace

void AddGrabOptions(QCommandLineParser& parser)
{
    const auto add = [&parser](const QString& name, const QString& description, const QString& value = {}) {
        parser.addOption(QCommandLineOption(name, description, value));
    };
    add(Grab, QCoreApplication::translate("GrabRequest", "Take a screenshot without a window and end: the whole "
                                                         "screen, saved as the first free Picture_####.png in the "
                                                         "pictures folder, unless the options below say otherwise."));
    add(Region,
        QCoreApplication::translate("GrabRequest", "With --grab: only this part of the screen, in screen pixels "
                                                   "(X geometry: 200x150+100+50)."),
        QStringLiteral("WxH+X+Y"));
    add(Delay, QCoreApplication::translate("GrabRequest", "With --grab: wait this long first (fractions allowed)."),
        QStringLiteral("seconds"));
    add(Output,
        QCoreApplication::translate("GrabRequest", "With --grab: save to <file>, in the format of its extension "
                                                   "(.bmp, .jpg, .jpeg, .png); - writes a PNG to standard output."),
        QStringLiteral("file"));
    add(ToClipboard, QCoreApplication::translate("GrabRequest", "With --grab: put the screenshot on the clipboard "
                                                                "instead; the program stays in the background until "
                                                                "another program takes the clipboard."));
    add(Depth, QCoreApplication::translate("GrabRequest", "BMP: colour depth 24, 16 or 8 bits."),
        QStringLiteral("bits"));
    add(Rle, QCoreApplication::translate("GrabRequest", "BMP: run-length encoded (with --depth 8)."));
    add(Gray,
        QCoreApplication::translate("GrabRequest", "Move the colours toward grey: 0 (not at all) to 255 (fully grey)."),
        QStringLiteral("strength"));
    add(JpegQuality, QCoreApplication::translate("GrabRequest", "JPEG: quality 1 to 100 (60 without it)."),
        QStringLiteral("quality"));
    add(Progressive, QCoreApplication::translate("GrabRequest", "JPEG: progressive."));
    add(PngLevel, QCoreApplication::translate("GrabRequest", "PNG: compression level 0 (fastest) to 9 (smallest)."),
        QStringLiteral("level"));
}

bool IsGrabAsked(const QCommandLineParser& parser) { return parser.isSet(Grab); }

std::variant<GrabRequest, QString> ReadGrabRequest(const QCommandLineParser& parser)
{
    if (!parser.isSet(Grab)) {
        for (const QString& name :
             {Region, Delay, Output, ToClipboard, Depth, Rle, Gray, JpegQuality, Progressive, PngLevel})
            if (parser.isSet(name))
                return QCoreApplication::translate("GrabRequest", "--%1 needs --grab").arg(name);
    }
    GrabRequest request;
    if (parser.isSet(Region)) {
        request.region = ParseRegion(parser.value(Region));
        if (!request.region)
            return badValue(Region, parser.value(Region), "WIDTHxHEIGHT+X+Y, at least 1x1");
    }
    if (parser.isSet(Delay)) {
        const std::optional<int> delay = delayOf(parser.value(Delay));
        if (!delay)
            return badValue(Delay, parser.value(Delay), "0 to 86400 seconds");
        request.delayMilliseconds = *delay;
    }
    if (const std::optional<QString> problem = readTarget(parser, request))
        return *problem;
    if (const std::optional<QString> problem = checkFileOptions(parser, request))
        return *problem;
    if (const std::optional<QString> problem = readFileOptions(parser, request.options))
        return *problem;
    return request;
}

std::optional<QRect> ParseRegion(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})(?:\\+(\\d{1,5})\\+(\\d{1,5}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QRect region(match.captured(3).toInt(), match.captured(4).toInt(), match.captured(1).toInt(),
                       match.captured(2).toInt());
    return region.isEmpty() ? std::nullopt : std::optional<QRect>(region);
}
