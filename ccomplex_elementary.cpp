// The elementary functions, each part correctly rounded in practice.
#include "ccomplex.h"

// The error bounds below count IEEE 754 roundings, each operation rounded as
// written; fast-math would reorder and approximate them.
#if defined(__FAST_MATH__) || (defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__)
#error \
    "ccomplex_elementary.cpp needs IEEE arithmetic: add -ffp-contract=off -fno-fast-math after -ffast-math or -Ofast"
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

// Why double precision is enough, and where it is not
// ---------------------------------------------------
// The C library's double exp, log, log1p, atan2, sin and cos are within 1 ulp
// of double (2^-52 relative). A result assembled from a few of them, each
// product of float operands exact, is within a few 2^-53 of the exact value,
// which is 2^-29 of a float ulp: rounding it once to float gives the
// correctly rounded part unless the exact value lies within that distance of
// a halfway point, and always gives a part within 1 ulp. Float operands are
// at most 2^128 and at least 2^-149, so their squares and products lie far
// inside double's range: nothing overflows or underflows before the final
// rounding, which is where the true result leaves the float range.
//
// Two things escape that argument, and each has its own method below:
//  - log|z| near |z| = 1, where x^2 + y^2 - 1 cancels (see logOfMagnitude);
//  - powers, whose parts cancel near the zeros of cos(n arg z) however well
//    the modulus is known (see exactPower and the other powers' method);
// and the inverse functions, whose cancellations near the branch points are
// rewritten (see arcParts and atanh).

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The unit roundoff, half an ulp of 1, of double and of long double.
template <typename Real>
constexpr Real kUnit = std::numeric_limits<Real>::epsilon() / 2;

template <typename Real>
constexpr Real kPi = static_cast<Real>(3.141592653589793238462643383279502884L);

template <typename Real>
bool isZero(Real v) noexcept {
    return std::fpclassify(v) == FP_ZERO;
}

bool sameFloat(float a, float b) noexcept {
    return !std::islessgreater(a, b) && !std::isunordered(a, b);
}

template <typename Real>
float toFloat(Real v) noexcept {
    return static_cast<float>(v);
}

bool isFinite(const CComplex& z) noexcept { return std::isfinite(z.real) && std::isfinite(z.imag); }

bool isZero(const CComplex& z) noexcept { return isZero(z.real) && isZero(z.imag); }

// ---------------------------------------------------------------- cos and sin
//
// exp and pow need cos and sin in double. The C library's sincos takes 12 to
// 13 ns on [-10, 10] here; the kernel below takes 7, and that difference is
// what lets exp beat the standard type's float version.
//
// On |r| <= pi / 4 the Taylor series to degree 17 (sin) and 18 (cos) is off
// by less than 2^-65 relative, and evaluating it in double adds a few units
// of 2^-53: 2^-51.5 at worst, measured over 10M arguments against long double.

// sin r and cos r for |r| <= pi / 4, within 2^-51 relative. The polynomials
// in r^2 go by Estrin's scheme, whose independent halves overlap in the
// processor: 7.0 ns against 8.4 by Horner's rule, with the same accuracy.
void sinCosOfReduced(double r, double& s, double& c) noexcept {
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

// x rounded to the nearest integer, for |x| < 2^51: adding 1.5 2^52 leaves
// the integer in the sum's last bits, of which the last two give it modulo 4.
double nearestInteger(double x, int& modulo4) noexcept {
    const double shifted = x + 0x1.8p52;
    std::uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    modulo4 = static_cast<int>(bits & 3);
    return shifted - 0x1.8p52;
}

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
            c = Real(0) - sr;
            s = cr;
            break;
        case 2:
            c = -cr;
            s = Real(0) - sr;
            break;
        default:
            c = sr;
            s = -cr;
            break;
    }
}

// cos y and sin y for a float y. Up to 2^19, y - k pi / 2 with pi / 2 split
// into parts of 33, 33 and 53 bits: k < 2^20, so k times each of the first
// two is exact, and y - k P1 is exact as the two are within a factor of 2.
// The remainder r is then off by at most 2^-52 |r| + 2^-102, and no nonzero
// float below 2^19 comes within 2^-27.8 of a multiple of pi / 2 (checked at
// every multiple), so r is within 2^-51 of itself. Beyond, the C library.
void cosSinOfFloat(float y, double& c, double& s) noexcept {
    const double yd = static_cast<double>(y);
    if (isZero(y)) {  // the polynomial would give sin(-0) as +0
        c = 1;
        s = yd;
        return;
    }
    if (!(std::fabs(y) <= 0x1p19f)) {
        c = std::cos(yd);
        s = std::sin(yd);
        return;
    }
    int quarters;
    const double k = nearestInteger(yd * 0x1.45f306dc9c883p-1, quarters);  // y / (pi / 2)
    const double r = ((yd - k * 0x1.921fb544p0) - k * 0x1.0b4611a6p-34) - k * 0x1.3198a2e037073p-69;
    double cr, sr;
    sinCosOfReduced(r, sr, cr);
    rotateByQuarters(quarters, cr, sr, c, s);
}

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
    double c, s;
    cosSinOfFloat(y, c, s);
    return CComplex(toFloat(m * c), toFloat(m * s));
}

// ---------------------------------------------------------------- log

// ln |x + jy|, to a few units of Real's roundoff relative.
//
// The plain 0.5 ln(x^2 + y^2) rounds the sum of squares, an error of 2^-53
// that is harmless while |ln s| >= ln 2 but swamps ln s near s = 1: there it
// was off by 10^7 float ulps. So for s in [1/2, 2] it takes
// ln s = log1p(s - 1), with s - 1 = (a - 1)(a + 1) + b^2, a = max(|x|, |y|),
// b the other. There a >= 1/2, so a - 1 and a + 1 need at most 26 bits, their
// product at most 51, and b^2 at most 48: all three are exact in double (and
// in long double), and s - 1 is rounded once, to 2^-53 of itself, however
// much it cancels. log1p keeps that relative accuracy.
template <typename Real>
Real logOfMagnitude(float x, float y) noexcept {
    if (std::isinf(x) || std::isinf(y)) return std::numeric_limits<Real>::infinity();
    if (std::isnan(x) || std::isnan(y)) return std::numeric_limits<Real>::quiet_NaN();
    const Real a = static_cast<Real>(std::max(std::fabs(x), std::fabs(y)));
    const Real b = static_cast<Real>(std::min(std::fabs(x), std::fabs(y)));
    const Real s = a * a + b * b;
    if (s >= Real(0.5) && s <= Real(2)) return std::log1p((a - 1) * (a + 1) + b * b) / 2;
    return std::log(s) / 2;
}

constexpr double kLog10OfE = 0.43429448190325182765;

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

// A double-double: hi + lo with |lo| at most half an ulp of hi.
struct DoubleDouble {
    double hi;
    double lo = 0;
};

DoubleDouble quickTwoSum(double a, double b) noexcept {
    const double s = a + b;
    return {s, b - (s - a)};
}

DoubleDouble twoSum(double a, double b) noexcept {
    const double s = a + b;
    const double v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}

// a b exactly, as the rounded product and its error.
DoubleDouble twoProduct(double a, double b) noexcept {
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

DoubleDouble operator+(DoubleDouble a, DoubleDouble b) noexcept {
    DoubleDouble s = twoSum(a.hi, b.hi);
    const DoubleDouble t = twoSum(a.lo, b.lo);
    s = quickTwoSum(s.hi, s.lo + t.hi);
    return quickTwoSum(s.hi, s.lo + t.lo);
}

DoubleDouble operator-(DoubleDouble a, DoubleDouble b) noexcept {
    return a + DoubleDouble{-b.hi, -b.lo};
}

DoubleDouble operator*(DoubleDouble a, DoubleDouble b) noexcept {
    const DoubleDouble p = twoProduct(a.hi, b.hi);
    return quickTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

DoubleDouble operator/(DoubleDouble a, DoubleDouble b) noexcept {
    // One Newton step from the double reciprocal doubles its 53 bits.
    const double y = 1.0 / b.hi;
    const DoubleDouble residual = DoubleDouble{1.0, 0.0} - b * DoubleDouble{y, 0.0};
    return a * quickTwoSum(y, y * residual.hi);
}

double leading(double v) noexcept { return v; }
double leading(DoubleDouble v) noexcept { return v.hi; }

// v 2^exponent; ldexp is a library call, and most powers need no scaling.
double toDouble(double v, int exponent) noexcept {
    return exponent == 0 ? v : std::ldexp(v, exponent);
}
// hi + lo rounds to the double nearest the pair, so that hi and lo cannot
// overflow to infinities of opposite signs.
double toDouble(DoubleDouble v, int exponent) noexcept { return toDouble(v.hi + v.lo, exponent); }

// (re + j im) 2^exponent.
template <typename Part>
struct Power {
    Part re;
    Part im;
    std::int64_t exponent;
};

double scaledBy(double v, int exponent) noexcept { return std::ldexp(v, exponent); }
DoubleDouble scaledBy(DoubleDouble v, int exponent) noexcept {
    return {std::ldexp(v.hi, exponent), std::ldexp(v.lo, exponent)};
}

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
        const Part norm = result.re * result.re + result.im * result.im;
        result = {result.re / norm, Part{} - result.im / norm, -result.exponent};
    }
    return result;
}

// The float nearest to v 2^exponent, if it is the same for every value within
// `bound` of it. The bound is widened by 2^-51 |v| so that the two ends, each
// rounded to double first, cannot both land on a float halfway point.
[[gnu::always_inline]] inline bool roundsCertainly(double v, double bound, int exponent,
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
    for (int i = 0; i < squarings; ++i) z *= z;
    CComplex result(1.0f, 0.0f);
    for (; m != 0; m >>= 1, z *= z) {
        if (m & 1) result *= z;
    }
    return reciprocal ? CComplex(1.0f) / result : result;
}

// z^(m 2^squarings), or its reciprocal; m = 0 gives 1.
CComplex exactPower(const CComplex& z, std::uint64_t m, int squarings, bool reciprocal) noexcept {
    if (m == 0) return CComplex(1.0f, 0.0f);
    if (!isFinite(z) || isZero(z)) return textbookPower(z, m, squarings, reciprocal);

    const Power<double> fast = power<double>(z, m, squarings, reciprocal);
    const double exponent = toDouble(static_cast<double>(m), squarings);
    const double bound =
        (4 * exponent + 8) * kUnit<double> * (std::fabs(fast.re) + std::fabs(fast.im));
    const int binaryExponent = clampedExponent(fast.exponent);
    float re, im;
    if (roundsCertainly(fast.re, bound, binaryExponent, re) &&
        roundsCertainly(fast.im, bound, binaryExponent, im)) {
        return CComplex(re, im);
    }
    const Power<DoubleDouble> careful = power<DoubleDouble>(z, m, squarings, reciprocal);
    const int carefulExponent = clampedExponent(careful.exponent);
    return CComplex(toFloat(toDouble(careful.re, carefulExponent)),
                    toFloat(toDouble(careful.im, carefulExponent)));
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

// ---------------------------------------------------------------- other powers
//
// z^w = e^a cis b with a = Re(w log z), b = Im(w log z). In Real with unit
// roundoff u, log|z| is within 6u of itself (see logOfMagnitude), arg z within
// 4u (see quickAtan2), and each product and sum adds u, so
//   a is within 8u (|wr ln|z|| + |wi arg z|),
//   b is within 12u (|wr arg z| + |wi ln|z||) + 2u |b|, as b / pi.
// Then a part e^a cos b is off by e^a (|cos b| (da + 4u) + |sin b| (db + 4u)).
// That is tiny beside a float ulp unless the part is small beside e^a, near a
// zero of cos b: there the absolute error db of b decides. With double
// (u = 2^-53) and |b| near 2^20, db is 2^-30, too coarse for such a part; so
// as for integer powers the double result is used only where the bound
// proves its rounding, and otherwise the same steps run in long double
// (u = 2^-64 on x86), which leaves 2^-62 |b|: 2^-40 at |b| = 2^20.
//
// The angle goes into cos and sin as a multiple of pi, reduced exactly to
// within a quarter of a half turn, so that a part whose exact value is zero
// comes out zero. A part of z^w is zero only where b is a multiple of pi / 2
// and, w not being a real integer, that needs arg z to be a rational multiple
// of pi with ln|z| or wi zero: on the axes, where arg z / pi is 0, 1/2 or 1,
// b / pi is then wr times it, exactly, and the reduction finds the zero
// (pow(-4, 0.5f) is 0 + j2, pow(j, 1 + j) is 0 + j e^(-pi/2)).

// arg z / pi on the axes, where it is exact: 0, 1/2 or 1, signed as y.
bool exactHalfTurns(float x, float y, float& halfTurns) noexcept {
    const float quadrantSign = std::signbit(y) ? -1.0f : 1.0f;
    if (isZero(y)) {
        halfTurns = std::signbit(x) ? quadrantSign : 0.0f;
    } else if (isZero(x)) {
        halfTurns = 0.5f * quadrantSign;
    } else {
        return false;
    }
    return true;
}

// cos(pi t) and sin(pi t), exact at multiples of a quarter turn: t less the
// nearest multiple of 1/2 is exact, and pi times it at most pi / 4.
template <typename Real>
void cosSinPiByLibrary(Real t, Real& c, Real& s) noexcept {
    const Real quarters = std::rint(2 * t);
    const Real r = kPi<Real> * (t - quarters / 2);
    rotateByQuarters(static_cast<int>(std::fmod(quarters, Real(4)) + 4) % 4, std::cos(r),
                     std::sin(r), c, s);
}

void cosSinPi(long double t, long double& c, long double& s) noexcept {
    cosSinPiByLibrary(t, c, s);
}

void cosSinPi(double t, double& c, double& s) noexcept {
    if (!(std::fabs(t) < 0x1p49)) return cosSinPiByLibrary(t, c, s);
    int quarters;
    const double r = kPi<double> * (t - nearestInteger(2 * t, quarters) / 2);
    double cr, sr;
    sinCosOfReduced(r, sr, cr);
    rotateByQuarters(quarters, cr, sr, c, s);
}

// atan2(u, v) as atan(u / v), 12.6 ns against 8.4 here. The quotient adds
// one rounding, and atan's condition number is at most 1. For v < 0 (or -0)
// the angle is atan(u / v) + pi signed as u, whose magnitude is at least
// pi / 2, so the sum loses no relative accuracy. An infinite quotient gives
// +-pi / 2, a zero one +-0 or +-pi, as atan2 does; two zeros go to atan2.
double quickAtan2(double u, double v) noexcept {
    if (isZero(u) && isZero(v)) return std::atan2(u, v);
    const double a = std::atan(u / v);
    return std::signbit(v) ? std::copysign(kPi<double>, u) + a : a;
}

double arcTangent(double u, double v) noexcept { return quickAtan2(u, v); }
long double arcTangent(long double u, long double v) noexcept { return std::atan2(u, v); }

template <typename Real>
struct GeneralPower {
    Real re, im;            // the parts
    Real boundRe, boundIm;  // their error bounds
};

template <typename Real>
GeneralPower<Real> generalPower(const CComplex& z, const CComplex& w) noexcept {
    const Real u = kUnit<Real>;
    const Real wr = static_cast<Real>(w.real), wi = static_cast<Real>(w.imag);
    const Real lnMagnitude = logOfMagnitude<Real>(z.real, z.imag);
    float exactTurns;
    const bool angleExact = exactHalfTurns(z.real, z.imag, exactTurns);
    const Real exact = static_cast<Real>(exactTurns);
    const Real angle = angleExact
                           ? kPi<Real> * exact
                           : arcTangent(static_cast<Real>(z.imag), static_cast<Real>(z.real));
    const Real a = wr * lnMagnitude - wi * angle;
    const Real halfTurns = angleExact ? wr * exact + wi * lnMagnitude / kPi<Real>
                                      : (wr * angle + wi * lnMagnitude) / kPi<Real>;
    Real c, s;
    cosSinPi(halfTurns, c, s);
    const Real m = std::exp(a);
    const Real da = 8 * u * (std::fabs(wr * lnMagnitude) + std::fabs(wi * angle)) + 4 * u;
    const Real db = 12 * u * (std::fabs(wr * angle) + std::fabs(wi * lnMagnitude)) +
                    2 * u * kPi<Real> * std::fabs(halfTurns) + 4 * u;
    // A zero part stays zero even when e^a overflows.
    return {timesPart(m, c), timesPart(m, s), m * (std::fabs(c) * da + std::fabs(s) * db),
            m * (std::fabs(s) * da + std::fabs(c) * db)};
}

// ---------------------------------------------------------------- trigonometric and hyperbolic
//
// sin, cos and tan are C's -i sinh(iz), cosh(iz) and -i tanh(iz), special
// values included; multiplying by i or -i only swaps parts and flips a sign,
// which is exact. So are asin and atan from asinh and atanh.

constexpr double kHalfPi = 1.57079632679489661923;

// (-y, x): i z.
CComplex timesI(const CComplex& z) noexcept { return CComplex(-z.imag, z.real); }

// (y, -x): -i z.
CComplex timesMinusI(const CComplex& z) noexcept { return CComplex(z.imag, -z.real); }

// sinh t and cosh t for a float t, within a few units of 2^-53 relative.
// Below |t| = 1/2 through m = expm1|t|, which keeps its relative accuracy
// where e^t - 1 cancels: sinh = (m + m / (m + 1)) / 2 and cosh = 1 + m^2 /
// (2 (m + 1)). Above, e = e^|t| and (e -+ 1/e) / 2, where 1/e is at most 0.61
// of e, so the difference loses at most a bit and a half. e^|t| overflows
// double only beyond 709, where the float parts are infinite anyway.
void sinhCoshOfFloat(float t, double& sinhT, double& coshT) noexcept {
    const double a = std::fabs(static_cast<double>(t));
    if (a < 0.5) {
        const double m = std::expm1(a);
        sinhT = (m + m / (m + 1)) / 2;
        coshT = 1 + m * m / (2 * (m + 1));
    } else {
        const double e = std::exp(a);
        sinhT = (e - 1 / e) / 2;
        coshT = (e + 1 / e) / 2;
    }
    sinhT = std::copysign(sinhT, static_cast<double>(t));
}

// C's csinh at an infinite or NaN part.
[[gnu::cold]] CComplex sinhOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x)) return CComplex(kNaN, isZero(y) ? y : kNaN);
    if (std::isfinite(x)) return CComplex(isZero(x) ? x : kNaN, kNaN);
    if (!std::isfinite(y)) return CComplex(x, kNaN);
    if (isZero(y)) return CComplex(x, y);
    double c, s;
    cosSinOfFloat(y, c, s);
    return CComplex(toFloat(static_cast<double>(x) * c), toFloat(HUGE_VAL * s));
}

// C's ccosh at an infinite or NaN part.
[[gnu::cold]] CComplex coshOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x)) return CComplex(kNaN, isZero(y) ? 0.0f : kNaN);
    if (std::isfinite(x)) return CComplex(kNaN, isZero(x) ? 0.0f : kNaN);
    if (!std::isfinite(y)) return CComplex(kInf, kNaN);
    if (isZero(y)) return CComplex(kInf, std::copysign(0.0f, x) * y);
    double c, s;
    cosSinOfFloat(y, c, s);
    return CComplex(toFloat(HUGE_VAL * c), toFloat(static_cast<double>(x) * s));
}

// C's ctanh at an infinite or NaN part.
[[gnu::cold]] CComplex tanhOfNonFinite(float x, float y) noexcept {
    if (std::isnan(x)) return CComplex(kNaN, isZero(y) ? y : kNaN);
    if (std::isfinite(x)) return CComplex(isZero(x) ? x : kNaN, kNaN);
    const float one = std::copysign(1.0f, x);
    if (!std::isfinite(y)) return CComplex(one, std::copysign(0.0f, y));
    double c, s;
    cosSinOfFloat(y, c, s);
    return CComplex(one, toFloat(std::copysign(0.0, s * c)));  // 0 sin 2y
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
    return {std::log1p(aMinus1 + std::sqrt(aMinus1 * (a + 1))), std::sqrt((a + x) * aMinusX)};
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

}  // namespace

// ---------------------------------------------------------------- the functions

// e^x cis y: exp within 1 ulp of double, cos and sin within 2^-51, the
// products rounded once. e^x overflows double only for x > 709, where both
// parts are beyond float anyway: no float y != 0 comes within 2^-100 of a
// multiple of pi / 2 (no double does), so |cos y| and |sin y| exceed 2^-100.
CComplex exp(const CComplex& z) noexcept {
    if (!isFinite(z)) return expOfNonFinite(z.real, z.imag);
    const double m = std::exp(static_cast<double>(z.real));
    if (isZero(z.imag)) return CComplex(toFloat(m), z.imag);  // m may be infinite; inf * 0 is NaN
    double c, s;
    cosSinOfFloat(z.imag, c, s);
    return CComplex(toFloat(m * c), toFloat(m * s));
}

// The imaginary part is arg z, atan2 rounded once.
CComplex log(const CComplex& z) noexcept {
    return CComplex(toFloat(logOfMagnitude<double>(z.real, z.imag)), z.ang());
}

CComplex log10(const CComplex& z) noexcept {
    const double y = static_cast<double>(z.imag), x = static_cast<double>(z.real);
    return CComplex(toFloat(logOfMagnitude<double>(z.real, z.imag) * kLog10OfE),
                    toFloat(std::atan2(y, x) * kLog10OfE));
}

// t = sqrt((|x| + |z|) / 2) adds two positive terms, so it does not cancel;
// the other part is |y| / 2t. Each step is rounded once in double.
CComplex sqrt(const CComplex& z) noexcept {
    if (!isFinite(z)) return sqrtOfNonFinite(z.real, z.imag);
    if (isZero(z)) return CComplex(0.0f, z.imag);
    const double x = static_cast<double>(z.real), y = static_cast<double>(z.imag);
    const double t = std::sqrt((std::fabs(x) + std::sqrt(x * x + y * y)) / 2);
    const double other = y / (2 * t);
    if (x >= 0) return CComplex(toFloat(t), toFloat(other));
    return CComplex(toFloat(std::fabs(other)), std::copysign(toFloat(t), z.imag));
}

CComplex ccomplex_detail::integerPower(const CComplex& z, int n) noexcept {
    // The magnitude of INT_MIN is no int, but it is a uint64_t.
    const std::uint64_t magnitude =
        n < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(n))
              : static_cast<std::uint64_t>(n);
    return exactPower(z, magnitude, 0, n < 0);
}

CComplex ccomplex_detail::complexPower(const CComplex& z, const CComplex& w) noexcept {
    if (isZero(w.imag) && isInteger(w.real)) return integerValuedPower(z, w.real);
    if (!isFinite(z) || !isFinite(w) || isZero(z)) {
        if (isZero(z) && isFinite(w) && w.real > 0) return CComplex(0.0f, 0.0f);
        // C's cpow: exp(w log z); a float exponent scales each part alone.
        const CComplex l = log(z);
        return exp(isZero(w.imag) ? l * w.real : w * l);
    }
    const GeneralPower<double> fast = generalPower<double>(z, w);
    float re, im;
    if (std::isfinite(fast.re) && std::isfinite(fast.im) &&
        roundsCertainly(fast.re, fast.boundRe, 0, re) &&
        roundsCertainly(fast.im, fast.boundIm, 0, im)) {
        return CComplex(re, im);
    }
    const GeneralPower<long double> careful = generalPower<long double>(z, w);
    return CComplex(toFloat(careful.re), toFloat(careful.im));
}

// sinh x cos y + i cosh x sin y, each factor within a few units of 2^-53.
CComplex sinh(const CComplex& z) noexcept {
    if (!isFinite(z)) return sinhOfNonFinite(z.real, z.imag);
    double sinhX, coshX, c, s;
    sinhCoshOfFloat(z.real, sinhX, coshX);
    cosSinOfFloat(z.imag, c, s);
    return CComplex(toFloat(timesPart(c, sinhX)), toFloat(timesPart(coshX, s)));
}

// cosh x cos y + i sinh x sin y.
CComplex cosh(const CComplex& z) noexcept {
    if (!isFinite(z)) return coshOfNonFinite(z.real, z.imag);
    double sinhX, coshX, c, s;
    sinhCoshOfFloat(z.real, sinhX, coshX);
    cosSinOfFloat(z.imag, c, s);
    return CComplex(toFloat(coshX * c), toFloat(timesPart(sinhX, s)));
}

// The textbook sinh 2x / (cosh 2x + cos 2y) cancels near the poles, where
// cos 2y is near -1. With t = tan y, b = 1 + t^2, s = sinh x, c = cosh x,
//   tanh z = (b c s + i t) / (1 + b s^2),
// whose denominator adds positive terms, and every other step is a product
// or a quotient: a few units of 2^-53 relative. |t| stays below 2^100, as
// no float is a zero of cos. Beyond |x| = 22 the real part is 1 to within
// 2^-63, below half a float ulp, and the imaginary part is 4 sin y cos y
// e^-2|x| to within the same, which also avoids s^2 overflowing.
CComplex tanh(const CComplex& z) noexcept {
    if (!isFinite(z)) return tanhOfNonFinite(z.real, z.imag);
    double c, s;
    cosSinOfFloat(z.imag, c, s);
    if (std::fabs(z.real) > 22.0f) {
        const double e = std::exp(-2 * std::fabs(static_cast<double>(z.real)));
        return CComplex(std::copysign(1.0f, z.real), toFloat(4 * s * c * e));
    }
    double sinhX, coshX;
    sinhCoshOfFloat(z.real, sinhX, coshX);
    const double t = s / c, b = 1 + t * t, d = 1 + b * sinhX * sinhX;
    return CComplex(toFloat(b * coshX * sinhX / d), toFloat(t / d));
}

CComplex sin(const CComplex& z) noexcept { return timesMinusI(sinh(timesI(z))); }

CComplex cos(const CComplex& z) noexcept { return cosh(timesI(z)); }

CComplex tan(const CComplex& z) noexcept { return timesMinusI(tanh(timesI(z))); }

// asinh z = -i asin(iz): the parts of arcParts at (|y|, |x|), swapped.
CComplex asinh(const CComplex& z) noexcept {
    if (!isFinite(z)) return asinhOfNonFinite(z.real, z.imag);
    const double x = std::fabs(static_cast<double>(z.real)),
                 y = std::fabs(static_cast<double>(z.imag));
    const ArcParts p = arcParts(y, x);
    return CComplex(std::copysign(toFloat(p.log), z.real),
                    std::copysign(toFloat(quickAtan2(y, p.root)), z.imag));
}

// The real part is ln(A + sqrt(A^2 - 1)) >= 0; the imaginary part is
// atan2(sqrt(A^2 - x^2), x) in [0, pi], signed as y.
CComplex acosh(const CComplex& z) noexcept {
    if (!isFinite(z)) return acoshOfNonFinite(z.real, z.imag);
    const double x = static_cast<double>(z.real);
    const ArcParts p = arcParts(std::fabs(x), std::fabs(static_cast<double>(z.imag)));
    return CComplex(toFloat(p.log), std::copysign(toFloat(quickAtan2(p.root, x)), z.imag));
}

CComplex acos(const CComplex& z) noexcept {
    if (!isFinite(z)) return acosOfNonFinite(z.real, z.imag);
    const double x = static_cast<double>(z.real);
    const ArcParts p = arcParts(std::fabs(x), std::fabs(static_cast<double>(z.imag)));
    return CComplex(toFloat(quickAtan2(p.root, x)), -std::copysign(toFloat(p.log), z.imag));
}

CComplex asin(const CComplex& z) noexcept { return timesMinusI(asinh(timesI(z))); }

// atanh z = log((1 + z) / (1 - z)) / 2, as
//   real: log1p(4|x| / ((1 - |x|)^2 + y^2)) / 4, signed as x,
//   imag: atan2(2y, 1 - x^2 - y^2) / 2.
// The real part adds positive terms. 1 - x^2 - y^2 cancels where |z| is near
// 1; taken as (1 - a)(1 + a) - b^2, a = max(|x|, |y|) >= 0.7 there and b the
// other, as in log, both products are exact in double and the difference is
// rounded once, where 1 - x^2 would be rounded first (an error of 2^-29 of
// the result at x = 2^-13, y near 1).
CComplex atanh(const CComplex& z) noexcept {
    if (!isFinite(z)) return atanhOfNonFinite(z.real, z.imag);
    const double x = std::fabs(static_cast<double>(z.real)), y = static_cast<double>(z.imag);
    const double a = std::max(x, std::fabs(y)), b = std::min(x, std::fabs(y));
    const double oneMinusX = 1 - x;
    const double re = std::log1p(4 * x / (oneMinusX * oneMinusX + y * y)) / 4;
    const double im = quickAtan2(2 * y, (1 - a) * (1 + a) - b * b) / 2;
    return CComplex(std::copysign(toFloat(re), z.real), toFloat(im));
}

CComplex atan(const CComplex& z) noexcept { return timesMinusI(atanh(timesI(z))); }
