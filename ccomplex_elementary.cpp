// The elementary functions, each part correctly rounded in practice.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "ccomplex.h"
#include "ccomplex_careful_kernels.h"
#include "ccomplex_double_double.h"
#include "ccomplex_double_kernels.h"
#include "ccomplex_ieee.h"
#include "ccomplex_kernel_constants.h"

// Why double precision is enough, and where it is not
// ---------------------------------------------------
// The kernels of ccomplex_double_kernels.h give e^x, ln x, ln(1 + x) and atan
// within 3.2 units of 2^-53 relative, and cos and sin of a float within
// 2^-50. A result assembled from a few of them, each product of float
// operands exact, is within a few 2^-53 of the exact value, which is 2^-29 of
// a float ulp: rounding it once to float gives the correctly rounded part
// unless the exact value lies within that distance of a halfway point, and
// always gives a part within 1 ulp. Float operands are at most 2^128 and at
// least 2^-149, so their squares and products lie far inside double's range:
// nothing overflows or underflows before the final rounding, which is where
// the true result leaves the float range.
//
// Two things escape that argument, and each has its own method below:
//  - log|z| near |z| = 1, where x^2 + y^2 - 1 cancels (see logOfMagnitude);
//  - powers, whose parts cancel near the zeros of cos(n arg z) however well
//    the modulus is known (see exactPower and the other powers' method);
// and the inverse functions, whose cancellations near the branch points are
// rewritten (see arcParts and atanh).

namespace {

using namespace ccomplex_kernels;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

template <typename Real>
bool isZero(Real v) noexcept {
    return std::fpclassify(v) == FP_ZERO;
}

// Whether a and b are the same float, a zero's sign included: a part that
// rounds to zero must take the sign of its exact value.
bool sameFloat(float a, float b) noexcept {
    return !std::islessgreater(a, b) && !std::isunordered(a, b) &&
           std::signbit(a) == std::signbit(b);
}

template <typename Real>
float toFloat(Real v) noexcept {
    return static_cast<float>(v);
}

bool isFinite(const CComplex& z) noexcept { return std::isfinite(z.real) && std::isfinite(z.imag); }

bool isZero(const CComplex& z) noexcept { return isZero(z.real) && isZero(z.imag); }

// big * small, except that a zero `small` gives a zero signed as the product
// would be, even where `big` is infinite and the product NaN.
template <typename Real>
Real timesPart(Real big, Real small) noexcept {
    return isZero(small) ? std::copysign(Real(0), big) * small : big * small;
}

// ---------------------------------------------------------------- exp

// C's cexp at an infinite or NaN part.
[[gnu::cold]] CComplex expOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x)) return CComplex(x, isZero(y) ? y : kNaN);
    if (std::isfinite(x)) return CComplex(kNaN, kNaN);
    if (!std::isfinite(y)) return x > 0 ? CComplex(kInf, kNaN) : CComplex(0.0f, 0.0f);
    if (x > 0 && isZero(y)) return CComplex(x, y);
    // +inf or +0 times cis y, each part signed as cos y and sin y.
    const double m = x > 0 ? HUGE_VAL : 0.0;
    const CosSin<double> v = cosSinOfFloat(y);
    return CComplex(toFloat(m * v.cos), toFloat(m * v.sin));
}

// ---------------------------------------------------------------- log

// ln |x + jy|, within 3.8u relative (u = 2^-53): the sum of squares, or
// s - 1 below, is rounded once, which ln's condition number of at most 1.44
// makes 1.44u, and logOf and log1pOf add 2.3u.
//
// The plain 0.5 ln(x^2 + y^2) rounds the sum of squares, an error of 2^-53
// that is harmless while |ln s| >= ln 2 but swamps ln s near s = 1: there it
// was off by 10^7 float ulps. So for s in [1/2, 2] it takes
// ln s = log1p(s - 1), with s - 1 = (a - 1)(a + 1) + b^2, a = max(|x|, |y|),
// b the other. There a >= 1/2, so a - 1 and a + 1 need at most 26 bits, their
// product at most 51, and b^2 at most 48: all three are exact in double, and
// s - 1 is rounded once, to 2^-53 of itself, however much it cancels. log1p
// keeps that relative accuracy.
double logOfMagnitude(float x, float y) noexcept {
    if (std::isinf(x) || std::isinf(y)) return HUGE_VAL;
    if (std::isnan(x) || std::isnan(y)) return std::numeric_limits<double>::quiet_NaN();
    const double a = static_cast<double>(std::max(std::fabs(x), std::fabs(y)));
    const double b = static_cast<double>(std::min(std::fabs(x), std::fabs(y)));
    const double s = a * a + b * b;
    if (s >= 0.5 && s <= 2) return log1pOf((a - 1) * (a + 1) + b * b) / 2;
    return logOf(s) / 2;
}

// ---------------------------------------------------------------- sqrt

// C's csqrt at an infinite or NaN part.
[[gnu::cold]] CComplex sqrtOfNonFinite(float x, float y) noexcept {
    if (std::isinf(y)) return CComplex(kInf, y);
    if (std::isnan(x)) return CComplex(kNaN, kNaN);
    if (std::isinf(x)) {
        if (x > 0) return CComplex(x, std::isnan(y) ? kNaN : std::copysign(0.0f, y));
        return std::isnan(y) ? CComplex(kNaN, kInf) : CComplex(0.0f, std::copysign(kInf, y));
    }
    return CComplex(kNaN, kNaN);
}

// ---------------------------------------------------------------- integer powers
//
// z^n by binary powering: about log2 n squarings and as many products. Each
// complex product in a working precision with unit roundoff u is off by at
// most sqrt(5) u |p||q|, and the relative errors of the factors add, so z^N,
// built from N - 1 such products in effect, is off by at most 2.24 (N - 1) u
// |z^N| in each part; the reciprocal adds 3u. The bound R = (4N + 8) u covers
// both with room to spare.
//
// That bound is relative to |z^N|, not to the part: near the zeros of
// cos(N arg z) a part is much smaller than |z^N|, and double's u = 2^-53 then
// leaves too few correct bits (z^7 was off by 8,292 ulps in plain double). So
// the double result is used only when the bound proves the rounding: the
// float nearest to the value minus the bound equals the float nearest to the
// value plus it. Otherwise, one operand in thousands, the power is computed
// again in double-double, where u = 2^-104 leaves more than 24 correct bits
// in every part down to 2^-70 |z^N| for N up to 2^10. Integer parts of a
// Gaussian power cannot come that close to zero without being zero (which
// both precisions give exactly) except at random, once in about 2^46 operands
// near |z| = 1; the measurement over millions of operands found none.
//
// To keep both precisions clear of overflow and underflow, a power carries a
// binary exponent beside its parts, and every product rescales the parts
// when the larger leaves [2^-300, 2^300].

double leading(double v) noexcept { return v; }
double leading(DoubleDouble v) noexcept { return v.hi; }

// v 2^exponent; ldexp is a library call, and most powers need no scaling.
double toDouble(double v, int exponent) noexcept {
    return exponent == 0 ? v : std::ldexp(v, exponent);
}

// (re + j im) 2^exponent.
template <typename Part>
struct Power {
    Part re;
    Part im;
    std::int64_t exponent;
};

// Brings the larger part back to [1, 2); out of line and cold, so that the
// products that call keepInRange stay small enough to inline.
template <typename Part>
[[gnu::cold, gnu::noinline]] void rescale(Power<Part>& p, double larger) noexcept {
    const int exponent = std::ilogb(larger);
    p.re = scaledBy(p.re, -exponent);
    p.im = scaledBy(p.im, -exponent);
    p.exponent += exponent;
}

// Rescales once the larger part leaves [2^-300, 2^300]: the product of two
// values in range stays within double's, and a value brought back near 1
// needs eight squarings to leave the range again.
template <typename Part>
void keepInRange(Power<Part>& p) noexcept {
    const double larger = std::max(std::fabs(leading(p.re)), std::fabs(leading(p.im)));
    if (larger > 0x1p300 || larger < 0x1p-300) rescale(p, larger);
}

constexpr std::int64_t kFarOutside = std::int64_t{1} << 40;

// Inlined: a call per product cost integer powers a third of their time.
template <typename Part>
[[gnu::always_inline]] inline void multiplyBy(Power<Part>& p, const Power<Part>& q) noexcept {
    const Part re = p.re * q.re - p.im * q.im;
    const Part im = p.re * q.im + p.im * q.re;
    // A binary exponent beyond 2^40 already puts the power far outside the
    // float range; held there, it cannot overflow however many squarings
    // follow (a float exponent of 2^127 asks for 103 of them).
    p = {re, im, std::clamp(p.exponent + q.exponent, -kFarOutside, kFarOutside)};
    keepInRange(p);
}

// z^(m 2^squarings), m >= 1, and its reciprocal when `reciprocal` is set.
// z is finite and nonzero.
template <typename Part>
Power<Part> power(const CComplex& z, std::uint64_t m, int squarings, bool reciprocal) noexcept {
    Power<Part> base{Part{static_cast<double>(z.real)}, Part{static_cast<double>(z.imag)}, 0};
    for (int i = 0; i < squarings; ++i) multiplyBy(base, base);
    while ((m & 1) == 0) {
        multiplyBy(base, base);
        m >>= 1;
    }
    Power<Part> result = base;
    while ((m >>= 1) != 0) {
        multiplyBy(base, base);
        if (m & 1) multiplyBy(result, base);
    }
    if (reciprocal) {
        // conj(w) / |w|^2: |w| lies in [2^-301, 2^301], so |w|^2 is in range.
        // Negated, not subtracted from 0, so that a zero part keeps its sign.
        const Part norm = result.re * result.re + result.im * result.im;
        result = {result.re / norm, -(result.im / norm), -result.exponent};
    }
    return result;
}

// The margin test (ccomplex_detail::roundsAlikeWithin) for a power's part
// v 2^exponent, with an absolute bound, and zero signs told apart, as a part
// that rounds to zero takes the sign of its exact value: whether every value
// within `bound` of v rounds to the same float, which goes to `out`. The
// bound is widened by 2^-51 |v| so that the two ends, each rounded to double
// first, cannot both land on a float halfway point.
[[gnu::always_inline]] inline bool partRoundsAlikeWithin(double v, double bound, int exponent,
                                                         float& out) noexcept {
    bound += std::fabs(v) * 0x1p-51;
    out = toFloat(toDouble(v, exponent));
    return sameFloat(toFloat(toDouble(v - bound, exponent)), out) &&
           sameFloat(toFloat(toDouble(v + bound, exponent)), out);
}

int clampedExponent(std::int64_t exponent) noexcept {
    return static_cast<int>(std::clamp<std::int64_t>(exponent, -100'000, 100'000));
}

// The power by this type's own products, for zero and non-finite operands,
// which are exact or have no digits to lose.
[[gnu::cold]] CComplex textbookPower(CComplex z, std::uint64_t m, int squarings,
                                     bool reciprocal) noexcept {
    // As power() does, so that a zero part's sign comes out the same way.
    for (int i = 0; i < squarings; ++i) z *= z;
    for (; (m & 1) == 0; m >>= 1) z *= z;
    CComplex result = z;
    while ((m >>= 1) != 0) {
        z *= z;
        if (m & 1) result *= z;
    }
    return reciprocal ? CComplex(1.0f) / result : result;
}

// z^(m 2^squarings), or its reciprocal; m = 0 gives 1.
//
// For z on an axis the power lies on one too: one part of each product is
// an exact zero, and stays one in double (no rescaled part underflows).
// Its sign is the one the power of a nearby z off the axis has, as the
// textbook products and the negated reciprocal give it, so that
// pow(conj z, n) is conj(pow(z, n)) there as everywhere: (-2 - j0)^3 is
// -8 - j0, (j2)^3 is -0 - j8. Such a zero is exact; only the other part
// needs the bound.
CComplex exactPower(const CComplex& z, std::uint64_t m, int squarings, bool reciprocal) noexcept {
    if (m == 0) return CComplex(1.0f, 0.0f);
    if (!isFinite(z) || isZero(z)) return textbookPower(z, m, squarings, reciprocal);

    const Power<double> fast = power<double>(z, m, squarings, reciprocal);
    const double exponent = toDouble(static_cast<double>(m), squarings);
    const double bound = (4 * exponent + 8) * kUnit * (std::fabs(fast.re) + std::fabs(fast.im));
    const int binaryExponent = clampedExponent(fast.exponent);
    const bool onAxis = isZero(z.real) || isZero(z.imag);
    const auto rounds = [&](double part, float& out) {
        if (onAxis && isZero(part)) {
            out = toFloat(part);
            return true;
        }
        return partRoundsAlikeWithin(part, bound, binaryExponent, out);
    };
    float re, im;
    const bool reRounds = rounds(fast.re, re), imRounds = rounds(fast.im, im);
    if (reRounds && imRounds) return CComplex(re, im);
    const Power<DoubleDouble> careful = power<DoubleDouble>(z, m, squarings, reciprocal);
    const int carefulExponent = clampedExponent(careful.exponent);
    return CComplex(onAxis && isZero(fast.re) ? re : roundToFloat(careful.re, carefulExponent),
                    onAxis && isZero(fast.im) ? im : roundToFloat(careful.im, carefulExponent));
}

bool isInteger(float x) noexcept { return std::isfinite(x) && isZero(x - std::trunc(x)); }

// z^x for a float x whose value is an integer. Below 2^63 it is an unsigned
// count; above, x = m 2^k with m < 2^24, and z^x = (z^(2^k))^m.
CComplex integerValuedPower(const CComplex& z, float x) noexcept {
    const float magnitude = std::fabs(x);
    if (magnitude < 0x1p63f) {
        return exactPower(z, static_cast<std::uint64_t>(magnitude), 0, x < 0);
    }
    int binaryExponent;
    const float fraction = std::frexp(magnitude, &binaryExponent);
    return exactPower(z, static_cast<std::uint64_t>(std::ldexp(fraction, 24)), binaryExponent - 24,
                      x < 0);
}

// ---------------------------------------------------------------- double-double functions
//
// The careful evaluation of a power needs ln |z|, atan, exp, cos and sin to
// about 2^-100 relative: the careful kernels give all but ln |z|, below.

// ln |x + jy| to 2^-102 relative, for x and y floats scaled by a power of two
// (so with at most 24 bits each), from the double L0 = ln s, s = x^2 + y^2:
// ln s = L0 + ln(1 + rho) with rho = s e^-L0 - 1 about 2^-52, so ln(1 +
// rho) = rho - rho^2 / 2 to 2^-156. For s in [1/2, 2], s - 1 = d is exact,
// as in logOfMagnitude, and rho = d + E + d E with E = e^-L0 - 1, each term
// within 2^-104 of d; elsewhere |L0| >= ln 2 / 2 and rho = s e^-L0 - 1
// directly.
DoubleDouble logOfMagnitudeDD(double x, double y) noexcept {
    const double a = std::max(std::fabs(x), std::fabs(y)), b = std::min(std::fabs(x), std::fabs(y));
    const DoubleDouble s = twoSum(a * a, b * b);  // float squares are exact
    double l0;
    DoubleDouble rho;
    if (s.hi >= 0.5 && s.hi <= 2) {
        const DoubleDouble d = twoSum((a - 1) * (a + 1), b * b);
        l0 = log1pOf(d.hi);
        const DoubleDouble e = expm1Series(DoubleDouble{-l0});
        rho = d + e + d * e;
    } else {
        l0 = logOf(s.hi);
        int exponent;
        const DoubleDouble p = exponential(DoubleDouble{-l0}, exponent);
        rho = s * scaledBy(p, exponent) - DoubleDouble{1.0};
    }
    const DoubleDouble ln = quickTwoSum(l0, rho.hi - rho.hi * rho.hi / 2);
    return {ln.hi / 2, ln.lo / 2};
}

// ---------------------------------------------------------------- other powers
//
// z^w = e^a cis b with a = Re(w log z) and b = Im(w log z). The magnitude e^a
// is easy: a relative error in it is one in each part. The angle is not: a
// part of z^w is small beside |z^w| where b is near a multiple of pi / 2, and
// there an absolute error in b is a large relative one in the part.
//
// So arg z is taken as q pi / 2 + phi: q whole quarter turns, exact, and
// phi = atan(t), with t the smaller part of z over the larger (or minus it),
// computed with relative accuracy however small. Then
//   b / (pi / 2) = wr q + R,   R = (wr phi + wi ln|z|) 2 / pi,
// where wr q is exact, and R is known to relative accuracy too: ln|z| keeps
// it near |z| = 1 (see logOfMagnitude). The fraction f of b / (pi / 2), from
// the exact fraction of wr q and that of R, is what cos and sin take, as r =
// f pi / 2 with |r| <= pi / 4, after whole quarter turns that only swap and
// negate the parts.
//
// How close b can come to a multiple of pi / 2 for float operands:
//  - Where z lies near an axis or the cut, or |z| near 1, so that phi or
//    ln|z| is small: with wr q an integer, f = R - round(R) has R's relative
//    accuracy when |R| < 1/2, however small; a part whose exact value is
//    zero (on the axes, with wi ln|z| = 0: pow(-4, 0.5f) is 0 + j2, pow(j,
//    1 + j) is 0 + j e^(-pi/2)) is computed as zero.
//  - Elsewhere, only by coincidence: f then depends on the operands' 64
//    bits as a random number would, and among all 2^64 pairs the nearest
//    approach of f to an integer is expected near 2^-64, and within 2^-k of
//    one lies about one pair in 2^k. With |R| = B, f is known to about
//    B 2^-52 in double, which settles all but about one power in 2^20 near
//    |b| = 1; Ziv's test below finds them. In double-double f is known to
//    about B 2^-102, so a part is within 2^-26 of itself, within 1 ulp,
//    wherever f lies more than B 2^-76 from an integer: for B near 1 closer
//    than any pair is expected to come, and for B = 2^40 one pair in 2^36.
//    The part is then correctly rounded unless it lies within that error of
//    a halfway point between two floats.
//
// The fast evaluation, in double, with unit roundoff u = 2^-53:
//   ln|z| within 6u relative (logOfMagnitude: 3.8u), phi within 4u (one
//   quotient, and atanOf's 2.2u, atan being of condition at most 1),
//   q pi / 2 + phi within 8u;
//   a within 10u (|wr ln|z|| + |wi arg z|), each product and sum adding u;
//   R within 7u T, with T = |wr phi| + |wi ln|z|| >= |R| pi / 2;
//   f = (exact fraction) + (R - round(R)) adding u |f|, so the angle r =
//   f pi / 2, rounded with a rounded pi / 2, is within 11u T + 5u |f|;
//   the cos and sin kernel within 4u relative, e^a within 2u (expOf: 1.8u),
//   the product u.
// So a part e^a cos r is off by at most e^a (|cos r| (da + 7u) + |sin r| dr),
// and the double result is used when that bound proves its rounding. Beyond
// |R| = 2^50 the reduction leaves double's integers; such powers take the
// careful path.
//
// The careful evaluation repeats each step in double-double, from the same q
// and t; e^a is computed as e^r 2^k, so nothing overflows before the final
// rounding, which takes the double-double to a float once. No step uses long
// double, so the result is the same on every machine.

// wr q, the quarter turns that the exponent's real part makes of z's: exact,
// q being at most 2. Beyond 2^25 a float is a multiple of 4, so its quarter
// turns are whole ones and add nothing.
double quarterTurnsOfExponent(float wr, double quarters) noexcept {
    return std::fabs(wr) < 0x1p25f ? static_cast<double>(wr) * quarters : 0.0;
}

// f less the nearest integer, for |f| <= 3/2, with the integer added to
// `quarters`: f - 1 and f + 1 are exact where they are taken.
template <typename Real>
Real intoHalfRange(Real f, int& quarters) noexcept {
    if (leading(f) > 0.5) {
        ++quarters;
        return f - Real{1.0};
    }
    if (leading(f) < -0.5) {
        --quarters;
        return f + Real{1.0};
    }
    return f;
}

// The fraction of turns + r in [-1/2, 1/2], with its whole quarter turns
// modulo 4 in `quarters`, for |turns| < 2^26 and |r| < 2^50. The fraction of
// turns, and r less its nearest integer, are exact, so their sum is rounded
// once.
double fractionOfQuarterTurns(double turns, double r, int& quarters) noexcept {
    int turnsModulo4, rModulo4;
    const double f =
        (turns - nearestInteger(turns, turnsModulo4)) + (r - nearestInteger(r, rModulo4));
    quarters = turnsModulo4 + rModulo4;
    return intoHalfRange(f, quarters);
}

struct FastPower {
    double re, im;            // the parts
    double boundRe, boundIm;  // their error bounds
};

FastPower fastPower(const CComplex& z, const CComplex& w, const SplitAngle& angle) noexcept {
    const double u = kUnit;
    const double wr = static_cast<double>(w.real), wi = static_cast<double>(w.imag);
    const double lnMagnitude = logOfMagnitude(z.real, z.imag);
    const double phi = atanOf(angle.numerator / angle.denominator);
    const double theta = angle.quarters * kHalfPi + phi;
    const double a = wr * lnMagnitude - wi * theta;
    const double r = (wr * phi + wi * lnMagnitude) * kTwoOverPi;
    if (!(std::fabs(r) < 0x1p50)) return {HUGE_VAL, HUGE_VAL, 0, 0};  // for the careful path
    int quarters;
    const double f =
        fractionOfQuarterTurns(quarterTurnsOfExponent(w.real, angle.quarters), r, quarters);
    const CosSin<double> v = cosSinOf(ReducedAngle<double>{f * kHalfPi, quarters});
    const double c = v.cos, s = v.sin;
    const double m = expOf(a);
    const double da = 10 * u * (std::fabs(wr * lnMagnitude) + std::fabs(wi * theta)) + 7 * u;
    const double db =
        11 * u * (std::fabs(wr * phi) + std::fabs(wi * lnMagnitude)) + 5 * u * std::fabs(f);
    // A zero part stays zero even when e^a overflows.
    FastPower power{timesPart(m, c), timesPart(m, s), m * (std::fabs(c) * da + std::fabs(s) * db),
                    m * (std::fabs(s) * da + std::fabs(c) * db)};
    // Far below the float range both parts round to zeros signed as cos and
    // sin, but bounds scaled by an e^a that underflowed to zero or near it
    // would vanish too and certify any sign: there a part is certain only
    // where the angle's error cannot reach the sign of its cos or sin.
    if (m < 0x1p-900) {
        power.boundRe = std::fabs(c) * (1 - da) > std::fabs(s) * db ? 0 : HUGE_VAL;
        power.boundIm = std::fabs(s) * (1 - da) > std::fabs(c) * db ? 0 : HUGE_VAL;
    }
    return power;
}

// The same steps in double-double, arranged so that where a part of z^w lies
// next to a simple number, its distance from it is computed with relative
// accuracy too. That happens where z = +-2^k + jy with tiny y and w real:
// the real part of pow(-1 + jy, 2.5f) is 2.5 y (1 - y^2 / 8 + ...), and 2.5 y,
// an exact product of floats, can lie halfway between two floats, where
// rounding depends on the sign of a term y^2 times smaller, below any fixed
// precision's noise. So ln|z| is taken as k ln 2 + ln|z / 2^k|, with
// e^(wr k ln 2) as a power of two where wr k is an integer; and where b is
// within a quarter turn of a whole number of quarter turns that wr q makes
// exactly, cos and sin take b's remainder in radians directly, not through
// b / (pi / 2) and back. Then the leading term is exact in the high parts
// and the terms beside it are rounded relative to their own size.
//
// An exact result halfway between two floats (67081^1.5 = 17373979) comes
// out within that noise of the halfway point and may round either way: half
// an ulp off both ways.
CComplex carefulPower(const CComplex& z, const CComplex& w, const SplitAngle& angle,
                      const FastPower& fast) noexcept {
    const double wr = static_cast<double>(w.real), wi = static_cast<double>(w.imag);
    // |z|^2 = 4^k s with s in [1/2, 2], so that ln|z| = k ln 2 + ln(s) / 2 adds
    // no cancellation.
    const int e = std::ilogb(ccomplex_detail::squaredMagnitude(z));  // |z|^2 / 2^e in [1, 2)
    const int k = e >= -1 ? (e + 1) / 2 : -(-e / 2);                 // the floor of (e + 1) / 2
    const DoubleDouble lnScaled = logOfMagnitudeDD(std::ldexp(static_cast<double>(z.real), -k),
                                                   std::ldexp(static_cast<double>(z.imag), -k));
    const DoubleDouble lnMagnitude = kLn2DD * DoubleDouble{static_cast<double>(k)} + lnScaled;
    const DoubleDouble phi = angle.ratioAngle();
    const DoubleDouble theta = kHalfPiDD * DoubleDouble{angle.quarters} + phi;
    // a = twos ln 2 + rest, twos an integer (exact: a float times k).
    const double wrK = wr * k, twos = std::rint(wrK);
    const DoubleDouble rest =
        kLn2DD * DoubleDouble{wrK - twos} + DoubleDouble{wr} * lnScaled - DoubleDouble{wi} * theta;
    // b = turns pi / 2 + radians, and b / (pi / 2) = turns + r.
    const DoubleDouble radians = DoubleDouble{wr} * phi + DoubleDouble{wi} * lnMagnitude;
    const DoubleDouble r = radians * kTwoOverPiDD;
    // The fraction as in the fast path, from three exact fractions: of the
    // turns, and of r.hi and r.lo, either of which may exceed 2^53 when b
    // does.
    int quarters;
    const double turns = quarterTurnsOfExponent(w.real, angle.quarters);
    const double turnsFraction = turns - nearestInteger(turns, quarters);
    const double wholeHi = std::rint(r.hi), wholeLo = std::rint(r.lo);
    const DoubleDouble f = intoHalfRange(
        DoubleDouble{turnsFraction} + DoubleDouble{r.hi - wholeHi} + DoubleDouble{r.lo - wholeLo},
        quarters);
    quarters +=
        static_cast<int>(std::fmod(wholeHi, 4.0)) + static_cast<int>(std::fmod(wholeLo, 4.0));
    const bool nearWholeTurns = isZero(turnsFraction) && std::fabs(r.hi) < 0.5;
    const CosSin<DoubleDouble> v =
        cosSinOf(ReducedAngle<DoubleDouble>{nearWholeTurns ? radians : f * kHalfPiDD, quarters});
    const DoubleDouble c = v.cos, s = v.sin;
    // e^a = e^lnPart 2^scale; where either part of the split is large, a
    // is taken whole, as the two may cancel.
    DoubleDouble lnPart = rest;
    double scale = twos;
    if (!(std::fabs(rest.hi) <= 0x1p30 && std::fabs(twos) <= 0x1p30)) {
        lnPart = kLn2DD * DoubleDouble{twos} + rest;
        scale = 0;
    }
    float re, im;
    if (!(std::fabs(lnPart.hi) <= 0x1p30)) {
        // e^(2^30) is far beyond the float range, or its reciprocal far
        // below it, and a nonzero cos or sin is at least 2^-1074.
        const double m = expOf(lnPart.hi);
        re = toFloat(timesPart(m, c.hi));
        im = toFloat(timesPart(m, s.hi));
    } else {
        int twosOfExponent;
        const DoubleDouble m = exponential(lnPart, twosOfExponent);
        const int totalScale =
            clampedExponent(std::int64_t{twosOfExponent} + static_cast<std::int64_t>(scale));
        re = roundToFloat(m * c, totalScale);
        im = roundToFloat(m * s, totalScale);
    }
    // A part whose exact value is zero (its cosine or sine exactly zero here)
    // takes the fast path's zero, which IEEE 754 signs as the zero operands it
    // came from; one that only rounds to zero keeps the sign computed here,
    // where the fast path's, from an e^a that underflowed or an angle known
    // too coarsely, may be wrong.
    return CComplex(isZero(c.hi) && isZero(fast.re) ? toFloat(fast.re) : re,
                    isZero(s.hi) && isZero(fast.im) ? toFloat(fast.im) : im);
}

// ---------------------------------------------------------------- trigonometric and hyperbolic
//
// sin, cos and tan are C's -i sinh(iz), cosh(iz) and -i tanh(iz), special
// values included; multiplying by i or -i only swaps parts and flips a sign,
// which is exact. So are asin and atan from asinh and atanh.

// (-y, x): i z.
CComplex timesI(const CComplex& z) noexcept { return CComplex(-z.imag, z.real); }

// (y, -x): -i z.
CComplex timesMinusI(const CComplex& z) noexcept { return CComplex(z.imag, -z.real); }

// C's csinh at an infinite or NaN part.
[[gnu::cold]] CComplex sinhOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x)) return CComplex(kNaN, isZero(y) ? y : kNaN);
    if (std::isfinite(x)) return CComplex(isZero(x) ? x : kNaN, kNaN);
    if (!std::isfinite(y)) return CComplex(x, kNaN);
    if (isZero(y)) return CComplex(x, y);
    const CosSin<double> v = cosSinOfFloat(y);
    return CComplex(toFloat(static_cast<double>(x) * v.cos), toFloat(HUGE_VAL * v.sin));
}

// C's ccosh at an infinite or NaN part.
[[gnu::cold]] CComplex coshOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x)) return CComplex(kNaN, isZero(y) ? 0.0f : kNaN);
    if (std::isfinite(x)) return CComplex(kNaN, isZero(x) ? 0.0f : kNaN);
    if (!std::isfinite(y)) return CComplex(kInf, kNaN);
    if (isZero(y)) return CComplex(kInf, std::copysign(0.0f, x) * y);
    const CosSin<double> v = cosSinOfFloat(y);
    return CComplex(toFloat(HUGE_VAL * v.cos), toFloat(static_cast<double>(x) * v.sin));
}

// C's ctanh at an infinite or NaN part.
[[gnu::cold]] CComplex tanhOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x)) return CComplex(kNaN, isZero(y) ? y : kNaN);
    if (std::isfinite(x)) return CComplex(isZero(x) ? x : kNaN, kNaN);
    const float one = std::copysign(1.0f, x);
    if (!std::isfinite(y)) return CComplex(one, std::copysign(0.0f, y));
    const CosSin<double> v = cosSinOfFloat(y);
    return CComplex(one, toFloat(std::copysign(0.0, v.sin * v.cos)));  // 0 sin 2y
}

// ---------------------------------------------------------------- the inverses
//
// For x, y >= 0 with A = (|z + 1| + |z - 1|) / 2 >= 1, the inverse sine is
// asin(x / A) + i ln(A + sqrt(A^2 - 1)). Near the branch points A - 1 and
// A - x cancel, so they are built from terms that do not:
//   r - (x + 1) = y^2 / (r + x + 1),   with r = |z + 1|, s = |z - 1|;
//   s - (1 - x) = y^2 / (s + 1 - x) for x < 1, s - (x - 1) = y^2 / (s + x - 1)
// for x >= 1; and A - 1, A - x are half sums of those and of 1 - x or x - 1,
// all positive. A float operand comes no closer to a branch point than 2^-24
// or so relative, and in double each of these is rounded a few times, to a
// few units of 2^-53 relative. The real part is then atan(x / sqrt(A^2 -
// x^2)) with A^2 - x^2 = (A + x)(A - x), which has no cancellation either,
// and the imaginary part log1p(A - 1 + sqrt((A - 1)(A + 1))). In double the
// squares of float parts neither overflow nor underflow, so no scaling is
// needed anywhere.
struct ArcParts {
    double log;   // ln(A + sqrt(A^2 - 1)) >= 0
    double root;  // sqrt(A^2 - x^2) >= 0
};

ArcParts arcParts(double x, double y) noexcept {
    const double xPlus1 = x + 1, xMinus1 = x - 1, y2 = y * y;
    const double r = std::sqrt(xPlus1 * xPlus1 + y2), s = std::sqrt(xMinus1 * xMinus1 + y2);
    const double a = (r + s) / 2, rTerm = y2 / (r + xPlus1);
    double aMinus1, aMinusX;
    if (x < 1) {
        aMinus1 = (rTerm + y2 / (s - xMinus1)) / 2;
        aMinusX = (rTerm + (s - xMinus1)) / 2;
    } else {
        // At z = 1 exactly, s + x - 1 is 0 and so is y^2.
        aMinusX = (rTerm + (isZero(y) ? 0.0 : y2 / (s + xMinus1))) / 2;
        aMinus1 = aMinusX + xMinus1;
    }
    return {log1pOf(aMinus1 + std::sqrt(aMinus1 * (a + 1))), std::sqrt((a + x) * aMinusX)};
}

// The same two parts in double-double, to about 2^-100 relative: the same
// steps, each exact or rounded to 2^-104, and no step cancels.
struct CarefulArcParts {
    DoubleDouble log, root;
};

CarefulArcParts carefulArcParts(double x, double y) noexcept {
    const DoubleDouble xPlus1 = twoSum(x, 1.0), xMinus1 = twoSum(x, -1.0), y2{y * y};
    const DoubleDouble r = squareRoot(xPlus1 * xPlus1 + y2), s = squareRoot(xMinus1 * xMinus1 + y2);
    const DoubleDouble rTerm = isZero(y) ? y2 : y2 / (r + xPlus1);
    DoubleDouble aMinus1, aMinusX;
    if (x < 1) {
        const DoubleDouble sPlus1MinusX = s - xMinus1;
        aMinus1 = scaledBy(rTerm + (isZero(y) ? y2 : y2 / sPlus1MinusX), -1);
        aMinusX = scaledBy(rTerm + sPlus1MinusX, -1);
    } else {
        aMinusX = scaledBy(rTerm + (isZero(y) ? y2 : y2 / (s + xMinus1)), -1);
        aMinus1 = aMinusX + xMinus1;
    }
    const DoubleDouble aPlus1 = aMinus1 + DoubleDouble{2.0}, aPlusX = aMinusX + DoubleDouble{2 * x};
    return {log1pCarefully(aMinus1 + squareRoot(aMinus1 * aPlus1)), squareRoot(aPlusX * aMinusX)};
}

// An inverse function's two parts from arcParts(a, b): ln(A + sqrt(A^2 - 1))
// and an angle, atan2(root, signedA) or, for asinh, atan2(a, root). Each in
// double within 10u (arcParts' steps, atan2Of and log1pOf), so within 32
// double ulps; a part next to a tie is computed again from carefulArcParts.
struct ArcRounded {
    float log, angle;
};

[[gnu::cold, gnu::noinline]] ArcRounded arcNearTie(double a, double b, double signedA,
                                                   bool angleOfRoot, double log,
                                                   double angle) noexcept {
    const CarefulArcParts p = carefulArcParts(a, b);
    const DoubleDouble carefulAngle = angleOfRoot ? atan2Carefully(p.root, DoubleDouble{signedA})
                                                  : atan2Carefully(DoubleDouble{a}, p.root);
    return {isNearFloatTie(log, 32) ? roundToFloat(p.log, 0) : toFloat(log),
            isNearFloatTie(angle, 32) ? roundToFloat(carefulAngle, 0) : toFloat(angle)};
}

ArcRounded arcRounded(double a, double b, double signedA, bool angleOfRoot) noexcept {
    const ArcParts p = arcParts(a, b);
    const double angle = angleOfRoot ? atan2Of(p.root, signedA) : atan2Of(a, p.root);
    if (isNearFloatTie(p.log, 32) || isNearFloatTie(angle, 32))
        return arcNearTie(a, b, signedA, angleOfRoot, p.log, angle);
    return {toFloat(p.log), toFloat(angle)};
}

// The angle of a value with an infinite part and no NaN, from 0 to pi:
// 0 or pi on the real axis, pi / 2 on the imaginary one, pi / 4 or 3 pi / 4
// on the diagonals.
double angleAtInfinity(float x, float y) noexcept {
    if (!std::isinf(y)) return std::signbit(x) ? 2 * kHalfPi : 0.0;
    if (!std::isinf(x)) return kHalfPi;
    return x > 0 ? kHalfPi / 2 : 3 * kHalfPi / 2;
}

// C's casinh at an infinite or NaN part.
[[gnu::cold]] CComplex asinhOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x)) return CComplex(std::isinf(y) ? kInf : kNaN, isZero(y) ? y : kNaN);
    if (std::isnan(y)) return CComplex(std::isinf(x) ? x : kNaN, kNaN);
    return CComplex(std::copysign(kInf, x),
                    std::copysign(toFloat(angleAtInfinity(std::fabs(x), y)), y));
}

// C's cacosh at an infinite or NaN part.
[[gnu::cold]] CComplex acoshOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x) || std::isnan(y))
        return CComplex(std::isinf(x) || std::isinf(y) ? kInf : kNaN, kNaN);
    return CComplex(kInf, std::copysign(toFloat(angleAtInfinity(x, y)), y));
}

// C's cacos at an infinite or NaN part.
[[gnu::cold]] CComplex acosOfNonFinite(float x, float y) noexcept {
    if (std::isnan(y)) {
        if (isZero(x)) return CComplex(toFloat(kHalfPi), kNaN);
        return CComplex(kNaN, std::isinf(x) ? kInf : kNaN);
    }
    if (std::isnan(x)) return CComplex(kNaN, std::isinf(y) ? -std::copysign(kInf, y) : kNaN);
    return CComplex(toFloat(angleAtInfinity(x, y)), -std::copysign(kInf, y));
}

// C's catanh at an infinite or NaN part.
[[gnu::cold]] CComplex atanhOfNonFinite(float x, float y) noexcept {
    if (std::isnan(y))
        return CComplex(isZero(x) || std::isinf(x) ? std::copysign(0.0f, x) : kNaN, kNaN);
    if (std::isnan(x))
        return CComplex(std::isinf(y) ? 0.0f : kNaN,
                        std::isinf(y) ? std::copysign(toFloat(kHalfPi), y) : kNaN);
    return CComplex(std::copysign(0.0f, x), std::copysign(toFloat(kHalfPi), y));
}

// ---------------------------------------------------------------- careful parts
//
// A part whose double value lies next to a tie between two floats is
// computed again from the careful kernels, to about 2^-100 relative, and
// rounded once; those kernels' bounds make such a part correctly rounded
// unless its exact value lies within that distance of a tie.

// Which factor of a part: cos y, sin y, sinh x or cosh x.
enum class Factor { kCos, kSin, kSinh, kCosh };

// exp(z) where a part's double value, re or im, lies within `ulps` of a tie:
// that part again as e^x, e^x cos y or e^x sin y.
[[gnu::cold, gnu::noinline]] CComplex expNearTie(const CComplex& z, double re, double im,
                                                 std::uint64_t ulps) noexcept {
    int exponent;
    const DoubleDouble m = exponential(DoubleDouble{static_cast<double>(z.real)}, exponent);
    if (isZero(z.imag)) return CComplex(roundToFloat(m, exponent), z.imag);
    const CosSin<DoubleDouble> v = cosSinOfFloatCarefully(z.imag);
    return CComplex(isNearFloatTie(re, ulps) ? roundToFloat(m * v.cos, exponent) : toFloat(re),
                    isNearFloatTie(im, ulps) ? roundToFloat(m * v.sin, exponent) : toFloat(im));
}

// A part of sinh or cosh: its double value, and its two factors.
struct HyperbolicPart {
    double fast;
    Factor hyperbolic, trigonometric;
};

// sinh(z) or cosh(z) where a part lies within 32 double ulps of a tie: that
// part again as sinh x or cosh x times cos y or sin y, the other as it is.
[[gnu::cold, gnu::noinline]] CComplex hyperbolicNearTie(const CComplex& z, HyperbolicPart re,
                                                        HyperbolicPart im) noexcept {
    const SinhCosh h = sinhCoshOfFloatCarefully(z.real);
    const CosSin<DoubleDouble> v = cosSinOfFloatCarefully(z.imag);
    const auto part = [&](const HyperbolicPart& p) {
        if (!isNearFloatTie(p.fast, 32)) return toFloat(p.fast);
        return roundToFloat((p.hyperbolic == Factor::kSinh ? h.sinh : h.cosh) *
                                (p.trigonometric == Factor::kCos ? v.cos : v.sin),
                            0);
    };
    return CComplex(part(re), part(im));
}

// log(z) with ln|z| next to a tie.
[[gnu::cold, gnu::noinline]] CComplex logNearTie(const CComplex& z) noexcept {
    return CComplex(
        roundToFloat(logOfMagnitudeDD(static_cast<double>(z.real), static_cast<double>(z.imag)), 0),
        z.ang());
}

// log10(z) where a part, re or im, lies within 16 double ulps of a tie.
[[gnu::cold, gnu::noinline]] CComplex log10NearTie(const CComplex& z, double re,
                                                   double im) noexcept {
    const float real = isNearFloatTie(re, 16)
                           ? roundToFloat(logOfMagnitudeDD(static_cast<double>(z.real),
                                                           static_cast<double>(z.imag)) *
                                              kLog10OfEDD,
                                          0)
                           : toFloat(re);
    const float imag = isNearFloatTie(im, 16)
                           ? roundToFloat(carefulAngle(z.real, z.imag) * kLog10OfEDD, 0)
                           : toFloat(im);
    return CComplex(real, imag);
}

// tanh(z) for |x| <= 22 where a part lies next to a tie: that part again.
[[gnu::cold, gnu::noinline]] CComplex tanhNearTie(const CComplex& z, double re,
                                                  double im) noexcept {
    const SinhCosh h = sinhCoshOfFloatCarefully(z.real);
    const CosSin<DoubleDouble> v = cosSinOfFloatCarefully(z.imag);
    const DoubleDouble t = v.sin / v.cos, one{1.0};
    const DoubleDouble b = one + t * t, d = one + b * h.sinh * h.sinh;
    return CComplex(
        isNearFloatTie(re, 256) ? roundToFloat(b * h.cosh * h.sinh / d, 0) : toFloat(re),
        isNearFloatTie(im, 256) ? roundToFloat(t / d, 0) : toFloat(im));
}

// tanh's imaginary part for |x| > 22 next to a tie, carefully, and without
// the approximation the fast path makes (2^-62 relative): exactly
//   sin 2y / (cosh 2x + cos 2y) = 4 s c e / (1 + e^2 + 2 e (c^2 - s^2))
// with e = e^-2|x|, which is not zero here (|x| < 400: a part near a tie is
// no zero), so within exponential's range.
[[gnu::cold, gnu::noinline]] float tanhFarCarefully(const CComplex& z) noexcept {
    int exponent;
    const DoubleDouble m =
        exponential(DoubleDouble{-2 * std::fabs(static_cast<double>(z.real))}, exponent);
    const DoubleDouble e = scaledBy(m, exponent), one{1.0};
    const CosSin<DoubleDouble> v = cosSinOfFloatCarefully(z.imag);
    const DoubleDouble twoE = e + e;
    const DoubleDouble d = one + e * e + twoE * (v.cos * v.cos - v.sin * v.sin);
    return roundToFloat(v.sin * v.cos * twoE / d, 1);
}

// sqrt's t and other part (see sqrt) where one lies within 8 double ulps of
// a tie: that one again in double-double.
[[gnu::cold, gnu::noinline]] void sqrtPartsCarefully(double x, double y, double t, double other,
                                                     float& root, float& rest) noexcept {
    const DoubleDouble magnitude = squareRoot(twoSum(x * x, y * y));
    const DoubleDouble carefulT = squareRoot(scaledBy(magnitude + DoubleDouble{std::fabs(x)}, -1));
    root = isNearFloatTie(t, 8) ? roundToFloat(carefulT, 0) : toFloat(t);
    rest = isNearFloatTie(other, 8) ? roundToFloat(DoubleDouble{y} / carefulT, -1) : toFloat(other);
}

// atanh's real part for x = |Re z| >= 0: log1p(4x / ((1 - x)^2 + y^2)) / 4
// with 1 - x exact in double-double and each other step rounded to 2^-104;
// the double one is within 8u (the quotient 5u, log1pOf 2.3u).
[[gnu::cold, gnu::noinline]] float atanhRealCarefully(double x, double y) noexcept {
    const DoubleDouble oneMinusX = twoSum(1.0, -x);
    const DoubleDouble q = DoubleDouble{4 * x} / (oneMinusX * oneMinusX + DoubleDouble{y * y});
    return roundToFloat(log1pCarefully(q), -2);
}

// atanh's imaginary part, atan2(2y, 1 - a^2 - b^2) / 2, with the denominator
// exact in double-double (a^2 and b^2 are exact doubles, 1 - a^2 an exact
// sum), for a and b the larger and smaller magnitude of the parts.
[[gnu::cold, gnu::noinline]] float atanhAngleCarefully(double a, double b, double y) noexcept {
    const DoubleDouble denominator = twoSum(1.0, -(a * a)) - DoubleDouble{b * b};
    return roundToFloat(atan2Carefully(DoubleDouble{2 * y}, denominator), -1);
}

}  // namespace

// ---------------------------------------------------------------- the functions

// e^x cis y: e^x within 1.8u, cos and sin within 2^-50, the products
// rounded once. e^x overflows double only for x > 709, where both
// parts are beyond float anyway: no float y != 0 comes within 2^-100 of a
// multiple of pi / 2 (no double does), so |cos y| and |sin y| exceed 2^-100.
// Each part within 11u relative (e^x 1.8u, cos and sin 2^-50, the product),
// 22 double ulps: a part next to a tie is computed again, e^x as e^r 2^k to
// 2^-104 and cos and sin to 2^-102, and rounded once.
CComplex exp(const CComplex& z) noexcept {
    if (!isFinite(z)) return expOfNonFinite(z.real, z.imag);
    const double m = expOf(static_cast<double>(z.real));
    if (isZero(z.imag)) {  // m may be infinite; inf * 0 is NaN
        if (isNearFloatTie(m, 4)) return expNearTie(z, m, 0, 4);
        return CComplex(toFloat(m), z.imag);
    }
    const auto [c, s] = cosSinOfFloat(z.imag);
    const double re = m * c, im = m * s;
    if (isNearFloatTie(re, 32) || isNearFloatTie(im, 32)) return expNearTie(z, re, im, 32);
    return CComplex(toFloat(re), toFloat(im));
}

// ln|z| within 3.8u, 8 double ulps; next to a tie, computed again to
// 2^-102. The imaginary part is arg z, correctly rounded.
CComplex log(const CComplex& z) noexcept {
    const double re = logOfMagnitude(z.real, z.imag);
    if (isNearFloatTie(re, 16) && isFinite(z) && !isZero(z)) return logNearTie(z);
    return CComplex(toFloat(re), z.ang());
}

// log |z| / ln 10 and arg z / ln 10, each within 5.3u (their kernels, the
// constant, the product), 11 double ulps; next to a tie, computed again to
// about 2^-100.
CComplex log10(const CComplex& z) noexcept {
    const double y = static_cast<double>(z.imag), x = static_cast<double>(z.real);
    const double re = logOfMagnitude(z.real, z.imag) * kLog10OfE, im = atan2Of(y, x) * kLog10OfE;
    if ((isNearFloatTie(re, 16) || isNearFloatTie(im, 16)) && isFinite(z) && !isZero(z))
        return log10NearTie(z, re, im);
    return CComplex(toFloat(re), toFloat(im));
}

// t = sqrt((|x| + |z|) / 2) adds two positive terms, so it does not cancel;
// the other part is |y| / 2t. Each step is rounded once in double (x^2 and
// y^2 are exact): t within 2u, the other part within 3.5u, 8 double ulps.
// A part next to a tie is computed again in double-double, the same steps
// each to 2^-104, and rounded once.
CComplex sqrt(const CComplex& z) noexcept {
    if (!isFinite(z)) return sqrtOfNonFinite(z.real, z.imag);
    if (isZero(z)) return CComplex(0.0f, z.imag);
    const double x = static_cast<double>(z.real), y = static_cast<double>(z.imag);
    const double t = std::sqrt((std::fabs(x) + std::sqrt(x * x + y * y)) / 2);
    const double other = y / (2 * t);
    float root, rest;
    if (isNearFloatTie(t, 8) || isNearFloatTie(other, 8)) {
        sqrtPartsCarefully(x, y, t, other, root, rest);
    } else {
        root = toFloat(t);
        rest = toFloat(other);
    }
    if (x >= 0) return CComplex(root, rest);
    return CComplex(std::fabs(rest), std::copysign(root, z.imag));
}

CComplex ccomplex_detail::integerPower(const CComplex& z, unsigned long long magnitude,
                                       bool reciprocal) noexcept {
    return exactPower(z, magnitude, 0, reciprocal);
}

namespace {

// Whether r^2 is z exactly: r's squares are exact in double, their
// difference exact as a sum of two doubles, and 2 r.real r.imag exact.
bool isSquareRootOf(const CComplex& r, const CComplex& z) noexcept {
    const double a = static_cast<double>(r.real), b = static_cast<double>(r.imag);
    const DoubleDouble re = twoSum(a * a, -(b * b));
    return isZero(re.hi - static_cast<double>(z.real)) && isZero(re.lo) &&
           isZero(2 * a * b - static_cast<double>(z.imag));
}

// z^x for x = n / 2^k, k <= 3, where z is the 2^k-th power of a value with
// float parts, found by exact square roots: that value's n-th power, exact
// and rounded once, ties to even, as integer powers are. Such a power can
// lie exactly halfway between two floats ((116^2)^2.5 = 116^5), where
// exp(x log z) only comes near, on either side. False for any other z or x.
bool powerOfExactRoot(const CComplex& z, float x, CComplex& power) noexcept {
    CComplex root = z;
    for (int k = 0; k < 3 && !isInteger(x); ++k) {
        const CComplex r = sqrt(root);
        if (!isSquareRootOf(r, root)) return false;
        root = r;
        x *= 2;
    }
    if (!isInteger(x)) return false;
    power = integerValuedPower(root, x);
    // x was no integer, so x 2^k is odd, and an imaginary root's odd power
    // is imaginary: its real part is an exact zero, +0 as the fast path
    // gives it, where the product of signed zeros can give -0.
    if (isZero(root.real)) power.real = 0.0f;
    return true;
}

// z^w for finite z and w, z nonzero and w no real integer. A part the fast
// path cannot settle lies next to a tie; an exact power, rare, may lie on
// one, and the careful path only near it.
CComplex finitePower(const CComplex& z, const CComplex& w) noexcept {
    const SplitAngle angle = splitAngle(z.real, z.imag);
    const FastPower fast = fastPower(z, w, angle);
    float re, im;
    if (std::isfinite(fast.re) && std::isfinite(fast.im) &&
        partRoundsAlikeWithin(fast.re, fast.boundRe, 0, re) &&
        partRoundsAlikeWithin(fast.im, fast.boundIm, 0, im)) {
        return CComplex(re, im);
    }
    CComplex exact;
    if (isZero(w.imag) && powerOfExactRoot(z, w.real, exact)) return exact;
    return carefulPower(z, w, angle, fast);
}

}  // namespace

CComplex ccomplex_detail::complexPower(const CComplex& z, const CComplex& w) noexcept {
    if (isZero(w.imag) && isInteger(w.real)) return integerValuedPower(z, w.real);
    if (!isFinite(z) || !isFinite(w) || isZero(z)) {
        if (isZero(z) && isFinite(w) && w.real > 0) return CComplex(0.0f, 0.0f);
        // C's cpow: exp(w log z); a float exponent scales each part alone.
        const CComplex l = log(z);
        return exp(isZero(w.imag) ? l * w.real : w * l);
    }
    return finitePower(z, w);
}

// On the positive real axis a float exponent gives a real power, whose zero
// imaginary part is signed as exp(x log z) signs it, x times arg z = +-0: so
// pow(conj z, x) is conj(pow(z, x)) there, as everywhere else.
CComplex ccomplex_detail::realPower(const CComplex& z, float x) noexcept {
    const CComplex power = complexPower(z, CComplex(x));
    if (z.real > 0 && isZero(z.imag) && isZero(power.imag))
        return CComplex(power.real, std::copysign(0.0f, x) * std::copysign(1.0f, z.imag));
    return power;
}

// sinh x cos y + i cosh x sin y: sinh and cosh within 6u, cos and sin
// within 2^-50, each part within 15u, 30 double ulps; a part next to a tie is
// computed again to about 2^-100 and rounded once.
CComplex sinh(const CComplex& z) noexcept {
    if (!isFinite(z)) return sinhOfNonFinite(z.real, z.imag);
    double sinhX, coshX;
    sinhCoshOfFloat(z.real, sinhX, coshX);
    const auto [c, s] = cosSinOfFloat(z.imag);
    const double re = timesPart(c, sinhX), im = timesPart(coshX, s);
    if (isNearFloatTie(re, 32) || isNearFloatTie(im, 32)) {
        return hyperbolicNearTie(z, {re, Factor::kSinh, Factor::kCos},
                                 {im, Factor::kCosh, Factor::kSin});
    }
    return CComplex(toFloat(re), toFloat(im));
}

// cosh x cos y + i sinh x sin y, as sinh.
CComplex cosh(const CComplex& z) noexcept {
    if (!isFinite(z)) return coshOfNonFinite(z.real, z.imag);
    double sinhX, coshX;
    sinhCoshOfFloat(z.real, sinhX, coshX);
    const auto [c, s] = cosSinOfFloat(z.imag);
    const double re = coshX * c, im = timesPart(sinhX, s);
    if (isNearFloatTie(re, 32) || isNearFloatTie(im, 32)) {
        return hyperbolicNearTie(z, {re, Factor::kCosh, Factor::kCos},
                                 {im, Factor::kSinh, Factor::kSin});
    }
    return CComplex(toFloat(re), toFloat(im));
}

// The textbook sinh 2x / (cosh 2x + cos 2y) cancels near the poles, where
// cos 2y is near -1. With t = tan y, b = 1 + t^2, s = sinh x, c = cosh x,
//   tanh z = (b c s + i t) / (1 + b s^2),
// whose denominator adds positive terms, and every other step is a product
// or a quotient: a few units of 2^-53 relative. |t| stays below 2^100, as
// no float is a zero of cos. Beyond |x| = 22 the real part is 1 to within
// 2^-63, below half a float ulp, and the imaginary part is 4 sin y cos y
// e^-2|x| to within the same, which also avoids s^2 overflowing.
//
// Each part in double is within 110u (cos and sin within 8u each, sinh and
// cosh 6u, t 17u, b 35u, d 50u, the real part 100u), 256 double ulps; a
// part next to a tie is computed again in double-double from the careful
// kernels, the same steps each to about 2^-100, and rounded once.
CComplex tanh(const CComplex& z) noexcept {
    if (!isFinite(z)) return tanhOfNonFinite(z.real, z.imag);
    const auto [c, s] = cosSinOfFloat(z.imag);
    if (std::fabs(z.real) > 22.0f) {
        const double e = expOf(-2 * std::fabs(static_cast<double>(z.real)));
        // Below 2^-151 the part rounds to a zero for certain (beyond |x| = 52).
        const double im = 4 * s * c * e;
        const bool certain = std::fabs(im) < 0x1p-151 || !isNearFloatTie(im, 256);
        return CComplex(std::copysign(1.0f, z.real), certain ? toFloat(im) : tanhFarCarefully(z));
    }
    double sinhX, coshX;
    sinhCoshOfFloat(z.real, sinhX, coshX);
    const double t = s / c, b = 1 + t * t, d = 1 + b * sinhX * sinhX;
    const double re = b * coshX * sinhX / d, im = t / d;
    if (isNearFloatTie(re, 256) || isNearFloatTie(im, 256)) return tanhNearTie(z, re, im);
    return CComplex(toFloat(re), toFloat(im));
}

CComplex sin(const CComplex& z) noexcept { return timesMinusI(sinh(timesI(z))); }

CComplex cos(const CComplex& z) noexcept { return cosh(timesI(z)); }

CComplex tan(const CComplex& z) noexcept { return timesMinusI(tanh(timesI(z))); }

// asinh z = -i asin(iz): the parts of arcParts at (|y|, |x|), swapped.
CComplex asinh(const CComplex& z) noexcept {
    if (!isFinite(z)) return asinhOfNonFinite(z.real, z.imag);
    const double x = std::fabs(static_cast<double>(z.real)),
                 y = std::fabs(static_cast<double>(z.imag));
    const ArcRounded p = arcRounded(y, x, y, false);
    return CComplex(std::copysign(p.log, z.real), std::copysign(p.angle, z.imag));
}

// The real part is ln(A + sqrt(A^2 - 1)) >= 0; the imaginary part is
// atan2(sqrt(A^2 - x^2), x) in [0, pi], signed as y.
CComplex acosh(const CComplex& z) noexcept {
    if (!isFinite(z)) return acoshOfNonFinite(z.real, z.imag);
    const double x = static_cast<double>(z.real);
    const ArcRounded p = arcRounded(std::fabs(x), std::fabs(static_cast<double>(z.imag)), x, true);
    return CComplex(p.log, std::copysign(p.angle, z.imag));
}

CComplex acos(const CComplex& z) noexcept {
    if (!isFinite(z)) return acosOfNonFinite(z.real, z.imag);
    const double x = static_cast<double>(z.real);
    const ArcRounded p = arcRounded(std::fabs(x), std::fabs(static_cast<double>(z.imag)), x, true);
    return CComplex(p.angle, -std::copysign(p.log, z.imag));
}

CComplex asin(const CComplex& z) noexcept { return timesMinusI(asinh(timesI(z))); }

// atanh z = log((1 + z) / (1 - z)) / 2, as
//   real: log1p(4|x| / ((1 - |x|)^2 + y^2)) / 4, signed as x,
//   imag: atan2(2y, 1 - x^2 - y^2) / 2.
// The real part adds positive terms. 1 - x^2 - y^2 cancels where |z| is near
// 1; taken as (1 - a)(1 + a) - b^2, a = max(|x|, |y|) >= 0.7 there and b the
// other, as in log, both products are exact in double and the difference is
// rounded once. In the plain order 1 - x^2 is rounded first where |x| < 1/2
// (beyond, it is exact), an error of at most 2^-54 in the denominator D; as
// |d atan2(2y, D) / dD| <= 1 there (|y| >= 1/2, or else D >= 1/2), that moves
// the angle by at most 2^-53 of itself, which the rounding to float hides.
CComplex atanh(const CComplex& z) noexcept {
    if (!isFinite(z)) return atanhOfNonFinite(z.real, z.imag);
    const double x = std::fabs(static_cast<double>(z.real)), y = static_cast<double>(z.imag);
    const double a = std::max(x, std::fabs(y)), b = std::min(x, std::fabs(y));
    const double oneMinusX = 1 - x;
    const double re = log1pOf(4 * x / (oneMinusX * oneMinusX + y * y)) / 4;
    const double im = atan2Of(2 * y, (1 - a) * (1 + a) - b * b) / 2;
    const float real = isNearFloatTie(re, 32) ? atanhRealCarefully(x, y) : toFloat(re);
    const float angle = isNearFloatTie(im, 16) ? atanhAngleCarefully(a, b, y) : toFloat(im);
    return CComplex(std::copysign(real, z.real), angle);
}

CComplex atan(const CComplex& z) noexcept { return timesMinusI(atanh(timesI(z))); }
