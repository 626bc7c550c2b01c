#pragma once

#include <string>

// A request the server refuses, thrown by a feature and answered with the
// protocol's error code and this message.
struct RequestError {
    int code;
    std::string message;
};
