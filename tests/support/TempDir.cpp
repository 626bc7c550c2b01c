#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "tests/support/Environment.h"

namespace fs = std::filesystem;

namespace testing_support {

void WriteFile(const std::string& path, const std::string& bytes) {
    fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path) {
    return fs::exists(path);
}

// A death test's child process runs SetUp again; it must work in its parent's
// directory, which the parent announces through the environment.
const char kDirectoryVariable[] = "VELMORA_TEST_DIRECTORY";

// A new directory of its own: create_directory says whether it made it, so
// two processes never share one.
std::string MakeUniqueDirectory() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (;;) {
        fs::path candidate =
            fs::temp_directory_path() / ("velmora-test-" + std::to_string(random() % 1000000000));
        if (fs::create_directory(candidate)) return candidate.string();
    }
}

void InTempDir::SetUp() {
    // Death tests re-run the test in a fresh process, so process-wide state
    // (the log's first-write flag, the picture cache, ...) starts clean there.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    previous = fs::current_path().string();
    if (const char* inherited = std::getenv(kDirectoryVariable)) {
        directory = inherited;
        fs::current_path(directory);
        return;
    }
    owner = true;
    directory = MakeUniqueDirectory();
    SetEnvironment(kDirectoryVariable, directory);
    fs::current_path(directory);
}

void InTempDir::TearDown() {
    fs::current_path(previous);
    if (!owner) return;
    UnsetEnvironment(kDirectoryVariable);
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

}  // namespace testing_support
