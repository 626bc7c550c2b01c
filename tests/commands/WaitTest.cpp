#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/SceneDrawing.h"
#include "tests/commands/ScriptedPlayer.h"
#include "tests/support/PngWriter.h"

namespace {

// The wait for the player, met by the test's scripted player: every pass
// hands a frame over, then reads the input the test set after that frame.
class WaitTest : public ScriptedPlayerTest {
protected:
    void SetUp() override {
        ScriptedPlayerTest::SetUp();
        for (auto [name, colour] : {std::pair{"one", 0xFF111111u}, {"two", 0xFF222222u}}) {
            testing_support::WritePng(std::string("data/gfx/") + name + ".png", 4, 4,
                                      std::vector<uint32_t>(16, colour));
        }
    }

    // The poll time moves on by step ms per frame, from 1000 at frame 0.
    void PollEvery(int step) {
        afterFrame = [this, step](int frame) { input.pollTime = 1000 + step * (frame + 1); };
    }

    // Holds the button down exactly on the frames for which down says so.
    void Press(int step, std::function<bool(int)> down) {
        afterFrame = [this, step, down](int frame) {
            input.pollTime = 1000 + step * (frame + 1);
            input.leftButton = down(frame);
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
    Press(10, [](int frame) { return frame >= 2; });
    EXPECT_EQ(Run("back \"one\"\nsay \"Ann\", text=\"Hello\"\nback \"two\"\n"), "");
    ASSERT_EQ(frames.size(), 3u);  // the click seen after the third frame ends it
    EXPECT_TRUE(frames[0].whole);
    EXPECT_EQ(frames[0].topLeft & 0xFFFFFF, 0x111111u);
    for (size_t i = 1; i < frames.size(); ++i) {
        EXPECT_FALSE(frames[i].whole);
        EXPECT_TRUE(frames[i].rects.empty());
    }
    EXPECT_TRUE(stage.scene.clickLatch);
    EXPECT_EQ(stage.scene.clickBlockTime, 1030u + 100);
    EXPECT_EQ(stage.scene.background.Pixels()[0], 0xFF222222u);  // the script went on
}

TEST_F(WaitTest, AHeldButtonEndsOneWaitNotTheNext) {
    // Taken after frame 2; held through the second wait's first frames,
    // released after frame 20 and pressed again after frame 22.
    Press(10, [](int frame) { return frame >= 2 && (frame <= 20 || frame >= 23); });
    EXPECT_EQ(Run("say text=\"One\"\nsay text=\"Two\"\n"), "");
    EXPECT_EQ(frames.size(), 24u);
}

TEST_F(WaitTest, NoClickIsTakenWithin100MsOfTheLast) {
    // Taken after frame 2 at poll time 1030; released and pressed again at
    // once, the press counts only once the poll time is past 1130.
    Press(10, [](int frame) { return frame >= 2 && frame != 3; });
    EXPECT_EQ(Run("say text=\"One\"\nsay text=\"Two\"\n"), "");
    ASSERT_EQ(frames.size(), 14u);
    EXPECT_EQ(stage.scene.clickBlockTime, 1140u + 100);
}

TEST_F(WaitTest, AClickOnAChoiceJumpsToItsLabel) {
    const char* script =
        "item \"One\", label=one\nitem \"Second\", label=two\nmenu action=run\n"
        ":one\nback \"one\"\ngame action=end\n:two\nback \"two\"\n";
    afterFrame = [this](int frame) {
        input.pollTime = 1000 + 10 * (frame + 1);
        input.leftButton = true;           // pressed outside every choice: nothing happens,
        if (frame == 1) PointAtChoice(1);  // until the mouse comes onto one
    };
    EXPECT_EQ(Run(script), "");
    ASSERT_EQ(frames.size(), 3u);
    for (const Frame& frame : frames) {
        ASSERT_EQ(frame.rects.size(), 2u);  // every pass redraws both choices
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

// A slow pass can bring the pointer's move and the press in one poll, after
// the menu was drawn for where the pointer had been.
TEST_F(WaitTest, AClickCountsOnlyOnTheChoiceUnderThePointerAtTheClick) {
    const char* script =
        "item \"One\", label=one\nitem \"Second\", label=two\nmenu action=run\n"
        ":one\nback \"one\"\n:two\nback \"two\"\n";
    afterFrame = [this](int frame) {
        input.pollTime = 1000 + 150 * (frame + 1);
        if (frame == 0) PointAtChoice(1);
        if (frame == 1) {  // drawn over the second choice, pressed right of the first
            ChoiceBox first = ChoiceAt(stage, canvas.surface, 0);
            input.mouseX = first.x + first.w + 5;
            input.mouseY = first.y + 1;
            input.leftButton = true;
        }
        if (frame == 3) running = false;
    };
    EXPECT_EQ(Run(script), "");
    EXPECT_EQ(frames.size(), 4u);
    EXPECT_TRUE(stage.scene.menuMode);
    EXPECT_FALSE(stage.scene.background.IsDrawable());
}

TEST_F(WaitTest, AChoiceOfAMissingLabelFailsAtTheItemsLine) {
    afterFrame = [this](int frame) {
        input.pollTime = 1000 + 10 * (frame + 1);
        input.leftButton = true;
        PointAtChoice(0);
    };
    EXPECT_EQ(Run("' a menu\nitem \"Nowhere\", label=nowhere\nmenu run\n"),
              "Undefined label nowhere in data/scenario/main.txt at line 2");
    EXPECT_TRUE(stage.scene.menuMode);
    EXPECT_EQ(stage.scene.choices.size(), 1u);
}

TEST_F(WaitTest, ADelayEndsOnceItsTimeHasPassed) {
    PollEvery(100);  // 1500 after frame 4 is not past 1000 + 500; 1600 is
    EXPECT_EQ(Run("delay 5\n"), "");
    EXPECT_EQ(frames.size(), 6u);
    EXPECT_EQ(stage.scene.delayTime, 0);
}

TEST_F(WaitTest, AClickEndsADelayEarly) {
    Press(10, [](int frame) { return frame == 1; });
    EXPECT_EQ(Run("delay 50\n"), "");
    EXPECT_EQ(frames.size(), 2u);
}

TEST_F(WaitTest, TheEndOfTheGameEndsAWaitAndKeepsItsState) {
    afterFrame = [this](int frame) {
        input.pollTime = 1000 + 10 * (frame + 1);
        running = frame < 3;
    };
    EXPECT_EQ(Run("delay 50\n"), "");
    EXPECT_EQ(frames.size(), 4u);
    EXPECT_EQ(stage.scene.delayTime, 5000);

    running = true;
    frames.clear();
    EXPECT_EQ(Run("item \"One\", label=one\nmenu run\n:one\n"), "");
    EXPECT_EQ(frames.size(), 4u);
    EXPECT_TRUE(stage.scene.menuMode);
    EXPECT_EQ(stage.scene.choices.size(), 1u);
}

}  // namespace
