#include "BmpRle.h"

#include <algorithm>
#include <cstring>

namespace {

// Where the next pixel goes; pixels outside the image are dropped.
class RlePen
{
public:
    RlePen(int width, int height, std::uint8_t* rows, std::size_t stride)
        : m_width(width)
        , m_height(height)
        , m_rows(rows)
        , m_stride(stride)
    {}

    void put(std::uint8_t index)
    {
        if (m_x < m_width && m_y < m_height)
            m_rows[m_stride * static_cast<std::size_t>(m_y) + static_cast<std::size_t>(m_x)] = index;
        ++m_x;
    }
    // n pixels at once, from indices or all of one index (8-bit streams).
    void putAll(const std::uint8_t* indices, std::uint8_t index, long n)
    {
        if (m_y < m_height && m_x < m_width) {
            std::uint8_t* at = m_rows + m_stride * static_cast<std::size_t>(m_y) + static_cast<std::size_t>(m_x);
            const auto inside = static_cast<std::size_t>(std::min(n, m_width - m_x));
            if (indices)
                std::memcpy(at, indices, inside);
            else
                std::memset(at, index, inside);
        }
        m_x += n;
    }
    void nextLine()
    {
        m_x = 0;
        ++m_y;
    }
    void move(int dx, int dy)
    {
        m_x += dx;
        m_y += dy;
    }
    [[nodiscard]] bool pastTheEnd() const { return m_y >= m_height; }

private:
    long m_x = 0;
    long m_y = 0;
    long m_width;
    long m_height;
    std::uint8_t* m_rows;
    std::size_t m_stride;
};

// The i-th index of an RLE4 absolute run's bytes.
std::uint8_t nibbleAt(std::span<const std::uint8_t> bytes, std::size_t i)
{
    const std::uint8_t b = bytes[i / 2];
    return (i & 1) ? b & 0x0F : b >> 4;
}

}  // namespace

bool drawRle(std::span<const std::uint8_t> in, int indexBits, int width, int height, std::uint8_t* rows,
             std::size_t stride)
{
    RlePen pen(width, height, rows, stride);
    std::size_t p = 0;
    while (p < in.size() && !pen.pastTheEnd()) {
        if (p + 1 >= in.size())
            return false;
        const unsigned count = in[p];
        const unsigned code = in[p + 1];
        p += 2;
        if (count > 0) {
            if (indexBits == 8) {
                pen.putAll(nullptr, static_cast<std::uint8_t>(code), count);
                continue;
            }
            for (unsigned i = 0; i < count; ++i)
                pen.put(static_cast<std::uint8_t>((i & 1) ? code & 0x0F : code >> 4));
        } else if (code == 0) {
            pen.nextLine();
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (p + 2 > in.size())
                return false;
            pen.move(in[p], in[p + 1]);
            p += 2;
        } else {
            const std::size_t bytes = (code * static_cast<unsigned>(indexBits) + 7) / 8;
            const std::size_t padded = bytes + (bytes & 1);
            if (p + bytes > in.size())
                return false;
            if (indexBits == 8)
                pen.putAll(in.data() + p, 0, code);
            else
                for (unsigned i = 0; i < code; ++i)
                    pen.put(nibbleAt(in.subspan(p, bytes), i));
            p = std::min(in.size(), p + padded);
        }
    }
    return true;
}
