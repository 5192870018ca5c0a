#include "DibToolOptions.h"

#include <charconv>

namespace {

// Decimal, or hexadecimal after "0x", within [low, high].
template<class T>
bool number(const std::string& text, T& value, long long low, long long high)
{
    const bool hex = text.rfind("0x", 0) == 0;
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    long long v = 0;
    const auto result = std::from_chars(begin, end, v, hex ? 16 : 10);
    if (result.ec != std::errc() || result.ptr != end || v < low || v > high)
        return false;
    value = static_cast<T>(v);
    return true;
}

// FLAGS,LEVEL,FILTERS,GAMMA, each decimal or 0x-hexadecimal.
bool pngRecord(const std::string& text, PngOptions& record)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma = text.find(',');; comma = text.find(',', start)) {
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return fields.size() == 4 && number(fields[0], record.flags, 0, 0xFFFFFFFF)
           && number(fields[1], record.level, 0, 0xFFFF) && number(fields[2], record.filters, 0, 0xFFFFFFFF)
           && number(fields[3], record.gamma, 0, 0xFFFFFFFF);
}

bool scale(const std::string& text, int& width, int& height)
{
    const auto x = text.find('x');
    return x != std::string::npos && number(text.substr(0, x), width, 1, 32768)
           && number(text.substr(x + 1), height, 1, 32768);
}

// Applies one option that takes a value; false when the value is wrong.
bool valueOption(const std::string& name, const std::string& value, DibToolOptions& o)
{
    if (name == "--depth")
        return number(value, o.depth, 8, 24) && (o.depth == 8 || o.depth == 16 || o.depth == 24);
    if (name == "--reduction-flags")
        return number(value, o.reductionFlags, 0, 0xFFFFFFFF);
    if (name == "--gray")
        return number(value, o.gray, 0, 255);
    if (name == "--scale")
        return scale(value, o.scaleWidth, o.scaleHeight);
    if (name == "--jpeg-quality")
        return number(value, o.jpegQuality, 1, 100);
    if (name == "--png-record") {
        PngOptions record;
        if (!pngRecord(value, record))
            return false;
        o.pngRecord = record;
        return true;
    }
    return false;
}

}  // namespace

std::optional<DibToolOptions> parseDibToolOptions(const std::vector<std::string>& args, std::string& error)
{
    DibToolOptions o;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--rle") {
            o.rle = true;
        } else if (a == "--progressive") {
            o.progressive = true;
        } else if (a == "--timings") {
            o.timings = true;
        } else if (a.rfind("--", 0) == 0) {
            if (i + 1 >= args.size() || !valueOption(a, args[i + 1], o)) {
                error = "bad or missing value for " + a;
                return std::nullopt;
            }
            ++i;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        error = "need an input and an output file";
        return std::nullopt;
    }
    o.input = files[0];
    o.output = files[1];
    return o;
}
