#pragma once

#include <stdexcept>
#include <string>

// A reason packing stopped, said in one line: the game cannot be read, the
// output cannot be written, a runtime is missing. Thrown and caught on the
// packing thread (the tool has one).
struct PackError : std::runtime_error {
    explicit PackError(const std::string& message) : std::runtime_error(message) {}
};
