#include "PngFilter.h"

#include <cstdlib>
#include <cstring>

namespace {

// One loop per filter type so that each can be vectorised.
void applyFilter(unsigned type, const std::uint8_t* row, const std::uint8_t* up, std::size_t n, std::size_t bpp,
                 std::uint8_t* out)
{
    const std::size_t head = bpp < n ? bpp : n;
    switch (type) {
    case FilterSub:
        std::memcpy(out, row, head);
        for (std::size_t i = head; i < n; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - row[i - bpp]);
        break;
    case FilterUp:
        for (std::size_t i = 0; i < n; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - up[i]);
        break;
    case FilterAverage:
        for (std::size_t i = 0; i < head; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - (up[i] >> 1));
        for (std::size_t i = head; i < n; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - ((row[i - bpp] + up[i]) >> 1));
        break;
    case FilterPaeth:
        for (std::size_t i = 0; i < head; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - up[i]);
        for (std::size_t i = head; i < n; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - paethPredictor<int>(row[i - bpp], up[i], up[i - bpp]));
        break;
    default: std::memcpy(out, row, n); break;
    }
}

std::uint64_t cost(const std::uint8_t* bytes, std::size_t n)
{
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += static_cast<std::uint64_t>(std::abs(static_cast<int>(static_cast<std::int8_t>(bytes[i]))));
    return sum;
}

}  // namespace

void filterScanline(const std::uint8_t* row, const std::uint8_t* prior, std::size_t length, std::size_t bytesPerPixel,
                    unsigned allowed, std::uint8_t* out, std::vector<std::uint8_t>& scratch)
{
    const std::uint8_t* up = prior;
    if (!up) {
        scratch.assign(2 * length, 0);
        up = scratch.data() + length;
    } else {
        scratch.resize(2 * length);
    }
    std::uint64_t best = UINT64_MAX;
    for (unsigned type = FilterNone; type <= FilterPaeth; ++type) {
        if (!(allowed & (1u << type)))
            continue;
        std::uint8_t* trial = (best == UINT64_MAX) ? out + 1 : scratch.data();
        applyFilter(type, row, up, length, bytesPerPixel, trial);
        const std::uint64_t c = (allowed & (allowed - 1)) ? cost(trial, length) : 0;
        if (c < best) {
            best = c;
            out[0] = static_cast<std::uint8_t>(type);
            if (trial != out + 1)
                std::memcpy(out + 1, trial, length);
        }
    }
}
