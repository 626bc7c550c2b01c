#pragma once

// Windows only: the console event handler that InstallQuitSignals registers
// (QuitSignalsWindows.cpp), for Ctrl+C, Ctrl+Break and the console's close.
// Windows calls it on a thread of its own; the tests call it so too, since
// Wine's consoles cannot be sent Ctrl+C. Returns FALSE for the events it
// leaves to the next handler.
int __stdcall OnConsoleEvent(unsigned long event);
