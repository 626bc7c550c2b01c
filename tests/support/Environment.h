#pragma once

#include <string>

// Environment variables for the tests, on POSIX and on the Windows C run-time.
// Not thread-safe: for a test's main thread, before it starts others.
namespace testing_support {

void SetEnvironment(const std::string& name, const std::string& value);
void UnsetEnvironment(const std::string& name);

}  // namespace testing_support
