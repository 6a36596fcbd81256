// The conversion of sample runs with SSE2 (every x86-64 processor) and AVX2
// (chosen at run time). Both compute the BT.601 equations in double precision
// exactly as one pixel alone would, in the same order, lane by lane; the
// rounding to a whole number (halves to even) adds 1.5 x 2^52, which leaves
// the rounded value as a 32-bit integer in the low half of the double, and
// the saturating packs clamp it to 0-255.
#include "picture/run_conversion.h"

#if defined(__x86_64__)

#include <immintrin.h>

namespace velarix::detail {

namespace {

constexpr double kRoundShift = 6755399441055744.0;  // 1.5 x 2^52

// The helpers work on whole runs held in registers: inlined, or the vectors
// go through memory.
#define VELARIX_INLINE inline __attribute__((always_inline))

VELARIX_INLINE __m128i Load16(const std::uint8_t* bytes) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

VELARIX_INLINE void Store16(std::uint8_t* bytes, __m128i value) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), value);
}

// ---- SSE2: two pixels per vector ----

// Signed 16-bit samples of pixels 0-7 and 8-15 as eight vectors of two
// doubles (pixels 0-1, 2-3, ... 14-15).
VELARIX_INLINE void Sse2Doubles(__m128i words0, __m128i words1, __m128d (&out)[8]) {
    const __m128i sign0 = _mm_srai_epi16(words0, 15);
    const __m128i sign1 = _mm_srai_epi16(words1, 15);
    const __m128i dwords[4] = {_mm_unpacklo_epi16(words0, sign0), _mm_unpackhi_epi16(words0, sign0),
                               _mm_unpacklo_epi16(words1, sign1),
                               _mm_unpackhi_epi16(words1, sign1)};
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
        out[2 * i] = _mm_cvtepi32_pd(dwords[i]);
        out[2 * i + 1] = _mm_cvtepi32_pd(_mm_unpackhi_epi64(dwords[i], dwords[i]));
    }
}

// Eight signed chroma bytes, one pair of pixels each, as the doubles of 16 pixels.
VELARIX_INLINE void Sse2ChromaDoubles(__m128i bytes, __m128d (&out)[8]) {
    const __m128i twice = _mm_unpacklo_epi8(bytes, bytes);
    Sse2Doubles(_mm_srai_epi16(_mm_unpacklo_epi8(twice, twice), 8),
                _mm_srai_epi16(_mm_unpackhi_epi8(twice, twice), 8), out);
}

// The rounded channel of 16 pixels, clamped to bytes.
VELARIX_INLINE __m128i Sse2Bytes(const __m128d (&values)[8]) {
    __m128i dwords[4];
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
        dwords[i] = _mm_castps_si128(_mm_shuffle_ps(_mm_castpd_ps(values[2 * i]),
                                                    _mm_castpd_ps(values[2 * i + 1]),
                                                    _MM_SHUFFLE(2, 0, 2, 0)));
    }
    return _mm_packus_epi16(_mm_packs_epi32(dwords[0], dwords[1]),
                            _mm_packs_epi32(dwords[2], dwords[3]));
}

// Four pixels blue, green, red, zero as 12 bytes blue, green, red.
VELARIX_INLINE __m128i Sse2Squeeze(__m128i pixels) {
    const __m128i low24 = _mm_set1_epi64x(0x0000000000FFFFFF);
    const __m128i high24 = _mm_set1_epi64x(0x0000FFFFFF000000);
    const __m128i pairs = _mm_or_si128(_mm_and_si128(pixels, low24),
                                       _mm_and_si128(_mm_srli_epi64(pixels, 8), high24));
    const __m128i from6 = _mm_set_epi32(-1, -1, static_cast<int>(0xFFFF0000), 0);
    return _mm_or_si128(_mm_move_epi64(pairs), _mm_and_si128(_mm_srli_si128(pairs, 2), from6));
}

VELARIX_INLINE void Sse2Store(__m128i blue, __m128i green, __m128i red, std::uint8_t* out) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bgLow = _mm_unpacklo_epi8(blue, green);
    const __m128i bgHigh = _mm_unpackhi_epi8(blue, green);
    const __m128i rLow = _mm_unpacklo_epi8(red, zero);
    const __m128i rHigh = _mm_unpackhi_epi8(red, zero);
    const __m128i v0 = Sse2Squeeze(_mm_unpacklo_epi16(bgLow, rLow));
    const __m128i v1 = Sse2Squeeze(_mm_unpackhi_epi16(bgLow, rLow));
    const __m128i v2 = Sse2Squeeze(_mm_unpacklo_epi16(bgHigh, rHigh));
    const __m128i v3 = Sse2Squeeze(_mm_unpackhi_epi16(bgHigh, rHigh));
    Store16(out, _mm_or_si128(v0, _mm_slli_si128(v1, 12)));
    Store16(out + 16, _mm_or_si128(_mm_srli_si128(v1, 4), _mm_slli_si128(v2, 8)));
    Store16(out + 32, _mm_or_si128(_mm_srli_si128(v2, 8), _mm_slli_si128(v3, 4)));
}

// ---- AVX2: four pixels per vector ----
//
// The four vectors of doubles of a run hold pixels {0,1,8,9}, {2,3,10,11},
// {4,5,12,13} and {6,7,14,15}, so that taking the low halves of two of them
// and packing gives pixels 0-7 in the low lane and 8-15 in the high lane.

#define VELARIX_AVX2 __attribute__((target("avx2")))

constexpr char Z = static_cast<char>(0x80);  // a shuffle index that gives 0

// Luma bytes to 32-bit words: pixels {0,1,8,9 | 2,3,10,11} and {4,5,12,13 | 6,7,14,15}.
alignas(32) constexpr char kLumaWords[2][32] = {{0, Z, Z, Z, 1, Z, Z, Z, 8,  Z, Z, Z, 9,  Z, Z, Z,
                                                 2, Z, Z, Z, 3, Z, Z, Z, 10, Z, Z, Z, 11, Z, Z, Z},
                                                {4, Z, Z, Z, 5, Z, Z, Z, 12, Z, Z, Z, 13, Z, Z, Z,
                                                 6, Z, Z, Z, 7, Z, Z, Z, 14, Z, Z, Z, 15, Z, Z, Z}};

// The Cb byte of each pixel's chroma pair in the top byte of a word, for an
// arithmetic shift to extend its sign; the Cr byte lies 4 further on.
alignas(32) constexpr char kCbWords[2][32] = {{Z, Z, Z, 0, Z, Z, Z, 0, Z, Z, Z, 8, Z, Z, Z, 8,
                                               Z, Z, Z, 1, Z, Z, Z, 1, Z, Z, Z, 9, Z, Z, Z, 9},
                                              {Z, Z, Z, 2, Z, Z, Z, 2, Z, Z, Z, 10, Z, Z, Z, 10,
                                               Z, Z, Z, 3, Z, Z, Z, 3, Z, Z, Z, 11, Z, Z, Z, 11}};
alignas(32) constexpr char kCrWords[2][32] = {{Z, Z, Z, 4, Z, Z, Z, 4, Z, Z, Z, 12, Z, Z, Z, 12,
                                               Z, Z, Z, 5, Z, Z, Z, 5, Z, Z, Z, 13, Z, Z, Z, 13},
                                              {Z, Z, Z, 6, Z, Z, Z, 6, Z, Z, Z, 14, Z, Z, Z, 14,
                                               Z, Z, Z, 7, Z, Z, Z, 7, Z, Z, Z, 15, Z, Z, Z, 15}};

// Each lane holds red of 8 pixels then green of them, and blue of them
// twice; its 24 output bytes are taken as 16, then 8.
alignas(32) constexpr char kFirst16FromRedGreen[32] = {Z, 8,  0,  Z, 9,  1, Z, 10, 2, Z, 11,
                                                       3, Z,  12, 4, Z,  Z, 8, 0,  Z, 9, 1,
                                                       Z, 10, 2,  Z, 11, 3, Z, 12, 4, Z};
alignas(32) constexpr char kFirst16FromBlue[32] = {0, Z, Z, 1, Z, Z, 2, Z, Z, 3, Z, Z, 4, Z, Z, 5,
                                                   0, Z, Z, 1, Z, Z, 2, Z, Z, 3, Z, Z, 4, Z, Z, 5};
alignas(32) constexpr char kLast8FromRedGreen[32] = {13, 5, Z, 14, 6, Z,  15, 7, Z,  Z, Z,
                                                     Z,  Z, Z, Z,  Z, 13, 5,  Z, 14, 6, Z,
                                                     15, 7, Z, Z,  Z, Z,  Z,  Z, Z,  Z};
alignas(32) constexpr char kLast8FromBlue[32] = {Z, Z, 6, Z, Z, 7, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z,
                                                 Z, Z, 6, Z, Z, 7, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z};

VELARIX_AVX2 VELARIX_INLINE __m256i Mask(const char* bytes) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(bytes));
}

VELARIX_AVX2 VELARIX_INLINE __m256i Broadcast16(const std::uint8_t* bytes) {
    return _mm256_broadcastsi128_si256(Load16(bytes));
}

// Two vectors of eight 32-bit words as four vectors of four doubles.
VELARIX_AVX2 VELARIX_INLINE void Avx2Doubles(__m256i words0, __m256i words1, __m256d (&out)[4]) {
    out[0] = _mm256_cvtepi32_pd(_mm256_castsi256_si128(words0));
    out[1] = _mm256_cvtepi32_pd(_mm256_extracti128_si256(words0, 1));
    out[2] = _mm256_cvtepi32_pd(_mm256_castsi256_si128(words1));
    out[3] = _mm256_cvtepi32_pd(_mm256_extracti128_si256(words1, 1));
}

// The rounded channel of 16 pixels as 16-bit words, pixels 0-7 in the low
// lane and 8-15 in the high lane.
VELARIX_AVX2 VELARIX_INLINE __m256i Avx2Words(const __m256d (&values)[4]) {
    const __m256 low0 = _mm256_shuffle_ps(_mm256_castpd_ps(values[0]), _mm256_castpd_ps(values[1]),
                                          _MM_SHUFFLE(2, 0, 2, 0));
    const __m256 low1 = _mm256_shuffle_ps(_mm256_castpd_ps(values[2]), _mm256_castpd_ps(values[3]),
                                          _MM_SHUFFLE(2, 0, 2, 0));
    return _mm256_packs_epi32(_mm256_castps_si256(low0), _mm256_castps_si256(low1));
}

}  // namespace

void ConvertRunsSse2(const std::uint8_t* frame, const SampleRun* runs, int count,
                     std::uint8_t* out0, std::uint8_t* out1) {
    const __m128d kLuma = _mm_set1_pd(1.164);
    const __m128d kRed = _mm_set1_pd(1.596);
    const __m128d kGreenCr = _mm_set1_pd(0.813);
    const __m128d kGreenCb = _mm_set1_pd(0.391);
    const __m128d kBlue = _mm_set1_pd(2.018);
    const __m128d kShift = _mm_set1_pd(kRoundShift);
    const __m128i k16 = _mm_set1_epi16(16);
    const __m128i kSign = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i zero = _mm_setzero_si128();
    for (int k = 0; k < count; ++k) {
        // Cb and Cr less 128 as signed bytes, each twice (a pair serves two pixels).
        const __m128i chroma = _mm_xor_si128(Load16(frame + runs[k].chroma), kSign);
        __m128d cb[8], cr[8];
        Sse2ChromaDoubles(_mm_shuffle_epi32(chroma, _MM_SHUFFLE(2, 0, 2, 0)), cb);
        Sse2ChromaDoubles(_mm_shuffle_epi32(chroma, _MM_SHUFFLE(3, 1, 3, 1)), cr);
        __m128d red[8], greenCr[8], greenCb[8], blue[8];
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i) {
            red[i] = _mm_mul_pd(kRed, cr[i]);
            greenCr[i] = _mm_mul_pd(kGreenCr, cr[i]);
            greenCb[i] = _mm_mul_pd(kGreenCb, cb[i]);
            blue[i] = _mm_mul_pd(kBlue, cb[i]);
        }
#pragma GCC unroll 2
        for (int line = 0; line < 2; ++line) {
            const __m128i bytes = Load16(frame + (line == 0 ? runs[k].luma0 : runs[k].luma1));
            __m128d luma[8];
            Sse2Doubles(_mm_sub_epi16(_mm_unpacklo_epi8(bytes, zero), k16),
                        _mm_sub_epi16(_mm_unpackhi_epi8(bytes, zero), k16), luma);
            __m128d r[8], g[8], b[8];
#pragma GCC unroll 8
            for (int i = 0; i < 8; ++i) {
                const __m128d y = _mm_mul_pd(kLuma, luma[i]);
                r[i] = _mm_add_pd(_mm_add_pd(y, red[i]), kShift);
                g[i] = _mm_add_pd(_mm_sub_pd(_mm_sub_pd(y, greenCr[i]), greenCb[i]), kShift);
                b[i] = _mm_add_pd(_mm_add_pd(y, blue[i]), kShift);
            }
            Sse2Store(Sse2Bytes(b), Sse2Bytes(g), Sse2Bytes(r), (line == 0 ? out0 : out1) + 48 * k);
        }
    }
}

VELARIX_AVX2 void ConvertRunsAvx2(const std::uint8_t* frame, const SampleRun* runs, int count,
                                  std::uint8_t* out0, std::uint8_t* out1) {
    const __m256d kLuma = _mm256_set1_pd(1.164);
    const __m256d kRed = _mm256_set1_pd(1.596);
    const __m256d kGreenCr = _mm256_set1_pd(0.813);
    const __m256d kGreenCb = _mm256_set1_pd(0.391);
    const __m256d kBlue = _mm256_set1_pd(2.018);
    const __m256d kShift = _mm256_set1_pd(kRoundShift);
    const __m256i k16 = _mm256_set1_epi32(16);
    const __m256i kSign = _mm256_set1_epi8(static_cast<char>(0x80));
    for (int k = 0; k < count; ++k) {
        const __m256i chroma = _mm256_xor_si256(Broadcast16(frame + runs[k].chroma), kSign);
        __m256d cb[4], cr[4];
        Avx2Doubles(_mm256_srai_epi32(_mm256_shuffle_epi8(chroma, Mask(kCbWords[0])), 24),
                    _mm256_srai_epi32(_mm256_shuffle_epi8(chroma, Mask(kCbWords[1])), 24), cb);
        Avx2Doubles(_mm256_srai_epi32(_mm256_shuffle_epi8(chroma, Mask(kCrWords[0])), 24),
                    _mm256_srai_epi32(_mm256_shuffle_epi8(chroma, Mask(kCrWords[1])), 24), cr);
        __m256d red[4], greenCr[4], greenCb[4], blue[4];
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i) {
            red[i] = _mm256_mul_pd(kRed, cr[i]);
            greenCr[i] = _mm256_mul_pd(kGreenCr, cr[i]);
            greenCb[i] = _mm256_mul_pd(kGreenCb, cb[i]);
            blue[i] = _mm256_mul_pd(kBlue, cb[i]);
        }
#pragma GCC unroll 2
        for (int line = 0; line < 2; ++line) {
            const __m256i bytes = Broadcast16(frame + (line == 0 ? runs[k].luma0 : runs[k].luma1));
            __m256d luma[4];
            Avx2Doubles(_mm256_sub_epi32(_mm256_shuffle_epi8(bytes, Mask(kLumaWords[0])), k16),
                        _mm256_sub_epi32(_mm256_shuffle_epi8(bytes, Mask(kLumaWords[1])), k16),
                        luma);
            __m256d r[4], g[4], b[4];
#pragma GCC unroll 4
            for (int i = 0; i < 4; ++i) {
                const __m256d y = _mm256_mul_pd(kLuma, luma[i]);
                r[i] = _mm256_add_pd(_mm256_add_pd(y, red[i]), kShift);
                g[i] =
                    _mm256_add_pd(_mm256_sub_pd(_mm256_sub_pd(y, greenCr[i]), greenCb[i]), kShift);
                b[i] = _mm256_add_pd(_mm256_add_pd(y, blue[i]), kShift);
            }
            const __m256i redGreen = _mm256_packus_epi16(Avx2Words(r), Avx2Words(g));
            const __m256i blueWords = Avx2Words(b);
            const __m256i blueTwice = _mm256_packus_epi16(blueWords, blueWords);
            const __m256i first =
                _mm256_or_si256(_mm256_shuffle_epi8(redGreen, Mask(kFirst16FromRedGreen)),
                                _mm256_shuffle_epi8(blueTwice, Mask(kFirst16FromBlue)));
            const __m256i last =
                _mm256_or_si256(_mm256_shuffle_epi8(redGreen, Mask(kLast8FromRedGreen)),
                                _mm256_shuffle_epi8(blueTwice, Mask(kLast8FromBlue)));
            std::uint8_t* out = (line == 0 ? out0 : out1) + 48 * k;
            Store16(out, _mm256_castsi256_si128(first));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_castsi256_si128(last));
            Store16(out + 24, _mm256_extracti128_si256(first, 1));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 40),
                             _mm256_extracti128_si256(last, 1));
        }
    }
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

}  // namespace velarix::detail

#endif
