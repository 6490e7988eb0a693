// Double-double arithmetic and exact rounding to float, for the library's
// kernels and careful paths: the bit helpers they share, sums and products of
// doubles kept exactly as two, and the two questions every fast path asks
// before it rounds, whether a double result lies near a tie between two
// floats (isNearFloatTie) and, where it does, which float the exact value
// rounds to (roundExactly, from the sign of the exact value less a tie).
//
// Internal to the library, not installed: its sources, tests and tools
// include it. Error bounds count IEEE 754 double roundings, u = 2^-53 each.
#ifndef CCOMPLEX_DOUBLE_DOUBLE_H
#define CCOMPLEX_DOUBLE_DOUBLE_H

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "ccomplex_ieee.h"

namespace ccomplex_kernels {

constexpr double kUnit = 0x1p-53;

// ---------------------------------------------------------------- bits

// 2^k for k in [-1022, 1023], from its bits.
inline double powerOfTwo(int k) noexcept {
    const std::uint64_t bits = static_cast<std::uint64_t>(k + 1023) << 52;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// v 2^k, exact unless the result leaves the normal range; ldexp only where
// 2^k itself does.
inline double scaledByPowerOfTwo(double v, int k) noexcept {
    return k >= -1022 && k <= 1023 ? v * powerOfTwo(k) : std::ldexp(v, k);
}

// x rounded to the nearest integer, for |x| < 2^51: adding 1.5 2^52 leaves
// the integer in the sum's last bits, of which the last two give it modulo 4.
inline double nearestInteger(double x, int& modulo4) noexcept {
    const double shifted = x + 0x1.8p52;
    std::uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    modulo4 = static_cast<int>(bits & 3);
    return shifted - 0x1.8p52;
}

inline int leadingZeros(std::uint64_t v) noexcept {  // v != 0
#if defined(__GNUC__)
    return __builtin_clzll(v);
#else
    int zeros = 0;
    for (; (v >> 63) == 0; v <<= 1) ++zeros;
    return zeros;
#endif
}

// ---------------------------------------------------------------- double-double
//
// hi + lo with |lo| at most half an ulp of hi: about 106 bits.

struct DoubleDouble {
    double hi;
    double lo = 0;
};

// a + b exactly, for |a| >= |b| (or a zero).
inline DoubleDouble quickTwoSum(double a, double b) noexcept {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a + b exactly.
inline DoubleDouble twoSum(double a, double b) noexcept {
    const double s = a + b;
    const double v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}

// a b exactly, as the rounded product and its error.
inline DoubleDouble twoProduct(double a, double b) noexcept {
    const double p = a * b;
#if defined(__FMA__) || defined(__FP_FAST_FMA)
    return {p, std::fma(a, b, -p)};
#else
    // Dekker's product: each factor split into two 26-bit halves, whose
    // products are exact.
    constexpr double kSplitter = 0x1p27 + 1;
    const double ca = kSplitter * a, ah = ca - (ca - a), al = a - ah;
    const double cb = kSplitter * b, bh = cb - (cb - b), bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
#endif
}

inline DoubleDouble operator+(DoubleDouble a, DoubleDouble b) noexcept {
    DoubleDouble s = twoSum(a.hi, b.hi);
    const DoubleDouble t = twoSum(a.lo, b.lo);
    s = quickTwoSum(s.hi, s.lo + t.hi);
    return quickTwoSum(s.hi, s.lo + t.lo);
}

// v 2^exponent, each part scaled by ldexp: exact unless it leaves the range.
inline double scaledBy(double v, int exponent) noexcept { return std::ldexp(v, exponent); }
inline DoubleDouble scaledBy(DoubleDouble v, int exponent) noexcept {
    return {std::ldexp(v.hi, exponent), std::ldexp(v.lo, exponent)};
}

inline DoubleDouble operator-(DoubleDouble a) noexcept { return {-a.hi, -a.lo}; }

inline DoubleDouble operator-(DoubleDouble a, DoubleDouble b) noexcept { return a + -b; }

inline DoubleDouble operator*(DoubleDouble a, DoubleDouble b) noexcept {
    const DoubleDouble p = twoProduct(a.hi, b.hi);
    return quickTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline DoubleDouble operator/(DoubleDouble a, DoubleDouble b) noexcept {
    // One Newton step from the double reciprocal doubles its 53 bits.
    const double y = 1.0 / b.hi;
    const DoubleDouble residual = DoubleDouble{1.0} - b * DoubleDouble{y};
    return a * quickTwoSum(y, y * residual.hi);
}

// The float nearest to (v.hi + v.lo) 2^exponent, ties to even, rounded once.
// The float nearest to the scaled v.hi is right unless v.hi lies exactly
// halfway between two floats, where the sign of v.lo decides; float
// midpoints are doubles at least a double ulp from any other double, and
// |v.lo| is at most half an ulp of v.hi, so it can cross no other. Scaling
// by a power of two is exact for a value in the float range, and the sign of
// v.lo survives it.
inline float roundToFloat(DoubleDouble v, int exponent) noexcept {
    const double hi = std::ldexp(v.hi, exponent);
    const float nearest = static_cast<float>(hi);
    if (std::fpclassify(v.lo) == FP_ZERO || std::isnan(hi) ||
        !std::islessgreater(hi, static_cast<double>(nearest)))
        return nearest;
    const float other =
        std::nextafter(nearest, hi > static_cast<double>(nearest) ? HUGE_VALF : -HUGE_VALF);
    const double halfway = std::isinf(nearest)
                               ? std::copysign(0x1.ffffffp127, hi)
                               : (static_cast<double>(nearest) + static_cast<double>(other)) / 2;
    if (std::islessgreater(hi, halfway)) return nearest;
    return std::signbit(v.lo) == std::signbit(static_cast<double>(other) - hi) ? other : nearest;
}

// ---------------------------------------------------------------- correct rounding to float
//
// A result computed in double, within a few double ulps of its exact value,
// rounds to the right float unless a tie between two floats (a double, as
// float ties have 25 bits) lies that close to it. A fast path asks one of two
// questions before it rounds: the tie test below, for a bound in double ulps,
// or the margin test ccomplex_detail::roundsAlikeWithin (in ccomplex.h, as
// the inline magnitude needs it), for a bound relative to the value. The rare
// results that fail are rounded from the exact sign of (exact value - tie),
// which each operation computes its own way.

// Whether `v` lies within `ulps` double ulps of a tie between two normal
// floats, or in the subnormal floats' range, where ties lie elsewhere among
// the bits: there a tie's low 29 bits, below a float's 24, are 1 and 28
// zeros. Zero is no tie. Values beyond the float range are tested by the
// same bits and may be flagged, which only sends them the careful way.
inline bool isNearFloatTie(double v, std::uint64_t ulps) noexcept {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    // The low bits from 2^28 - ulps to 2^28 + ulps, moved to 0 to 2 ulps; and
    // the bits without the sign, less one, below 2^-126's.
    return ((bits + 0x10000000 + ulps) & 0x1fffffff) <= 2 * ulps ||
           (bits << 1) - 1 < (std::uint64_t{0x3810000000000000} << 1) - 1;
}

// Whether f's last significand bit is 1: of two neighbouring floats, the one
// a tie between them does not round to.
inline bool isOdd(float f) noexcept {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return (bits & 1) != 0;
}

// The float nearest to an exact value x, ties to even, from a double
// `approx` within a few double ulps of x and `sign(t)`, the sign (-1, 0 or 1)
// of x - t for a double t: the float nearest `approx`, or a neighbour,
// whichever the ties between them and x's side of each decide.
template <typename Sign>
float roundExactly(double approx, Sign sign) noexcept {
    const float nearest = static_cast<float>(approx);
    const float up = std::nextafter(nearest, HUGE_VALF), down = std::nextafter(nearest, -HUGE_VALF);
    const auto even = [](float a, float b) { return isOdd(a) ? b : a; };
    // The ties above and below, as doubles; beyond FLT_MAX, the tie with
    // 2^128, where rounding goes to infinity.
    const auto tie = [](float a, float b) {
        return std::isinf(b) ? std::copysign(0x1.ffffffp127, static_cast<double>(b))
                             : (static_cast<double>(a) + static_cast<double>(b)) / 2;
    };
    if (!std::isinf(nearest)) {
        const int above = sign(tie(nearest, up));
        if (above > 0) return up;
        if (above == 0) return even(nearest, up);
        const int below = sign(tie(nearest, down));
        if (below < 0) return down;
        if (below == 0) return even(nearest, down);
        return nearest;
    }
    // approx overflowed: x lies beyond the last tie, where it rounds to
    // infinity (at the tie too, infinity being the even one), or inside it.
    const float largest = std::copysign(FLT_MAX, nearest);
    const int beyond = sign(tie(largest, nearest)) * (nearest > 0 ? 1 : -1);
    return beyond >= 0 ? nearest : largest;
}

// The sign of the exact sum of `count` doubles, none of them infinite or
// NaN and their sum far inside double's range: the terms are added into a
// nonoverlapping expansion (each twoSum exact), whose largest nonzero
// component has the sum's sign.
inline int signOfSum(const double* terms, int count) noexcept {
    double expansion[8];
    int size = 0;
    for (int i = 0; i < count; ++i) {
        double carry = terms[i];
        for (int j = 0; j < size; ++j) {
            const DoubleDouble sum = twoSum(carry, expansion[j]);
            expansion[j] = sum.lo;
            carry = sum.hi;
        }
        expansion[size++] = carry;
    }
    for (int j = size - 1; j >= 0; --j) {
        if (expansion[j] > 0) return 1;
        if (expansion[j] < 0) return -1;
    }
    return 0;
}

}  // namespace ccomplex_kernels

#endif  // CCOMPLEX_DOUBLE_DOUBLE_H
