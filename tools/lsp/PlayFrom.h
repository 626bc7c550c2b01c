#pragma once

#include <nlohmann/json.hpp>

class Workspace;

// "Play from here": the lenses over the lines of a game's script where a
// player waits (say, menu, delay), and the game's line the real game starts
// at for an editor line, refused, in the game's own words, where the story's
// walk never comes. The editor starts the game itself. Main thread only: the
// walk borrows the stage from the document check.
namespace playfrom {

using Json = nlohmann::json;

// textDocument/codeLens: each lens's command carries {uri, gameFolder,
// line (the game's), editorLine}; none for a script of no game.
Json Lenses(Workspace& workspace, const Json& params);
// velmora/playFrom, {textDocument, position}: {gameFolder, line} of the
// document's current text, or a RequestError with the program's words.
Json Start(Workspace& workspace, const Json& params);

}  // namespace playfrom
