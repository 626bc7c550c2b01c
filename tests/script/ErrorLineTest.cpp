#include <gtest/gtest.h>

#include "script/ErrorLine.h"

namespace {

const char kScript[] = "data/scenario/main.txt";

TEST(ErrorLineTest, AMessageWithItsPlaceIsPrintedThere) {
    EXPECT_EQ(ErrorLine("Divizion by zero in data/scenario/main.txt at line 8", kScript, 3),
              "data/scenario/main.txt:8: error: Divizion by zero");
    // A menu choice's label is reported at its item's line, not the menu's.
    EXPECT_EQ(
        ErrorLine("Undefined label nowhere in data/scenario/main.txt at line 12", kScript, 20),
        "data/scenario/main.txt:12: error: Undefined label nowhere");
    EXPECT_EQ(
        ErrorLine("Engine function \"sya\" not found in my game/main.txt at line 1", kScript, 0),
        "my game/main.txt:1: error: Engine function \"sya\" not found");
}

TEST(ErrorLineTest, OtherMessagesArePlacedWhereTheyHappened) {
    EXPECT_EQ(ErrorLine("Read error in data/gfx/missing.png", kScript, 5),
              "data/scenario/main.txt:5: error: Read error in data/gfx/missing.png");
    EXPECT_EQ(ErrorLine("Label start already defined", kScript, 0),
              "data/scenario/main.txt: error: Label start already defined");
    EXPECT_EQ(
        ErrorLine("Couldn't load 16 pt font from data/fnt/font.ttf: no file\n",
                  "velmora-storyboard", 0),
        "velmora-storyboard: error: Couldn't load 16 pt font from data/fnt/font.ttf: no file");
    // Not quite a place: no path, or no number at the very end.
    EXPECT_EQ(ErrorLine("Odd in  at line 3", kScript, 2),
              "data/scenario/main.txt:2: error: Odd in  at line 3");
    EXPECT_EQ(ErrorLine("Odd in x at line 3b", kScript, 2),
              "data/scenario/main.txt:2: error: Odd in x at line 3b");
    EXPECT_EQ(ErrorLine("Odd in x at line 99999999999", kScript, 2),
              "data/scenario/main.txt:2: error: Odd in x at line 99999999999");
}

}  // namespace
