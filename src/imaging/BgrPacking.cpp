// 0xAARRGGBB pixels to blue, green, red bytes and back, and blue, green, red bytes to
// red, green, blue. Every screen-sized copy passes here, so the loops move many pixels
// at a time with SSSE3 byte shuffles where the processor has them, and otherwise four
// pixels through three whole 32-bit words.
#include "PixelRows.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define SCRIMBLE_SHUFFLES 1
#endif

namespace {

void packBgrWords(const std::uint32_t* argb, int count, std::uint8_t* bgr)
{
    int i = 0;
    // Each word stored on its own: one 12-byte copy out of a stack array makes the
    // processor wait for the three stores before it may read them back.
    for (; i + 4 <= count; i += 4, argb += 4, bgr += 12) {
        const std::uint32_t first = (argb[0] & 0xFFFFFFu) | argb[1] << 24;
        const std::uint32_t second = ((argb[1] >> 8) & 0xFFFFu) | argb[2] << 16;
        const std::uint32_t third = ((argb[2] >> 16) & 0xFFu) | argb[3] << 8;
        std::memcpy(bgr, &first, 4);
        std::memcpy(bgr + 4, &second, 4);
        std::memcpy(bgr + 8, &third, 4);
    }
    for (; i < count; ++i, ++argb, bgr += 3) {
        bgr[0] = static_cast<std::uint8_t>(*argb);
        bgr[1] = static_cast<std::uint8_t>(*argb >> 8);
        bgr[2] = static_cast<std::uint8_t>(*argb >> 16);
    }
}

void unpackBgrWords(const std::uint8_t* bgr, int count, std::uint32_t* argb)
{
    int i = 0;
    for (; i + 4 <= count; i += 4, argb += 4, bgr += 12) {
        std::uint32_t words[3];
        std::memcpy(words, bgr, sizeof words);
        argb[0] = 0xFF000000u | (words[0] & 0xFFFFFFu);
        argb[1] = 0xFF000000u | words[0] >> 24 | (words[1] & 0xFFFFu) << 8;
        argb[2] = 0xFF000000u | words[1] >> 16 | (words[2] & 0xFFu) << 16;
        argb[3] = 0xFF000000u | words[2] >> 8;
    }
    for (; i < count; ++i, bgr += 3)
        *argb++ = 0xFF000000u | (std::uint32_t{bgr[2]} << 16) | (std::uint32_t{bgr[1]} << 8) | bgr[0];
}

void swapRedBlueBytes(const std::uint8_t* in, int count, std::uint8_t* out)
{
    for (int i = 0; i < count; ++i, in += 3, out += 3) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
    }
}

#ifdef SCRIMBLE_SHUFFLES

// Sixteen pixels: each group of four loses its alpha bytes to twelve bytes at the
// bottom of a register, and the four groups are laid end to end in 48 bytes.
__attribute__((target("ssse3"))) void packBgrShuffled(const std::uint32_t* argb, int count, std::uint8_t* bgr)
{
    const __m128i dropAlpha = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int i = 0;
    for (; i + 16 <= count; i += 16, argb += 16, bgr += 48) {
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(argb)), dropAlpha);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(argb + 4)), dropAlpha);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(argb + 8)), dropAlpha);
        const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(argb + 12)), dropAlpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr), _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr + 16),
                         _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr + 32),
                         _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    packBgrWords(argb, count - i, bgr);
}

// The reverse: 48 bytes cut at every twelfth byte, each piece spread over four pixels.
__attribute__((target("ssse3"))) void unpackBgrShuffled(const std::uint8_t* bgr, int count, std::uint32_t* argb)
{
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 16 <= count; i += 16, bgr += 48, argb += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr));
        const __m128i middle = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 16));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 32));
        const __m128i pieces[4] = {low, _mm_alignr_epi8(middle, low, 12), _mm_alignr_epi8(high, middle, 8),
                                   _mm_srli_si128(high, 4)};
        for (int k = 0; k < 4; ++k)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(argb + 4 * k),
                             _mm_or_si128(_mm_shuffle_epi8(pieces[k], spread), opaque));
    }
    unpackBgrWords(bgr, count - i, argb);
}

// Five pixels a register; each store's sixteenth byte is written again by the next.
__attribute__((target("ssse3"))) void swapRedBlueShuffled(const std::uint8_t* in, int count, std::uint8_t* out)
{
    const __m128i swap = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    int i = 0;
    for (; i + 6 <= count; i += 5, in += 15, out += 15)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), swap));
    swapRedBlueBytes(in, count - i, out);
}

#endif

struct Loops {
    void (*pack)(const std::uint32_t*, int, std::uint8_t*);
    void (*unpack)(const std::uint8_t*, int, std::uint32_t*);
    void (*swap)(const std::uint8_t*, int, std::uint8_t*);
};

// The processor's best loops, chosen once.
const Loops& loops()
{
#ifdef SCRIMBLE_SHUFFLES
    static const Loops chosen = __builtin_cpu_supports("ssse3")
                                    ? Loops{packBgrShuffled, unpackBgrShuffled, swapRedBlueShuffled}
                                    : Loops{packBgrWords, unpackBgrWords, swapRedBlueBytes};
#else
    static const Loops chosen{packBgrWords, unpackBgrWords, swapRedBlueBytes};
#endif
    return chosen;
}

}  // namespace

void packBgr(const std::uint32_t* argb, int count, std::uint8_t* bgr) { loops().pack(argb, count, bgr); }

void unpackBgr(const std::uint8_t* bgr, int count, std::uint32_t* argb) { loops().unpack(bgr, count, argb); }

void swapRedBlue(const std::uint8_t* in, int count, std::uint8_t* out) { loops().swap(in, count, out); }
