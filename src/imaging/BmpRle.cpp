#include "BmpRle.h"

#include <algorithm>

namespace {

// Where the next pixel goes; pixels outside the image are dropped.
class RlePen
{
public:
    RlePen(int width, int height, std::uint8_t* rows, std::size_t stride)
        : m_width(width), m_height(height), m_rows(rows), m_stride(stride)
    {
    }

    void put(std::uint8_t index)
    {
        if (m_x < m_width && m_y < m_height)
            m_rows[m_stride * static_cast<std::size_t>(m_y) + static_cast<std::size_t>(m_x)] = index;
        ++m_x;
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

// The i-th index of a run or absolute run's bytes.
std::uint8_t indexAt(std::span<const std::uint8_t> bytes, std::size_t i, int indexBits)
{
    if (indexBits == 8)
        return bytes[i];
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
            const std::uint8_t first = indexBits == 8 ? static_cast<std::uint8_t>(code) : static_cast<std::uint8_t>(code >> 4);
            const std::uint8_t second = indexBits == 8 ? first : static_cast<std::uint8_t>(code & 0x0F);
            for (unsigned i = 0; i < count; ++i)
                pen.put((i & 1) ? second : first);
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
            for (unsigned i = 0; i < code; ++i)
                pen.put(indexAt(in.subspan(p, bytes), i, indexBits));
            p = std::min(in.size(), p + padded);
        }
    }
    return true;
}
