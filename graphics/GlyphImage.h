#pragma once

#include <SDL_video.h>

#include <cstdint>
#include <memory>
#include <vector>

// A glyph as the font engine rendered it, kept to be drawn again and again:
// the rendered surface, which the glyph owns, and the box of its pixels that
// carry any alpha. Drawing blends exactly as SDL's alpha blit of the whole
// surface does, but only over that box, and on plain 32-bit targets without
// SDL's per-call work. Moved, never copied; game thread only.
class GlyphImage {
public:
    GlyphImage() = default;
    explicit GlyphImage(SDL_Surface* rendered);  // takes ownership; null for none

    // Blends the image onto target with its top-left corner at (x, y),
    // clipped to the target's clip rectangle.
    void Draw(SDL_Surface* target, Sint16 x, Sint16 y) const;

private:
    struct FreeSurface {
        void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
    };
    // One per ink row: where its ink starts in the image, how many groups of
    // four pixels it spans, and whether a pair of pixels follows.
    struct RowSpan {
        int start;
        int groups;
        bool lastPair;
    };

    void PrepareLanes();
    bool CanBlendItself(const SDL_Surface* target) const;
    // The ink of the image at x, its top ink row at top, known to lie inside
    // the target's clip rectangle with its padding.
    void DrawGroups(SDL_Surface* target, int x, int top) const;

    std::unique_ptr<SDL_Surface, FreeSurface> image;
    SDL_Rect ink = {0, 0, 0, 0};  // within the image; empty when nothing shows
    bool argb = false;            // the image is 32-bit ARGB with per-pixel alpha
    int paddedRight = 0;          // where the widest padded span ends, in the image
    std::vector<RowSpan> spans;
    std::vector<uint16_t> lanes;  // the spans ready to blend, PrepareLanes says how
};
