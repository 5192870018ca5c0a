#include "DeflateBlocks.h"

#include <array>
#include <cstring>

namespace {

constexpr int MaxCodeBits = 15;
constexpr int QuickBits = 10;  // codes this short are found with one table look-up
constexpr int LengthSymbols = 29;
constexpr int DistanceSymbols = 30;
constexpr int EndOfBlock = 256;

constexpr std::array<std::uint16_t, LengthSymbols> LengthBase{
    3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, LengthSymbols> LengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint8_t, DistanceSymbols> DistanceExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                                  6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block gives the lengths of the code length code.
constexpr std::array<std::uint8_t, 19> CodeLengthOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                       11, 4,  12, 3, 13, 2, 14, 1, 15};

// Bits in deflate's order, the lowest bit of each byte first; past the end reads zeros
// (and overran() says so).
class BitReader
{
public:
    explicit BitReader(std::span<const std::uint8_t> data) : m_data(data) {}

    [[nodiscard]] std::uint32_t peek(int count) const
    {
        const std::size_t byte = m_bit / 8;
        std::uint64_t word = 0;
        if (byte + 8 <= m_data.size()) {
            std::memcpy(&word, m_data.data() + byte, 8);
        } else {
            for (std::size_t i = byte; i < m_data.size(); ++i)
                word |= std::uint64_t{m_data[i]} << (8 * (i - byte));
        }
        return static_cast<std::uint32_t>(word >> (m_bit % 8)) & ((1u << count) - 1);
    }
    void skip(int count) { m_bit += static_cast<std::size_t>(count); }
    std::uint32_t take(int count)
    {
        const std::uint32_t bits = peek(count);
        skip(count);
        return bits;
    }
    void toByteBoundary() { m_bit = (m_bit + 7) / 8 * 8; }
    [[nodiscard]] std::size_t bit() const { return m_bit; }
    [[nodiscard]] bool overran() const { return m_bit > 8 * m_data.size(); }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_bit = 0;
};

// A canonical Huffman code: a table of the codes of at most QuickBits bits, indexed by
// the next bits as they come, and the counts and ordered symbols that decode the rest
// a bit at a time.
class HuffmanCode
{
public:
    // False for lengths that give more codes than the bits allow.
    [[nodiscard]] bool build(const std::uint8_t* lengths, int symbols)
    {
        m_counts.fill(0);
        for (int s = 0; s < symbols; ++s)
            ++m_counts[lengths[s]];
        m_counts[0] = 0;
        std::array<std::uint16_t, MaxCodeBits + 2> offsets{};
        int left = 1;
        for (int length = 1; length <= MaxCodeBits; ++length) {
            left = 2 * left - m_counts[length];
            if (left < 0)
                return false;
            offsets[length + 1] = static_cast<std::uint16_t>(offsets[length] + m_counts[length]);
        }
        for (int s = 0; s < symbols; ++s)
            if (lengths[s] != 0)
                m_sorted[offsets[lengths[s]]++] = static_cast<std::uint16_t>(s);
        fillQuickTable();
        return true;
    }

    // The next symbol, or -1 for bits that are no code.
    [[nodiscard]] int decode(BitReader& bits) const
    {
        const std::uint16_t entry = m_quick[bits.peek(QuickBits)];
        if (entry != 0) {
            bits.skip(entry & 15);
            return entry >> 4;
        }
        int code = 0;
        int first = 0;
        int index = 0;
        for (int length = 1; length <= MaxCodeBits; ++length) {
            code |= static_cast<int>(bits.take(1));
            const int count = m_counts[length];
            if (code - first < count)
                return m_sorted[static_cast<std::size_t>(index + code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

private:
    // Codes are sent from their highest bit, so the table is indexed by reversed codes.
    void fillQuickTable()
    {
        m_quick.fill(0);
        int code = 0;
        int index = 0;
        for (int length = 1; length <= QuickBits; ++length) {
            for (int k = 0; k < m_counts[length]; ++k, ++code, ++index) {
                int reversed = 0;
                for (int b = 0; b < length; ++b)
                    reversed |= ((code >> b) & 1) << (length - 1 - b);
                const auto entry = static_cast<std::uint16_t>(m_sorted[static_cast<std::size_t>(index)] << 4 | length);
                for (int at = reversed; at < (1 << QuickBits); at += 1 << length)
                    m_quick[static_cast<std::size_t>(at)] = entry;
            }
            code <<= 1;
        }
    }

    std::array<std::uint16_t, MaxCodeBits + 1> m_counts{};
    std::array<std::uint16_t, 288> m_sorted{};
    std::array<std::uint16_t, 1 << QuickBits> m_quick{};
};

struct BlockCodes {
    HuffmanCode literals;
    HuffmanCode distances;
};

bool readFixedCodes(BlockCodes& codes)
{
    std::array<std::uint8_t, 288> lengths{};
    std::memset(lengths.data(), 8, 144);
    std::memset(lengths.data() + 144, 9, 112);
    std::memset(lengths.data() + 256, 7, 24);
    std::memset(lengths.data() + 280, 8, 8);
    std::array<std::uint8_t, DistanceSymbols> distances{};
    distances.fill(5);
    return codes.literals.build(lengths.data(), 288) && codes.distances.build(distances.data(), DistanceSymbols);
}

bool readDynamicCodes(BitReader& bits, BlockCodes& codes)
{
    const int literals = static_cast<int>(bits.take(5)) + 257;
    const int distances = static_cast<int>(bits.take(5)) + 1;
    const int codeLengths = static_cast<int>(bits.take(4)) + 4;
    std::array<std::uint8_t, 19> lengthOfLength{};
    for (int k = 0; k < codeLengths; ++k)
        lengthOfLength[CodeLengthOrder[static_cast<std::size_t>(k)]] = static_cast<std::uint8_t>(bits.take(3));
    HuffmanCode lengthCode;
    if (literals > 286 || distances > DistanceSymbols || !lengthCode.build(lengthOfLength.data(), 19))
        return false;
    std::array<std::uint8_t, 286 + DistanceSymbols> lengths{};
    int filled = 0;
    while (filled < literals + distances) {
        const int symbol = lengthCode.decode(bits);
        int repeat = 1;
        std::uint8_t value = 0;
        if (symbol < 0 || bits.overran())
            return false;
        if (symbol < 16) {
            value = static_cast<std::uint8_t>(symbol);
        } else if (symbol == 16) {
            if (filled == 0)
                return false;
            value = lengths[static_cast<std::size_t>(filled - 1)];
            repeat = 3 + static_cast<int>(bits.take(2));
        } else {
            repeat = symbol == 17 ? 3 + static_cast<int>(bits.take(3)) : 11 + static_cast<int>(bits.take(7));
        }
        if (filled + repeat > literals + distances)
            return false;
        std::memset(lengths.data() + filled, value, static_cast<std::size_t>(repeat));
        filled += repeat;
    }
    return codes.literals.build(lengths.data(), literals)
           && codes.distances.build(lengths.data() + literals, distances);
}

// Reads one block's symbols up to its end; adds the bytes they stand for to inflated.
bool skipSymbols(BitReader& bits, const BlockCodes& codes, std::size_t& inflated)
{
    for (;;) {
        const int symbol = codes.literals.decode(bits);
        if (symbol < 0 || bits.overran())
            return false;
        if (symbol < EndOfBlock) {
            ++inflated;
            continue;
        }
        if (symbol == EndOfBlock)
            return true;
        const int length = symbol - 257;
        if (length >= LengthSymbols)
            return false;
        inflated +=
            LengthBase[static_cast<std::size_t>(length)] + bits.take(LengthExtra[static_cast<std::size_t>(length)]);
        const int distance = codes.distances.decode(bits);
        if (distance < 0 || distance >= DistanceSymbols)
            return false;
        bits.skip(DistanceExtra[static_cast<std::size_t>(distance)]);
    }
}

bool skipStored(BitReader& bits, std::size_t& inflated)
{
    bits.toByteBoundary();
    const std::uint32_t length = bits.take(16);
    const std::uint32_t complement = bits.take(16);
    if ((length ^ 0xFFFFu) != complement)
        return false;
    bits.skip(static_cast<int>(8 * length));
    inflated += length;
    return true;
}

}  // namespace

bool findFinalBlock(std::span<const std::uint8_t> data, std::size_t inflatedSize, FinalBlock& found)
{
    BitReader bits(data);
    BlockCodes codes;
    std::size_t inflated = 0;
    for (;;) {
        const std::size_t header = bits.bit();
        const bool final = bits.take(1) != 0;
        const std::uint32_t type = bits.take(2);
        const bool read = type == 0   ? skipStored(bits, inflated)
                          : type == 1 ? readFixedCodes(codes) && skipSymbols(bits, codes, inflated)
                          : type == 2 ? readDynamicCodes(bits, codes) && skipSymbols(bits, codes, inflated)
                                      : false;
        if (!read || bits.overran())
            return false;
        if (final) {
            found = FinalBlock{header, bits.bit()};
            return inflated == inflatedSize && (bits.bit() + 7) / 8 == data.size();
        }
    }
}
