// The FreeType renderer held against the real SDL_ttf in one program: every
// byte of the game's character table, at sizes small to large, in each
// style, must give the same surfaces pixel for pixel.

#include VELMORA_REAL_SDL_TTF_H

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/CharacterTable.h"
#include "graphics/freetype_text/FreeTypeText.h"

namespace {

namespace ours = freetype_text;

const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/";
const int kSizes[] = {6, 9, 12, 16, 20, 27, 40, 72};
const int kStyles[] = {0, TTF_STYLE_BOLD, TTF_STYLE_ITALIC, TTF_STYLE_BOLD | TTF_STYLE_ITALIC};
const SDL_Color kColor = {0xC8, 0x64, 0x1E, 0};
const size_t kReportedFaults = 12;

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

const char* StyleName(int style) {
    static const char* const kNames[] = {"normal", "bold", "italic", "bold+italic"};
    return kNames[style & 3];
}

// What differs between the two renderings of one text, or "" when nothing.
std::string Difference(const SDL_Surface* real, const SDL_Surface* ours, bool pixels) {
    std::ostringstream out;
    if (!real || !ours) {
        if (real || ours) out << "null: real " << !real << ", ours " << !ours;
        return out.str();
    }
    if (real->w != ours->w || real->h != ours->h) {
        out << "size: real " << real->w << "x" << real->h << ", ours " << ours->w << "x" << ours->h;
        return out.str();
    }
    const SDL_PixelFormat& a = *real->format;
    const SDL_PixelFormat& b = *ours->format;
    if (a.BitsPerPixel != b.BitsPerPixel || real->pitch != ours->pitch || a.Rmask != b.Rmask ||
        a.Gmask != b.Gmask || a.Bmask != b.Bmask || a.Amask != b.Amask)
        return "pixel format or pitch";
    for (int y = 0; pixels && y < real->h; ++y) {
        const auto* left =
            reinterpret_cast<const Uint32*>(static_cast<Uint8*>(real->pixels) + y * real->pitch);
        const auto* right =
            reinterpret_cast<const Uint32*>(static_cast<Uint8*>(ours->pixels) + y * ours->pitch);
        for (int x = 0; x < real->w; ++x) {
            if (left[x] == right[x]) continue;
            out << "pixel (" << x << ", " << y << "): real " << std::hex << left[x] << ", ours "
                << right[x];
            return out.str();
        }
    }
    return "";
}

// One font at one size and style, opened in both libraries.
class FontPair {
public:
    FontPair(const std::string& path, int size, int style)
        : real(TTF_OpenFont(path.c_str(), size)), ours(ours::OpenFont(path.c_str(), size)) {
        if (real) TTF_SetFontStyle(real, style);
        if (ours) ours::SetFontStyle(ours, style);
    }
    ~FontPair() {
        if (real) TTF_CloseFont(real);
        ours::CloseFont(ours);
    }
    FontPair(const FontPair&) = delete;
    FontPair& operator=(const FontPair&) = delete;

    bool Opened() const { return real && ours; }
    int RealHeight() const { return TTF_FontHeight(real); }
    int OurHeight() const { return ours::FontHeight(ours); }

    // What differs in the blended and the solid rendering of text.
    std::string Compare(const char* text) const {
        Surface realBlended(TTF_RenderUTF8_Blended(real, text, kColor));
        Surface ourBlended(ours::RenderUtf8Blended(ours, text, kColor));
        std::string blended = Difference(realBlended.get(), ourBlended.get(), true);
        if (!blended.empty()) return "blended " + blended;
        Surface realSolid(TTF_RenderUTF8_Solid(real, text, kColor));
        Surface ourSolid(ours::RenderUtf8Solid(ours, text, kColor));
        std::string solid = Difference(realSolid.get(), ourSolid.get(), false);
        return solid.empty() ? "" : "solid " + solid;
    }

private:
    TTF_Font* real;
    ours::Font* ours;
};

// Differences, each named by what was rendered, and how many cases ran.
struct Findings {
    std::vector<std::string> faults;
    long compared = 0;

    void Add(const std::string& where, const std::string& fault) {
        ++compared;
        if (!fault.empty()) faults.push_back(where + ": " + fault);
    }
    std::string Report() const {
        std::ostringstream out;
        out << faults.size() << " of " << compared << " differ";
        for (size_t i = 0; i < faults.size() && i < kReportedFaults; ++i)
            out << "\n  " << faults[i];
        return out.str();
    }
};

std::string Where(const std::string& font, int size, int style) {
    return font + " " + std::to_string(size) + "pt " + StyleName(style);
}

void CompareCharacterTable(const std::string& name, const std::string& path, int size, int style,
                           Findings& findings) {
    std::string where = Where(name, size, style);
    FontPair fonts(path, size, style);
    if (!fonts.Opened()) {
        findings.Add(where, "does not open");
        return;
    }
    findings.Add(where + " height", fonts.RealHeight() == fonts.OurHeight() ? "" : "differs");
    char byteName[16];
    for (int byte = 0; byte < 256; ++byte) {
        std::snprintf(byteName, sizeof byteName, " byte 0x%02X", byte);
        findings.Add(where + byteName, fonts.Compare(CharacterToUtf8(byte)));
    }
}

class FreeTypeText : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(TTF_Init(), 0);
        ASSERT_EQ(ours::Init(), 0);
        BuildCharacterTable();
    }
    static void TearDownTestSuite() {
        ours::Quit();
        TTF_Quit();
    }
};

struct FontFile {
    const char* name;
    std::string path;
};

void PrintTo(const FontFile& font, std::ostream* out) {
    *out << font.path;
}

class EveryCharacter : public FreeTypeText, public ::testing::WithParamInterface<FontFile> {};

TEST_P(EveryCharacter, MatchesSdlTtfAtEverySizeAndStyle) {
    Findings findings;
    for (int size : kSizes) {
        for (int style : kStyles)
            CompareCharacterTable(GetParam().name, GetParam().path, size, style, findings);
    }
    RecordProperty("compared", std::to_string(findings.compared));
    EXPECT_TRUE(findings.faults.empty()) << findings.Report();
}

// Regular faces are made bold and italic; the Bold and Oblique faces must
// not be made so again.
INSTANTIATE_TEST_SUITE_P(
    Fonts, EveryCharacter,
    ::testing::Values(FontFile{"DejaVuSans", kDejaVu + "DejaVuSans.ttf"},
                      FontFile{"DejaVuSansBold", kDejaVu + "DejaVuSans-Bold.ttf"},
                      FontFile{"DejaVuSansOblique", kDejaVu + "DejaVuSans-Oblique.ttf"},
                      FontFile{"DejaVuSerif", kDejaVu + "DejaVuSerif.ttf"},
                      FontFile{"DemoFont", VELMORA_DEMO_FONT}),
    [](const ::testing::TestParamInfo<FontFile>& info) { return std::string(info.param.name); });

// Texts of several characters: kerned pairs, words, the decoding of broken
// and unusual UTF-8, byte order marks, glyphs that overlap.
TEST_F(FreeTypeText, TextsOfSeveralCharactersMatchSdlTtf) {
    // Octal escapes where a letter follows: a hexadecimal one would take it in.
    const char* const kTexts[] = {
        "AV",
        "To",
        "WAVE",
        "Hello, world!",
        "fiffl ij",
        "   ",
        "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",  // a Cyrillic word
        "\x97\xA9\xBF",                                      // lone bytes stand for themselves
        "A\xD0",                                             // a sequence cut by the end
        "\xC3(\xE2\x28\xA1",                                 // continuation bytes not checked
        "\xF0\x9F\x98\x80x",                                 // beyond 16 bits
        "\357\273\277AB",                                    // a byte order mark first
        "A\357\277\276BC\357\273\277D",                      // swapped, then not
        "\357\273\277",                                      // nothing but a mark
        "A\300\200B",                                        // a character 0 ends the text
        "j/j/j",
        "fj\302\270f"};  // reaching left of the pen
    Findings findings;
    for (const char* font : {"DejaVuSans.ttf", "DejaVuSerif.ttf", "DejaVuSans-Bold.ttf"}) {
        for (int size : {9, 16, 40}) {
            for (int style : kStyles) {
                FontPair fonts(kDejaVu + font, size, style);
                for (const char* text : kTexts)
                    findings.Add(Where(font, size, style) + " \"" + text + "\"",
                                 fonts.Compare(text));
            }
        }
    }
    EXPECT_TRUE(findings.faults.empty()) << findings.Report();
}

// A surface's pitch is 16 bits in SDL 1.2: a wider text is refused rather
// than given a pitch that does not hold its rows.
TEST_F(FreeTypeText, LongTextsMatchSdlTtfUpToWhatASurfaceHolds) {
    FontPair fonts(kDejaVu + "DejaVuSans.ttf", 16, TTF_STYLE_BOLD);
    EXPECT_EQ(fonts.Compare(std::string(500, 'W').c_str()), "");
    ours::Font* font = ours::OpenFont((kDejaVu + "DejaVuSans.ttf").c_str(), 16);
    Surface tooWide(ours::RenderUtf8Blended(font, std::string(20000, 'W').c_str(), kColor));
    EXPECT_EQ(tooWide, nullptr);
    EXPECT_STREQ(SDL_GetError(), "Text is too large to render");
    ours::CloseFont(font);
}

// Sizes the settings may hold though no one would choose them: FreeType
// takes what it is given on both sides.
TEST_F(FreeTypeText, OddPointSizesMatchSdlTtf) {
    Findings findings;
    for (int size : {-5, 0, 1, 2, 3, 150}) {
        for (int style : kStyles)
            CompareCharacterTable("DejaVuSans", kDejaVu + "DejaVuSans.ttf", size, style, findings);
    }
    EXPECT_TRUE(findings.faults.empty()) << findings.Report();
}

// The reasons a font does not open, as SDL_GetError() gives them.
std::string RealOpenError(const std::string& path) {
    SDL_ClearError();
    TTF_Font* font = TTF_OpenFont(path.c_str(), 16);
    if (font) TTF_CloseFont(font);
    return font ? "(opened)" : SDL_GetError();
}

std::string OurOpenError(const std::string& path) {
    SDL_ClearError();
    ours::Font* font = ours::OpenFont(path.c_str(), 16);
    ours::CloseFont(font);
    return font ? "(opened)" : SDL_GetError();
}

TEST_F(FreeTypeText, FontsThatDoNotOpenGiveSdlTtfsReasons) {
    const std::string kMissing = "/nonexistent/font.ttf";
    EXPECT_EQ(OurOpenError(kMissing), RealOpenError(kMissing));
    EXPECT_EQ(OurOpenError(kMissing), "Couldn't open " + kMissing);
    for (const std::string path : {"/etc/hostname", "/dev/null", "/"})
        EXPECT_EQ(OurOpenError(path), RealOpenError(path)) << path;
}

// Init and Quit are counted; a font may outlive the last Quit and is closed
// after it without harm (SDL_ttf would use FreeType after stopping it).
TEST(FreeTypeTextLifetime, FontsOpenOnlyWhileStartedAndMayBeClosedAfter) {
    SDL_ClearError();
    EXPECT_EQ(ours::OpenFont((kDejaVu + "DejaVuSans.ttf").c_str(), 16), nullptr);
    EXPECT_STREQ(SDL_GetError(), "Library not initialized");
    ASSERT_EQ(ours::Init(), 0);
    ASSERT_EQ(ours::Init(), 0);
    EXPECT_EQ(ours::WasInit(), 2);
    ours::Quit();
    ours::Font* font = ours::OpenFont((kDejaVu + "DejaVuSans.ttf").c_str(), 16);
    ASSERT_NE(font, nullptr);
    ours::Quit();
    EXPECT_EQ(ours::WasInit(), 0);
    EXPECT_EQ(ours::OpenFont((kDejaVu + "DejaVuSans.ttf").c_str(), 16), nullptr);
    Surface text(ours::RenderUtf8Blended(font, "A", kColor));
    EXPECT_NE(text, nullptr);
    ours::CloseFont(font);
    ours::Quit();  // one too many: ignored
    EXPECT_EQ(ours::WasInit(), 0);
    ASSERT_EQ(ours::Init(), 0);
    ours::Quit();
}

}  // namespace
