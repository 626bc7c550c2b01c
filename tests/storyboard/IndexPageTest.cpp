#include <gtest/gtest.h>

#include <string>

#include "graphics/CharacterTable.h"
#include "tests/support/TempDir.h"
#include "tools/storyboard/IndexPage.h"

namespace {

TEST(IndexPageTest, ScriptTextIsShownAsUtf8) {
    BuildCharacterTable();
    // Capital A, small be, capital Io, small io; 0x97 is no letter the game knows.
    EXPECT_EQ(Utf8FromScript("\xC0\xE1 \xA8\xB8 \x97!"),
              "\xD0\x90\xD0\xB1 \xD0\x81\xD1\x91 \xEF\xBF\xBD!");
    EXPECT_EQ(Utf8FromScript("plain\n"), "plain\n");
}

class IndexPageFileTest : public testing_support::InTempDir {};

TEST_F(IndexPageFileTest, TextsAreEscapedAndTheWholePageIsWritten) {
    BuildCharacterTable();
    {
        IndexPage page("index.html", "Storyboard of <mine>");
        page.AddFrame({1, "frame-00001.png", 3, "\xC0nn", "1 < 2 & \"so\"", {"Go \xC0"}, {}});
        page.AddNote(IndexPage::NoteKind::kJoin, "Joins", 1);
        page.Finish("1 frames");
    }
    std::string html = testing_support::ReadFile("index.html");
    for (const char* part :
         {"<title>Storyboard of &lt;mine&gt;</title>",
          "<span class=\"speaker\">\xD0\x90nn:</span> 1 &lt; 2 &amp; &quot;so&quot;",
          "<div class=\"path\">Go \xD0\x90</div>",
          "<p class=\"note\">Joins <a href=\"#f1\">frame 1</a></p>", "</html>\n"}) {
        EXPECT_NE(html.find(part), std::string::npos) << part;
    }
}

TEST_F(IndexPageFileTest, TheMapGoesInWholeAndNothingInItClosesItsScript) {
    {
        IndexPage page("index.html", "map");
        page.AddMap("<?xml version=\"1.0\"?>\n<!DOCTYPE svg>\n<svg><g id=\"start\"/></svg>",
                    "{\"nodes\": [{\"note\": \"a </script> in a text\"}]}");
        page.Finish("done");
    }
    std::string html = testing_support::ReadFile("index.html");
    EXPECT_EQ(html.find("<?xml"), std::string::npos);
    EXPECT_NE(html.find("<svg><g id=\"start\"/></svg>"), std::string::npos);
    EXPECT_NE(html.find("a <\\/script> in a text"), std::string::npos);
    EXPECT_NE(html.find("</html>"), std::string::npos);
}

TEST_F(IndexPageFileTest, APageWithoutAPathWritesNothing) {
    IndexPage page("", "nothing");
    page.AddFrame({1, "frame-00001.png", 3, "", "text", {}, {}});
    page.Finish("1 frames");
    EXPECT_FALSE(testing_support::FileExists("index.html"));
}

}  // namespace
