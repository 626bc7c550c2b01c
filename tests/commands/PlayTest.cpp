#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "graphics/CharacterTable.h"
#include "graphics/Font.h"
#include "graphics/TextLayout.h"
#include "tests/e2e/Game.h"
#include "tests/e2e/GameFiles.h"
#include "tests/support/OggClip.h"
#include "tests/support/Pause.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFont.h"

using e2e::Screenshot;
using e2e::Solid;
using testing_support::Pause;
using testing_support::ReadFile;

namespace {

// The real program playing short scripts on a 640 x 480 window whose text box
// (100 pixels high, opaque dark blue) starts at y = 380, with text 20 pixels
// in and 10 down: green text, red speaker labels and hovered choices.
class PlayTest : public testing_support::InTempDir {
protected:
    static constexpr int kTextX = 20;
    static constexpr int kTextY = 390;
    static constexpr uint32_t kPrimary = 0x00FF00;
    static constexpr uint32_t kSecondary = 0xFF0000;
    static constexpr uint32_t kBox = 0x000040;

    static void SetUpTestSuite() {
        TTF_Init();
        BuildCharacterTable();
    }

    void SetUp() override {
        InTempDir::SetUp();
        files.gameSettings =
            "Width=640\nHeight=480\nFontSize=16\nTextOffsetX=20\nTextOffsetY=10\n"
            "PrimaryColor=0x00FF00\nSecondaryColor=0xFF0000\n";
        files.textBoxColour = 0xFF000000 | kBox;
        for (auto [name, colour] :
             {std::pair{"one", 0xFF101010u}, {"two", 0xFF202020u}, {"three", 0xFF303030u}}) {
            files.pictures[std::string("data/gfx/") + name + ".png"] = {8, 8, Solid(8, 8, colour)};
        }
        font.LoadFile(testing_support::kTestFont, 16, 0);
    }

    std::unique_ptr<e2e::Game> Start(const e2e::Environment& environment = {}) {
        files.WriteTo(directory);
        auto game = std::make_unique<e2e::Game>(e2e::Game::Options{directory, environment});
        game->MoveMouse(639, 479);  // the cursor's mark out of the way
        return game;
    }

    // Waits until the pixel at (x, y) shows colour.
    static bool Shows(e2e::Game& game, int x, int y, uint32_t colour, int timeoutMs = 10000) {
        return game.WaitForScreen([&](const Screenshot& s) { return s.Pixel(x, y) == colour; },
                                  timeoutMs);
    }

    // The leftmost column in [x0, x1) x [y0, y1) holding colour, or -1.
    static int LeftmostOf(const Screenshot& s, uint32_t colour, int x0, int y0, int x1, int y1) {
        for (int x = x0; x < x1; ++x) {
            for (int y = y0; y < y1; ++y) {
                if (s.Pixel(x, y) == colour) return x;
            }
        }
        return -1;
    }

    e2e::GameFiles files;
    Font font;  // the program's primary font, for its metrics
};

TEST_F(PlayTest, BackgroundAndCharactersArePlacedAndBlended) {
    files.pictures["data/gfx/room.png"] = {600, 300, Solid(600, 300, 0xFF336699)};
    files.pictures["data/gfx/ann.png"] = {300, 200, Solid(300, 200, 0xFFCC0000)};
    files.pictures["data/gfx/bob.png"] = {201, 150, Solid(201, 150, 0x8000FF00)};  // half alpha
    files.pictures["data/gfx/cat.png"] = {300, 100, Solid(300, 100, 0xFF0000CC)};
    files.script =
        "back \"room\"\nchar \"ann\", left\nchar \"bob\"\nchar \"cat\", right\ndelay 0\n";
    auto game = Start();
    ASSERT_TRUE(Shows(*game, 10, 10, 0xCC0000));
    const Screenshot& s = game->lastShot;
    // The center picture, 201 wide, starts at (640 - 201) / 2 = 219; its half
    // alpha blends it over what lies below.
    EXPECT_EQ(s.Pixel(218, 10), 0xCC0000u);
    EXPECT_EQ(s.Pixel(219, 10), 0x668000u);   // over the left one
    EXPECT_EQ(s.Pixel(339, 120), 0x19B34Cu);  // over the background
    EXPECT_EQ(s.Pixel(419, 120), 0x19B34Cu);
    EXPECT_EQ(s.Pixel(420, 120), 0x336699u);
    EXPECT_EQ(s.Pixel(250, 160), 0xCC0000u);  // below the center picture
    // The right picture, 300 wide, starts at 640 - 300 = 340 and covers the center one.
    EXPECT_EQ(s.Pixel(339, 50), 0x19B34Cu);
    EXPECT_EQ(s.Pixel(340, 50), 0x0000CCu);
    EXPECT_EQ(s.Pixel(639, 99), 0x0000CCu);
    // Black where nothing covers, the text box below.
    EXPECT_EQ(s.Pixel(620, 250), 0x000000u);
    EXPECT_EQ(s.Pixel(300, 350), 0x000000u);
    EXPECT_EQ(s.Pixel(5, 385), kBox);
    game->Key("Escape");
    EXPECT_EQ(game->Wait(), 0);
}

TEST_F(PlayTest, SpokenLinesAndTheClick) {
    files.script =
        "back \"one\"\nsay \"Bob\", text=\"Hi---Hm\"\nback \"two\"\nsay text=\"Second\"\n"
        "back \"three\"\nsay text=\"Third\"\n";
    auto game = Start();
    ASSERT_TRUE(Shows(*game, 2, 2, 0x101010));
    const Screenshot& s = game->lastShot;
    int lineHeight = font.LineHeight();
    int textX = kTextX + TextWidth(font, "Bob: ");
    // The label in the secondary colour starts at the text offset.
    int label = LeftmostOf(s, kSecondary, 0, kTextY, 640, kTextY + lineHeight);
    EXPECT_GE(label, kTextX);
    EXPECT_LT(label, kTextX + 4);
    EXPECT_EQ(LeftmostOf(s, kSecondary, textX, kTextY, 640, kTextY + 2 * lineHeight), -1);
    // Both lines of the text start at the same pen x, right after the label.
    int first = LeftmostOf(s, kPrimary, 0, kTextY, 640, kTextY + lineHeight);
    int second = LeftmostOf(s, kPrimary, 0, kTextY + lineHeight, 640, kTextY + 2 * lineHeight);
    EXPECT_GE(first, textX);
    EXPECT_LT(first, textX + 4);
    EXPECT_EQ(second, first);

    // A held button ends one wait, not the next.
    game->MouseDown();
    ASSERT_TRUE(Shows(*game, 2, 2, 0x202020));
    Pause(600);
    EXPECT_EQ(game->Shot().Pixel(2, 2), 0x202020u);
    game->MouseUp();
    game->Click();
    EXPECT_TRUE(Shows(*game, 2, 2, 0x303030));
    game->Key("Escape");
    EXPECT_EQ(game->Wait(), 0);
}

TEST_F(PlayTest, MenuChoiceByClick) {
    files.script =
        "item \"One\", label=one\nitem \"Second choice\", label=two\nitem \"Three\", three\n"
        "menu run\n:one\nback \"one\"\ndelay 0\n:two\nback \"two\"\ndelay 0\n"
        ":three\nback \"three\"\ndelay 0\n";
    auto game = Start();
    int lineHeight = font.LineHeight();
    auto row = [&](int i) { return kTextY + i * lineHeight; };
    // Hovering the second choice draws it, and only it, in the secondary colour.
    game->MoveMouse(kTextX + 5, row(1) + lineHeight / 2);
    ASSERT_TRUE(game->WaitForScreen([&](const Screenshot& s) {
        return LeftmostOf(s, kSecondary, 0, row(1), 640, row(2)) >= 0;
    }));
    const Screenshot& s = game->lastShot;
    EXPECT_GE(LeftmostOf(s, kPrimary, 0, row(0), 640, row(1)), kTextX);
    EXPECT_EQ(LeftmostOf(s, kSecondary, 0, row(0), 640, row(1)), -1);
    EXPECT_GE(LeftmostOf(s, kPrimary, 0, row(2), 640, row(3)), kTextX);

    // A click right of the short first choice selects nothing.
    game->MoveMouse(kTextX + TextWidth(font, "One") + 20, row(0) + lineHeight / 2);
    game->Click();
    Pause(500);
    EXPECT_EQ(game->Shot().Pixel(2, 2), 0x000000u);
    game->MoveMouse(kTextX + 5, row(1) + lineHeight / 2);
    game->Click();
    EXPECT_TRUE(Shows(*game, 2, 2, 0x202020));
    game->Key("Escape");
    EXPECT_EQ(game->Wait(), 0);
}

TEST_F(PlayTest, DelayEndsByItselfAndGameEndCloses) {
    // The line after the second picture holds it on screen until the click,
    // so a busy machine cannot miss it between the short delay and the end.
    files.script =
        "back \"one\"\ndelay 20\nback \"two\"\nsay text=\"x\"\ndelay 3\n"
        "game action=end\nsay text=\"y\"\n";
    // The two seconds' wait begins after the start, so the second picture
    // comes at least that long after it, however late the first one is seen
    // on a busy machine; seeing it only bounds the wait from above.
    auto started = std::chrono::steady_clock::now();
    auto game = Start();
    ASSERT_TRUE(Shows(*game, 2, 2, 0x101010));
    auto seen = std::chrono::steady_clock::now();
    ASSERT_TRUE(Shows(*game, 2, 2, 0x202020));
    auto now = std::chrono::steady_clock::now();
    EXPECT_GE(now - started, std::chrono::milliseconds(2000));
    EXPECT_LT(now - seen, std::chrono::milliseconds(4500));
    game->Click();
    EXPECT_EQ(game->Wait(10000), 0);
    EXPECT_FALSE(testing_support::FileExists("velmora.log"));
}

TEST_F(PlayTest, HugeDelayIsTheLongestWaitNotAWrappedShortOne) {
    // 42949673 tenths are 4294967300 ms: 4 ms once wrapped to 32 bits.
    files.script = "back \"one\"\ndelay 42949673\nback \"two\"\ndelay 0\n";
    auto game = Start();
    ASSERT_TRUE(Shows(*game, 2, 2, 0x101010));
    Pause(1000);
    EXPECT_EQ(game->Shot().Pixel(2, 2), 0x101010u);
    game->Click();
    EXPECT_TRUE(Shows(*game, 2, 2, 0x202020));
    game->Key("Escape");
    EXPECT_EQ(game->Wait(), 0);
}

TEST_F(PlayTest, ParameterErrorsEndTheProgramWithTheirLine) {
    for (auto [line, message] : {std::pair{"back", "No back name"},
                                 {"say text=hello", "Invalid text type"},
                                 {"delay \"5\"", "Invalid value type"}}) {
        files.script = std::string("back \"one\"\n' then the mistake\n") + line + "\n";
        files.WriteTo(directory);
        e2e::Game game({directory, {}, false});
        EXPECT_EQ(game.Wait(), 1);
        EXPECT_EQ(ReadFile("velmora.log"),
                  std::string("[Error] ") + message + " in data/scenario/main.txt at line 3\n");
    }
}

}  // namespace
