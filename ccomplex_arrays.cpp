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

// Both parts zero, of either sign: a divisor that gives 0 + j0.
inline bool isZero(const CComplex& z) noexcept {
    return std::fpclassify(z.real) == FP_ZERO && std::fpclassify(z.imag) == FP_ZERO;
}

// The partial sums of a dot product's terms, real part then imaginary: their
// double sums and the double sums of their magnitudes.
struct DotSums {
    double sum[2];
    double magnitudeSum[2];
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
std::size_t Multiply(const float*, const float*, float*, std::size_t) { return 0; }
std::size_t MultiplyConjugate(const float*, const float*, float*, std::size_t) { return 0; }
std::size_t ScaleByComplex(const float*, CComplex, float*, std::size_t) { return 0; }
std::size_t ScaleByFloat(const float*, float, float*, std::size_t) { return 0; }
std::size_t Divide(const float*, const float*, float*, std::size_t, std::size_t&) { return 0; }
std::size_t Norm(const float*, float*, std::size_t) { return 0; }
std::size_t Magnitude(const float*, float*, std::size_t) { return 0; }
std::size_t SumProducts(const float*, const float*, std::size_t, bool, detail::DotSums&) {
    return 0;
}
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

// Whether every lane's v - margin and v + margin round to the same float,
// the scalar operations' test, so that the exact value rounds to v's float.
HWY_INLINE bool roundsAlikeWithin(Doubles v, Doubles margin) {
    const FloatTag f;
    return hn::AllFalse(f, hn::Lt(narrowed(hn::Sub(v, margin)), narrowed(hn::Add(v, margin))));
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

std::size_t Multiply(const float* a, const float* b, float* out, std::size_t n) {
    return multiplyVectors(a, b, out, n, false);
}

std::size_t MultiplyConjugate(const float* a, const float* b, float* out, std::size_t n) {
    return multiplyVectors(a, b, out, n, true);
}

std::size_t ScaleByComplex(const float* a, CComplex s, float* out, std::size_t n) {
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
std::size_t ScaleByFloat(const float* a, float s, float* out, std::size_t n) {
    const hn::ScalableTag<float> f;
    const std::size_t step = hn::Lanes(f) / 2;
    const auto factor = hn::Set(f, s);
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        hn::StoreU(hn::Mul(hn::LoadU(f, a + 2 * k), factor), f, out + 2 * k);
    }
    return k;
}

// The quotient as the scalar one computes it: d = wr^2 + wi^2 and the
// numerators (xr wr + xi wi, xi wr - xr wi), each rounded once, divided by
// d. The scalar quotient rounds each part to float unless it lies within 8
// double ulps of a tie (or below 2^-126), where it rounds the exact value;
// the margin 2^-50 |q|, at least 128 double ulps, holds every such lane back,
// and where a lane passes, its part is within 3 units of 2^-53 of its exact
// value, inside the margin, so its rounding is the exact value's either way.
// A vector with any lane held back, or with a divisor that is zero, infinite
// or NaN, is done by the scalar quotient, zero divisors counted, not written.
std::size_t Divide(const float* a, const float* b, float* out, std::size_t n,
                   std::size_t& zeroDivisors) {
    const std::size_t step = valuesPerVector();
    const DoubleTag d;
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        const Doubles x = loadWidened(a + 2 * k), w = loadWidened(b + 2 * k);
        const Doubles squares = hn::Mul(w, w);
        const Doubles divisorNorm = hn::Add(squares, hn::Reverse2(d, squares));
        const Doubles wiMinusWi = hn::Xor(hn::DupOdd(w), signOfImagLanes());
        const Doubles numerators =
            hn::MulAdd(x, hn::DupEven(w), hn::Mul(hn::Reverse2(d, x), wiMinusWi));
        const Doubles q = hn::Div(numerators, divisorNorm);
        const bool ordinaryDivisors = hn::AllTrue(
            d, hn::And(hn::Gt(divisorNorm, hn::Zero(d)), hn::Le(divisorNorm, hn::Set(d, DBL_MAX))));
        if (ordinaryDivisors && roundsAlikeWithin(q, hn::Mul(hn::Abs(q), hn::Set(d, 0x1p-50)))) {
            storeNarrowed(q, out + 2 * k);
            continue;
        }
        for (std::size_t i = k; i < k + step; ++i) {
            const CComplex dividend(a[2 * i], a[2 * i + 1]), divisor(b[2 * i], b[2 * i + 1]);
            CComplex quotient;  // 0 + j0 for a zero divisor
            if (detail::isZero(divisor)) {
                ++zeroDivisors;
            } else {
                quotient = dividend / divisor;
            }
            out[2 * i] = quotient.real;
            out[2 * i + 1] = quotient.imag;
        }
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
    return hn::ConcatEven(d, hn::Add(highSquares, hn::Reverse2(d, highSquares)),
                          hn::Add(lowSquares, hn::Reverse2(d, lowSquares)));
}

// norm(z) and z.mag() lane by lane, with the scalar forms' margin tests; a
// vector with any lane that fails them is done by the scalar forms.
template <bool kRoot>
HWY_INLINE std::size_t sumsOfSquaresVectors(const float* a, float* out, std::size_t n) {
    const DoubleTag d;
    const std::size_t step = valuesPerVector() * 2;
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        Doubles v = sumsOfSquares(a + 2 * k);
        if (kRoot) v = hn::Sqrt(v);
        if (roundsAlikeWithin(v, hn::Mul(v, hn::Set(d, 0x1p-51)))) {
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

std::size_t Norm(const float* a, float* out, std::size_t n) {
    return sumsOfSquaresVectors<false>(a, out, n);
}

std::size_t Magnitude(const float* a, float* out, std::size_t n) {
    return sumsOfSquaresVectors<true>(a, out, n);
}

// The terms a c, -b d (real) and a d, b c (imaginary) of each product, exact
// in double, added up lane by lane, and their magnitudes beside them, from
// -0 so that a sum of zeros has the sign a sum in any order gives it.
std::size_t SumProducts(const float* a, const float* b, std::size_t n, bool conjugate,
                        detail::DotSums& sums) {
    const std::size_t step = valuesPerVector();
    const DoubleTag d;
    const Doubles conjugation = conjugate ? signOfImagLanes() : hn::Zero(d);
    Doubles sum = hn::Set(d, -0.0), magnitudeSum = hn::Zero(d);
    std::size_t k = 0;
    for (; k + step <= n; k += step) {
        const Doubles ab = loadWidened(a + 2 * k);
        const Doubles cd = hn::Xor(loadWidened(b + 2 * k), conjugation);
        const Doubles dc = hn::Reverse2(d, cd);
        const Doubles aa = hn::DupEven(ab), minusBb = hn::Xor(hn::DupOdd(ab), signOfRealLanes());
        sum = hn::MulAdd(aa, cd, sum);
        sum = hn::MulAdd(minusBb, dc, sum);
        magnitudeSum = hn::MulAdd(hn::Abs(aa), hn::Abs(cd), magnitudeSum);
        magnitudeSum = hn::MulAdd(hn::Abs(minusBb), hn::Abs(dc), magnitudeSum);
    }
    double lanes[HWY_MAX_BYTES / sizeof(double)], magnitudes[HWY_MAX_BYTES / sizeof(double)];
    hn::StoreU(sum, d, lanes);
    hn::StoreU(magnitudeSum, d, magnitudes);
    for (std::size_t i = 0; i < hn::Lanes(d); ++i) {
        sums.sum[i % 2] += lanes[i];
        sums.magnitudeSum[i % 2] += magnitudes[i];
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
        if (detail::isZero(b[k])) {
            ++zeroDivisors;
            out[k] = CComplex();
        } else {
            out[k] = a[k] / b[k];
        }
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
    finishWith(0, n, [&](std::size_t k) { out[k] = a[k].ang(); });
}

void polar(const float* magnitude, const float* angle, CComplex* out, std::size_t n) noexcept {
    assertNoPartialOverlap(out, magnitude, n);
    assertNoPartialOverlap(out, angle, n);
    finishWith(0, n, [&](std::size_t k) { out[k] = CComplex::polar(magnitude[k], angle[k]); });
}

void exp(const CComplex* a, CComplex* out, std::size_t n) noexcept {
    assertNoPartialOverlap(out, a, n);
    finishWith(0, n, [&](std::size_t k) { out[k] = ::exp(a[k]); });
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
    const QuarterTurns increment = quarterTurnsOfFloat(step);
    QuarterTurns turns = quarterTurnsOfFloat(phase);
    for (std::size_t k = 0; k < n; ++k, turns = turns + increment) {
        const SplitPhase split = splitPhase(turns);
        if (std::isfinite(a[k].real) && std::isfinite(a[k].imag)) {
            out[k] = rotatedCorrectly(a[k], split);
        } else {
            const CosSin<double> cs =
                cosSinOf(ReducedAngle<double>{fractionOf(split) * kHalfPiDD.hi, split.quarters});
            out[k] = a[k] * CComplex(static_cast<float>(cs.cos), static_cast<float>(cs.sin));
        }
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
// double from 2^-298 to below 2^256, which ExactSum holds.
CComplex exactSumOfProducts(const CComplex* a, const CComplex* b, std::size_t n,
                            bool conjugate) noexcept {
    ccomplex_kernels::ExactSum real, imag;
    const double sign = conjugate ? -1.0 : 1.0;
    for (std::size_t k = 0; k < n; ++k) {
        const double ar = static_cast<double>(a[k].real), ai = static_cast<double>(a[k].imag);
        const double br = static_cast<double>(b[k].real),
                     bi = sign * static_cast<double>(b[k].imag);
        real.add(ar * br);
        real.add(-(ai * bi));
        imag.add(ar * bi);
        imag.add(ai * br);
    }
    return CComplex(real.nearestFloat(), imag.nearestFloat());
}

// Each part of the sum from the vector kernel's double sums: S, the terms'
// sum in double, and A, their magnitudes' sum. Recursive summation of h
// terms, in any order or tree, is within (h - 1) u of A (u = 2^-53) and A
// within as much of its exact value, so for h = 2n + 64 (the terms and the
// lanes' partial sums) and h u below 1/2, the exact sum lies within 2 h u A
// of S; a further u |S| covers the rounding of S -+ that margin. Where both
// ends round to one float and S stands clear of zero (whose sign the margin
// would hide), that float is the exact sum's. Failing that, the exact sum.
// All terms zero: S is their sum, -0 only if all are -0.
float roundedPart(double sum, double magnitudeSum, std::size_t n, bool& certain) noexcept {
    if (!std::isfinite(magnitudeSum)) return static_cast<float>(sum);  // an infinite or NaN term
    if (!(magnitudeSum > 0.0)) return static_cast<float>(sum);         // every term zero
    const double terms = 2.0 * static_cast<double>(n) + 64.0;
    const double margin = terms * 0x1p-52 * magnitudeSum + 0x1p-53 * std::fabs(sum);
    certain = certain && std::fabs(sum) > margin && ccomplex_detail::roundsAlikeWithin(sum, margin);
    return static_cast<float>(sum);
}

CComplex sumOfProducts(const CComplex* a, const CComplex* b, std::size_t n,
                       bool conjugate) noexcept {
    if (n == 0) return CComplex();
    detail::DotSums sums = {{-0.0, -0.0}, {0.0, 0.0}};
    const std::size_t done =
        HWY_DYNAMIC_DISPATCH(SumProducts)(partsOf(a), partsOf(b), n, conjugate, sums);
    const double sign = conjugate ? -1.0 : 1.0;
    for (std::size_t k = done; k < n; ++k) {
        const double ar = static_cast<double>(a[k].real), ai = static_cast<double>(a[k].imag);
        const double br = static_cast<double>(b[k].real),
                     bi = sign * static_cast<double>(b[k].imag);
        const double terms[2][2] = {{ar * br, -(ai * bi)}, {ar * bi, ai * br}};
        for (int part = 0; part < 2; ++part) {
            for (const double term : terms[part]) {
                sums.sum[part] += term;
                sums.magnitudeSum[part] += std::fabs(term);
            }
        }
    }
    bool certain = true;
    const CComplex rounded(roundedPart(sums.sum[0], sums.magnitudeSum[0], n, certain),
                           roundedPart(sums.sum[1], sums.magnitudeSum[1], n, certain));
    return certain ? rounded : exactSumOfProducts(a, b, n, conjugate);
}

}  // namespace

// The vector forms.

namespace {

std::size_t commonSize(const std::vector<CComplex>& a, const std::vector<CComplex>& b) noexcept {
    assert(a.size() == b.size());
    return a.size() < b.size() ? a.size() : b.size();
}

}  // namespace

std::vector<CComplex> multiply(const std::vector<CComplex>& a, const std::vector<CComplex>& b) {
    std::vector<CComplex> out(commonSize(a, b));
    multiply(a.data(), b.data(), out.data(), out.size());
    return out;
}

std::vector<CComplex> multiplyConjugate(const std::vector<CComplex>& a,
                                        const std::vector<CComplex>& b) {
    std::vector<CComplex> out(commonSize(a, b));
    multiplyConjugate(a.data(), b.data(), out.data(), out.size());
    return out;
}

std::vector<CComplex> divide(const std::vector<CComplex>& a, const std::vector<CComplex>& b) {
    std::vector<CComplex> out(commonSize(a, b));
    divide(a.data(), b.data(), out.data(), out.size());
    return out;
}

std::vector<float> magnitude(const std::vector<CComplex>& a) {
    std::vector<float> out(a.size());
    magnitude(a.data(), out.data(), out.size());
    return out;
}

std::vector<float> norm(const std::vector<CComplex>& a) {
    std::vector<float> out(a.size());
    norm(a.data(), out.data(), out.size());
    return out;
}

std::vector<float> angle(const std::vector<CComplex>& a) {
    std::vector<float> out(a.size());
    angle(a.data(), out.data(), out.size());
    return out;
}

std::vector<CComplex> exp(const std::vector<CComplex>& a) {
    std::vector<CComplex> out(a.size());
    exp(a.data(), out.data(), out.size());
    return out;
}

CComplex dot(const std::vector<CComplex>& a, const std::vector<CComplex>& b) noexcept {
    return dot(a.data(), b.data(), commonSize(a, b));
}

CComplex dotConjugate(const std::vector<CComplex>& a, const std::vector<CComplex>& b) noexcept {
    return dotConjugate(a.data(), b.data(), commonSize(a, b));
}

}  // namespace ccomplex_arrays
#endif  // HWY_ONCE
