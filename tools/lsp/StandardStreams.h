#pragma once

// The protocol's messages are counted in bytes, so standard input and output
// carry them unchanged: Windows's C run-time would otherwise turn "\n" into
// "\r\n" on the way out and back, and stop reading at a Ctrl-Z. One file per
// platform: StandardStreamsPosix.cpp, StandardStreamsWindows.cpp. Called by
// main before the first byte is read or written.
void MakeStandardStreamsBinary();
