#include "tests/support/TempDir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
    std::string pattern = (fs::temp_directory_path() / "velmora-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory = pattern;
    setenv(kDirectoryVariable, directory.c_str(), 1);
    fs::current_path(directory);
}

void InTempDir::TearDown() {
    fs::current_path(previous);
    if (!owner) return;
    unsetenv(kDirectoryVariable);
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

}  // namespace testing_support
