// The numerical kernels under CComplex's angle, polar form and elementary
// functions: e^x, ln x, ln(1 + x), atan and atan2 in double, cos and sin of
// any float angle, and double-double arithmetic for the careful paths.
//
// Internal to the library: ccomplex.cpp and ccomplex_elementary.cpp include
// it, and it is not installed. The library calls no inexact function of the C
// library, whose results differ between platforms (MinGW's sin and cos of
// large arguments are wrong in their leading digits); these kernels take
// their place, each with its error bound argued below. Only functions whose
// result IEEE 754 defines exactly remain: sqrt, fabs, copysign, ldexp, ilogb,
// nextafter, rint, trunc, fmod and frexp.
//
// The bounds count IEEE 754 double roundings, each operation rounded as
// written, with u = 2^-53, the unit roundoff; they are checked against wider
// references by the kernels' test.
#ifndef CCOMPLEX_KERNELS_H
#define CCOMPLEX_KERNELS_H

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

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

constexpr DoubleDouble kHalfPiDD{0x1.921fb54442d18p0, 0x1.1a62633145c07p-54};
constexpr DoubleDouble kLn2DD{0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

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
// float ties have 25 bits) lies that close to it. The fast paths test for
// that; the rare results that fail the test are rounded from the exact sign
// of (exact value - tie), which each operation computes its own way.

// Whether `v` lies within `ulps` double ulps of a tie between two normal
// floats, or in the subnormal floats' range, where ties lie elsewhere among
// the bits: there a tie's low 29 bits, below a float's 24, are 1 and 28
// zeros. Zero and values beyond the float range are no ties.
inline bool nearFloatTie(double v, std::uint64_t ulps) noexcept {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    // The low bits from 2^28 - ulps to 2^28 + ulps, moved to 0 to 2 ulps; and
    // the bits without the sign, less one, below 2^-126's.
    return ((bits + 0x10000000 + ulps) & 0x1fffffff) <= 2 * ulps ||
           (bits << 1) - 1 < (std::uint64_t{0x3810000000000000} << 1) - 1;
}

// The float nearest to an exact value x, ties to even, from a double
// `approx` within a few double ulps of x and `sign(t)`, the sign (-1, 0 or 1)
// of x - t for a double t: the float nearest `approx`, or a neighbour,
// whichever the ties between them and x's side of each decide.
template <typename Sign>
float roundExactly(double approx, Sign sign) noexcept {
    const float nearest = static_cast<float>(approx);
    const float up = std::nextafter(nearest, HUGE_VALF), down = std::nextafter(nearest, -HUGE_VALF);
    const auto even = [](float a, float b) {
        std::uint32_t bits;
        std::memcpy(&bits, &a, sizeof bits);
        return (bits & 1) == 0 ? a : b;
    };
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

// ---------------------------------------------------------------- e^x
//
// x = k ln 2 + r with |r| <= ln 2 / 2 + 2^-40, and e^x = 2^k e^r. ln 2 is
// split into 42 bits and the rest, so that k times the first is exact for
// |k| < 2^11 and x - k kLn2Hi is exact as well (the two are within a factor
// of two of each other, or k = 0); the second part adds an error below 2^-86
// to r, whose e^r feels it as a relative 2^-86. Then
//   e^r = 1 + rHi + (rLo + r^2 q(r)),  q(r) = 1/2! + r/3! + ... + r^11/13!,
// where 1 + rHi is summed exactly and the rest, at most 0.0693, is rounded
// once more before the final sum. The Taylor series cut after r^13 is off by
// 2^-57.8 relative; r = rHi + rLo rounded moves r^2 q(r) by at most
// (e^r - 1) u |r| <= 0.15u; its evaluation (r^2, q by Estrin's scheme, the
// product) by at most 3.5u of its 0.0693; the two small sums by 0.07u each;
// and the final rounding by u relative. So e^r is within 1.8u relative, as
// e^r >= 0.707, and 2^k scales it exactly where the result is a normal double.

constexpr double kLn2Hi = 0x1.62e42fefa38p-1;
constexpr double kLn2Lo = 0x1.ef35793c7673p-45;
constexpr double kOneOverLn2 = 0x1.71547652b82fep0;

// e^x within 1.8u relative for |x| <= 708 (beyond, the scaling's underflow to
// a subnormal may round once more); +inf above 709.8, +0 below -745.2.
inline double expOf(double x) noexcept {
    if (!(std::fabs(x) <= 745.2)) return std::isnan(x) ? x : (x > 0 ? HUGE_VAL : 0.0);
    int unused;
    const double k = nearestInteger(x * kOneOverLn2, unused);
    const double rHi = x - k * kLn2Hi, rLo = -(k * kLn2Lo), r = rHi + rLo;
    const double r2 = r * r, r4 = r2 * r2, r8 = r4 * r4;
    const double q =
        ((1.0 / 2 + r * (1.0 / 6)) + r2 * (1.0 / 24 + r * (1.0 / 120))) +
        r4 * ((1.0 / 720 + r * (1.0 / 5040)) + r2 * (1.0 / 40320 + r * (1.0 / 362880))) +
        r8 * ((1.0 / 3628800 + r * (1.0 / 39916800)) +
              r2 * (1.0 / 479001600 + r * (1.0 / 6227020800)));
    const DoubleDouble lead = quickTwoSum(1.0, rHi);
    return scaledByPowerOfTwo(lead.hi + (lead.lo + (rLo + r2 * q)), static_cast<int>(k));
}

// ---------------------------------------------------------------- sinh and cosh
//
// sinh t and cosh t for a float t, within 6u relative. Below
// |t| = 1/2 by their Taylor series, whose terms beyond the first fall at
// least 24-fold: sinh t = t + t^3 S(t^2) to t^15 and cosh t = 1 + t^2 C(t^2)
// to t^14, each cut 2^-60 below its value, with t^2 exact; the tail is at
// most 0.043 t (sinh) or 0.128 (cosh) and carries a few u of itself, so
// each is within 1.5u. Above, e = e^|t| (1.8u) and (e -+ 1/e) / 2, where 1/e
// is at most 0.61 of e, so the difference is within 5.5u. e^|t| overflows
// double only beyond 709, where the float parts are infinite anyway.
inline void sinhCoshOfFloat(float t, double& sinhT, double& coshT) noexcept {
    const double a = std::fabs(static_cast<double>(t));
    if (a < 0.5) {
        const double z = a * a, z2 = z * z, z4 = z2 * z2;
        const double sinhTail = ((1.0 / 6 + z * (1.0 / 120)) + z2 * (1.0 / 5040 + z / 362880)) +
                                z4 * ((1.0 / 39916800 + z / 6227020800) + z2 / 1307674368000);
        const double coshTail = ((1.0 / 2 + z * (1.0 / 24)) + z2 * (1.0 / 720 + z / 40320)) +
                                z4 * ((1.0 / 3628800 + z / 479001600) + z2 / 87178291200);
        sinhT = a + a * z * sinhTail;
        coshT = 1 + z * coshTail;
    } else {
        const double e = expOf(a);
        sinhT = (e - 1 / e) / 2;
        coshT = (e + 1 / e) / 2;
    }
    sinhT = std::copysign(sinhT, static_cast<double>(t));
}

// ---------------------------------------------------------------- ln x and ln(1 + x)
//
// x = 2^e m with m in [sqrt(1/2), sqrt(2)), and f = m - 1, exact by
// Sterbenz's lemma. With s = f / (2 + f), |s| <= 0.1716,
//   ln(1 + f) = 2 atanh s = 2s + s R,  R = 2s^2/3 + 2s^4/5 + ...,
// and as 2s = f - f s, ln(1 + f) = f - c with the correction
// c = s (f - R), at most 0.195 |ln(1 + f)|. s is within 2u of itself (2 + f
// and the quotient rounded once each), R within 7u of its at most 0.02, so
// f - R within 1.45u of itself and c within 4.45u; the series cut after s^21
// is off by 2^-60.5 relative. Then ln x = e kLn2Hi + f + (e kLn2Lo - c),
// whose first two terms are summed exactly (e kLn2Hi is exact, e having at
// most 11 bits) and the rest rounded twice more, each time by u of at most
// |c|: in all u |ln x| + 6.5u |c|, and |c| <= 0.195 |ln x| wherever e is not
// zero too (|ln x| >= ln 2 / 2 there). So ln x is within 2.3u relative.

constexpr double kSqrt2 = 0x1.6a09e667f3bcdp0;

// c = f - ln(1 + f), for f in [sqrt(1/2) - 1, sqrt(2) - 1], within 4.45u.
inline double log1pCorrection(double f) noexcept {
    const double s = f / (2 + f);
    const double z = s * s, z2 = z * z, z4 = z2 * z2, z8 = z4 * z4;
    const double r = z * (((2.0 / 3 + z * (2.0 / 5)) + z2 * (2.0 / 7 + z * (2.0 / 9))) +
                          z4 * ((2.0 / 11 + z * (2.0 / 13)) + z2 * (2.0 / 15 + z * (2.0 / 17))) +
                          z8 * (2.0 / 19 + z * (2.0 / 21)));
    return s * (f - r);
}

// ln(x (1 + tail)) for x >= 0 and |tail| <= 2^-52, within 2.3u relative
// (tail^2 / 2 is below 2^-105): the tail carries what a rounded x left out.
// ln 0 is -inf, ln inf is inf, and a NaN or negative x gives NaN.
inline double logOf(double x, double tail = 0) noexcept {
    int e = 0;
    if (!(x >= 0x1p-1022 && x < HUGE_VAL)) {
        if (std::fpclassify(x) == FP_ZERO) return -HUGE_VAL;
        if (!(x > 0 && x < 0x1p-1022)) return x > 0 ? x : std::numeric_limits<double>::quiet_NaN();
        x *= 0x1p54;  // subnormal: brought into the normal range first
        e = -54;
    }
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    constexpr std::uint64_t kFraction = (std::uint64_t{1} << 52) - 1;
    constexpr std::uint64_t kSqrt2Fraction = 0x6a09e667f3bcd;
    // m = x / 2^e in [1, 2), halved where it exceeds sqrt 2; without a branch,
    // as random operands fall on either side.
    const std::uint64_t above = (bits & kFraction) > kSqrt2Fraction ? 1 : 0;
    e += static_cast<int>(bits >> 52) - 1023 + static_cast<int>(above);
    bits = (bits & kFraction) | ((1023 - above) << 52);
    double m;
    std::memcpy(&m, &bits, sizeof m);
    const double f = m - 1, scaled = e;
    const DoubleDouble lead = twoSum(scaled * kLn2Hi, f);
    return lead.hi + (lead.lo + ((scaled * kLn2Lo + tail) - log1pCorrection(f)));
}

// ln(1 + x) for x >= -1, within 2.3u relative. Where 1 + x lies in
// [sqrt(1/2), sqrt(2)], x itself is f above and needs no rounding; elsewhere
// 1 + x = sum + error exactly, and the error goes in as logOf's tail.
inline double log1pOf(double x) noexcept {
    if (x >= 0x1.6a09e667f3bcdp-1 - 1 && x <= kSqrt2 - 1) return x - log1pCorrection(x);
    const DoubleDouble sum = twoSum(1.0, x);
    return logOf(sum.hi, sum.lo / sum.hi);
}

// ---------------------------------------------------------------- atan and atan2
//
// For q in [0, 1]: q = c + something with c = j / 8, j the nearest integer to
// 8q, but j = 0 below 1/8, and atan q = atan c + atan d with
// d = (q - c) / (1 + q c). q - c is exact (Sterbenz), 1 + q c within 1.5u,
// so d within 2.5u relative, and |d| <= 1/16 for j >= 1; for j = 0, d = q
// <= 1/8 exactly. atan d = d + d^3 P(d^2), the Taylor series to d^19, cut
// 2^-64 relative below d. An angle from a table entry of 106 bits, plus or
// minus atan d, is summed as hi + (lo +- atan d), two roundings: it is off by
// at most u |angle| + 3.6u |d|. The entries (angle of the octant plus or
// minus atan c) are at least atan(3/16) where |d| can approach 1/16, and
// then |d| <= 0.33 |angle|; for j = 0 atan d carries only its evaluation
// error, and for the octants other than the first the angle is at least
// pi/4. So the angle is within 2.2u relative of the angle of q, and a q
// rounded once adds at most u, as atan's condition number is at most 1.

// atan(j / 8), pi/2 - atan(j / 8), pi/2 + atan(j / 8) and pi - atan(j / 8),
// j = 0 to 8, to 106 bits, made by tools/kernel_constants.cpp.
constexpr DoubleDouble kOctantAngles[4][9] = {
    {{0x0p+0, 0x0p+0},
     {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
     {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
     {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
     {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
     {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
     {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
     {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
     {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55}},
    {{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54},
     {0x1.7249faa996a21p+0, 0x1.a8cc1e7480c68p-54},
     {0x1.5368c951e9cfdp+0, -0x1.96f47948a99f1p-54},
     {0x1.3647503caf55cp+0, 0x1.17e21d9a42c9ap-55},
     {0x1.1b6e192ebbe44p+0, 0x1.b1b466a88828ep-54},
     {0x1.031f57e54adbep+0, 0x1.338b4259c027p-54},
     {0x1.dac670561bb4fp-1, 0x1.a2b7f222f65e2p-55},
     {0x1.b434ee31013fdp-1, -0x1.0520d0701d877p-55},
     {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55}},
    {{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54},
     {0x1.b1f56fdeef00fp+0, 0x1.17f14fdc1574cp-55},
     {0x1.d0d6a1369bd34p+0, -0x1.a23602a65700cp-57},
     {0x1.edf81a4bd64d4p+0, 0x1.a8d3b7956a1c1p-54},
     {0x1.0468a8ace4df6p+1, 0x1.0620bf7406affp-55},
     {0x1.109009519d639p+1, 0x1.01398408cb59ep-54},
     {0x1.1b6e192ebbe44p+1, 0x1.b1b466a88828ep-53},
     {0x1.251279b802819p+1, 0x1.6eaa5d3534893p-55},
     {0x1.2d97c7f3321d2p+1, 0x1.a79394c9e8a0ap-54}},
    {{0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53},
     {0x1.8234d7f6ecb9dp+1, -0x1.3cd17e5a39792p-54},
     {0x1.72c43f4b1650ap+1, 0x1.c1b6f4f44e10bp-53},
     {0x1.643382c07913ap+1, 0x1.a65371fe67254p-54},
     {0x1.56c6e7397f5aep+1, 0x1.660b64ece6f4bp-53},
     {0x1.4a9f8694c6d6bp+1, 0x1.26f6d2c582f3bp-53},
     {0x1.3fc176b7a856p+1, -0x1.441a3bd3f1083p-58},
     {0x1.361d162e61b8bp+1, 0x1.4be8fd7c9b7e6p-53},
     {0x1.2d97c7f3321d2p+1, 0x1.a79394c9e8a0ap-54}},
};

// The angle of octant `octant` (0: atan q, 1: pi/2 - atan q, 2: pi/2 +
// atan q, 3: pi - atan q) for q in [0, 1], within 2.2u relative.
inline double octantAngle(double q, int octant) noexcept {
    const int j = q < 0.125 ? 0 : static_cast<int>(8 * q + 0.5);
    const double c = j * 0.125;
    const double d = (q - c) / (1 + q * c);
    const double z = d * d, z2 = z * z, z4 = z2 * z2, z8 = z4 * z4;
    const double p = ((-1.0 / 3 + z * (1.0 / 5)) + z2 * (-1.0 / 7 + z * (1.0 / 9))) +
                     z4 * ((-1.0 / 11 + z * (1.0 / 13)) + z2 * (-1.0 / 15 + z * (1.0 / 17))) +
                     z8 * (-1.0 / 19);
    const double atanD = d + d * z * p;
    const DoubleDouble& angle = kOctantAngles[octant][j];
    return angle.hi + (angle.lo + ((octant & 1) != 0 ? -atanD : atanD));
}

// atan t, within 3.2u relative; +-pi/2 for an infinite t.
inline double atanOf(double t) noexcept {
    const double a = std::fabs(t);
    if (!(a <= 1)) {
        if (std::isnan(t)) return t;
        return std::copysign(octantAngle(1 / a, 1), t);
    }
    return std::copysign(octantAngle(a, 0), t);
}

// The angle of (x, y) in [-pi, pi], as C's atan2 gives it for every pair of
// doubles, zeros, infinities and NaN included; within 3.2u relative: the
// quotient of the smaller part by the larger adds u to octantAngle's 2.2u.
inline double atan2Of(double y, double x) noexcept {
    if (std::isunordered(x, y)) return x + y;
    const double ax = std::fabs(x), ay = std::fabs(y);
    const bool steep = ay > ax;
    double q = steep ? ax / ay : ay / ax;
    if (!(q <= 1)) q = ax > 0 ? 1 : 0;  // both infinite (pi/4), or both zero (0)
    const int octant = std::signbit(x) ? (steep ? 2 : 3) : (steep ? 1 : 0);
    return std::copysign(octantAngle(q, octant), y);
}

// ---------------------------------------------------------------- cos and sin
//
// cos y and sin y for a float y: y = k pi/2 + r with |r| <= pi/4, then the
// Taylor series of sin r and cos r, and the quarter k modulo 4 swaps and
// negates them.

// sin r and cos r for |r| <= pi / 4, within 2^-51 relative. The Taylor series
// to degree 17 (sin) and 18 (cos) is off by less than 2^-65 relative there,
// and evaluating it in double adds a few units of 2^-53: 2^-51.5 at worst,
// measured over 10M arguments against long double. The polynomials in r^2 go
// by Estrin's scheme, whose independent halves overlap in the processor: 7.0
// ns against 8.4 by Horner's rule, with the same accuracy. Where the compiler
// has vector types, the two go side by side, one operation for both: each
// lane rounds as the scalar form does (a - z b is a + z (-b) exactly), so the
// bits are the same, in three quarters of the time for the polar form.
#if defined(__GNUC__)
typedef double SinCosPair __attribute__((__vector_size__(16)));  // {sin, cos}
inline SinCosPair sinCosPairOfReduced(double r) noexcept {
    typedef SinCosPair Pair;
    const double z = r * r, z2 = z * z, z4 = z2 * z2;
    const Pair vz = {z, z}, vz2 = {z2, z2}, vz4 = {z4, z4};
    const Pair k0 = {-0x1.5555555555555p-3, 0x1.5555555555555p-5},
               k1 = {0x1.1111111111111p-7, -0x1.6c16c16c16c17p-10},
               k2 = {-0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-16},
               k3 = {0x1.71de3a556c734p-19, -0x1.27e4fb7789f5cp-22},
               k4 = {-0x1.ae64567f544e4p-26, 0x1.1eed8eff8d898p-29},
               k5 = {0x1.6124613a86d09p-33, -0x1.93974a8c07c9dp-37},
               k6 = {-0x1.ae7f3e733b81fp-41, 0x1.ae7f3e733b81fp-45},
               k7 = {0x1.952c77030ad4ap-49, -0x1.6827863b97d97p-53};
    const Pair tails =
        (k0 + vz * k1) + vz2 * (k2 + vz * k3) + vz4 * ((k4 + vz * k5) + vz2 * (k6 + vz * k7));
    const Pair lead = {r, 1 - z * 0.5}, factor = {r * z, z2};
    return lead + factor * tails;
}
inline void sinCosOfReduced(double r, double& s, double& c) noexcept {
    const SinCosPair sinCos = sinCosPairOfReduced(r);
    s = sinCos[0];
    c = sinCos[1];
}
#else
inline void sinCosOfReduced(double r, double& s, double& c) noexcept {
    const double z = r * r, z2 = z * z, z4 = z2 * z2;
    const double sinTail = (-0x1.5555555555555p-3 + z * 0x1.1111111111111p-7) +
                           z2 * (-0x1.a01a01a01a01ap-13 + z * 0x1.71de3a556c734p-19) +
                           z4 * ((-0x1.ae64567f544e4p-26 + z * 0x1.6124613a86d09p-33) +
                                 z2 * (-0x1.ae7f3e733b81fp-41 + z * 0x1.952c77030ad4ap-49));
    const double cosTail = (0x1.5555555555555p-5 - z * 0x1.6c16c16c16c17p-10) +
                           z2 * (0x1.a01a01a01a01ap-16 - z * 0x1.27e4fb7789f5cp-22) +
                           z4 * ((0x1.1eed8eff8d898p-29 - z * 0x1.93974a8c07c9dp-37) +
                                 z2 * (0x1.ae7f3e733b81fp-45 - z * 0x1.6827863b97d97p-53));
    s = r + (r * z) * sinTail;
    c = 1 - z * 0.5 + z2 * cosTail;
}
#endif

// cos and sin of r + quarters pi / 2 from those of r. 0 - x rather than -x,
// so that a zero part is +0.
template <typename Real>
void rotateByQuarters(int quarters, Real cr, Real sr, Real& c, Real& s) noexcept {
    switch (quarters) {
        case 0:
            c = cr;
            s = sr;
            break;
        case 1:
            c = Real{} - sr;
            s = cr;
            break;
        case 2:
            c = -cr;
            s = Real{} - sr;
            break;
        default:
            c = sr;
            s = -cr;
            break;
    }
}

// The same for double cr and sr, neither zero, without a branch on the
// quarter: swapped through a mask of their bits, and negated by flipping a
// sign bit. Over angles in [-pi, pi] the switch above mispredicts three times
// in four, which cost polar a third of its time.
inline void rotateByQuartersWithoutBranch(int quarters, double cr, double sr, double& c,
                                          double& s) noexcept {
    std::uint64_t cosBits, sinBits;
    std::memcpy(&cosBits, &cr, sizeof cosBits);
    std::memcpy(&sinBits, &sr, sizeof sinBits);
    const std::uint64_t swap = 0 - static_cast<std::uint64_t>(quarters & 1);
    const std::uint64_t swapped = (cosBits ^ sinBits) & swap;
    cosBits ^= swapped;
    sinBits ^= swapped;
    // cos is negated in quarters 1 and 2, sin in 2 and 3.
    cosBits ^= static_cast<std::uint64_t>((quarters + 1) & 2) << 62;
    sinBits ^= static_cast<std::uint64_t>(quarters & 2) << 62;
    std::memcpy(&c, &cosBits, sizeof c);
    std::memcpy(&s, &sinBits, sizeof s);
}

#if defined(__GNUC__)
// The same on the vector pair, without moving a lane through memory: the
// polar form measured 8% faster than with the pair taken apart first.
inline void rotateByQuartersWithoutBranch(int quarters, SinCosPair sinCos, double& c,
                                          double& s) noexcept {
    typedef std::uint64_t Bits __attribute__((__vector_size__(16)));
    const SinCosPair cosSin = {sinCos[1], sinCos[0]};
    const std::uint64_t odd = 0 - static_cast<std::uint64_t>(quarters & 1);
    const Bits pick = {odd, odd};
    const Bits negate = {static_cast<std::uint64_t>((quarters + 1) & 2) << 62,
                         static_cast<std::uint64_t>(quarters & 2) << 62};
    const SinCosPair rotated = reinterpret_cast<SinCosPair>(
        ((reinterpret_cast<Bits>(sinCos) & pick) | (reinterpret_cast<Bits>(cosSin) & ~pick)) ^
        negate);
    c = rotated[0];
    s = rotated[1];
}
#endif

// Up to 2^19: y - k pi / 2 with pi / 2 split into parts of 33, 33 and 53
// bits: k < 2^20, so k times each of the first two is exact, and y - k P1 is
// exact as the two are within a factor of 2. The remainder r is then off by
// at most 2^-52 |r| + 2^-102, and no float below 2^19 comes within 2^-27.8
// of a nonzero multiple of pi / 2, so r is within 2^-51 of itself.
inline double reduceSmallAngle(double y, int& quarters) noexcept {
    const double k = nearestInteger(y * 0x1.45f306dc9c883p-1, quarters);  // y / (pi / 2)
    return ((y - k * 0x1.921fb544p0) - k * 0x1.0b4611a6p-34) - k * 0x1.3198a2e037073p-69;
}

// Beyond 2^19, y 2/pi from 2/pi's bits: y = m 2^e with m an integer below
// 2^24 and e in [-4, 104]. The words of 2/pi whose product with y is a
// multiple of 4 (whole turns) are skipped, and the next five, 160 bits, are
// multiplied by m exactly in 32-bit pieces: the point then lies between bit
// 127 and bit 164 of the 184-bit product, whose two bits above it are the
// quarter turns modulo 4 and the 128 below the fraction f. The words left
// out add less than 2^-103 to f, and the 128 bits truncate it by less than
// 2^-128; no float between 2^19 and 2^128 lies within 2^-29.8 quarter turns
// of a multiple of pi / 2 (0x1.f37c8ap+95 comes closest), so f, taken to the
// nearest integer's side and normalised, keeps more than 64 correct bits, of
// which 53 are rounded to a double: within u. Times pi / 2 as two doubles, r
// is within 3u + 2^-64 relative.
// tools/kernel_constants.cpp checks both reductions on every float against
// 2/pi to 400 bits: each r within 2^-51.9 relative, each quarter right.

// 2/pi = the sum of kTwoOverPiWords[j] 2^(-32 (j + 1)), its first 320 bits,
// made by tools/kernel_constants.cpp: the last two for the careful paths'
// reduction only.
constexpr std::uint32_t kTwoOverPiWords[10] = {0xa2f9836e, 0x4e441529, 0xfc2757d1, 0xf534ddc0,
                                               0xdb629599, 0x3c439041, 0xfe5163ab, 0xdebbc561,
                                               0xb7246e3a, 0x424dd2e0};

// Bits low to low + 63 of the number whose `count` 32-bit words, least
// significant first, are `words`, for low >= -1; bits outside them are zero.
inline std::uint64_t bitsFrom(const std::uint32_t* words, int count, int low) noexcept {
    const int first = low < 0 ? -1 : low / 32, shift = low - 32 * first;
    const auto word = [&](int i) -> std::uint64_t { return i >= 0 && i < count ? words[i] : 0; };
    std::uint64_t bits = word(first) >> shift | word(first + 1) << (32 - shift);
    if (shift > 0) bits |= word(first + 2) << (64 - shift);
    return bits;
}

// The product of a float |y| >= 2^19's 24-bit integer significand with
// `kWords` words of 2/pi, exactly, in 32-bit pieces, least significant word
// first, from the first word whose product with y is more than whole turns;
// returns the position of the binary point in it.
template <std::size_t kWords>
int timesTwoOverPi(float y, std::uint32_t (&product)[kWords + 1]) noexcept {
    std::uint32_t bits;
    std::memcpy(&bits, &y, sizeof bits);
    const std::uint64_t m = (bits & 0x7fffffu) | 0x800000u;
    const int e = static_cast<int>((bits >> 23) & 0xff) - 150;
    const int skipped = e > 33 ? (e - 2) / 32 : 0;  // words giving whole turns only
    std::uint64_t carry = 0;
    const std::size_t last = static_cast<std::size_t>(skipped) + kWords - 1;
    for (std::size_t i = 0; i < kWords; ++i) {  // from the least significant word
        const std::uint64_t partial = m * kTwoOverPiWords[last - i] + carry;
        product[i] = static_cast<std::uint32_t>(partial);
        carry = partial >> 32;
    }
    product[kWords] = static_cast<std::uint32_t>(carry);
    return 32 * (static_cast<int>(kWords) + skipped) - e;
}

// r and quarters with |y| 2/pi = quarters + r 2/pi, for a finite float |y| >= 2^19.
// Out of line, so that cosSinOfFloat stays small enough to inline.
[[gnu::noinline]] inline double reduceLargeAngle(float y, int& quarters) noexcept {
    std::uint32_t product[6];
    const int point = timesTwoOverPi<5>(y, product);
    quarters = static_cast<int>(bitsFrom(product, 6, point) & 3);
    std::uint64_t high = bitsFrom(product, 6, point - 64), low = bitsFrom(product, 6, point - 128);
    double sign = 1;
    if ((high >> 63) != 0) {  // f >= 1/2: the next quarter, and f - 1
        ++quarters;
        low = 0 - low;
        high = ~high + (low == 0 ? 1 : 0);
        sign = -1;
    }
    const int zeros = leadingZeros(high);  // at least 1, at most 31
    const std::uint64_t top = high << zeros | low >> (64 - zeros);
    const std::uint64_t rounded = (top >> 11) + ((top >> 10) & 1);
    const double f =
        sign * static_cast<double>(static_cast<std::int64_t>(rounded)) * powerOfTwo(-53 - zeros);
    return f * kHalfPiDD.hi + f * kHalfPiDD.lo;
}

// cos y and sin y for a float y, within 2^-50 relative: the reduced angle
// within 2^-51 of itself, and sinCosOfReduced within 2^-51. NaN for an
// infinite or NaN y; sin(-0) is -0.
inline void cosSinOfFloat(float y, double& c, double& s) noexcept {
    const double yd = static_cast<double>(y);
    // A zero, in one comparison: the polynomial would give sin(-0) as +0.
    if (std::fabs(y) < 0x1p-149f) {
        c = 1;
        s = yd;
        return;
    }
    int quarters;
    double r;
    if (std::fabs(y) <= 0x1p19f) {
        r = reduceSmallAngle(yd, quarters);
    } else if (std::isfinite(y)) {
        r = reduceLargeAngle(y, quarters);
        if (y < 0) {
            r = -r;
            quarters = -quarters;
        }
    } else {
        c = s = yd - yd;
        return;
    }
#if defined(__GNUC__)
    rotateByQuartersWithoutBranch(quarters & 3, sinCosPairOfReduced(r), c, s);
#else
    double cr, sr;
    sinCosOfReduced(r, sr, cr);
    rotateByQuartersWithoutBranch(quarters & 3, cr, sr, c, s);
#endif
}

// ---------------------------------------------------------------- double-double atan
//
// The careful paths need atan to about 2^-100 relative.

// Whether `term` still changes a sum of about `sum` in double-double; false
// for a NaN, so that no series outlives one.
inline bool significant(DoubleDouble term, double sum) noexcept {
    return std::fabs(term.hi) > 0x1p-110 * std::fabs(sum);
}

// sin r and cos r for |r| <= pi / 4 (a little more does no harm): the terms
// of both series fall at least threefold, and the sine's relative accuracy
// holds however small r is.
inline void sinCosSeries(DoubleDouble r, DoubleDouble& s, DoubleDouble& c) noexcept {
    const DoubleDouble r2 = r * r;
    DoubleDouble sinTerm = r, cosTerm{1.0};
    s = r;
    c = DoubleDouble{1.0};
    for (int n = 2; significant(cosTerm, 1.0); n += 2) {
        cosTerm = -(cosTerm * r2 / DoubleDouble{static_cast<double>((n - 1) * n)});
        sinTerm = -(sinTerm * r2 / DoubleDouble{static_cast<double>(n * (n + 1))});
        c = c + cosTerm;
        s = s + sinTerm;
    }
}

// atan t for |t| <= 1, to 2^-102 relative. From p = atan(t.hi) in double,
// atan t = p + atan(d) with d = (t cos p - sin p) / (cos p + t sin p), about
// 2^-50 |p|, so atan d = d to 2^-100 of d; the numerator cancels, but each
// of its terms is within 2^-104 of itself.
inline DoubleDouble arcTangent(DoubleDouble t) noexcept {
    const DoubleDouble p{atanOf(t.hi)};
    DoubleDouble s, c;
    sinCosSeries(p, s, c);
    return p + (t * c - s) / (c + t * s);
}

// cos y and sin y for a finite float y, to about 2^-102 relative, for the
// careful paths. Up to 2^19, y - k pi/2 with pi/2 in four parts, the first
// two of 33 bits (k times each exact) and two of 53, 172 bits in all, summed
// in double-double: within 2^-150 of r, whose magnitude is at least 2^-28.
// Beyond, the large reduction's product with seven words of 2/pi: the
// fraction within 2^-167 of itself, taken to 106 bits, times pi/2 in
// double-double.
inline void cosSinOfFloatCarefully(float y, DoubleDouble& c, DoubleDouble& s) noexcept {
    int quarters;
    DoubleDouble r{static_cast<double>(y)};
    if (std::fabs(y) <= 0x1p19f) {
        const double yd = static_cast<double>(y);
        const double k = nearestInteger(yd * 0x1.45f306dc9c883p-1, quarters);
        r = twoSum(yd - k * 0x1.921fb544p0, -(k * 0x1.0b4611a6p-34)) -
            twoProduct(k, 0x1.3198a2e037073p-69) - DoubleDouble{k * 0x1.129024e088a68p-123};
    } else {
        std::uint32_t product[8];
        const int point = timesTwoOverPi<7>(y, product);
        quarters = static_cast<int>(bitsFrom(product, 8, point) & 3);
        std::uint64_t words[3] = {bitsFrom(product, 8, point - 64),
                                  bitsFrom(product, 8, point - 128),
                                  bitsFrom(product, 8, point - 192)};
        double sign = 1;
        if ((words[0] >> 63) != 0) {  // f >= 1/2: the next quarter, and f - 1
            ++quarters;
            sign = -1;
            std::uint64_t borrow = 1;
            for (int i = 2; i >= 0; --i) {
                words[i] = ~words[i] + borrow;
                borrow = borrow != 0 && words[i] == 0 ? 1 : 0;
            }
        }
        const int zeros = leadingZeros(words[0]);  // at least 1, at most 31
        const std::uint64_t top = words[0] << zeros | words[1] >> (64 - zeros);
        const std::uint64_t next = words[1] << zeros | words[2] >> (64 - zeros);
        const double hi = static_cast<double>(static_cast<std::int64_t>(top >> 11));
        const double lo = static_cast<double>(
            static_cast<std::int64_t>(((top & 0x7ff) << 42) | (next >> 22)));  // the next 53 bits
        const DoubleDouble f{sign * hi * powerOfTwo(-53 - zeros),
                             sign * lo * powerOfTwo(-106 - zeros)};
        r = quickTwoSum(f.hi, f.lo) * kHalfPiDD;
        if (y < 0) {
            r = -r;
            quarters = -quarters;
        }
    }
    DoubleDouble cr, sr;
    sinCosSeries(r, sr, cr);
    rotateByQuarters(quarters & 3, cr, sr, c, s);
}

// Whether every value within `margin` (relative) of `v` rounds to the same
// float, which goes to `out`: where it does, so does v's exact value, if it
// lies that close. A NaN or an infinity is its own float.
inline bool roundsAlike(double v, double margin, float& out) noexcept {
    const double d = std::isfinite(v) ? std::fabs(v) * margin : 0;
    const float low = static_cast<float>(v - d), high = static_cast<float>(v + d);
    out = static_cast<float>(v);
    return !(low < high);
}

// arg(x + jy) as quarters pi / 2 + atan(numerator / denominator), where the
// ratio is at most 1 in magnitude: the quarters (an integer from -2 to 2)
// from the octant, with y's sign picking the side of the cut (arg(-1 - j0)
// is -pi). For finite x and y, not both zero.
struct SplitAngle {
    double quarters;
    double numerator, denominator;

    // atan(numerator / denominator) to 2^-102 relative.
    DoubleDouble ratioAngle() const noexcept {
        return arcTangent(DoubleDouble{numerator} / DoubleDouble{denominator});
    }
};

inline SplitAngle splitAngle(float x, float y) noexcept {
    const double xd = static_cast<double>(x), yd = static_cast<double>(y);
    if (std::fabs(y) <= std::fabs(x))
        return {std::signbit(x) ? (std::signbit(y) ? -2.0 : 2.0) : 0.0, yd, xd};
    return {std::signbit(y) ? -1.0 : 1.0, -xd, yd};
}

// arg(x + jy) to about 2^-100 relative, for finite x and y, not both zero:
// the ratio's angle is at most pi / 4, half of quarters pi / 2 where that is
// not zero, so their sum loses no more than a bit.
inline DoubleDouble carefulAngle(float x, float y) noexcept {
    const SplitAngle angle = splitAngle(x, y);
    return kHalfPiDD * DoubleDouble{angle.quarters} + angle.ratioAngle();
}

}  // namespace ccomplex_kernels

#endif  // CCOMPLEX_KERNELS_H
