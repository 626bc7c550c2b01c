#pragma once

#include <functional>
#include <string>

#include "core/Exception.h"

namespace testing_support {

// The message of the Exception the action throws, or "(no exception)".
inline std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no exception)";
}

}  // namespace testing_support
