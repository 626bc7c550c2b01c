#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Exception.h"
#include "core/Log.h"

// What the fuzz targets share. Inputs reach the game's readers as files, as
// every reader takes a path, and the ways the game ends on a bad file count
// as outcomes. A target runs on libFuzzer's one thread.
namespace fuzzing {

// While one lives, the working directory is the process's scratch directory,
// made on first use and removed at exit. Each input is played in there;
// libFuzzer's own relative paths stay as they were between inputs.
class InScratchDirectory {
public:
    InScratchDirectory();
    InScratchDirectory(const InScratchDirectory&) = delete;
    InScratchDirectory& operator=(const InScratchDirectory&) = delete;
    ~InScratchDirectory();

private:
    int previous;  // descriptor of the directory to return to
};

// Writes the input to path (relative to the working directory), creating the
// directories on it.
void WriteInput(const std::string& path, const uint8_t* data, size_t size);

// Runs body with fatal errors trapped. An Exception (how the game reports a
// bad file, and what a trapped FatalError throws) and the volume check's
// plain string are accepted outcomes; anything else escapes to libFuzzer as
// a finding.
template <typename Body>
void RunAccepted(Body body) {
    FatalErrorTrap trap;
    try {
        body();
    } catch (const Exception&) {
    } catch (const char*) {
    }
}

}  // namespace fuzzing
