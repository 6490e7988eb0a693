#ifndef CCOMPLEX_TESTS_FLOAT_BITS_H
#define CCOMPLEX_TESTS_FLOAT_BITS_H

#include <cstdint>
#include <cstring>

// A float's bit pattern, and the float of a bit pattern: how the tests and
// tools write and read results that must match bit for bit.
inline std::uint32_t bitsOf(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

inline float fromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

#endif  // CCOMPLEX_TESTS_FLOAT_BITS_H
