// What the tests of ccomplex.h, ccomplex_elementary.cpp and the formatters
// share: special values, ulp and bit comparisons, the text form held in a
// string, and std::cout redirected.
#ifndef CCOMPLEX_TESTS_TEST_SUPPORT_H
#define CCOMPLEX_TESTS_TEST_SUPPORT_H

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>

#include "ccomplex.h"

namespace ccomplex_test {

inline constexpr float kInf = std::numeric_limits<float>::infinity();
inline constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Whether the C library's long double functions can serve as references.
// MinGW's cannot: its cos and sin reduce an angle by the x87 unit's 66-bit
// pi, and std::complex<long double>'s functions overflow for large parts.
#ifdef _WIN32
inline constexpr bool kLongDoubleFunctionsAreReferences = false;
#else
inline constexpr bool kLongDoubleFunctionsAreReferences = true;
#endif

// Points std::cout at another buffer for as long as it lives; then restores
// its buffer and clears its state and exceptions.
class CoutRedirect {
public:
    explicit CoutRedirect(std::streambuf* to) : saved_(std::cout.rdbuf(to)) {}
    ~CoutRedirect() {
        std::cout.exceptions(std::ios::goodbit);
        std::cout.rdbuf(saved_);  // also clears the state
    }
    CoutRedirect(const CoutRedirect&) = delete;
    CoutRedirect& operator=(const CoutRedirect&) = delete;

private:
    std::streambuf* saved_;
};

// Redirects std::cout into a string for as long as it lives.
class CoutCapture {
public:
    std::string text() const { return captured_.str(); }

private:
    std::ostringstream captured_;
    CoutRedirect redirect_{captured_.rdbuf()};
};

// How many float ulps `got` lies from `exact`. The ulp is that of the float
// range `exact`, or `floor` if larger, falls in (2^-149 for subnormals). An infinite result counts
// as exact when the true value lies beyond FLT_MAX with the same sign.
inline long double ulpError(float got, long double exact, long double floor = 0) {
    if (std::isnan(got)) return std::numeric_limits<long double>::infinity();
    if (std::isinf(got)) {
        const bool beyond = std::fabs(exact) > FLT_MAX && std::signbit(got) == std::signbit(exact);
        return beyond ? 0.0L : std::numeric_limits<long double>::infinity();
    }
    // ilogb(0) is far below any float exponent, so 0 gets the subnormal ulp.
    const int exponent = std::max(std::ilogb(std::max(std::fabs(exact), floor)), FLT_MIN_EXP - 1);
    const long double ulp = std::ldexp(1.0L, exponent - (FLT_MANT_DIG - 1));
    return std::fabs(static_cast<long double>(got) - exact) / ulp;
}

// Whether `got` is the float nearest to the exact value, of which `approx` is
// a reference within `bound` relative (by default 8 units of long double's
// last place): true too where a tie between two floats lies that close to
// `approx`, as the reference cannot decide there. Zero signs are not
// compared; an infinite result is right beyond the float range.
inline bool roundsCorrectly(
    float got, long double approx,
    long double bound = std::ldexp(1.0L, 3 - std::numeric_limits<long double>::digits)) {
    const long double margin = std::fabs(approx) * bound;
    const float low = static_cast<float>(approx - margin),
                high = static_cast<float>(approx + margin);
    return low < high || got == low;
}

inline bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
inline bool sameBits(const CComplex& a, const CComplex& b) {
    return sameBits(a.real, b.real) && sameBits(a.imag, b.imag);
}

// The text form copied out of the shared buffer at once, so that two of them
// can be used in one expression.
inline std::string text(const CComplex& x) { return x.print(); }

}  // namespace ccomplex_test

#endif  // CCOMPLEX_TESTS_TEST_SUPPORT_H
