#include "tests/e2e/MenuChoice.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/e2e/Process.h"

namespace {

// The scripts click on the line where the C++ tests click, which lies in the
// text box, below the picture area; the scripts take half the font size for
// half a line, having no font engine.
TEST(MenuChoiceTest, ScriptsAndTestsClickTheDemosFirstChoice) {
    int exitCode = -1;
    std::string output = e2e::RunCommand({"bash", "-c", "source \"$0\" && first_choice \"$1\"",
                                          VELMORA_DISPLAY_SCRIPT, VELMORA_DEMO_DIR},
                                         {}, &exitCode);
    ASSERT_EQ(exitCode, 0);
    int x = -1, y = -1;
    std::istringstream(output) >> x >> y;
    e2e::ScreenPoint point = e2e::MenuChoicePoint(VELMORA_DEMO_DIR, 0);
    int line = e2e::MenuChoicePoint(VELMORA_DEMO_DIR, 1).y - point.y;
    int top = point.y - line / 2;
    EXPECT_EQ(x, point.x);
    EXPECT_GE(y, top);
    EXPECT_LT(y, top + line);
    EXPECT_GT(point.y, 600 / 2);
    EXPECT_LT(point.y, 600);
}

TEST(MenuChoiceTest, LaterChoicesLieOneLineApartBelowTheFirst) {
    e2e::ScreenPoint first = e2e::MenuChoicePoint(VELMORA_DEMO_DIR, 0);
    e2e::ScreenPoint second = e2e::MenuChoicePoint(VELMORA_DEMO_DIR, 1);
    e2e::ScreenPoint third = e2e::MenuChoicePoint(VELMORA_DEMO_DIR, 2);
    EXPECT_EQ(second.x, first.x);
    EXPECT_GT(second.y, first.y);
    EXPECT_EQ(third.y - second.y, second.y - first.y);
}

}  // namespace
