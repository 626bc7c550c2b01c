#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/Exception.h"
#include "graphics/CharacterTable.h"
#include "graphics/Font.h"
#include "graphics/TextLayout.h"
#include "tests/support/GlyphByGlyph.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFont.h"

namespace {

const char* const kFontPath = testing_support::kTestFont;

class FontTest : public testing_support::InTempDir {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(TTF_Init(), 0);
        BuildCharacterTable();
    }
    static void TearDownTestSuite() { TTF_Quit(); }

    void SetUp() override {
        InTempDir::SetUp();
        primary.LoadFile(kFontPath, 16, 0);
        primary.SetColor(0xFFFFFF);
        secondary.LoadFile(kFontPath, 16, TTF_STYLE_BOLD);
        secondary.SetColor(0xFF8000);
    }

    static SDL_Surface* BlackSurface(int width = 200, int height = 100) {
        SDL_Surface* surface =
            SDL_CreateRGBSurface(0, width, height, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        SDL_FillRect(surface, nullptr, 0);
        return surface;
    }

    static bool SamePixels(SDL_Surface* a, SDL_Surface* b) {
        return std::memcmp(a->pixels, b->pixels, static_cast<size_t>(a->pitch) * a->h) == 0;
    }

    static bool AllBlack(SDL_Surface* surface) {
        const Uint32* words = static_cast<const Uint32*>(surface->pixels);
        for (int i = 0; i < surface->w * surface->h; ++i) {
            if (words[i] & 0xFFFFFF) return false;
        }
        return true;
    }

    Font primary;
    Font secondary;
};

std::string Utf8Of(unsigned char byte) {
    return CharacterToUtf8(byte);
}

TEST_F(FontTest, CharacterTableTurnsCyrillicIntoUtf8) {
    EXPECT_EQ(Utf8Of('A'), "A");
    EXPECT_EQ(Utf8Of(0xC0), "\xD0\x90");  // capital A
    EXPECT_EQ(Utf8Of(0xFF), "\xD1\x8F");  // small ya
    EXPECT_EQ(Utf8Of(0xEF), "\xD0\xBF");  // small pe, the last before the second lead byte
    EXPECT_EQ(Utf8Of(0xF0), "\xD1\x80");  // small er
    EXPECT_EQ(Utf8Of(0xA8), "\xD0\x81");  // capital Io
    EXPECT_EQ(Utf8Of(0xB8), "\xD1\x91");  // small io
    EXPECT_EQ(Utf8Of(0x97), "\x97");      // no letter: passed on unchanged
    EXPECT_EQ(Utf8Of(0xBF), "\xBF");
}

TEST_F(FontTest, TextIsPlacedByThePrimaryFontsAdvances) {
    SDL_Surface* laidOut = BlackSurface();
    SDL_Surface* byHand = BlackSurface();
    DrawText(laidOut, {primary, secondary}, 10, 20, "AB\nC", false);
    primary.DrawChar(byHand, 10, 20, 'A');
    primary.DrawChar(byHand, 10 + primary.CharWidth('A'), 20, 'B');
    primary.DrawChar(byHand, 10, 20 + primary.LineHeight(), 'C');
    EXPECT_FALSE(AllBlack(laidOut));
    EXPECT_TRUE(SamePixels(laidOut, byHand));

    // Highlighted text: secondary glyphs at the primary font's advances.
    SDL_Surface* highlighted = BlackSurface();
    SDL_Surface* highlightedByHand = BlackSurface();
    DrawText(highlighted, {primary, secondary}, 10, 20, "WW", true);
    secondary.DrawChar(highlightedByHand, 10, 20, 'W');
    secondary.DrawChar(highlightedByHand, 10 + primary.CharWidth('W'), 20, 'W');
    EXPECT_TRUE(SamePixels(highlighted, highlightedByHand));
    EXPECT_LT(primary.CharWidth('W'), secondary.CharWidth('W'));

    for (SDL_Surface* s : {laidOut, byHand, highlighted, highlightedByHand})
        SDL_FreeSurface(s);
}

TEST_F(FontTest, TextPastTheSurfaceLeavesWhatShowsAsItIs) {
    // 40 Ws reach past the surface's right edge; 40000 would reach far past
    // the 16-bit coordinates of a blit. Lines far below are past its bottom.
    auto drawn = [&](const std::string& text) {
        SDL_Surface* surface = BlackSurface();
        DrawText(surface, {primary, secondary}, 10, 20, text.c_str(), false);
        return surface;
    };
    SDL_Surface* cut = drawn(std::string(40, 'W') + "\nC");
    SDL_Surface* wide = drawn(std::string(40000, 'W') + "\nC");
    EXPECT_TRUE(SamePixels(cut, wide));
    std::string lines;
    for (int i = 0; i < 5000; ++i)
        lines += "AW\n";
    SDL_Surface* fewLines = drawn(lines.substr(0, 3 * 10));
    SDL_Surface* manyLines = drawn(lines);
    EXPECT_TRUE(SamePixels(fewLines, manyLines));
    for (SDL_Surface* s : {cut, wide, fewLines, manyLines})
        SDL_FreeSurface(s);
}

// Every byte in a cell of its own on a 16 x 16 grid.
template <typename AnyFont>
void DrawEveryByte(SDL_Surface* surface, const AnyFont& font) {
    for (int byte = 1; byte < 256; ++byte)
        font.DrawChar(surface, byte % 16 * 40, byte / 16 * 30, static_cast<unsigned char>(byte));
}

TEST_F(FontTest, KeptGlyphsDrawAndMeasureAsFreshlyRenderedOnes) {
    using testing_support::GlyphByGlyphFont;
    GlyphByGlyphFont reference(kFontPath, 16, 0, 0xFFFFFF);
    GlyphByGlyphFont referenceBold(kFontPath, 16, TTF_STYLE_BOLD, 0xFF8000);
    SDL_Surface* firstUse = BlackSurface(640, 480);
    SDL_Surface* kept = BlackSurface(640, 480);
    SDL_Surface* fresh = BlackSurface(640, 480);
    DrawEveryByte(firstUse, primary);
    DrawEveryByte(kept, primary);
    DrawEveryByte(fresh, reference);
    EXPECT_FALSE(AllBlack(fresh));
    EXPECT_TRUE(SamePixels(firstUse, fresh));
    EXPECT_TRUE(SamePixels(kept, fresh));
    for (int byte = 0; byte < 256; ++byte) {
        auto c = static_cast<unsigned char>(byte);
        EXPECT_EQ(primary.CharWidth(c), reference.CharWidth(c)) << byte;
        EXPECT_EQ(secondary.CharWidth(c), referenceBold.CharWidth(c)) << byte;
    }

    // Laid out, with letters again and again, plain and highlighted.
    const char* text = "Mississippi \xC0\xE1\xE2 Mississippi\nsecond line";
    for (bool highlight : {false, true}) {
        SDL_FillRect(kept, nullptr, 0);
        SDL_FillRect(fresh, nullptr, 0);
        DrawText(kept, {primary, secondary}, 3, 4, text, highlight);
        GlyphByGlyphDrawText(fresh, reference, referenceBold, 3, 4, text, highlight);
        EXPECT_TRUE(SamePixels(kept, fresh)) << highlight;
    }
    EXPECT_EQ(TextWidth(primary, text), GlyphByGlyphTextWidth(reference, text));
    for (SDL_Surface* s : {firstUse, kept, fresh})
        SDL_FreeSurface(s);
}

TEST_F(FontTest, KeptGlyphsGoWhenTheFontChanges) {
    SDL_Surface* recoloured = BlackSurface();
    SDL_Surface* orange = BlackSurface();
    primary.DrawChar(recoloured, 5, 5, 'M');
    int width16 = primary.CharWidth('W');
    primary.SetColor(0xFF8000);
    SDL_FillRect(recoloured, nullptr, 0);
    primary.DrawChar(recoloured, 5, 5, 'M');
    testing_support::GlyphByGlyphFont(kFontPath, 16, 0, 0xFF8000).DrawChar(orange, 5, 5, 'M');
    EXPECT_TRUE(SamePixels(recoloured, orange));

    primary.LoadFile(kFontPath, 30, 0);
    testing_support::GlyphByGlyphFont larger(kFontPath, 30, 0, 0);
    EXPECT_GT(primary.CharWidth('W'), width16);
    EXPECT_EQ(primary.CharWidth('W'), larger.CharWidth('W'));

    primary.Close();
    SDL_FillRect(recoloured, nullptr, 0);
    primary.DrawChar(recoloured, 5, 5, 'M');
    EXPECT_TRUE(AllBlack(recoloured));
    EXPECT_EQ(primary.CharWidth('W'), 0);
    SDL_FreeSurface(recoloured);
    SDL_FreeSurface(orange);
}

TEST_F(FontTest, EmptyTextDrawsNothingAndHasNoWidth) {
    SDL_Surface* surface = BlackSurface();
    DrawText(surface, {primary, secondary}, 0, 0, "", false);
    EXPECT_TRUE(AllBlack(surface));
    EXPECT_EQ(TextWidth(primary, ""), 0);
    EXPECT_EQ(TextWidth(primary, "A\nB"),
              primary.CharWidth('A') + primary.CharWidth('\n') + primary.CharWidth('B'));
    // A limit stops the count at the first byte that reaches it.
    int w = primary.CharWidth('W');
    EXPECT_EQ(TextWidth(primary, std::string(40000, 'W').c_str(), 10 * w + 1), 11 * w);
    EXPECT_EQ(TextWidth(primary, "WW", 10 * w), 2 * w);
    EXPECT_EQ(TextWidth(primary, "WW", 0), 0);
    SDL_FreeSurface(surface);
}

TEST_F(FontTest, ColourIgnoresBitsAboveRgb) {
    SDL_Surface* orange = BlackSurface();
    SDL_Surface* orangeWithHighBits = BlackSurface();
    primary.SetColor(0xFF8000);
    primary.DrawChar(orange, 5, 5, 'M');
    primary.SetColor(0x7FFF8000);
    primary.DrawChar(orangeWithHighBits, 5, 5, 'M');
    EXPECT_TRUE(SamePixels(orange, orangeWithHighBits));
    // The fully covered middle of the M is that orange.
    bool foundOrange = false;
    const Uint32* words = static_cast<const Uint32*>(orange->pixels);
    for (int i = 0; i < orange->w * orange->h; ++i)
        foundOrange |= (words[i] & 0xFFFFFF) == 0xFF8000;
    EXPECT_TRUE(foundOrange);
    SDL_FreeSurface(orange);
    SDL_FreeSurface(orangeWithHighBits);
}

TEST_F(FontTest, CyrillicBytesRenderAsLetters) {
    // Capital A in Cyrillic looks like the Latin A.
    EXPECT_EQ(primary.CharWidth(0xC0), primary.CharWidth('A'));
    EXPECT_GT(primary.CharWidth(0xA8), 0);
}

TEST_F(FontTest, FailedLoadNamesSizeAndPathAndClosesTheOldFont) {
    try {
        primary.LoadFile("data/fnt/font.ttf", 16, 0);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        std::string message = e.Message();
        const std::string start = "Couldn't load 16 pt font from data/fnt/font.ttf: ";
        EXPECT_EQ(message.compare(0, start.size(), start), 0) << message;
        EXPECT_EQ(message.back(), '\n');
        EXPECT_GT(message.size(), start.size() + 1);  // SDL's reason is there
    }
    EXPECT_EQ(primary.CharWidth('A'), 0);  // no font any more
}

TEST_F(FontTest, CopyingEndsTheProgram) {
    EXPECT_EXIT({ Font copy(primary); }, ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(testing_support::ReadFile("velmora.log"),
              "[Error] Copy Font object not allowed (construct)\n");
    EXPECT_EXIT({ secondary = primary; }, ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(testing_support::ReadFile("velmora.log"),
              "[Error] Copy Font object not allowed (operator=)\n");
}

}  // namespace
