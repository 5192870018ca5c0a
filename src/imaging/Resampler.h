#pragma once
// Separable resampling of B, G, R rows in 14-bit fixed point.

#include <cstdint>
#include <functional>
#include <vector>

// The taps of one axis: output i reads inputs first[i] .. first[i] + taps - 1 with the
// weights weights[i * taps + k], which add up to 1 << Resampler::Shift. Every output
// has the same number of taps (short ones padded with zero weights), so the inner
// loops have a fixed length.
struct AxisTaps {
    std::vector<int> first;
    std::vector<std::int32_t> weights;
    int taps = 0;
};

// Builds the taps that map inputSize samples onto outputSize: area averaging when
// shrinking, a triangle (bilinear) filter when enlarging, identity when equal.
// Only outputs [outBegin, outEnd) get taps (index i - outBegin).
[[nodiscard]] AxisTaps axisTaps(int inputSize, int outputSize, int outBegin, int outEnd);

namespace Resampler {
inline constexpr int Shift = 14;

// Source rows as B, G, R bytes: row(y) for y in [0, input height).
using RowSource = std::function<const std::uint8_t*(int y, std::vector<std::uint8_t>& scratch)>;
// Receives finished output rows (index from the first clipped row) as B, G, R bytes.
using RowSink = std::function<void(int y, const std::uint8_t* bgr)>;

// Scales with the given taps; returns false when memory runs out.
[[nodiscard]] bool resample(const RowSource& source, const AxisTaps& columns, const AxisTaps& rows,
                            const RowSink& sink);
}  // namespace Resampler
