#include "OptionFields.h"

#include "shared/NumberField.h"

namespace {

// Text that is no number (yet: "-" on the way to "-4") keeps the previous value and
// stays as typed.
FieldCommit held(std::optional<std::int64_t> value, std::int64_t lower, std::int64_t upper, std::int32_t previous,
                 const QString& text)
{
    if (!value)
        return {previous, text};
    const auto committed = static_cast<std::int32_t>(NumberField::clamp(*value, lower, upper));
    return {committed, NumberField::formatPlain(committed)};
}

}  // namespace

FieldCommit CommitGrayStrength(const QString& text, std::int32_t previous)
{
    return held(NumberField::parseFloor(text), 0, MaxGrayStrength, previous, text);
}

FieldCommit CommitJpegQuality(const QString& text, std::int16_t previous)
{
    const std::optional<double> number = NumberField::parse(text);
    const auto rounded = number ? std::optional(NumberField::roundHalfEven(*number)) : std::nullopt;
    return held(rounded, MinJpegQuality, MaxJpegQuality, previous, text);
}

FieldCommit CommitPngCompression(const QString& text, std::int16_t previous)
{
    return held(NumberField::parseFloor(text), 0, MaxPngCompression, previous, text);
}

FieldCommit CommitPngGamma(const QString& text)
{
    return held(NumberField::parseFloor(text).value_or(0), 0, MaxPngGamma, 0, text);
}

void ResetOptions(OutputOptions& options)
{
    options.BitDepth = ColorDepth::Bits24;
    options.BoxSplitMethod = 0;
    options.BoxColorMethod = 0;
    options.PaletteMatchMethod = 0;
    options.RleCompress = OptionFalse;
    options.GrayStrength = 0;
    options.JpegQuality = 60;
    options.PngGamma = WindowsGamma;
    options.PngCompression = ResetPngCompression;
    options.PngFilters = {};
    options.PngDetailed = 0;
}
