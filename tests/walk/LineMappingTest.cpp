#include <gtest/gtest.h>

#include "walk/LineMapping.h"

namespace {

const std::vector<std::string> kBefore = {"x = 1", "say text=\"A\"", "", "say text=\"B\"", ":end"};

TEST(LineMappingTest, ALineFollowsItsTextWhereItMoved) {
    // Unchanged, and moved down by two inserted lines.
    EXPECT_EQ(MapLineThroughEdit(kBefore, kBefore, 4), 4);
    std::vector<std::string> inserted = {
        "x = 1", "y = 2", "z = 3", "say text=\"A\"", "", "  say text=\"B\"  ", ":end"};
    EXPECT_EQ(MapLineThroughEdit(kBefore, inserted, 4), 6);
    EXPECT_EQ(MapLineThroughEdit(kBefore, inserted, 2), 4);
    // Of two equal lines, the nearer one; the later one on a tie.
    std::vector<std::string> twice = {"say text=\"B\"", "x", "x", "x", "x", "say text=\"B\""};
    EXPECT_EQ(MapLineThroughEdit(kBefore, twice, 4), 6);
}

TEST(LineMappingTest, AnEditedLineKeepsItsNumberWithinTheScript) {
    std::vector<std::string> edited = {"x = 1", "say text=\"A!\"", "", "say text=\"B\"", ":end"};
    EXPECT_EQ(MapLineThroughEdit(kBefore, edited, 2), 2);
    // A blank line is no text to follow.
    EXPECT_EQ(MapLineThroughEdit(kBefore, {"", "", "x"}, 3), 3);
    std::vector<std::string> shorter = {"x = 1", "say text=\"C\""};
    EXPECT_EQ(MapLineThroughEdit(kBefore, shorter, 5), 2);
    EXPECT_EQ(MapLineThroughEdit(kBefore, {}, 5), 1);
    EXPECT_EQ(MapLineThroughEdit(kBefore, kBefore, 40), 5);
}

TEST(LineMappingTest, NearestLineTakesTheEarlierOnATie) {
    EXPECT_EQ(NearestLine({}, 5), 0);
    EXPECT_EQ(NearestLine({3, 7}, 5), 3);
    EXPECT_EQ(NearestLine({3, 8}, 6), 8);
    EXPECT_EQ(NearestLine({3, 8}, 1), 3);
    EXPECT_EQ(NearestLine({3, 8}, 20), 8);
    EXPECT_EQ(NearestLine({3, 8}, 8), 8);
}

}  // namespace
