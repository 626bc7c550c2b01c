#pragma once

#include "core/Log.h"

// What checking a game needs, for as long as the session lives: the font
// engine started, the character table built, FatalError thrown as an
// Exception on this thread instead of ending the tool, and every line the
// game would log handed to the tool's sink instead of written over the
// player's log in the game's folder. Owned by the scope of the check, on the
// thread that checks; the log is taken over for every thread, so sessions
// nest, innermost ruling, and end in reverse order.
class CheckSession {
public:
    explicit CheckSession(LogRedirect::Sink sink);
    CheckSession(const CheckSession&) = delete;
    CheckSession& operator=(const CheckSession&) = delete;
    ~CheckSession();

    // False when the font engine did not start: then no font loads, and a
    // check says so for every font it reads.
    bool FontEngineStarted() const { return fontEngineStarted; }

private:
    bool fontEngineStarted;
    FatalErrorTrap trap;
    LogRedirect log;
};
