#include <gtest/gtest.h>

#include <string>

#include "graphics/CharacterTable.h"
#include "tools/lsp/LineMap.h"
#include "tools/lsp/ScriptText.h"
#include "tools/lsp/TextDocument.h"

namespace {

class ScriptTextTest : public testing::Test {
protected:
    static void SetUpTestSuite() { BuildCharacterTable(); }
};

TEST_F(ScriptTextTest, CyrillicBecomesOneWindows1251BytePerLetter) {
    // "Привет, Ёж" in UTF-8.
    ScriptText text =
        ToScriptText("say \"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\x81\xD0\xB6\"");
    EXPECT_EQ(text.bytes, "say \"\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xE6\"");
    EXPECT_TRUE(text.foreign.empty());
    EXPECT_EQ(ScriptBytesToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8"),
              "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xD0\x81\xD1\x91");
}

TEST_F(ScriptTextTest, ForeignCharactersAreNotedAtTheirUtf16Columns) {
    // Line 0: an em dash at column 2. Line 1 (after CR LF): an emoji (two
    // UTF-16 units) at column 1, then a euro sign at column 4.
    ScriptText text = ToScriptText("a \xE2\x80\x94 b\r\nx\xF0\x9F\x98\x80y\xE2\x82\xAC\rz\xC2\xA0");
    EXPECT_EQ(text.bytes, "a ? b\r\nx??y?\rz?");
    ASSERT_EQ(text.foreign.size(), 4u);
    EXPECT_EQ(text.foreign[0].line, 0);
    EXPECT_EQ(text.foreign[0].character, 2);
    EXPECT_EQ(text.foreign[0].codePoint, 0x2014u);
    EXPECT_EQ(text.foreign[1].line, 1);
    EXPECT_EQ(text.foreign[1].character, 1);
    EXPECT_EQ(text.foreign[2].character, 4);
    EXPECT_EQ(text.foreign[3].line, 2);
    EXPECT_EQ(text.foreign[3].character, 1);
    EXPECT_NE(ForeignMessage(0x2014).find("U+2014"), std::string::npos);
}

TEST(TextDocumentTest, EditsRangesInUtf16Units) {
    // "Ж" is one UTF-16 unit in two UTF-8 bytes; the emoji two units in four bytes.
    TextDocument document("u", "say \"\xD0\x96\xF0\x9F\x98\x80x\"\nline two\n", 1);
    document.Edit({{0, 8}, {0, 9}}, "y", 2);
    EXPECT_EQ(document.Text(), "say \"\xD0\x96\xF0\x9F\x98\x80y\"\nline two\n");
    document.Edit({{1, 5}, {1, 8}}, "2\n:added", 3);
    EXPECT_EQ(
        SplitLines(document.Text()),
        (std::vector<std::string>{"say \"\xD0\x96\xF0\x9F\x98\x80y\"", "line 2", ":added", ""}));
    EXPECT_EQ(document.Version(), 3);
}

TEST(TextDocumentTest, ClampsPositionsAndOrdersRanges) {
    TextDocument document("u", "ab\r\ncd\ref", 1);
    EXPECT_EQ(SplitLines(document.Text()), (std::vector<std::string>{"ab", "cd", "ef"}));
    EXPECT_EQ(document.Offset({0, 99}), 2u);  // past the line's end: its end
    EXPECT_EQ(document.Offset({1, 0}), 4u);   // CR LF is one line end
    EXPECT_EQ(document.Offset({2, 1}), 8u);
    EXPECT_EQ(document.Offset({9, 0}), 9u);   // past the text: its end
    document.Edit({{2, 0}, {0, 1}}, "-", 2);  // reversed
    EXPECT_EQ(document.Text(), "a-ef");
    document.Replace("", 3);
    EXPECT_EQ(SplitLines(document.Text()), (std::vector<std::string>{""}));
    EXPECT_EQ(document.Revision(), 2u);
}

TEST(LineMapTest, LongLinesCountAsSeveralGameLines) {
    std::string longLine(5000, 'x');
    LineMap map("a\n" + longLine + "\nb\n");
    EXPECT_EQ(map.OfGameLine(1).line, 0);
    EXPECT_EQ(map.OfGameLine(2).line, 1);
    EXPECT_EQ(map.OfGameLine(2).character, 0);
    EXPECT_EQ(map.OfGameLine(3).line, 1);  // the tail of the long line
    EXPECT_EQ(map.OfGameLine(3).character, 4095);
    EXPECT_EQ(map.OfGameLine(4).line, 2);
    EXPECT_EQ(map.GameLineOf(2), 4);
    EXPECT_EQ(map.GameLineOf(1), 2);
    EXPECT_EQ(map.OfGameLine(0).line, 0);  // a finding about the whole file
}

TEST(LineMapTest, LfCrIsOneGameLineEndButTwoEditorLines) {
    LineMap map("a\n\rb\r\nc");
    EXPECT_EQ(map.OfGameLine(2).line, 2);  // "b": the game's second line, the editor's third
    EXPECT_EQ(map.OfGameLine(3).line, 3);
    EXPECT_EQ(map.GameLineOf(2), 2);
    EXPECT_EQ(map.GameLineOf(3), 3);
}

}  // namespace
