// The batch operations: vector kernels for each instruction set through
// Highway, which compiles this file once per target (foreach_target.h
// includes it again for each) and dispatches to the best one the processor
// has at run time. Nothing here is written for one instruction set by hand.
//
// The parts of n values lie in memory as 2n floats, real then imaginary.
// Each kernel loads half a vector of floats, widens them to a vector of
// doubles holding L/2 values as (re, im) lane pairs, computes every lane as
// the scalar operation does, and narrows the result. The kernels cover whole
// vectors; the few values left over, and any vector with a lane whose
// rounding is not certain, go to the scalar operations.
#include "ccomplex_arrays.h"

#include <cassert>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>

#include "ccomplex_exact_sum.h"
#include "ccomplex_phase.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ccomplex_arrays.cpp"
#include <hwy/foreach_target.h>  // must come before highway.h
#include <hwy/highway.h>

#ifndef CCOMPLEX_ARRAYS_ONCE
#define CCOMPLEX_ARRAYS_ONCE
namespace ccomplex_arrays {
namespace detail {

inline const float* partsOf(const CComplex* values) noexcept {
    return reinterpret_cast<const float*>(values);
}
inline float* partsOf(CComplex* values) noexcept { return reinterpret_cast<float*>(values); }

// dividend / divisor as the scalar quotient gives it, but that a zero
// divisor (both parts zero, of either sign) is counted, not written: 0 + j0.
inline CComplex quotientCountingZeros(const CComplex& dividend, const CComplex& divisor,
                                      std::size_t& zeroDivisors) noexcept {
    if (std::fpclassify(divisor.real) == FP_ZERO && std::fpclassify(divisor.imag) == FP_ZERO) {
        ++zeroDivisors;
        return CComplex();
    }
    return dividend / divisor;
}

// The terms of a b, or of a conj(b): a c and -b d (the real part), a d and
// b c (the imaginary part), each exact in double.
inline void productTerms(const CComplex& a, const CComplex& b, bool conjugate,
                         double (&terms)[2][2]) noexcept {
    const double ar = static_cast<double>(a.real), ai = static_cast<double>(a.imag);
    const double br = static_cast<double>(b.real),
                 bi = (conjugate ? -1.0 : 1.0) * static_cast<double>(b.imag);
    terms[0][0] = ar * br;
    terms[0][1] = -(ai * bi);
    terms[1][0] = ar * bi;
    terms[1][1] = ai * br;
}

// A dot product's partial sums in double: of its terms, real part then
// imaginary, and of the squares of the parts of a and of b.
struct DotSums {
    double sum[2];
    double squares[2];
};

}  // namespace detail
}  // namespace ccomplex_arrays
#endif  // CCOMPLEX_ARRAYS_ONCE

HWY_BEFORE_NAMESPACE();
namespace ccomplex_arrays {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR || !HWY_HAVE_FLOAT64
// One lane per vector, too few for a (re, im) pair, or no double lanes (32-bit
// ARM's NEON): the scalar operations do all the work.
static std::size_t Multiply(const float*, const float*, float*, std::size_t) { return 0; }
static std::size_t MultiplyConjugate(const float*, const float*, float*, std::size_t) { return 0; }
static std::size_t ScaleByComplex(const float*, CComplex, float*, std::size_t) { return 0; }
static std::size_t ScaleByFloat(const float*, float, float*, std::size_t) { return 0; }
static std::size_t Divide(const float*, const float*, float*, std::size_t, std::size_t&) {
    return 0;
}
static std::size_t Norm(const float*, float*, std::size_t) { return 0; }
static std::size_t Magnitude(const float*, float*, std::size_t) { return 0; }
static std::size_t SumProducts(const float*, const float*, std::size_t, bool, detail::DotSums&) {
    return 0;
}
static std::size_t Rotate(const float*, float*, std::size_t, const ccomplex_kernels::QuarterTurns&,
                          const ccomplex_kernels::QuarterTurns&) {
    return 0;
}
static std::size_t Polar(const float*, const float*, float*, std::size_t) { return 0; }
static std::size_t Exp(const float*, float*, std::size_t) { return 0; }
static std::size_t Angle(const float*, float*, std::size_t) { return 0; }
#else
using DoubleTag = hn::ScalableTag<double>;
using FloatTag = hn::Rebind<float, DoubleTag>;  // as many floats as doubles
using Doubles = hn::Vec<DoubleTag>;

HWY_INLINE std::size_t valuesPerVector() { return hn::Lanes(DoubleTag()) / 2; }

HWY_INLINE Doubles loadWidened(const float* parts) {
    return hn::PromoteTo(DoubleTag(), hn::LoadU(FloatTag(), parts));
}

// Each lane rounded to the nearest float, beyond FLT_MAX to infinity, as a
// conversion does. Highway's portable target clamps there, to FLT_MAX,
// infinities too, so there the lanes are converted one by one.
HWY_INLINE hn::Vec<FloatTag> narrowed(Doubles v) {
#if HWY_TARGET == HWY_EMU128
    double lanes[HWY_MAX_BYTES / sizeof(double)];
    float floats[HWY_MAX_BYTES / sizeof(double)];
    hn::StoreU(v, DoubleTag(), lanes);
    for (std::size_t i = 0; i < hn::Lanes(DoubleTag()); ++i)
        floats[i] = static_cast<float>(lanes[i]);
    return hn::LoadU(FloatTag(), floats);
#else
    return hn::DemoteTo(FloatTag(), v);
#endif
}

HWY_INLINE void storeNarrowed(Doubles v, float* parts) {
    hn::StoreU(narrowed(v), FloatTag(), parts);
}

// One value per lane, its parts apart (out-parameters, as a scalable vector
// cannot be a member of a struct): as many values as a vector has doubles,
// widened, and the parts narrowed back into values.
HWY_INLINE void loadParts(const float* values, Doubles& re, Doubles& im) {
    hn::Vec<FloatTag> reIn, imIn;
    hn::LoadInterleaved2(FloatTag(), values, reIn, imIn);
    re = hn::PromoteTo(DoubleTag(), reIn);
    im = hn::PromoteTo(DoubleTag(), imIn);
}
HWY_INLINE void storeParts(Doubles re, Doubles im, float* values) {
    hn::StoreInterleaved2(narrowed(re), narrowed(im), FloatTag(), values);
}

// out's values k to k + count - 1 as valueOf(i) gives them: a vector's
// values left to the scalar form.
template <typename ValueOf>
HWY_INLINE void storeScalarValues(float* out, std::size_t k, std::size_t count, ValueOf valueOf) {
    for (std::size_t i = k; i < k + count; ++i) {
        const CComplex z = valueOf(i);
        out[2 * i] = z.real;
        out[2 * i + 1] = z.imag;
    }
}

// -0 in the even (real) lanes or the odd (imaginary) ones: xor flips the sign.
HWY_INLINE Doubles signOfRealLanes() {
    const DoubleTag d;
    return hn::OddEven(hn::Zero(d), hn::Set(d, -0.0));
}
HWY_INLINE Doubles signOfImagLanes() {
    const DoubleTag d;
    return hn::OddEven(hn::Set(d, -0.0), hn::Zero(d));
}

// (a, b) (c, d) lane pair by lane pair as operator* computes it: (a, a) (c, d)
// + (-b, b) (d, c), every product exact in double, each sum rounded once, so
// a fused multiply-add gives the same bits as a separate one.
HWY_INLINE Doubles product(Doubles ab, Doubles cd) {
    const Doubles minusBb = hn::Xor(hn::DupOdd(ab), signOfRealLanes());
    return hn::MulAdd(hn::DupEven(ab), cd, hn::Mul(minusBb, hn::Reverse2(DoubleTag(), cd)));
}

// Whether every lane's v is zero or rounds to one float over any margin up
// to kUlps of its double ulps: a normal float's magnitude or more (NaN is
// not) and more than kUlps double ulps from a tie between two floats, the
// odd multiples of 2^28 in the low 29 bits of a double's significand. Adding
// kUlps - 2^28 before the mask moves the ties' neighbourhoods to [0, 2 kUlps]
// modulo 2^29, so one compare finds them; in integer lanes this costs less
// than narrowing v - margin and v + margin. A relative margin |v| 2^-k is
// less than 2^(53-k) double ulps of v.
template <std::int64_t kUlps>
HWY_INLINE hn::Mask<DoubleTag> clearOfTies(Doubles v) {
    const DoubleTag d;
    const hn::RebindToSigned<DoubleTag> di;
    const auto offset = hn::And(hn::Add(hn::BitCast(di, v), hn::Set(di, kUlps - (1LL << 28))),
                                hn::Set(di, (1LL << 29) - 1));
    const auto nearTie = hn::RebindMask(d, hn::Lt(offset, hn::Set(di, 2 * kUlps + 1)));
    const auto floatNormal = hn::Ge(hn::Abs(v), hn::Set(d, 0x1p-126));
    return hn::Or(hn::AndNot(nearTie, floatNormal), hn::Eq(v, hn::Zero(d)));
}

// out = a * b over whole vectors (b conjugated first if asked); the number
// of values done.
HWY_INLINE std::size_t multiplyVectors(const float* a, const float* b, float* out, std::size_t n,
                                       bool conjugate) {
    const std::size_t step = valuesPerVector();
    const Doubles conjugation = conjugate ? signOfImagLanes() : hn::Zero(DoubleTag());
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        const Doubles cd = hn::Xor(loadWidened(b + 2 * k), conjugation);
        storeNarrowed(product(loadWidened(a + 2 * k), cd), out + 2 * k);
    }
    return k;
}

static std::size_t Multiply(const float* a, const float* b, float* out, std::size_t n) {
    return multiplyVectors(a, b, out, n, false);
}

static std::size_t MultiplyConjugate(const float* a, const float* b, float* out, std::size_t n) {
    return multiplyVectors(a, b, out, n, true);
}

static std::size_t ScaleByComplex(const float* a, CComplex s, float* out, std::size_t n) {
    const std::size_t step = valuesPerVector();
    const DoubleTag d;
    // (c, d) in every lane pair.
    const Doubles cd = hn::OddEven(hn::Set(d, static_cast<double>(s.imag)),
                                   hn::Set(d, static_cast<double>(s.real)));
    std::size_t k = 0;
    for (; k + step <= n; k += step)
        storeNarrowed(product(loadWidened(a + 2 * k), cd), out + 2 * k);
    return k;
}

// One float product per part, as z * s computes it.
static std::size_t ScaleByFloat(const float* a, float s, float* out, std::size_t n) {
    const hn::ScalableTag<float> f;
    const std::size_t step = hn::Lanes(f) / 2;
    const auto factor = hn::Set(f, s);
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        hn::StoreU(hn::Mul(hn::LoadU(f, a + 2 * k), factor), f, out + 2 * k);
    }
    return k;
}

// The quotient lane by lane, one value per lane, as the scalar one computes
// it: d = wr^2 + wi^2 and the numerators (xr wr + xi wi, xi wr - xr wi), each
// rounded once, divided by d. The scalar quotient rounds each part to float
// unless it lies within 8 double ulps of a tie (or below 2^-126), where it
// rounds the exact value; clearOfTies<8> holds the same lanes back, and
// where a lane passes, its part is within 3 units of 2^-53 of its exact
// value, at most 3 double ulps, so its rounding is the exact value's either
// way. A vector with any lane held back, or with a divisor that is zero,
// infinite or NaN, is done by the scalar quotient, zero divisors counted,
// not written. One value per lane, rather than a part, saves the shuffles
// that pair the parts.
static std::size_t Divide(const float* a, const float* b, float* out, std::size_t n,
                          std::size_t& zeroDivisors) {
    const DoubleTag d;
    const std::size_t step = hn::Lanes(d);
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        Doubles xr, xi, wr, wi;
        loadParts(a + 2 * k, xr, xi);
        loadParts(b + 2 * k, wr, wi);
        const Doubles divisorNorm = hn::MulAdd(wr, wr, hn::Mul(wi, wi));
        const Doubles re = hn::Div(hn::MulAdd(xr, wr, hn::Mul(xi, wi)), divisorNorm);
        const Doubles im = hn::Div(hn::MulSub(xi, wr, hn::Mul(xr, wi)), divisorNorm);
        const auto ordinaryDivisors =
            hn::And(hn::Gt(divisorNorm, hn::Zero(d)), hn::Le(divisorNorm, hn::Set(d, DBL_MAX)));
        if (hn::AllTrue(
                d, hn::And(ordinaryDivisors, hn::And(clearOfTies<8>(re), clearOfTies<8>(im))))) {
            storeParts(re, im, out + 2 * k);
            continue;
        }
        storeScalarValues(out, k, step, [&](std::size_t i) {
            return detail::quotientCountingZeros(CComplex(a[2 * i], a[2 * i + 1]),
                                                 CComplex(b[2 * i], b[2 * i + 1]), zeroDivisors);
        });
    }
    return k;
}

// real^2 + imag^2 of 2 L/2 values, as L doubles in order: each pair's
// squares added (in either order, the same sum), the even lanes kept.
HWY_INLINE Doubles sumsOfSquares(const float* parts) {
    const DoubleTag d;
    const std::size_t half = hn::Lanes(d);  // floats in half a vector's worth
    const Doubles low = loadWidened(parts), high = loadWidened(parts + half);
    const Doubles lowSquares = hn::Mul(low, low), highSquares = hn::Mul(high, high);
    return hn::Add(hn::ConcatEven(d, highSquares, lowSquares),
                   hn::ConcatOdd(d, highSquares, lowSquares));
}

// norm(z) and z.mag() lane by lane. The scalar forms' margin, 2^-51 of the
// value, is under 4 double ulps, so clearOfTies<4> holds back every lane
// they would round with care; a vector with any lane held back is done by
// the scalar forms.
template <bool kRoot>
HWY_INLINE std::size_t sumsOfSquaresVectors(const float* a, float* out, std::size_t n) {
    const DoubleTag d;
    const std::size_t step = valuesPerVector() * 2;
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        Doubles v = sumsOfSquares(a + 2 * k);
        if (kRoot) v = hn::Sqrt(v);
        if (hn::AllTrue(d, clearOfTies<4>(v))) {
            hn::StoreU(narrowed(v), FloatTag(), out + k);
            continue;
        }
        for (std::size_t i = k; i < k + step; ++i) {
            const CComplex z(a[2 * i], a[2 * i + 1]);
            out[i] = kRoot ? z.mag() : ::norm(z);
        }
    }
    return k;
}

static std::size_t Norm(const float* a, float* out, std::size_t n) {
    return sumsOfSquaresVectors<false>(a, out, n);
}

static std::size_t Magnitude(const float* a, float* out, std::size_t n) {
    return sumsOfSquaresVectors<true>(a, out, n);
}

// The terms a c, -b d (real) and a d, b c (imaginary) of each product, exact
// in double, added up lane by lane from -0, so that a sum of zeros has the
// sign a sum in any order gives it; and the squares of every part of a and
// of b. Four chains of sums and four of squares, two vectors a step, so that
// no addition waits for the one before.
static std::size_t SumProducts(const float* a, const float* b, std::size_t n, bool conjugate,
                               detail::DotSums& sums) {
    const std::size_t step = valuesPerVector();
    const DoubleTag d;
    const Doubles conjugation = conjugate ? signOfImagLanes() : hn::Zero(d);
    const Doubles negativeZero = hn::Set(d, -0.0);
    // Separate variables, as scalable vectors cannot be array elements.
    Doubles sum0 = negativeZero, sum1 = negativeZero, sum2 = negativeZero, sum3 = negativeZero;
    Doubles squaresA0 = hn::Zero(d), squaresB0 = hn::Zero(d), squaresA1 = hn::Zero(d),
            squaresB1 = hn::Zero(d);
    const auto add = [&](std::size_t k, Doubles& sumAa, Doubles& sumBb, Doubles& squaresA,
                         Doubles& squaresB) {
        const Doubles ab = loadWidened(a + 2 * k);
        const Doubles cd = hn::Xor(loadWidened(b + 2 * k), conjugation);
        const Doubles minusBb = hn::Xor(hn::DupOdd(ab), signOfRealLanes());
        sumAa = hn::MulAdd(hn::DupEven(ab), cd, sumAa);
        sumBb = hn::MulAdd(minusBb, hn::Reverse2(d, cd), sumBb);
        squaresA = hn::MulAdd(ab, ab, squaresA);
        squaresB = hn::MulAdd(cd, cd, squaresB);
    };
    std::size_t k = 0;
    for (; k + 2 * step <= n; k += 2 * step) {
        add(k, sum0, sum1, squaresA0, squaresB0);
        add(k + step, sum2, sum3, squaresA1, squaresB1);
    }
    if (k + step <= n) {
        add(k, sum0, sum1, squaresA0, squaresB0);
        k += step;
    }
    const Doubles total = hn::Add(hn::Add(sum0, sum1), hn::Add(sum2, sum3));
    const Doubles squaresOfA = hn::Add(squaresA0, squaresA1);
    const Doubles squaresOfB = hn::Add(squaresB0, squaresB1);
    double lanes[3][HWY_MAX_BYTES / sizeof(double)];
    hn::StoreU(total, d, lanes[0]);
    hn::StoreU(squaresOfA, d, lanes[1]);
    hn::StoreU(squaresOfB, d, lanes[2]);
    for (std::size_t i = 0; i < hn::Lanes(d); ++i) {
        sums.sum[i % 2] += lanes[0][i];
        sums.squares[0] += lanes[1][i];
        sums.squares[1] += lanes[2][i];
    }
    return k;
}

using Words = hn::Vec<hn::RebindToUnsigned<DoubleTag> >;

// cos and sin of r + quarters pi/2 for |r| <= pi/4 (a hair more does no
// harm), lane by lane, into c and s (out-parameters, as a scalable vector
// cannot be a member of a struct): the scalar kernel's series (sinCosOfReduced in
// ccomplex_double_kernels.h), whose bound, 2^-51.3 relative, fused
// multiply-adds only tighten, and its quarters: odd ones swap cos and sin,
// cos is negated in quarters 1 and 2, sin in 2 and 3.
HWY_INLINE void cosSinOfReduced(Doubles r, Words quarters, Doubles& c, Doubles& s) {
    using namespace ccomplex_kernels;
    const DoubleTag d;
    const hn::RebindToUnsigned<DoubleTag> du;
    const Doubles z = hn::Mul(r, r), z2 = hn::Mul(z, z), z4 = hn::Mul(z2, z2);
    const auto tail = [&](const double(&k)[8]) {
        const auto pair = [&](int i) {
            return hn::MulAdd(z, hn::Set(d, k[i + 1]), hn::Set(d, k[i]));
        };
        return hn::MulAdd(z4, hn::MulAdd(z2, pair(6), pair(4)), hn::MulAdd(z2, pair(2), pair(0)));
    };
    const Doubles sinR = hn::MulAdd(hn::Mul(r, z), tail(kSinTail), r);
    const Doubles cosR =
        hn::MulAdd(z2, tail(kCosTail), hn::NegMulAdd(z, hn::Set(d, 0.5), hn::Set(d, 1.0)));
    const Words one = hn::Set(du, 1), two = hn::Set(du, 2);
    const auto odd = hn::RebindMask(d, hn::Eq(hn::And(quarters, one), one));
    const auto negateCos = hn::RebindMask(d, hn::Eq(hn::And(hn::Add(quarters, one), two), two));
    const auto negateSin = hn::RebindMask(d, hn::Eq(hn::And(quarters, two), two));
    const Doubles swappedCos = hn::IfThenElse(odd, sinR, cosR);
    const Doubles swappedSin = hn::IfThenElse(odd, cosR, sinR);
    c = hn::IfThenElse(negateCos, hn::Neg(swappedCos), swappedCos);
    s = hn::IfThenElse(negateSin, hn::Neg(swappedSin), swappedSin);
}

// The integer nearest x, for |x| < 2^51, and its last bits: as
// nearestInteger does, from x + 1.5 2^52.
HWY_INLINE Doubles nearestInteger(Doubles x, Words& bits) {
    const DoubleTag d;
    const Doubles shifted = hn::Add(x, hn::Set(d, 0x1.8p52));
    bits = hn::BitCast(hn::RebindToUnsigned<DoubleTag>(), shifted);
    return hn::Sub(shifted, hn::Set(d, 0x1.8p52));
}

// cos y and sin y for |y| <= 2^19 as cosSinOfFloat computes them, within
// 2^-50 relative: y = k pi/2 + r by reduceSmallAngle's three parts of pi/2,
// k times the first two exact, and sin(-0) = -0.
HWY_INLINE void cosSinOfSmallAngle(Doubles y, Doubles& c, Doubles& s) {
    using namespace ccomplex_kernels;
    const DoubleTag d;
    Words quarters;
    const Doubles k = nearestInteger(hn::Mul(y, hn::Set(d, kTwoOverPi)), quarters);
    const Doubles r =
        hn::NegMulAdd(k, hn::Set(d, kHalfPiParts[2]),
                      hn::NegMulAdd(k, hn::Set(d, kHalfPiParts[1]),
                                    hn::NegMulAdd(k, hn::Set(d, kHalfPiParts[0]), y)));
    cosSinOfReduced(r, quarters, c, s);
    s = hn::IfThenElse(hn::Eq(y, hn::Zero(d)), y, s);
}

// Whether every lane's part v rounds to one float over the margin |v| 2^-47,
// which holds polar's and exp's parts (each within 2^-49.5 relative in
// these kernels); a NaN fails it here, for the scalar form to take.
HWY_INLINE bool roundsAlikeRelative(Doubles v) {
    const DoubleTag d;
    return hn::AllTrue(d, clearOfTies<64>(v));
}

// polar(m, y) lane by lane for finite m and |y| <= 2^19: m cos y and m sin
// y, each rounded once in double, within 2^-49.5 relative; the rest, and
// any vector whose margin fails, by the scalar form.
static std::size_t Polar(const float* magnitude, const float* angle, float* out, std::size_t n) {
    const DoubleTag d;
    const FloatTag f;
    const std::size_t step = hn::Lanes(d);
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        const Doubles m = hn::PromoteTo(d, hn::LoadU(f, magnitude + k));
        const Doubles y = hn::PromoteTo(d, hn::LoadU(f, angle + k));
        Doubles c, s;
        cosSinOfSmallAngle(y, c, s);
        const Doubles re = hn::Mul(m, c), im = hn::Mul(m, s);
        const bool ordinary =
            hn::AllTrue(d, hn::And(hn::IsFinite(m), hn::Le(hn::Abs(y), hn::Set(d, 0x1p19))));
        if (ordinary && roundsAlikeRelative(re) && roundsAlikeRelative(im)) {
            storeParts(re, im, out + 2 * k);
            continue;
        }
        storeScalarValues(out, k, step,
                          [&](std::size_t i) { return CComplex::polar(magnitude[i], angle[i]); });
    }
    return k;
}

// e^x lane by lane as expOf computes it, within 1.8u relative, for |x| <=
// 708, where 2^k is a normal double.
HWY_INLINE Doubles exponential(Doubles x) {
    using namespace ccomplex_kernels;
    const DoubleTag d;
    const hn::RebindToSigned<DoubleTag> di;
    Words unused;
    const Doubles k = nearestInteger(hn::Mul(x, hn::Set(d, kOneOverLn2)), unused);
    const Doubles rHi = hn::NegMulAdd(k, hn::Set(d, kLn2Hi), x);
    const Doubles rLo = hn::Neg(hn::Mul(k, hn::Set(d, kLn2Lo)));
    const Doubles r = hn::Add(rHi, rLo), r2 = hn::Mul(r, r), r4 = hn::Mul(r2, r2),
                  r8 = hn::Mul(r4, r4);
    const auto pair = [&](double c0, double c1) {
        return hn::MulAdd(r, hn::Set(d, c1), hn::Set(d, c0));
    };
    const Doubles q = hn::MulAdd(
        r8,
        hn::MulAdd(r2, pair(1.0 / 479001600, 1.0 / 6227020800),
                   pair(1.0 / 3628800, 1.0 / 39916800)),
        hn::MulAdd(r4, hn::MulAdd(r2, pair(1.0 / 40320, 1.0 / 362880), pair(1.0 / 720, 1.0 / 5040)),
                   hn::MulAdd(r2, pair(1.0 / 24, 1.0 / 120), pair(1.0 / 2, 1.0 / 6))));
    // 1 + rHi as a double-double, |rHi| < 1: quickTwoSum.
    const Doubles one = hn::Set(d, 1.0);
    const Doubles leadHi = hn::Add(one, rHi), leadLo = hn::Sub(rHi, hn::Sub(leadHi, one));
    const Doubles value = hn::Add(leadHi, hn::Add(leadLo, hn::MulAdd(r2, q, rLo)));
    // 2^k from its bits.
    const auto exponentBits = hn::ShiftLeft<52>(hn::Add(hn::ConvertTo(di, k), hn::Set(di, 1023)));
    return hn::Mul(value, hn::BitCast(d, exponentBits));
}

// exp(x + jy) lane by lane for |x| <= 708 and |y| <= 2^19: e^x cos y + j e^x
// sin y, each within 2^-49.5 relative (e^x + jy where y is zero); the
// rest, and any vector whose margin fails, by the scalar form.
static std::size_t Exp(const float* a, float* out, std::size_t n) {
    const DoubleTag d;
    const std::size_t step = hn::Lanes(d);
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        Doubles x, y;
        loadParts(a + 2 * k, x, y);
        const bool ordinary = hn::AllTrue(d, hn::And(hn::Le(hn::Abs(x), hn::Set(d, 708.0)),
                                                     hn::Le(hn::Abs(y), hn::Set(d, 0x1p19))));
        if (ordinary) {
            const Doubles m = exponential(x);
            Doubles c, s;
            cosSinOfSmallAngle(y, c, s);
            const Doubles re = hn::Mul(m, c), im = hn::Mul(m, s);
            if (roundsAlikeRelative(re) && roundsAlikeRelative(im)) {
                storeParts(re, im, out + 2 * k);
                continue;
            }
        }
        storeScalarValues(out, k, step,
                          [&](std::size_t i) { return ::exp(CComplex(a[2 * i], a[2 * i + 1])); });
    }
    return k;
}

// z.ang() lane by lane for finite z off the axes' zeros: atan2Of's octant
// and quotient, octantAngle's table entry (gathered) and series, within
// 3.2u relative, under the margin 2^-49; the rest, and any vector whose
// margin fails, by the scalar form.
static std::size_t Angle(const float* a, float* out, std::size_t n) {
    using namespace ccomplex_kernels;
    const DoubleTag d;
    const FloatTag f;
    const hn::RebindToSigned<DoubleTag> di;
    const std::size_t step = hn::Lanes(d);
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        Doubles x, y;
        loadParts(a + 2 * k, x, y);
        const Doubles ax = hn::Abs(x), ay = hn::Abs(y);
        const auto ordinary = hn::And(hn::And(hn::IsFinite(x), hn::IsFinite(y)),
                                      hn::And(hn::Gt(ax, hn::Zero(d)), hn::Gt(ay, hn::Zero(d))));
        const auto steep = hn::Gt(ay, ax);
        // In [0, 1] in every lane, 0 in those left to the scalar form, so
        // that the table index below stays in the table.
        const Doubles q = hn::IfThenElseZero(
            ordinary, hn::Div(hn::IfThenElse(steep, ax, ay), hn::IfThenElse(steep, ay, ax)));
        // The octant: 0 atan q, 1 pi/2 - atan q, 2 pi/2 + atan q, 3 pi - atan q.
        const auto negativeX = hn::Lt(x, hn::Zero(d));
        const Doubles one = hn::Set(d, 1.0), two = hn::Set(d, 2.0), three = hn::Set(d, 3.0);
        const Doubles octant = hn::IfThenElse(negativeX, hn::IfThenElse(steep, two, three),
                                              hn::IfThenElse(steep, one, hn::Zero(d)));
        // j = 0 below q = 1/8, else the nearest eighth; d = (q - c)/(1 + q c).
        const Doubles j =
            hn::IfThenZeroElse(hn::Lt(q, hn::Set(d, 0.125)),
                               hn::Floor(hn::MulAdd(q, hn::Set(d, 8.0), hn::Set(d, 0.5))));
        const Doubles c = hn::Mul(j, hn::Set(d, 0.125));
        const Doubles dq = hn::Div(hn::Sub(q, c), hn::MulAdd(q, c, one));
        const Doubles z = hn::Mul(dq, dq), z2 = hn::Mul(z, z), z4 = hn::Mul(z2, z2),
                      z8 = hn::Mul(z4, z4);
        const auto pair = [&](double c0, double c1) {
            return hn::MulAdd(z, hn::Set(d, c1), hn::Set(d, c0));
        };
        const Doubles p = hn::MulAdd(
            z8, hn::Set(d, -1.0 / 19),
            hn::MulAdd(z4, hn::MulAdd(z2, pair(-1.0 / 15, 1.0 / 17), pair(-1.0 / 11, 1.0 / 13)),
                       hn::MulAdd(z2, pair(-1.0 / 7, 1.0 / 9), pair(-1.0 / 3, 1.0 / 5))));
        const Doubles atanD = hn::MulAdd(hn::Mul(dq, z), p, dq);
        // kOctantAngles[octant][j], as 9 octant + j into the flat table.
        const auto index = hn::ConvertTo(di, hn::MulAdd(octant, hn::Set(d, 9.0), j));
        const double* table = &kOctantAngles[0][0].hi;
        const Doubles hi = hn::GatherIndex(d, table, hn::Add(index, index));
        const Doubles lo = hn::GatherIndex(d, table + 1, hn::Add(index, index));
        const auto oddOctant = hn::Or(hn::Eq(octant, one), hn::Eq(octant, three));
        const Doubles angle =
            hn::Add(hi, hn::Add(lo, hn::IfThenElse(oddOctant, hn::Neg(atanD), atanD)));
        const Doubles signedAngle = hn::CopySign(angle, y);
        if (hn::AllTrue(d, ordinary) && hn::AllTrue(d, clearOfTies<16>(signedAngle))) {
            hn::StoreU(narrowed(signedAngle), f, out + k);
            continue;
        }
        for (std::size_t i = k; i < k + step; ++i) out[i] = CComplex(a[2 * i], a[2 * i + 1]).ang();
    }
    return k;
}

// rotate's fast path lane by lane, one value per lane, in planar form. Each
// lane's phase is kept as the leading 128 bits of its quarter turns (exact
// but for 2^-126 of a quarter turn per vector added, far below any margin
// here). Every kAnchorPeriod-th vector takes cos and sin of each lane's
// fraction as ccomplex_kernels::rotatedFast computes them, with its margin;
// the vectors between turn the last cos and sin by one vector's advance, a
// complex product in double, with the wider margin kRecurrenceError argues.
// Lanes at a zero fraction (whose zero sine's sign the scalar form fixes)
// are left out too. A vector with any lane left out is done by the scalar
// form at its exact phases; the recurrence goes on beside it.
constexpr int kAnchorPeriod = 32;

// Each part of cos and sin within 2^-44 of its exact value, up to
// kAnchorPeriod - 1 turns after an anchor. A unit complex value P computed
// with error e (in modulus) times the advance R computed with error D, |D|
// <= 2^-50 + 2^-62.5 (2^-50 relative and 2^-63 absolute in each part), is
// within e (1 + |D|) + |D| of P R before rounding; each part's products and
// difference (or fused multiply-add) add at most 3u (|C cos| + |S sin|) <=
// 3u (1 + e) (1 + |D|), 2^-50.9 in modulus. So a turn adds at most 2^-49.3,
// and from the anchor's 2^-49.9, 31 turns stay within 32 2^-49.3 = 2^-44.3.
// The parts' own products and difference are within 2^-48 (|ar c| + |ai s|),
// as on the anchor, so the absolute term 2^-44 (|ar| + |ai|) takes the place
// of the anchor's 2^-62 (|ar| + |ai|).
constexpr double kRecurrenceError = 0x1p-44;

static std::size_t Rotate(const float* a, float* out, std::size_t n,
                          const ccomplex_kernels::QuarterTurns& start,
                          const ccomplex_kernels::QuarterTurns& increment) {
    using namespace ccomplex_kernels;
    const DoubleTag d;
    const FloatTag f;
    const hn::RebindToUnsigned<DoubleTag> du;
    const hn::RebindToSigned<DoubleTag> di;
    const std::size_t step = hn::Lanes(d);
    // The leading 128 bits of each lane's turns, and of a vector's worth of
    // increments.
    std::uint64_t high[HWY_MAX_BYTES / sizeof(double)], low[HWY_MAX_BYTES / sizeof(double)];
    for (std::size_t j = 0; j < step; ++j) {
        const QuarterTurns lane = start + times(increment, j);
        high[j] = lane.words[0];
        low[j] = lane.words[1];
    }
    Words laneHigh = hn::LoadU(du, high), laneLow = hn::LoadU(du, low);
    const QuarterTurns advance = times(increment, step);
    const Words advanceHigh = hn::Set(du, advance.words[0]);
    const Words advanceLow = hn::Set(du, advance.words[1]);
    // The advance as a rotation, as rotatedFast computes cos and sin.
    const CosSin<double> turn = cosSinOfLeadingPhase(leadingPhase(advance));
    const Doubles turnCos = hn::Set(d, turn.cos), turnSin = hn::Set(d, turn.sin);
    const Doubles relative = hn::Set(d, kRotationRelativeError);
    Doubles c = hn::Zero(d), s = hn::Zero(d);
    std::size_t k = 0;
    for (int sinceAnchor = 0; k + step <= n;
         k += step, sinceAnchor = (sinceAnchor + 1) % kAnchorPeriod) {
        Doubles ar, ai;
        loadParts(a + 2 * k, ar, ai);
        // f = the 64 bits after the two of whole quarters, as a signed
        // fraction; quarters, plus one where f is negative.
        const Words fractionBits = hn::Or(hn::ShiftLeft<2>(laneHigh), hn::ShiftRight<62>(laneLow));
        Doubles absolute;
        if (sinceAnchor == 0) {
            const Words quarters =
                hn::Add(hn::ShiftRight<62>(laneHigh), hn::ShiftRight<63>(fractionBits));
            const Doubles fraction =
                hn::Mul(hn::ConvertTo(d, hn::BitCast(di, fractionBits)), hn::Set(d, 0x1p-64));
            const Doubles r = hn::MulAdd(fraction, hn::Set(d, kHalfPiDD.hi),
                                         hn::Mul(fraction, hn::Set(d, kHalfPiDD.lo)));
            cosSinOfReduced(r, quarters, c, s);
            absolute = hn::Set(d, kRotationAbsoluteError);
        } else {
            const Doubles turnedCos = hn::MulSub(c, turnCos, hn::Mul(s, turnSin));
            s = hn::MulAdd(c, turnSin, hn::Mul(s, turnCos));
            c = turnedCos;
            absolute = hn::Set(d, kRecurrenceError);
        }
        const Doubles arC = hn::Mul(ar, c), aiS = hn::Mul(ai, s), arS = hn::Mul(ar, s),
                      aiC = hn::Mul(ai, c);
        const Doubles re = hn::Sub(arC, aiS), im = hn::Add(arS, aiC);
        const Doubles size = hn::Mul(absolute, hn::Add(hn::Abs(ar), hn::Abs(ai)));
        const Doubles reMargin = hn::MulAdd(relative, hn::Add(hn::Abs(arC), hn::Abs(aiS)), size);
        const Doubles imMargin = hn::MulAdd(relative, hn::Add(hn::Abs(arS), hn::Abs(aiC)), size);
        // An infinite or NaN part of a makes both margins infinite or NaN,
        // which no part exceeds.
        const auto clear =
            hn::And(hn::And(hn::Gt(hn::Abs(re), reMargin), hn::Gt(hn::Abs(im), imMargin)),
                    hn::RebindMask(d, hn::Ne(fractionBits, hn::Zero(du))));
        // Where both ends of a part's margin round to one float, every value
        // between them, the exact part among them, rounds to it.
        const hn::Vec<FloatTag> reLow = narrowed(hn::Sub(re, reMargin));
        const hn::Vec<FloatTag> imLow = narrowed(hn::Sub(im, imMargin));
        if (hn::AllTrue(d, clear) &&
            hn::AllTrue(f, hn::And(hn::Eq(reLow, narrowed(hn::Add(re, reMargin))),
                                   hn::Eq(imLow, narrowed(hn::Add(im, imMargin)))))) {
            hn::StoreInterleaved2(reLow, imLow, f, out + 2 * k);
        } else {
            QuarterTurns turns = start + times(increment, k);
            for (std::size_t i = k; i < k + step; ++i, turns = turns + increment) {
                const CComplex rotated = rotatedElement(CComplex(a[2 * i], a[2 * i + 1]), turns);
                out[2 * i] = rotated.real;
                out[2 * i + 1] = rotated.imag;
            }
        }
        // The next vector's phases: 128-bit sums, the low words' carry found
        // from their top bits.
        const Words sumLow = hn::Add(laneLow, advanceLow);
        const Words carry = hn::ShiftRight<63>(
            hn::Or(hn::And(laneLow, advanceLow), hn::AndNot(sumLow, hn::Or(laneLow, advanceLow))));
        laneHigh = hn::Add(hn::Add(laneHigh, advanceHigh), carry);
        laneLow = sumLow;
    }
    return k;
}
#endif  // HWY_TARGET == HWY_SCALAR

}  // namespace HWY_NAMESPACE
}  // namespace ccomplex_arrays
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace ccomplex_arrays {

HWY_EXPORT(Multiply);
HWY_EXPORT(MultiplyConjugate);
HWY_EXPORT(ScaleByComplex);
HWY_EXPORT(ScaleByFloat);
HWY_EXPORT(Divide);
HWY_EXPORT(Norm);
HWY_EXPORT(Magnitude);
HWY_EXPORT(SumProducts);
HWY_EXPORT(Rotate);
HWY_EXPORT(Polar);
HWY_EXPORT(Exp);
HWY_EXPORT(Angle);

namespace {

using detail::partsOf;

// Whether [first, first + count) and [other, other + otherCount) share some
// but not all of their bytes: the one overlap the operations do not allow.
[[maybe_unused]] bool overlapsInPart(const void* first, std::size_t size, const void* other,
                                     std::size_t otherSize) noexcept {
    const std::less<const char*> before;
    const auto* begin = static_cast<const char*>(first);
    const auto* otherBegin = static_cast<const char*>(other);
    const bool disjoint =
        !before(otherBegin, begin + size) || !before(begin, otherBegin + otherSize);
    return !disjoint && !(begin == otherBegin && size == otherSize);
}

template <class Output, class Input>
void assertNoPartialOverlap(const Output* out, const Input* in, std::size_t n) noexcept {
    assert(in == nullptr || !overlapsInPart(out, n * sizeof(Output), in, n * sizeof(Input)));
    static_cast<void>(out);
    static_cast<void>(in);
    static_cast<void>(n);
}

// The scalar operation on out[k] for k from `done` on: the values the vector
// kernels left.
template <class Operation>
void finishWith(std::size_t done, std::size_t n, Operation operation) noexcept {
    for (std::size_t k = done; k < n; ++k) operation(k);
}

CComplex sumOfProducts(const CComplex* a, const CComplex* b, std::size_t n,
                       bool conjugate) noexcept;

}  // namespace

void multiply(const CComplex* a, const CComplex* b, CComplex* out, std::size_t n) noexcept {
    if (n == 0) return;
    assertNoPartialOverlap(out, a, n);
    assertNoPartialOverlap(out, b, n);
    const std::size_t done =
        HWY_DYNAMIC_DISPATCH(Multiply)(partsOf(a), partsOf(b), partsOf(out), n);
    finishWith(done, n, [&](std::size_t k) { out[k] = a[k] * b[k]; });
}

void multiplyConjugate(const CComplex* a, const CComplex* b, CComplex* out,
                       std::size_t n) noexcept {
    if (n == 0) return;
    assertNoPartialOverlap(out, a, n);
    assertNoPartialOverlap(out, b, n);
    const std::size_t done =
        HWY_DYNAMIC_DISPATCH(MultiplyConjugate)(partsOf(a), partsOf(b), partsOf(out), n);
    finishWith(done, n, [&](std::size_t k) { out[k] = a[k] * conj(b[k]); });
}

void scale(const CComplex* a, CComplex s, CComplex* out, std::size_t n) noexcept {
    if (n == 0) return;
    assertNoPartialOverlap(out, a, n);
    const std::size_t done = HWY_DYNAMIC_DISPATCH(ScaleByComplex)(partsOf(a), s, partsOf(out), n);
    finishWith(done, n, [&](std::size_t k) { out[k] = a[k] * s; });
}

void scale(const CComplex* a, float s, CComplex* out, std::size_t n) noexcept {
    if (n == 0) return;
    assertNoPartialOverlap(out, a, n);
    const std::size_t done = HWY_DYNAMIC_DISPATCH(ScaleByFloat)(partsOf(a), s, partsOf(out), n);
    finishWith(done, n, [&](std::size_t k) { out[k] = a[k] * s; });
}

std::size_t divide(const CComplex* a, const CComplex* b, CComplex* out, std::size_t n) noexcept {
    if (n == 0) return 0;
    assertNoPartialOverlap(out, a, n);
    assertNoPartialOverlap(out, b, n);
    std::size_t zeroDivisors = 0;
    const std::size_t done =
        HWY_DYNAMIC_DISPATCH(Divide)(partsOf(a), partsOf(b), partsOf(out), n, zeroDivisors);
    finishWith(done, n, [&](std::size_t k) {
        out[k] = detail::quotientCountingZeros(a[k], b[k], zeroDivisors);
    });
    if (zeroDivisors != 0) ccomplex_detail::reportZeroDivisor();
    return zeroDivisors;
}

void magnitude(const CComplex* a, float* out, std::size_t n) noexcept {
    if (n == 0) return;
    assertNoPartialOverlap(out, a, n);
    const std::size_t done = HWY_DYNAMIC_DISPATCH(Magnitude)(partsOf(a), out, n);
    finishWith(done, n, [&](std::size_t k) { out[k] = a[k].mag(); });
}

void norm(const CComplex* a, float* out, std::size_t n) noexcept {
    if (n == 0) return;
    assertNoPartialOverlap(out, a, n);
    const std::size_t done = HWY_DYNAMIC_DISPATCH(Norm)(partsOf(a), out, n);
    finishWith(done, n, [&](std::size_t k) { out[k] = ::norm(a[k]); });
}

void angle(const CComplex* a, float* out, std::size_t n) noexcept {
    assertNoPartialOverlap(out, a, n);
    const std::size_t done = HWY_DYNAMIC_DISPATCH(Angle)(partsOf(a), out, n);
    finishWith(done, n, [&](std::size_t k) { out[k] = a[k].ang(); });
}

void polar(const float* magnitude, const float* angle, CComplex* out, std::size_t n) noexcept {
    assertNoPartialOverlap(out, magnitude, n);
    assertNoPartialOverlap(out, angle, n);
    const std::size_t done = HWY_DYNAMIC_DISPATCH(Polar)(magnitude, angle, partsOf(out), n);
    finishWith(done, n, [&](std::size_t k) { out[k] = CComplex::polar(magnitude[k], angle[k]); });
}

void exp(const CComplex* a, CComplex* out, std::size_t n) noexcept {
    assertNoPartialOverlap(out, a, n);
    const std::size_t done = HWY_DYNAMIC_DISPATCH(Exp)(partsOf(a), partsOf(out), n);
    finishWith(done, n, [&](std::size_t k) { out[k] = ::exp(a[k]); });
}

// The phases in quarter turns, fixed-point: phase's, then step's added once
// per element, exactly. An infinite or NaN element is multiplied by the
// rounded e^{j theta}, as a * polar(1, theta) would be.
void rotate(const CComplex* a, float phase, float step, CComplex* out, std::size_t n) noexcept {
    assertNoPartialOverlap(out, a, n);
    if (!std::isfinite(phase) || !std::isfinite(step)) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        finishWith(0, n, [&](std::size_t k) { out[k] = a[k] * CComplex(nan, nan); });
        return;
    }
    using namespace ccomplex_kernels;
    const QuarterTurns start = quarterTurnsOfFloat(phase), increment = quarterTurnsOfFloat(step);
    const std::size_t done =
        HWY_DYNAMIC_DISPATCH(Rotate)(partsOf(a), partsOf(out), n, start, increment);
    QuarterTurns turns = start + times(increment, done);
    for (std::size_t k = done; k < n; ++k, turns = turns + increment) {
        out[k] = rotatedElement(a[k], turns);
    }
}

CComplex dot(const CComplex* a, const CComplex* b, std::size_t n) noexcept {
    return sumOfProducts(a, b, n, false);
}

CComplex dotConjugate(const CComplex* a, const CComplex* b, std::size_t n) noexcept {
    return sumOfProducts(a, b, n, true);
}

namespace {

// The exact sum of the terms, rounded once: every product of floats is a
// double from 2^-298 to below 2^256, which ExactSum holds. An exact zero is
// +0, but -0 where every term is -0, as a double sum gives it.
CComplex exactSumOfProducts(const CComplex* a, const CComplex* b, std::size_t n,
                            bool conjugate) noexcept {
    ccomplex_kernels::ExactSum exact[2];
    bool negativeZeros[2] = {true, true};
    for (std::size_t k = 0; k < n; ++k) {
        double terms[2][2];
        detail::productTerms(a[k], b[k], conjugate, terms);
        for (int part = 0; part < 2; ++part) {
            for (const double term : terms[part]) {
                exact[part].add(term);
                negativeZeros[part] =
                    negativeZeros[part] && std::fpclassify(term) == FP_ZERO && std::signbit(term);
            }
        }
    }
    float parts[2];
    for (int part = 0; part < 2; ++part) {
        parts[part] = exact[part].nearestFloat();
        if (negativeZeros[part]) parts[part] = -0.0f;
    }
    return CComplex(parts[0], parts[1]);
}

// Each part of the sum from the vector kernel's double sums: S, the terms'
// sum, and Qa and Qb, the squares' sums. Recursive summation of h terms, in
// any order or tree, is within (h - 1) u (u = 2^-53) of the sum of their
// magnitudes, which is at most 2 |a| |b| (the arrays' 2-norms): for each k,
// |ac| + |bd| and |ad| + |bc| are at most (|a| + |b|)(|c| + |d|) <= 2 |a_k|
// |b_k|, and Cauchy-Schwarz sums those. For h = 2n + 64 (the terms and the
// lanes' partial sums), S lies within 2 h u sqrt(Qa Qb) of the exact sum,
// and the margin takes twice that, which covers Qa's and Qb's own errors
// (2n u relative) for n below 2^50, plus u |S| for the rounding of S -+ the
// margin. Where both ends round to one float and S stands clear of zero
// (whose sign the margin would hide), that float is the exact sum's; else
// the exact sum. No element nonzero: S is the sum of the zero terms; an
// infinite or NaN element: S is what the double sum gives.
float roundedPart(double sum, double normProduct, std::size_t n, bool& certain) noexcept {
    if (!std::isfinite(normProduct) || !(normProduct > 0.0)) return static_cast<float>(sum);
    const double terms = 2.0 * static_cast<double>(n) + 64.0;
    const double margin = terms * 0x1p-51 * normProduct + 0x1p-53 * std::fabs(sum);
    certain = certain && std::fabs(sum) > margin && ccomplex_detail::roundsAlikeWithin(sum, margin);
    return static_cast<float>(sum);
}

CComplex sumOfProducts(const CComplex* a, const CComplex* b, std::size_t n,
                       bool conjugate) noexcept {
    if (n == 0) return CComplex();
    detail::DotSums sums = {{-0.0, -0.0}, {0.0, 0.0}};
    const std::size_t done =
        HWY_DYNAMIC_DISPATCH(SumProducts)(partsOf(a), partsOf(b), n, conjugate, sums);
    for (std::size_t k = done; k < n; ++k) {
        double terms[2][2];
        detail::productTerms(a[k], b[k], conjugate, terms);
        for (int part = 0; part < 2; ++part) {
            for (const double term : terms[part]) sums.sum[part] += term;
        }
        sums.squares[0] += ccomplex_detail::squaredMagnitude(a[k]);
        sums.squares[1] += ccomplex_detail::squaredMagnitude(b[k]);
    }
    const double normProduct = std::sqrt(sums.squares[0]) * std::sqrt(sums.squares[1]);
    bool certain = true;
    const CComplex rounded(roundedPart(sums.sum[0], normProduct, n, certain),
                           roundedPart(sums.sum[1], normProduct, n, certain));
    return certain ? rounded : exactSumOfProducts(a, b, n, conjugate);
}

}  // namespace

// The vector forms.

namespace {

std::size_t commonSize(const std::vector<CComplex>& a, const std::vector<CComplex>& b) noexcept {
    assert(a.size() == b.size());
    return a.size() < b.size() ? a.size() : b.size();
}

// `batch` over one array, or two, into a new one of their size.
template <typename Out, typename Batch>
std::vector<Out> resultOf(Batch batch, const std::vector<CComplex>& a) {
    std::vector<Out> out(a.size());
    batch(a.data(), out.data(), out.size());
    return out;
}

template <typename Batch>
std::vector<CComplex> resultOf(Batch batch, const std::vector<CComplex>& a,
                               const std::vector<CComplex>& b) {
    std::vector<CComplex> out(commonSize(a, b));
    batch(a.data(), b.data(), out.data(), out.size());
    return out;
}

using Binary = void (*)(const CComplex*, const CComplex*, CComplex*, std::size_t) noexcept;
using ToFloats = void (*)(const CComplex*, float*, std::size_t) noexcept;
using ToValues = void (*)(const CComplex*, CComplex*, std::size_t) noexcept;

}  // namespace

std::vector<CComplex> multiply(const std::vector<CComplex>& a, const std::vector<CComplex>& b) {
    return resultOf(static_cast<Binary>(multiply), a, b);
}

std::vector<CComplex> multiplyConjugate(const std::vector<CComplex>& a,
                                        const std::vector<CComplex>& b) {
    return resultOf(static_cast<Binary>(multiplyConjugate), a, b);
}

std::vector<CComplex> divide(const std::vector<CComplex>& a, const std::vector<CComplex>& b) {
    return resultOf([](const CComplex* x, const CComplex* y, CComplex* out,
                       std::size_t n) { divide(x, y, out, n); },
                    a, b);
}

std::vector<float> magnitude(const std::vector<CComplex>& a) {
    return resultOf<float>(static_cast<ToFloats>(magnitude), a);
}

std::vector<float> norm(const std::vector<CComplex>& a) {
    return resultOf<float>(static_cast<ToFloats>(norm), a);
}

std::vector<float> angle(const std::vector<CComplex>& a) {
    return resultOf<float>(static_cast<ToFloats>(angle), a);
}

std::vector<CComplex> exp(const std::vector<CComplex>& a) {
    return resultOf<CComplex>(static_cast<ToValues>(exp), a);
}

CComplex dot(const std::vector<CComplex>& a, const std::vector<CComplex>& b) noexcept {
    return dot(a.data(), b.data(), commonSize(a, b));
}

CComplex dotConjugate(const std::vector<CComplex>& a, const std::vector<CComplex>& b) noexcept {
    return dotConjugate(a.data(), b.data(), commonSize(a, b));
}

}  // namespace ccomplex_arrays
#endif  // HWY_ONCE
