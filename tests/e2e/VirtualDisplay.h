#pragma once

#include <memory>
#include <string>

#include "tests/e2e/Process.h"

namespace e2e {

// A private X server (Xvfb) with a free display number, stopped on destruction.
class VirtualDisplay {
public:
    explicit VirtualDisplay(int width = 1024, int height = 768);
    ~VirtualDisplay();

    const std::string& Name() const { return name; }  // e.g. ":5"
    Environment Env() const { return {{"DISPLAY", name}}; }

private:
    std::unique_ptr<Process> server;
    std::string name;
};

}  // namespace e2e
