#include "tests/support/Environment.h"

#include <cstdlib>

namespace testing_support {

#ifdef _WIN32

void SetEnvironment(const std::string& name, const std::string& value) {
    _putenv_s(name.c_str(), value.c_str());
}
void UnsetEnvironment(const std::string& name) {
    _putenv_s(name.c_str(), "");  // an empty value removes it
}

#else

void SetEnvironment(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
}
void UnsetEnvironment(const std::string& name) {
    unsetenv(name.c_str());
}

#endif

}  // namespace testing_support
