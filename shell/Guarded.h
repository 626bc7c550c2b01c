#pragma once

// Runs body; any exception that leaves it ends the program through FatalError
// with its message: "[Error] " plus the text in the log, exit code 1.
void RunGuarded(void (*body)());
