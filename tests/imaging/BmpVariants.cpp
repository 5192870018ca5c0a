#include "BmpVariants.h"

#include "ImagingTestSupport.h"

#include <bit>

namespace {

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool indexed(const BmpVariant& v) { return v.bits <= 8; }

// An 8-bit channel value at the mask's bits, in the mask's place.
std::uint32_t channelBits(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t max = (std::uint64_t{mask} >> shift);
    return static_cast<std::uint32_t>((value * max + 127) / 255) << shift;
}

std::array<std::uint32_t, 4> masksOf(const BmpVariant& v)
{
    if (v.compression == 3 || v.compression == 6)
        return v.masks;
    return v.bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x3E0, 0x1F, 0}
                        : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
}

void directRow(const BmpVariant& v, const BmpPicture& p, int y, std::vector<std::uint8_t>& out)
{
    const auto masks = masksOf(v);
    for (int x = 0; x < p.width; ++x) {
        const std::uint32_t argb = p.argb(x, y);
        if (v.bits == 24 || (v.bits == 32 && v.compression == 0)) {
            put(out, argb & 0xFFFFFF, 3);
            if (v.bits == 32)
                out.push_back(v.filler);
            continue;
        }
        std::uint32_t pixel = 0;
        for (std::size_t c = 0; c < 4; ++c)
            pixel |= channelBits((argb >> (c == 3 ? 24 : 16 - 8 * c)) & 0xFF, masks[c]);
        put(out, pixel, v.bits / 8);
    }
}

void indexRow(const BmpVariant& v, const BmpPicture& p, int y, std::vector<std::uint8_t>& out)
{
    SamplePacker packer(out);
    for (int x = 0; x < p.width; ++x)
        packer.put(indexAtDepth(p, v.bits, x, y), v.bits);
    packer.endRow();
}

// Run-length rows, bottom-up: a run of index 0 is passed over with a delta, a run of
// two or more of one index is a run, three or more different indices an absolute run.
class RleWriter
{
public:
    RleWriter(const BmpVariant& v, const BmpPicture& p) : m_v(v), m_p(p) {}

    std::vector<std::uint8_t> stream()
    {
        for (int row = 0; row < m_p.height; ++row) {
            const int y = m_p.height - 1 - row;
            if (m_v.deltas && allZero(y) && row == m_p.height - 1)
                break;
            if (m_v.deltas && allZero(y))
                m_out.insert(m_out.end(), {0, 2, 0, 1});
            else
                encodeRow(y);
        }
        m_out.insert(m_out.end(), {0, 1});
        return m_out;
    }

private:
    unsigned at(int x, int y) const { return indexAtDepth(m_p, m_v.bits, x, y); }
    bool allZero(int y) const
    {
        for (int x = 0; x < m_p.width; ++x)
            if (at(x, y) != 0)
                return false;
        return true;
    }
    int runLength(int x, int y) const
    {
        int n = 1;
        while (x + n < m_p.width && n < 255 && at(x + n, y) == at(x, y))
            ++n;
        return n;
    }

    void encodeRow(int y)
    {
        int x = 0;
        while (x < m_p.width) {
            const int run = runLength(x, y);
            if (run >= 2 && at(x, y) == 0 && m_v.deltas) {
                m_out.insert(m_out.end(), {0, 2, static_cast<std::uint8_t>(run), 0});
            } else if (run >= 2) {
                const unsigned v = at(x, y);
                m_out.insert(m_out.end(), {static_cast<std::uint8_t>(run),
                                           static_cast<std::uint8_t>(m_v.bits == 4 ? v << 4 | v : v)});
            } else {
                int n = 1;
                while (x + n < m_p.width && runLength(x + n, y) < 2 && n < 255)
                    ++n;
                absolute(x, y, n);
                x += n;
                continue;
            }
            x += run;
        }
        m_out.insert(m_out.end(), {0, 0});
    }

    void absolute(int x, int y, int n)
    {
        if (n < 3) {
            for (int i = 0; i < n; ++i) {
                const unsigned v = at(x + i, y);
                m_out.insert(m_out.end(), {1, static_cast<std::uint8_t>(m_v.bits == 4 ? v << 4 : v)});
            }
            return;
        }
        m_out.insert(m_out.end(), {0, static_cast<std::uint8_t>(n)});
        std::vector<std::uint8_t> data;
        for (int i = 0; i < n; ++i) {
            if (m_v.bits == 8)
                data.push_back(static_cast<std::uint8_t>(at(x + i, y)));
            else if (i % 2 == 0)
                data.push_back(static_cast<std::uint8_t>(at(x + i, y) << 4));
            else
                data.back() |= static_cast<std::uint8_t>(at(x + i, y));
        }
        if (data.size() % 2 == 1)
            data.push_back(0);
        m_out.insert(m_out.end(), data.begin(), data.end());
    }

    const BmpVariant& m_v;
    const BmpPicture& m_p;
    std::vector<std::uint8_t> m_out;
};

std::uint32_t paletteEntriesOf(const BmpVariant& v)
{
    if (!indexed(v))
        return 0;
    if (v.paletteEntries)
        return v.paletteEntries;
    return v.colorsUsed ? v.colorsUsed : 1u << v.bits;
}

}  // namespace

unsigned indexAtDepth(const BmpPicture& picture, int bits, int x, int y) { return picture.index(x, y) % (1u << bits); }

std::vector<std::uint8_t> bmpBody(const BmpVariant& v, const BmpPicture& p)
{
    if (v.compression == 1 || v.compression == 2)
        return RleWriter(v, p).stream();
    std::vector<std::uint8_t> body;
    for (int row = 0; row < p.height; ++row) {
        const int y = v.topDown ? row : p.height - 1 - row;
        const std::size_t start = body.size();
        if (indexed(v))
            indexRow(v, p, y, body);
        else
            directRow(v, p, y, body);
        while ((body.size() - start) % 4 != 0)
            body.push_back(0);
    }
    return body;
}

std::vector<std::uint8_t> bmpOf(const BmpVariant& v, const BmpPicture& p, const std::vector<std::uint8_t>& embedded)
{
    const bool embeds = v.compression == 4 || v.compression == 5;
    const std::vector<std::uint8_t> body = embeds ? embedded : bmpBody(v, p);
    const bool fieldsAfterInfo = v.infoSize == 40 && (v.compression == 3 || v.compression == 6);
    const std::uint32_t maskBytes = fieldsAfterInfo ? (v.compression == 6 ? 16 : 12) : 0;
    const std::uint32_t entryBytes = v.infoSize == 12 ? 3 : 4;
    const std::uint32_t offset = 14 + v.infoSize + maskBytes + entryBytes * paletteEntriesOf(v);
    std::vector<std::uint8_t> f{'B', 'M'};
    put(f, offset + static_cast<std::uint32_t>(body.size()), 4);
    put(f, 0, 4);
    put(f, offset, 4);
    put(f, v.infoSize, 4);
    if (v.infoSize == 12) {
        for (const int value : {p.width, p.height, 1, v.bits})
            put(f, static_cast<std::uint32_t>(value), 2);
    } else {
        put(f, static_cast<std::uint32_t>(p.width), 4);
        put(f, static_cast<std::uint32_t>(v.topDown ? -p.height : p.height), 4);
        put(f, 1, 2);
        put(f, static_cast<std::uint32_t>(v.bits), 2);
        for (const std::uint32_t value :
             {v.compression, static_cast<std::uint32_t>(body.size()), 2835u, 2835u, v.colorsUsed, 0u})
            put(f, value, 4);
        for (std::size_t c = 0; c < 4 && !fieldsAfterInfo; ++c)
            if (f.size() + 4 <= 14 + v.infoSize)
                put(f, v.compression == 3 || v.compression == 6 ? v.masks[c] : 0, 4);
        f.resize(14 + v.infoSize, 0);
    }
    for (std::size_t c = 0; c < maskBytes / 4; ++c)
        put(f, v.masks[c], 4);
    for (std::uint32_t i = 0; i < paletteEntriesOf(v); ++i)
        put(f, i < p.palette.size() ? p.palette[i] : 0, static_cast<int>(entryBytes));
    f.insert(f.end(), body.begin(), body.end());
    return f;
}
