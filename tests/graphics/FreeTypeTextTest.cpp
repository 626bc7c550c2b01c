// The FreeType renderer held against the real SDL_ttf in one program: every
// byte of the game's character table, at sizes small to large, in each
// style, must give the same surfaces pixel for pixel.

#include VELMORA_REAL_SDL_TTF_H

#include <gtest/gtest.h>

#include <cstring>
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

}  // namespace
