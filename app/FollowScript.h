#pragma once

// With --watch the game follows the script as the author saves it. The main
// thread notices a save between its passes; the game thread then ends its
// wait, walks the saved script and starts again at the author's line, mapped
// through the edit, with the music from its start; or, when the script has
// a fault, keeps the last frame with the finding over it until the next save.

// Main thread, before the game thread starts: the line the game started at.
void WatchScript(int line);
// Main thread, once per pass.
void NoticeSavedScript();
// Any thread: a save the game thread has not yet followed.
bool ScriptSaved();
// Game thread, between Steps, when ScriptSaved().
void FollowSavedScript();
