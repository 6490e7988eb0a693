// The library's kernels in double: e^x, sinh and cosh of a float, ln x,
// ln(1 + x), atan and atan2, and cos and sin of any float angle. Each is
// within a few units of 2^-53 of its exact value, its bound argued beside it,
// so that a result assembled from a few of them is within a few units of
// 2^-53: 2^-29 of a float ulp. The library calls no inexact function of the
// C library, whose results differ between platforms (MinGW's sin and cos of
// large arguments are wrong in their leading digits); these take their
// place. Only functions whose result IEEE 754 defines exactly remain: sqrt,
// fabs, copysign, ldexp, ilogb, nextafter, rint, trunc, fmod and frexp.
//
// Internal to the library, not installed. The bounds count IEEE 754 double
// roundings, each operation rounded as written, with u = 2^-53, the unit
// roundoff; the kernels' test checks them against wider references.
#ifndef CCOMPLEX_DOUBLE_KERNELS_H
#define CCOMPLEX_DOUBLE_KERNELS_H

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "ccomplex_angle_reduction.h"
#include "ccomplex_double_double.h"
#include "ccomplex_ieee.h"
#include "ccomplex_kernel_constants.h"

namespace ccomplex_kernels {

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
    if (x >= kSqrt2 / 2 - 1 && x <= kSqrt2 - 1) return x - log1pCorrection(x);
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
// cos y and sin y for a float y: y = quarters pi/2 + r with |r| <= pi/4
// (ccomplex_angle_reduction.h), the Taylor series of cos r and sin r, and the
// quarters, which swap and negate them.

// cos and sin of one angle, in that order everywhere.
template <typename Real>
struct CosSin {
    Real cos, sin;
};

// cos and sin of r + quarters pi/2 from those of r. The sine is negated as
// 0 - x, so that a zero sine (of r = 0) stays +0 whatever the quarter; the
// cosine of |r| <= pi/4 is never zero.
template <typename Real>
CosSin<Real> rotatedByQuarters(CosSin<Real> v, int quarters) noexcept {
    switch (quarters & 3) {
        case 0:
            return v;
        case 1:
            return {Real{} - v.sin, v.cos};
        case 2:
            return {-v.cos, Real{} - v.sin};
        default:
            return {v.sin, -v.cos};
    }
}

// cos r and sin r for |r| <= pi/4 + 2^-40, within 2^-51.3 relative.
//
// The series to degree 18 (cos) and 17 (sin) are cut below 2^-65 relative
// there. With z = r^2 <= 0.62 (rounded once), both tails are polynomials in
// z whose terms fall at least 30-fold, so each tail is within 3.3u of
// itself: u from its first coefficient, u from each of the two sums that
// carry it, and a few u of terms below 1/30 of it. sin r = r + (r z)
// tail_s: the product, at most 0.103 |r|, is within 6.3u of itself (z, r z,
// the tail and the product), 0.65u |r| in all, and the sum adds u: within
// 1.8u of sin r >= 0.897 |r|. cos r = (1 - z/2) + z^2 tail_c: z's rounding
// moves z/2 by 0.31u, 1 - z/2 rounds by u, z^2 tail_c (at most 0.016) is
// within 7.3u of itself, 0.12u, and the sum adds u |cos r|: 1.43u + u
// |cos r|, within 3.1u of cos r >= 0.707.
#if defined(__GNUC__)
// Side by side in a vector, one operation for both: each lane rounds as the
// scalar form does (a - z b is a + z (-b) exactly), so the bits are the same,
// and the polynomials go by Estrin's scheme, whose independent halves overlap
// in the processor. The quarters are applied on the vector too, by masks, as
// a switch on random angles mispredicts.
typedef double SinCosVector __attribute__((__vector_size__(16)));  // {sin, cos}
typedef std::uint64_t BitsVector __attribute__((__vector_size__(16)));

inline SinCosVector sinCosOfReduced(double r) noexcept {
    const double z = r * r, z2 = z * z, z4 = z2 * z2;
    const SinCosVector vz = {z, z}, vz2 = {z2, z2}, vz4 = {z4, z4};
    SinCosVector k[8];
    for (int i = 0; i < 8; ++i) k[i] = SinCosVector{kSinTail[i], kCosTail[i]};
    const SinCosVector tails = (k[0] + vz * k[1]) + vz2 * (k[2] + vz * k[3]) +
                               vz4 * ((k[4] + vz * k[5]) + vz2 * (k[6] + vz * k[7]));
    const SinCosVector lead = {r, 1 - z * 0.5}, factor = {r * z, z2};
    return lead + factor * tails;
}

// rotatedByQuarters on the vector: the lanes swapped by a mask where the
// quarter is odd, negated by a sign bit, and +0 added to a negated part
// (-0 to the others, which leaves every value as it is), so that a negated
// zero is +0 as 0 - x gives it.
inline CosSin<double> cosSinOf(ReducedAngle<double> angle) noexcept {
    const SinCosVector sinCos = sinCosOfReduced(angle.r), cosSin = {sinCos[1], sinCos[0]};
    const int quarters = angle.quarters & 3;
    const std::uint64_t odd = 0 - static_cast<std::uint64_t>(quarters & 1);
    const BitsVector pick = {odd, odd};
    constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
    const BitsVector negate = {static_cast<std::uint64_t>((quarters + 1) & 2) << 62,
                               static_cast<std::uint64_t>(quarters & 2) << 62};
    const BitsVector keepZeros = negate ^ BitsVector { kSign, kSign };
    const SinCosVector rotated =
        reinterpret_cast<SinCosVector>(((reinterpret_cast<BitsVector>(sinCos) & pick) |
                                        (reinterpret_cast<BitsVector>(cosSin) & ~pick)) ^
                                       negate) +
        reinterpret_cast<SinCosVector>(keepZeros);
    return {rotated[0], rotated[1]};
}
#else
inline CosSin<double> cosSinOf(ReducedAngle<double> angle) noexcept {
    const double r = angle.r, z = r * r, z2 = z * z, z4 = z2 * z2;
    const auto tail = [&](const double(&k)[8]) {
        return (k[0] + z * k[1]) + z2 * (k[2] + z * k[3]) +
               z4 * ((k[4] + z * k[5]) + z2 * (k[6] + z * k[7]));
    };
    const CosSin<double> reduced = {1 - z * 0.5 + z2 * tail(kCosTail),
                                    r + (r * z) * tail(kSinTail)};
    return rotatedByQuarters(reduced, angle.quarters);
}
#endif

// cos y and sin y for a float y, within 2^-50 relative: the reduced angle
// within 2^-51 of itself (cos and sin of r have condition at most 1 for
// |r| <= pi/4), and cos and sin of it within 2^-51.3. NaN for an
// infinite or NaN y; sin(-0) is -0.
inline CosSin<double> cosSinOfFloat(float y) noexcept {
    const double yd = static_cast<double>(y);
    // A zero, in one comparison: the polynomial would give sin(-0) as +0.
    if (std::fabs(y) < 0x1p-149f) return {1, yd};
    if (std::fabs(y) <= 0x1p19f) return cosSinOf(reduceSmallAngle(yd));
    if (std::isfinite(y)) return cosSinOf(reduceLargeAngle(y));
    return {yd - yd, yd - yd};
}

}  // namespace ccomplex_kernels

#endif  // CCOMPLEX_DOUBLE_KERNELS_H
