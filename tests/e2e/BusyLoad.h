#pragma once

#include <memory>
#include <vector>

#include "tests/e2e/Process.h"

namespace e2e {

// Processes that spin beside the program under test, as a player's other work
// keeps the cores busy; stopped on destruction.
class BusyLoad {
public:
    explicit BusyLoad(int processes) {
        for (int i = 0; i < processes; ++i) {
            spinners.push_back(std::make_unique<Process>(std::vector<std::string>{"yes"},
                                                         Environment{}, "", "/dev/null"));
        }
    }

private:
    std::vector<std::unique_ptr<Process>> spinners;
};

}  // namespace e2e
