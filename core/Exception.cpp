#include "core/Exception.h"

#include <cstdarg>
#include <cstdio>

Exception::Exception(const char* format, ...) {
    va_list args;
    va_start(args, format);
    // vsnprintf cuts the text to the buffer and always terminates it.
    if (std::vsnprintf(message, sizeof message, format, args) < 0) message[0] = '\0';
    va_end(args);
}

Exception::~Exception() = default;
