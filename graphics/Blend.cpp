#include "graphics/Blend.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Opacity 255 is what every caller passes, so it gets loops of its own without
// the opacity arithmetic (Faded = false).
template <bool Faded>
void BlendScalar(const uint32_t* source, uint32_t* target, int count, int opacity) {
    for (int i = 0; i < count; ++i) {
        int alpha = static_cast<int>(source[i] >> 24);
        if (Faded) {
            alpha += opacity - 255;
            if (alpha < 0) alpha = 0;
        }
        target[i] = BlendPixel(source[i], target[i], static_cast<uint32_t>(alpha));
    }
}

#ifdef __SSE2__

// Two pixels widened to 16-bit lanes: (sc * (a + 1) + dc * (256 - a)) is at
// most 255 * 257 = 65535, so every term and the sum fit the lanes exactly.
template <bool Faded>
__m128i BlendTwo(__m128i source, __m128i target, __m128i alphaCut) {
    const __m128i one = _mm_set1_epi16(1);
    const __m128i full = _mm_set1_epi16(256);
    __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xFF), 0xFF);
    if (Faded) alpha = _mm_subs_epu16(alpha, alphaCut);
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(source, _mm_add_epi16(alpha, one)),
                                _mm_mullo_epi16(target, _mm_sub_epi16(full, alpha)));
    return _mm_srli_epi16(sum, 8);
}

template <bool Faded>
__m128i BlendFour(__m128i source, __m128i target, __m128i alphaCut) {
    const __m128i zero = _mm_setzero_si128();
    __m128i low =
        BlendTwo<Faded>(_mm_unpacklo_epi8(source, zero), _mm_unpacklo_epi8(target, zero), alphaCut);
    __m128i high =
        BlendTwo<Faded>(_mm_unpackhi_epi8(source, zero), _mm_unpackhi_epi8(target, zero), alphaCut);
    return _mm_packus_epi16(low, high);
}

// Four opaque or four invisible pixels need no arithmetic: whole backgrounds
// and the empty surroundings of characters take these shortcuts.
__m128i BlendFourOpaque(__m128i source, __m128i target, __m128i alphaMask) {
    __m128i alpha = _mm_and_si128(source, alphaMask);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, alphaMask)) == 0xFFFF) return source;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128())) == 0xFFFF) return target;
    return BlendFour<false>(source, target, _mm_setzero_si128());
}

template <bool Faded>
void BlendVector(const uint32_t* source, uint32_t* target, int count, int opacity) {
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i colourMask = _mm_set1_epi32(0x00FFFFFF);
    const __m128i alphaCut = _mm_set1_epi16(static_cast<short>(255 - opacity));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + i));
        __m128i out = Faded ? BlendFour<true>(s, d, alphaCut) : BlendFourOpaque(s, d, alphaMask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), _mm_and_si128(out, colourMask));
    }
    BlendScalar<Faded>(source + i, target + i, count - i, opacity);
}

#endif

}  // namespace

void BlendRowScalar(const uint32_t* source, uint32_t* target, int count, int opacity) {
    if (opacity == 255) {
        BlendScalar<false>(source, target, count, opacity);
    } else {
        BlendScalar<true>(source, target, count, opacity);
    }
}

void BlendRow(const uint32_t* source, uint32_t* target, int count, int opacity) {
#ifdef __SSE2__
    if (opacity == 255) {
        BlendVector<false>(source, target, count, opacity);
    } else {
        BlendVector<true>(source, target, count, opacity);
    }
#else
    BlendRowScalar(source, target, count, opacity);
#endif
}
