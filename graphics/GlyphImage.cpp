#include "graphics/GlyphImage.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

const uint32_t kAlpha = 0xFF000000u;

// SDL's per-pixel alpha blend of one word: each channel becomes
// d + ((s - d) * a >> 8), computed modulo 256; an opaque source replaces
// the colour, a transparent one changes nothing. The target's top byte stays.
uint32_t BlendLikeSdl(uint32_t source, uint32_t target) {
    uint32_t alpha = source >> 24;
    if (alpha == 0) return target;
    if (alpha == 255) return (source & 0xFFFFFF) | (target & kAlpha);
    uint32_t sourceRb = source & 0xFF00FF, targetRb = target & 0xFF00FF;
    uint32_t redBlue = (targetRb + ((sourceRb - targetRb) * alpha >> 8)) & 0xFF00FF;
    uint32_t sourceG = source & 0xFF00, targetG = target & 0xFF00;
    uint32_t green = (targetG + ((sourceG - targetG) * alpha >> 8)) & 0xFF00;
    return redBlue | green | (target & kAlpha);
}

uint32_t* Row(const SDL_Surface* surface, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<char*>(surface->pixels) +
                                       static_cast<size_t>(y) * surface->pitch);
}

bool IsArgb(const SDL_Surface* image) {
    const SDL_PixelFormat* format = image->format;
    return format->BitsPerPixel == 32 && format->Rmask == 0xFF0000 && format->Gmask == 0xFF00 &&
           format->Bmask == 0xFF && format->Amask == kAlpha && (image->flags & SDL_SRCALPHA) &&
           !SDL_MUSTLOCK(image);
}

// The columns [first, last) from a row's first pixel with alpha to its last;
// first >= last when it has none.
std::pair<int, int> InkOfRow(const uint32_t* row, int width) {
    int first = width, last = 0;
    for (int x = 0; x < width; ++x) {
        if ((row[x] & kAlpha) == 0) continue;
        first = std::min(first, x), last = x + 1;
    }
    return {first, last};
}

// The smallest box holding every pixel with alpha; empty when there is none.
SDL_Rect InkBox(const SDL_Surface* image) {
    int x0 = image->w, y0 = image->h, x1 = 0, y1 = 0;
    for (int y = 0; y < image->h; ++y) {
        auto [first, last] = InkOfRow(Row(image, y), image->w);
        if (first >= last) continue;
        x0 = std::min(x0, first), x1 = std::max(x1, last);
        y0 = std::min(y0, y), y1 = y + 1;
    }
    if (x1 <= x0) return {0, 0, 0, 0};
    return {static_cast<Sint16>(x0), static_cast<Sint16>(y0), static_cast<Uint16>(x1 - x0),
            static_cast<Uint16>(y1 - y0)};
}

// Two pixels in 16-bit lanes, blue first: their channels, then the blend's
// weight of each: the alpha, but 256 for an opaque pixel, which makes
// d + ((s - d) * 256 >> 8) exactly s, and 0 for the top byte, which stays
// the target's.
void AddPair(uint32_t left, uint32_t right, std::vector<uint16_t>& lanes) {
    for (uint32_t pixel : {left, right}) {
        for (int shift : {0, 8, 16, 32})
            lanes.push_back(shift < 32 ? static_cast<uint16_t>(pixel >> shift & 0xFF) : 0);
    }
    for (uint32_t pixel : {left, right}) {
        uint32_t alpha = pixel >> 24;
        uint16_t weight = static_cast<uint16_t>(alpha == 255 ? 256 : alpha);
        lanes.insert(lanes.end(), {weight, weight, weight, 0});
    }
}

}  // namespace

GlyphImage::GlyphImage(SDL_Surface* rendered) : image(rendered) {
    if (!image) return;
    argb = IsArgb(rendered);
    if (!argb) return;
    ink = InkBox(rendered);
    PrepareLanes();
}

// Each ink row from its first pixel with alpha to its last, in pairs of
// pixels, the last one padded with a pixel that changes nothing. Pairs are
// blended two at a time, with one left over when their number is odd.
void GlyphImage::PrepareLanes() {
    paddedRight = ink.x;
    for (int y = ink.y; y < ink.y + ink.h; ++y) {
        const uint32_t* row = Row(image.get(), y);
        auto [first, last] = InkOfRow(row, image->w);
        int pairs = last > first ? (last - first + 1) / 2 : 0;
        for (int x = first; x < first + pairs * 2; x += 2)
            AddPair(row[x], x + 1 < last ? row[x + 1] : 0, lanes);
        spans.push_back({first, pairs / 2, pairs % 2 == 1});
        paddedRight = std::max(paddedRight, first + pairs * 2);
    }
}

bool GlyphImage::CanBlendItself(const SDL_Surface* target) const {
    const SDL_PixelFormat* format = target->format;
    return argb && format->BitsPerPixel == 32 && format->Rmask == 0xFF0000 &&
           format->Gmask == 0xFF00 && format->Bmask == 0xFF && format->Amask == 0 &&
           !SDL_MUSTLOCK(target);
}

void GlyphImage::Draw(SDL_Surface* target, Sint16 x, Sint16 y) const {
    if (!image) return;
    if (!CanBlendItself(target)) {
        SDL_Rect at = {x, y, 0, 0};
        SDL_UpperBlit(image.get(), nullptr, target, &at);
        return;
    }
    // Only the ink can change a pixel; it is clipped as SDL clips the image.
    const SDL_Rect& clip = target->clip_rect;
    int left = x + ink.x, top = y + ink.y;
    if (left >= clip.x && top >= clip.y && x + paddedRight <= clip.x + clip.w &&
        top + ink.h <= clip.y + clip.h) {
        DrawGroups(target, x, top);
        return;
    }
    int x0 = std::max(left, int{clip.x}), y0 = std::max(top, int{clip.y});
    int x1 = std::min(left + ink.w, clip.x + clip.w), y1 = std::min(top + ink.h, clip.y + clip.h);
    for (int row = y0; row < y1; ++row) {
        const uint32_t* from = Row(image.get(), row - y) + (x0 - x);
        uint32_t* to = Row(target, row) + x0;
        for (int i = 0; i < x1 - x0; ++i)
            to[i] = BlendLikeSdl(from[i], to[i]);
    }
}

#ifdef __SSE2__

namespace {

// Two pixels in 16-bit lanes: the blend's step, (s - d) * weight >> 8. Its
// low 16 bits shifted down by 8 are the step modulo 256 (0 to 255), which is
// all the result keeps once the step is added to the target byte by byte.
__m128i StepOfTwo(const uint16_t* lanes, __m128i target) {
    __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes));
    __m128i weight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes + 8));
    return _mm_srli_epi16(_mm_mullo_epi16(_mm_sub_epi16(source, target), weight), 8);
}

}  // namespace

void GlyphImage::DrawGroups(SDL_Surface* target, int x, int top) const {
    const __m128i zero = _mm_setzero_si128();
    const uint16_t* group = lanes.data();
    uint32_t* rowStart = Row(target, top) + x;
    for (const RowSpan span : spans) {
        auto* to = reinterpret_cast<__m128i*>(rowStart + span.start);
        rowStart += target->pitch / 4;
        for (int i = 0; i < span.groups; ++i, ++to, group += 32) {
            __m128i pixels = _mm_loadu_si128(to);
            __m128i low = StepOfTwo(group, _mm_unpacklo_epi8(pixels, zero));
            __m128i high = StepOfTwo(group + 16, _mm_unpackhi_epi8(pixels, zero));
            _mm_storeu_si128(to, _mm_add_epi8(pixels, _mm_packus_epi16(low, high)));
        }
        if (span.lastPair) {
            __m128i pixels = _mm_loadl_epi64(to);
            __m128i step = StepOfTwo(group, _mm_unpacklo_epi8(pixels, zero));
            _mm_storel_epi64(to, _mm_add_epi8(pixels, _mm_packus_epi16(step, zero)));
            group += 16;
        }
    }
}

#else

void GlyphImage::DrawGroups(SDL_Surface* target, int x, int top) const {
    for (int row = 0; row < ink.h; ++row) {
        const uint32_t* from = Row(image.get(), ink.y + row) + ink.x;
        uint32_t* to = Row(target, top + row) + x + ink.x;
        for (int i = 0; i < ink.w; ++i)
            to[i] = BlendLikeSdl(from[i], to[i]);
    }
}

#endif
