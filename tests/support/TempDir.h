#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// Writes bytes to a file, creating the directories on its path.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// A test that runs in a fresh, empty working directory, removed afterwards.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string directory;

private:
    std::string previous;
    bool owner = false;
};

}  // namespace testing_support
