#pragma once

// The one exception class of the program: a printf-formatted message of at
// most 4095 characters, thrown by value and caught by reference.
class Exception {
public:
    explicit Exception(const char* format, ...) __attribute__((format(printf, 2, 3)));
    virtual ~Exception();

    const char* Message() const { return message; }

private:
    char message[4096];
};
