#include "fuzz/support/FuzzInput.h"

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

}  // namespace

const std::string& EnterScratchDirectory() {
    if (!scratch.empty()) return scratch;
    std::string pattern = std::filesystem::temp_directory_path() / "velmora-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) {
        std::perror("velmora fuzz: scratch directory");
        std::abort();
    }
    scratch = pattern;
    std::atexit(RemoveScratch);
    return scratch;
}

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::perror(path.c_str());
        std::abort();
    }
}

}  // namespace fuzzing
