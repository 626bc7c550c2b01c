#include "fuzz/support/FuzzInput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fuzzing {

namespace {

std::string scratch;

void RemoveScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}

[[noreturn]] void Fail(const char* what) {
    std::perror(what);
    std::abort();
}

// Files in memory where the machine has a place for them: every input is
// written once, and a disk's journal would take longer than the game's code.
std::filesystem::path ScratchParent() {
    if (!std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm")) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

const std::string& Scratch() {
    if (!scratch.empty()) return scratch;
    std::string pattern = ScratchParent() / "velmora-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) Fail("velmora fuzz: scratch directory");
    scratch = pattern;
    std::atexit(RemoveScratch);
    return scratch;
}

}  // namespace

InScratchDirectory::InScratchDirectory() : previous(open(".", O_RDONLY | O_DIRECTORY)) {
    if (previous < 0 || chdir(Scratch().c_str()) != 0) Fail("velmora fuzz: scratch directory");
}

// What the game logged for one input would only pile up.
InScratchDirectory::~InScratchDirectory() {
    std::remove("velmora.log");
    if (fchdir(previous) != 0) Fail("velmora fuzz: working directory");
    close(previous);
}

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) Fail(path.c_str());
}

}  // namespace fuzzing
