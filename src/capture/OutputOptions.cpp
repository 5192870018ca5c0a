#include "OutputOptions.h"

#include <cstddef>

namespace {

// A flag table lookup that tolerates an index the options window never sets.
template<std::size_t N>
std::uint32_t flagAt(const std::array<std::uint32_t, N>& table, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[static_cast<std::size_t>(index)] : 0;
}

}  // namespace

void InitOutputOptions(OutputOptions& options)
{
    const OutputOptions modeStart;
    options.BitDepth = modeStart.BitDepth;
    options.RleCompress = modeStart.RleCompress;
    options.BoxSplitMethod = modeStart.BoxSplitMethod;
    options.BoxColorMethod = modeStart.BoxColorMethod;
    options.PaletteMatchMethod = modeStart.PaletteMatchMethod;
    options.JpegQuality = modeStart.JpegQuality;
    options.PngDetailed = modeStart.PngDetailed;
    options.PngCompression = modeStart.PngCompression;
    options.PngGamma = modeStart.PngGamma;
    options.PngFilters = modeStart.PngFilters;
    options.PngInterlace = modeStart.PngInterlace;
}

std::uint32_t ReductionFlags(const OutputOptions& options)
{
    return flagAt(PaletteMatchFlags, options.PaletteMatchMethod) | flagAt(BoxColorFlags, options.BoxColorMethod)
           | flagAt(BoxSplitFlags, options.BoxSplitMethod);
}

std::uint32_t PngFilterSet(const OutputOptions& options)
{
    std::uint32_t set = 0;
    for (std::size_t box = 0; box < options.PngFilters.size(); ++box) {
        const int state = options.PngFilters[box];
        if (state == 0 || state == 1)
            set |= PngFilterFlags[static_cast<std::size_t>(state)][box];
    }
    return set == 0 ? PngFilterFlags[1][0] : set;
}

PngOptions PngOptionRecord(const OutputOptions& options)
{
    PngOptions record;
    record.flags = flagAt(PngInterlaceFlags, options.PngInterlace) | PngOptions::LevelGiven | PngOptions::FiltersGiven
                   | PngOptions::GammaGiven;
    record.level = static_cast<std::uint16_t>(options.PngCompression);
    record.filters = PngFilterSet(options);
    record.gamma = static_cast<std::uint32_t>(options.PngGamma);
    return record;
}

std::int32_t JpegProgressiveArgument(const OutputOptions& options)
{
    return options.JpegProgressive != OptionFalse ? -1 : 0;
}

bool ReducesColors(const OutputOptions& options)
{
    return options.BitDepth == ColorDepth::Bits16 || options.BitDepth == ColorDepth::Bits8;
}

DibStatus ReduceColors(DIBHandle image, const OutputOptions& options)
{
    return ConvertDepth(image, options.BitDepth, ReductionFlags(options));
}
