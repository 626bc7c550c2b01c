#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "commands/SceneDrawing.h"
#include "tests/commands/ScriptedPlayer.h"
#include "tests/support/GlyphByGlyph.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestFont.h"

namespace {

// The wait for the player, met by the test's scripted player: a pass hands a
// frame over only when it has something new to show, then reads the input
// the test set after that pass.
class WaitTest : public ScriptedPlayerTest {
protected:
    void SetUp() override {
        ScriptedPlayerTest::SetUp();
        for (auto [name, colour] : {std::pair{"one", 0xFF111111u}, {"two", 0xFF222222u}}) {
            testing_support::WritePng(std::string("data/gfx/") + name + ".png", 4, 4,
                                      std::vector<uint32_t>(16, colour));
        }
    }

    // The poll time moves on by step ms per pass, from 1000 at pass 0.
    void PollEvery(int step) {
        afterPass = [this, step](int pass) { input.pollTime = 1000 + step * (pass + 1); };
    }

    // Holds the button down exactly after the passes for which down says so.
    void Press(int step, std::function<bool(int)> down) {
        afterPass = [this, step, down](int pass) {
            input.pollTime = 1000 + step * (pass + 1);
            input.leftButton = down(pass);
        };
    }

    void PointAtChoice(size_t index) {
        ChoiceBox box = ChoiceAt(stage, canvas.surface, index);
        input.mouseX = box.x + 2;
        input.mouseY = box.y + box.h / 2;
    }

    bool Shows(const ChoiceBox& box, uint32_t colour) const {
        const auto* pixels = static_cast<const uint32_t*>(canvas.surface->pixels);
        for (int y = box.y; y < box.y + box.h; ++y) {
            for (int x = box.x; x < box.x + box.w; ++x) {
                if ((pixels[y * canvas.surface->pitch / 4 + x] & 0xFFFFFF) == colour) return true;
            }
        }
        return false;
    }
};

TEST_F(WaitTest, AClickEndsASpokenLineWhoseSceneIsDrawnOnce) {
    Press(10, [](int pass) { return pass >= 2; });
    EXPECT_EQ(Run("back \"one\"\nsay \"Ann\", text=\"Hello\"\nback \"two\"\n"), "");
    EXPECT_EQ(passes, 3);  // the click seen after the third pass ends it
    // Only the first pass had anything to show.
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].pass, 0);
    EXPECT_TRUE(frames[0].whole);
    EXPECT_EQ(frames[0].topLeft & 0xFFFFFF, 0x111111u);
    EXPECT_TRUE(stage.scene.clickLatch);
    EXPECT_EQ(stage.scene.clickBlockTime, 1030u + 100);
    EXPECT_EQ(stage.scene.background.Pixels()[0], 0xFF222222u);  // the script went on
}

TEST_F(WaitTest, NoClickEndsAWaitBeforeItsSceneIsShown) {
    lockFailures = 3;  // the canvas comes free on the fourth pass
    Press(10, [](int) { return true; });
    EXPECT_EQ(Run("say text=\"Hello\"\n"), "");
    EXPECT_EQ(passes, 4);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].pass, 3);
    EXPECT_TRUE(frames[0].whole);
}

TEST_F(WaitTest, AHeldButtonEndsOneWaitNotTheNext) {
    // Taken after pass 2; held through the second wait's first passes,
    // released after pass 20 and pressed again after pass 22.
    Press(10, [](int pass) { return pass >= 2 && (pass <= 20 || pass >= 23); });
    EXPECT_EQ(Run("say text=\"One\"\nsay text=\"Two\"\n"), "");
    EXPECT_EQ(passes, 24);
    ASSERT_EQ(frames.size(), 2u);  // each wait shows its scene once
    EXPECT_EQ(frames[1].pass, 3);
}

TEST_F(WaitTest, NoClickIsTakenWithin100MsOfTheLast) {
    // Taken after pass 2 at poll time 1030; released and pressed again at
    // once, the press counts only once the poll time is past 1130.
    Press(10, [](int pass) { return pass >= 2 && pass != 3; });
    EXPECT_EQ(Run("say text=\"One\"\nsay text=\"Two\"\n"), "");
    ASSERT_EQ(passes, 14);
    EXPECT_EQ(stage.scene.clickBlockTime, 1140u + 100);
}

TEST_F(WaitTest, AClickOnAChoiceJumpsToItsLabel) {
    const char* script =
        "item \"One\", label=one\nitem \"Second\", label=two\nmenu action=run\n"
        ":one\nback \"one\"\ngame action=end\n:two\nback \"two\"\n";
    afterPass = [this](int pass) {
        input.pollTime = 1000 + 10 * (pass + 1);
        input.leftButton = true;          // pressed outside every choice: nothing happens,
        if (pass == 1) PointAtChoice(1);  // until the mouse comes onto one
    };
    EXPECT_EQ(Run(script), "");
    EXPECT_EQ(passes, 3);
    // The scene, then the choices again once the mouse came onto one.
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].whole);
    EXPECT_EQ(frames[1].pass, 2);
    EXPECT_FALSE(frames[1].whole);
    for (const Frame& frame : frames) {
        ASSERT_EQ(frame.rects.size(), 2u);
        EXPECT_EQ(frame.rects[1].y, ChoiceAt(stage, canvas.surface, 1).y);
    }
    EXPECT_EQ(stage.scene.background.Pixels()[0], 0xFF222222u);
    EXPECT_FALSE(stage.scene.menuMode);
    EXPECT_TRUE(stage.scene.choices.empty());
    // Cleared lists and labels aside, the last frame shows the choice under
    // the mouse in the secondary colour and the other in the primary one.
    stage.scene.choices = {{"One", "one", 1}, {"Second", "two", 2}};
    EXPECT_TRUE(Shows(ChoiceAt(stage, canvas.surface, 1), 0xFF0000));
    EXPECT_FALSE(Shows(ChoiceAt(stage, canvas.surface, 0), 0xFF0000));
    EXPECT_TRUE(Shows(ChoiceAt(stage, canvas.surface, 0), 0x00FF00));
}

// A player that reads only where the waits end: nothing is drawn, yet the
// waits hand over and end as they do when drawn, and a click on a choice
// takes the choice that would be under it.
TEST_F(WaitTest, AWaitThatDrawsNoFramesEndsAsADrawnOne) {
    stage.player.drawsFrames = false;
    SDL_FillRect(canvas.surface, nullptr, 0x123456);
    const char* script =
        "back \"one\"\nsay \"Ann\", text=\"Hello\"\n"
        "item \"One\", label=one\nitem \"Second\", label=two\nmenu action=run\n"
        ":one\nback \"one\"\ngame action=end\n:two\nback \"two\"\n";
    afterPass = [this](int pass) {
        input.pollTime = 1000 + 200 * (pass + 1);
        input.leftButton = pass == 0 || pass >= 3;  // the say's click, then the menu's
        if (pass == 2) PointAtChoice(1);
    };
    EXPECT_EQ(Run(script), "");
    ASSERT_EQ(frames.size(), 3u);  // the say, the menu, the menu under the mouse
    EXPECT_TRUE(frames[0].whole);
    EXPECT_TRUE(frames[1].whole);
    EXPECT_FALSE(frames[2].whole);
    for (const Frame& frame : frames)
        EXPECT_EQ(frame.topLeft & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(stage.scene.background.Pixels()[0], 0xFF222222u);  // the second choice
    stage.scene.choices = {{"One", "one", 1}, {"Second", "two", 2}};
    EXPECT_FALSE(Shows(ChoiceAt(stage, canvas.surface, 1), 0xFF0000));
    EXPECT_FALSE(Shows(ChoiceAt(stage, canvas.surface, 0), 0x00FF00));
}

TEST_F(WaitTest, AChoiceWiderThanTheCanvasEndsAtItsEdge) {
    // Far wider than a 16-bit rectangle: the changed area stays the canvas's
    // part of the line, and the choice is taken at the canvas's right edge.
    afterPass = [this](int pass) {
        input.pollTime = 1000 + 10 * (pass + 1);
        input.leftButton = true;
        input.mouseX = kWidth - 1;
        input.mouseY = ChoiceAt(stage, canvas.surface, 0).y;
    };
    const char* script =
        "w = \"WWWWWWWWWW\"\nn = 0\n:grow\nw = w + w\nn = n + 1\nif n < 12 grow\n"
        "item #w, label=one\nmenu action=run\n:one\ngame action=end\n";
    EXPECT_EQ(Run(script), "");
    ASSERT_FALSE(frames.empty());
    ASSERT_EQ(frames[0].rects.size(), 1u);
    EXPECT_EQ(frames[0].rects[0].x + frames[0].rects[0].w, kWidth);
    EXPECT_FALSE(running);
}

TEST_F(WaitTest, AMenuIsRedrawnOnlyWhenTheChoiceUnderTheMouseChanges) {
    const char* script =
        "item \"One\", label=one\nitem \"Second\", label=two\nmenu action=run\n"
        ":one\nback \"one\"\ngame action=end\n:two\nback \"two\"\n";
    // Where the mouse goes after each pass.
    afterPass = [this](int pass) {
        input.pollTime = 1000 + 10 * (pass + 1);
        ChoiceBox first = ChoiceAt(stage, canvas.surface, 0);
        if (pass == 0) PointAtChoice(0);                      // onto the first choice
        if (pass == 1) input.mouseX = first.x + first.w - 1;  // along it
        if (pass == 2) PointAtChoice(1);                      // onto the second
        if (pass == 3) input.mouseX = kWidth - 1;             // off both
        if (pass == 4) input.mouseY += 1;                     // still off both
        if (pass == 5) PointAtChoice(1);                      // back onto the second,
        input.leftButton = pass >= 5;                         // and clicked
    };
    EXPECT_EQ(Run(script), "");
    EXPECT_EQ(passes, 7);
    std::vector<int> shown;
    for (const Frame& frame : frames)
        shown.push_back(frame.pass);
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 3, 4, 6}));
    EXPECT_EQ(stage.scene.background.Pixels()[0], 0xFF222222u);
}

// The menu as the wait draws it with the glyphs its fonts keep, against the
// same menu drawn from glyphs rendered afresh, over a scene of noise seen
// through a translucent text box.
TEST_F(WaitTest, AMenuFrameDrawnWithKeptGlyphsIsTheOneDrawnGlyphByGlyph) {
    std::mt19937 random(15);
    std::vector<uint32_t> noise(kWidth * kHeight), box(kWidth * kTextBoxHeight);
    for (uint32_t& pixel : noise)
        pixel = 0xFF000000 | random();
    for (uint32_t& pixel : box)
        pixel = random();
    testing_support::WritePng("data/gfx/noise.png", kWidth, kHeight, noise);
    testing_support::WritePng("box.png", kWidth, kTextBoxHeight, box);
    stage.menuBackground.LoadImage("box.png");
    const char* script =
        "back \"noise\"\nitem \"Go on\", label=on\nitem \"Stay a moment longer\", label=on\n"
        "item \"\xCE\xF1\xF2\xE0\xF2\xFC\xF1\xFF\", label=on\nmenu run\n:on\n";
    SDL_Surface* drawn = SDL_CreateRGBSurface(0, kWidth, kHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    afterPass = [&](int pass) {
        input.pollTime = 1000 + 10 * (pass + 1);
        PointAtChoice(pass < 3 ? pass : 1);  // over every choice, then back to the second
        if (pass == 4) SDL_BlitSurface(canvas.surface, nullptr, drawn, nullptr);
        input.leftButton = pass >= 4;
    };
    EXPECT_EQ(Run(script), "");
    ASSERT_EQ(frames.back().pass, 4);

    using testing_support::GlyphByGlyphFont;
    GlyphByGlyphFont primary(testing_support::kTestFont, kFontSize, 0, kPrimaryColour);
    GlyphByGlyphFont secondary(testing_support::kTestFont, kFontSize, TTF_STYLE_BOLD,
                               kSecondaryColour);
    stage.scene.choices = {{"Go on", "on", 2},
                           {"Stay a moment longer", "on", 3},
                           {"\xCE\xF1\xF2\xE0\xF2\xFC\xF1\xFF", "on", 4}};
    RestoreTextBoxArea(stage, canvas);
    stage.menuBackground.Draw(canvas.surface, 0, kHeight - kTextBoxHeight, 255);
    for (size_t i = 0; i < stage.scene.choices.size(); ++i) {
        ChoiceBox at = ChoiceAt(stage, canvas.surface, i);
        GlyphByGlyphDrawText(canvas.surface, primary, secondary, at.x, at.y,
                             stage.scene.choices[i].text.c_str(), i == 1);
    }
    EXPECT_TRUE(Shows(ChoiceAt(stage, canvas.surface, 1), kSecondaryColour));
    EXPECT_EQ(std::memcmp(drawn->pixels, canvas.surface->pixels,
                          static_cast<size_t>(drawn->pitch) * kHeight),
              0);
    SDL_FreeSurface(drawn);
}

// A slow pass can bring the pointer's move and the press in one poll, after
// the menu was drawn for where the pointer had been.
TEST_F(WaitTest, AClickCountsOnlyOnTheChoiceUnderThePointerAtTheClick) {
    const char* script =
        "item \"One\", label=one\nitem \"Second\", label=two\nmenu action=run\n"
        ":one\nback \"one\"\n:two\nback \"two\"\n";
    afterPass = [this](int pass) {
        input.pollTime = 1000 + 150 * (pass + 1);
        if (pass == 0) PointAtChoice(1);
        if (pass == 1) {  // drawn over the second choice, pressed right of the first
            ChoiceBox first = ChoiceAt(stage, canvas.surface, 0);
            input.mouseX = first.x + first.w + 5;
            input.mouseY = first.y + 1;
            input.leftButton = true;
        }
        if (pass == 3) running = false;
    };
    EXPECT_EQ(Run(script), "");
    EXPECT_EQ(passes, 4);
    EXPECT_TRUE(stage.scene.menuMode);
    EXPECT_FALSE(stage.scene.background.IsDrawable());
}

TEST_F(WaitTest, AChoiceOfAMissingLabelFailsAtTheItemsLine) {
    afterPass = [this](int pass) {
        input.pollTime = 1000 + 10 * (pass + 1);
        input.leftButton = true;
        PointAtChoice(0);
    };
    EXPECT_EQ(Run("' a menu\nitem \"Nowhere\", label=nowhere\nmenu run\n"),
              "Undefined label nowhere in data/scenario/main.txt at line 2");
    EXPECT_TRUE(stage.scene.menuMode);
    EXPECT_EQ(stage.scene.choices.size(), 1u);
}

TEST_F(WaitTest, ADelayEndsOnceItsTimeHasPassed) {
    PollEvery(100);  // 1500 after pass 4 is not past 1000 + 500; 1600 is
    EXPECT_EQ(Run("delay 5\n"), "");
    EXPECT_EQ(passes, 6);
    EXPECT_EQ(stage.scene.delayTime, 0);
}

TEST_F(WaitTest, AClickEndsADelayEarly) {
    Press(10, [](int pass) { return pass == 1; });
    EXPECT_EQ(Run("delay 50\n"), "");
    EXPECT_EQ(passes, 2);
}

TEST_F(WaitTest, TheEndOfTheGameEndsAWaitAndKeepsItsState) {
    afterPass = [this](int pass) {
        input.pollTime = 1000 + 10 * (pass + 1);
        running = pass < 3;
    };
    EXPECT_EQ(Run("delay 50\n"), "");
    EXPECT_EQ(passes, 4);
    EXPECT_EQ(stage.scene.delayTime, 5000);

    running = true;
    passes = 0;
    EXPECT_EQ(Run("item \"One\", label=one\nmenu run\n:one\n"), "");
    EXPECT_EQ(passes, 4);
    EXPECT_TRUE(stage.scene.menuMode);
    EXPECT_EQ(stage.scene.choices.size(), 1u);
}

}  // namespace
