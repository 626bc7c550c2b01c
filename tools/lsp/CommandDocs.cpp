#include "tools/lsp/CommandDocs.h"

#include <map>

// Quoted from docs/scenario.md; keep the two together.
const char* GuideSentence(const std::string& command) {
    static const std::map<std::string, const char*> sentences = {
        {"back",
         "With `clear=yes` (or no `clear`), the three characters leave and the line text is "
         "emptied; `clear=no` keeps them."},
        {"char", "Each place holds one character; a new one replaces the old."},
        {"say", "`say` shows the scene and the line and waits for a click."},
        {"item",
         "`item` adds a choice to a list; `menu action=run` shows the list in the text "
         "box and waits until the player clicks one, then goes on at that choice's label "
         "and empties the list."},
        {"menu",
         "`item` adds a choice to a list; `menu action=run` shows the list in the text "
         "box and waits until the player clicks one, then goes on at that choice's label "
         "and empties the list."},
        {"delay",
         "The scene stays as it is, with the last speaker and line, until the time has "
         "passed or the player clicks."},
        {"game",
         "`game action=end` closes the window and ends the program at once, without a "
         "click; nothing after it runs."},
        {"preload",
         "`preload` reads a picture into memory now, so that a later `back` or `char` "
         "with that name is quick, and makes it the background."},
        {"goto", "`goto` jumps always."},
        {"if",
         "`if condition label` jumps to the label when the condition is true, and "
         "otherwise goes on with the next line."},
    };
    auto found = sentences.find(command);
    return found == sentences.end() ? "" : found->second;
}
