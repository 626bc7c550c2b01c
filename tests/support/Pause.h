#pragma once

#include <chrono>
#include <thread>

namespace testing_support {

// Lets a program under test go on for ms milliseconds.
inline void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace testing_support
