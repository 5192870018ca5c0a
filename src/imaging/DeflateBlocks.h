#pragma once
// Where a raw deflate stream's blocks lie, found by reading only the Huffman codes:
// nothing is inflated, so a screenshot's long matches cost one symbol each.

#include <cstddef>
#include <cstdint>
#include <span>

// Where the stream's last block starts and where the stream ends, in bits.
struct FinalBlock {
    std::size_t headerBit = 0;
    std::size_t endBit = 0;
};

// False unless data is one whole, valid raw deflate stream that inflates to exactly
// inflatedSize bytes and ends in its last byte.
[[nodiscard]] bool findFinalBlock(std::span<const std::uint8_t> data, std::size_t inflatedSize, FinalBlock& found);
