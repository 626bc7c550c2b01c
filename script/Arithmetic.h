#pragma once

#include <cstdint>

// Script numbers are 32-bit and wrap on overflow. Every operation that can
// overflow goes through unsigned arithmetic, so none of them is undefined.

// The int32_t whose two's-complement bits are u.
inline int32_t FromBits(uint32_t u) {
    return u <= 0x7FFFFFFFu ? static_cast<int32_t>(u) : -static_cast<int32_t>(~u) - 1;
}

inline int32_t WrappingAdd(int32_t a, int32_t b) {
    return FromBits(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrappingSubtract(int32_t a, int32_t b) {
    return FromBits(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t WrappingMultiply(int32_t a, int32_t b) {
    return FromBits(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t WrappingNegate(int32_t a) {
    return FromBits(0u - static_cast<uint32_t>(a));
}

// Quotient truncated toward zero; b must not be 0. The one quotient that does
// not fit, INT32_MIN / -1, wraps to INT32_MIN instead of trapping.
inline int32_t WrappingDivide(int32_t a, int32_t b) {
    return b == -1 ? WrappingNegate(a) : a / b;
}

// Remainder with the sign of a; b must not be 0. INT32_MIN % -1 is 0.
inline int32_t WrappingRemainder(int32_t a, int32_t b) {
    return b == -1 ? 0 : a % b;
}
