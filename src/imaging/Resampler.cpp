#include "Resampler.h"

#include "Dib.h"
#include "Parallel.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Weights of one output sample before normalisation, over inputs [first, first + n).
void sampleWeights(double scale, int inputSize, int i, int& first, std::vector<double>& w)
{
    w.clear();
    const double centre = (i + 0.5) * scale;
    if (scale > 1.0) {
        const double left = centre - scale / 2;
        const double right = centre + scale / 2;
        first = std::max(0, static_cast<int>(std::floor(left)));
        const int last = std::min(inputSize, static_cast<int>(std::ceil(right)));
        for (int x = first; x < last; ++x)
            w.push_back(std::max(0.0, std::min<double>(right, x + 1) - std::max<double>(left, x)));
        return;
    }
    first = std::max(0, static_cast<int>(std::floor(centre - 1.5)));
    const int last = std::min(inputSize, static_cast<int>(std::ceil(centre + 1.5)));
    for (int x = first; x < last; ++x)
        w.push_back(std::max(0.0, 1.0 - std::abs(x + 0.5 - centre)));
}

}  // namespace

namespace {

// Fixed-point weights of one output, rounded so that they add up exactly to one.
std::vector<std::int32_t> fixedWeights(const std::vector<double>& w)
{
    double sum = 0;
    for (double v : w)
        sum += v;
    std::vector<std::int32_t> out;
    std::int32_t given = 0;
    for (double v : w) {
        out.push_back(static_cast<std::int32_t>(std::lround(v / sum * (1 << Resampler::Shift))));
        given += out.back();
    }
    // Rounding leftovers go to the heaviest tap so that flat areas stay exact.
    *std::max_element(out.begin(), out.end()) += (1 << Resampler::Shift) - given;
    return out;
}

}  // namespace

AxisTaps axisTaps(int inputSize, int outputSize, int outBegin, int outEnd)
{
    const double scale = static_cast<double>(inputSize) / outputSize;
    std::vector<int> firsts;
    std::vector<std::vector<std::int32_t>> all;
    std::vector<double> w;
    std::size_t taps = 1;
    for (int i = outBegin; i < outEnd; ++i) {
        int first = i;
        if (inputSize == outputSize)
            w.assign(1, 1.0);
        else
            sampleWeights(scale, inputSize, i, first, w);
        while (w.size() > 1 && w.back() <= 0.0)
            w.pop_back();
        while (w.size() > 1 && w.front() <= 0.0) {
            w.erase(w.begin());
            ++first;
        }
        firsts.push_back(first);
        all.push_back(fixedWeights(w));
        taps = std::max(taps, all.back().size());
    }
    AxisTaps result;
    result.taps = static_cast<int>(taps);
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::vector<std::int32_t>& weights = all[i];
        // Pad to the common length, moving the start left where the end would pass the edge.
        const int over = std::max(0, firsts[i] + static_cast<int>(taps) - inputSize);
        weights.insert(weights.begin(), static_cast<std::size_t>(over), 0);
        weights.resize(taps, 0);
        result.first.push_back(firsts[i] - over);
        result.weights.insert(result.weights.end(), weights.begin(), weights.end());
    }
    return result;
}

namespace {

std::uint8_t clampShift(std::int32_t acc)
{
    return static_cast<std::uint8_t>(std::clamp((acc + (1 << (Resampler::Shift - 1))) >> Resampler::Shift, 0, 255));
}

template<int Taps>
void horizontalRowFixed(const std::uint8_t* in, const AxisTaps& columns, std::uint8_t* out)
{
    const std::size_t n = columns.first.size();
    const std::int32_t* w = columns.weights.data();
    for (std::size_t i = 0; i < n; ++i, w += Taps) {
        const std::uint8_t* p = in + 3 * static_cast<std::size_t>(columns.first[i]);
        std::int32_t b = 0, g = 0, r = 0;
        for (int k = 0; k < Taps; ++k) {
            b += w[k] * p[3 * k];
            g += w[k] * p[3 * k + 1];
            r += w[k] * p[3 * k + 2];
        }
        out[3 * i] = clampShift(b);
        out[3 * i + 1] = clampShift(g);
        out[3 * i + 2] = clampShift(r);
    }
}

void horizontalRowAny(const std::uint8_t* in, const AxisTaps& columns, std::uint8_t* out)
{
    const std::size_t n = columns.first.size();
    const std::int32_t* w = columns.weights.data();
    for (std::size_t i = 0; i < n; ++i, w += columns.taps) {
        const std::uint8_t* p = in + 3 * static_cast<std::size_t>(columns.first[i]);
        std::int32_t b = 0, g = 0, r = 0;
        for (int k = 0; k < columns.taps; ++k, p += 3) {
            b += w[k] * p[0];
            g += w[k] * p[1];
            r += w[k] * p[2];
        }
        out[3 * i] = clampShift(b);
        out[3 * i + 1] = clampShift(g);
        out[3 * i + 2] = clampShift(r);
    }
}

// The common tap counts get loops the compiler can unroll.
void horizontalRow(const std::uint8_t* in, const AxisTaps& columns, std::uint8_t* out)
{
    switch (columns.taps) {
    case 1: horizontalRowFixed<1>(in, columns, out); break;
    case 2: horizontalRowFixed<2>(in, columns, out); break;
    case 3: horizontalRowFixed<3>(in, columns, out); break;
    case 4: horizontalRowFixed<4>(in, columns, out); break;
    default: horizontalRowAny(in, columns, out); break;
    }
}

}  // namespace

bool Resampler::resample(const RowSource& source, const AxisTaps& columns, const AxisTaps& rows, const RowSink& sink)
{
    if (rows.first.empty() || columns.first.empty())
        return true;
    const int rowBegin = *std::min_element(rows.first.begin(), rows.first.end());
    const int rowEnd = *std::max_element(rows.first.begin(), rows.first.end()) + rows.taps;
    const std::size_t width = 3 * columns.first.size();
    Bytes middle;
    if (allocateBytes(middle, width * static_cast<std::size_t>(rowEnd - rowBegin)) != DibError::None)
        return false;
    const auto horizontalPass = [&](int begin, int end) {
        std::vector<std::uint8_t> scratch;
        for (int y = begin; y < end; ++y)
            horizontalRow(source(rowBegin + y, scratch), columns, middle.data() + width * static_cast<std::size_t>(y));
    };
    if (!splitInTwo(rowEnd - rowBegin, 32, horizontalPass))
        return false;
    const int outRows = static_cast<int>(rows.first.size());
    const auto verticalPass = [&](int begin, int end) {
        std::vector<std::int32_t> acc(width);
        std::vector<std::uint8_t> out(width);
        for (int y = begin; y < end; ++y) {
            std::fill(acc.begin(), acc.end(), 0);
            const std::int32_t* w =
                rows.weights.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(rows.taps);
            for (int k = 0; k < rows.taps; ++k) {
                const std::uint8_t* in =
                    middle.data()
                    + width * static_cast<std::size_t>(rows.first[static_cast<std::size_t>(y)] + k - rowBegin);
                for (std::size_t i = 0; i < width; ++i)
                    acc[i] += w[k] * in[i];
            }
            for (std::size_t i = 0; i < width; ++i)
                out[i] = clampShift(acc[i]);
            sink(y, out.data());
        }
    };
    return splitInTwo(outRows, 32, verticalPass);
}
