// Every float through each function's restrictions to the two axes: for
// each x, f(x + j0), f(x - j0), f(0 + jx) and f(-0 + jx), each part compared
// bit for bit, zero signs included, with its correctly rounded value.
//
//   g++ -std=c++17 -O2 -I. tools/axis_sweep.cpp ccomplex.cpp ccomplex_elementary.cpp
//       -lmpc -lmpfr -lgmp -pthread -o build/axis_sweep
//   build/axis_sweep [--stride N] [--threads T] [FUNCTION...]   (default: all)
//
// FUNCTION is exp, log, ..., atanh, or pow2.5 for pow(z, 2.5f) and so on
// (see kPowerExponents). --stride N takes every Nth bit pattern (odd N reach
// every binade and both signs); the default, 1, is all 2^32 of them.
//
// The reference is fast: each part's value in double, from the C library's
// double functions on the axis (a few double ulps, 2^-50 relative at most),
// which rounds to float with certainty unless it lies within 2^-20 float
// ulp of a tie. Such parts, and infinite and NaN ones, and every 4093rd
// operand as a check on the double formulas and their zero signs, are
// computed again with MPC, at 256 bits and more until the results rounded
// down and up give the same float.
//
// It prints, per function and axis, the operands checked, the parts wrong,
// the worst error in ulps and the first wrong operands; and the double
// formulas' own disagreements with MPC, which must be none. The exit status
// is 1 when anything is wrong.
#include <mpc.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "../tests/float_bits.h"
#include "ccomplex.h"
#include "mpc_bracket.h"

namespace {

struct Parts {
    double re, im;
};

// ---------------------------------------------------------------- double formulas
//
// f(x + js) and f(s + jx) for s = +-0, from the real functions. A part that
// is an exact zero is written as a signed zero, with the sign the complex
// formula gives it; every other part as its double value.

double zeroSignedAs(double v) { return std::copysign(0.0, v); }

// The real part of atanh(x +- j0) for |x| > 1: ln|(x + 1) / (x - 1)| / 2.
double atanhBeyondOne(double x) { return std::atanh(1 / x); }

Parts expOnReal(double x, double s) { return {std::exp(x), zeroSignedAs(s)}; }
Parts expOnImaginary(double, double y) { return {std::cos(y), std::sin(y)}; }

Parts logOnReal(double x, double s) { return {std::log(std::fabs(x)), std::atan2(s, x)}; }
Parts logOnImaginary(double s, double y) {
    return {std::log(std::fabs(y)), y == 0 ? std::atan2(y, s) : std::copysign(M_PI / 2, y)};
}

Parts log10OnReal(double x, double s) {
    const Parts l = logOnReal(x, s);
    return {std::log10(std::fabs(x)), l.im / M_LN10};
}
Parts log10OnImaginary(double s, double y) {
    const Parts l = logOnImaginary(s, y);
    return {std::log10(std::fabs(y)), l.im / M_LN10};
}

Parts sqrtOnReal(double x, double s) {
    const double r = std::sqrt(std::fabs(x));
    return x < 0 ? Parts{0.0, std::copysign(r, s)} : Parts{r, s};
}
Parts sqrtOnImaginary(double, double y) {
    const double r = std::sqrt(std::fabs(y) / 2);
    return {y == 0 ? 0.0 : r, y == 0 ? y : std::copysign(r, y)};
}

Parts sinOnReal(double x, double s) { return {std::sin(x), std::cos(x) * s}; }
Parts sinOnImaginary(double s, double y) { return {s, std::sinh(y)}; }

Parts cosOnReal(double x, double s) { return {std::cos(x), -(std::sin(x) * s)}; }
Parts cosOnImaginary(double s, double y) { return {std::cosh(y), -(s * y)}; }

Parts tanOnReal(double x, double s) { return {std::tan(x), s}; }
Parts tanOnImaginary(double s, double y) { return {s, std::tanh(y)}; }

Parts sinhOnReal(double x, double s) { return {std::sinh(x), s}; }
Parts sinhOnImaginary(double s, double y) { return {s * std::cos(y), std::sin(y)}; }

Parts coshOnReal(double x, double s) { return {std::cosh(x), x * s}; }
Parts coshOnImaginary(double s, double y) { return {std::cos(y), s * std::sin(y)}; }

Parts tanhOnReal(double x, double s) { return {std::tanh(x), s}; }
Parts tanhOnImaginary(double s, double y) { return {s, std::tan(y)}; }

Parts asinOnReal(double x, double s) {
    if (std::fabs(x) <= 1) return {std::asin(x), s};
    return {std::copysign(M_PI / 2, x), std::copysign(std::acosh(std::fabs(x)), s)};
}
Parts asinOnImaginary(double s, double y) { return {s, std::asinh(y)}; }

Parts acosOnReal(double x, double s) {
    if (std::fabs(x) <= 1) return {std::acos(x), -s};
    return {x > 0 ? 0.0 : M_PI, -std::copysign(std::acosh(std::fabs(x)), s)};
}
Parts acosOnImaginary(double, double y) { return {M_PI / 2, -std::asinh(y)}; }

Parts atanOnReal(double x, double s) { return {std::atan(x), s}; }
Parts atanOnImaginary(double s, double y) {
    if (std::fabs(y) <= 1) return {s, std::atanh(y)};
    return {std::copysign(M_PI / 2, s), atanhBeyondOne(y)};
}

Parts asinhOnReal(double x, double s) { return {std::asinh(x), s}; }
Parts asinhOnImaginary(double s, double y) {
    if (std::fabs(y) <= 1) return {s, std::asin(y)};
    return {std::copysign(std::acosh(std::fabs(y)), s), std::copysign(M_PI / 2, y)};
}

Parts acoshOnReal(double x, double s) {
    if (x >= 1) return {std::acosh(x), s};
    if (x > -1) return {0.0, std::copysign(std::acos(x), s)};
    return {std::acosh(-x), std::copysign(M_PI, s)};
}
Parts acoshOnImaginary(double, double y) {
    return {std::asinh(std::fabs(y)), std::copysign(M_PI / 2, y)};
}

Parts atanhOnReal(double x, double s) {
    if (std::fabs(x) <= 1) return {std::atanh(x), s};
    return {atanhBeyondOne(x), std::copysign(M_PI / 2, s)};
}
Parts atanhOnImaginary(double s, double y) { return {s, std::atan(y)}; }

// ---------------------------------------------------------------- powers
//
// z^w = |z|^w cis(w arg z), arg z = 0, +-pi or +-pi/2 on the axes. Where
// w arg z is a whole number of quarter turns, cos and sin are exact, and a
// part that is 0 is +0, but for an integer w, whose power is a product of
// factors with signed zero parts (MPC's signs, which the check confirms).

const float kPowerExponents[] = {0.5f, 2.5f, -1.5f, 1.0f / 3, 3.0f, -2.0f};

// (x + js)^n or (s + jx)^n, n != 0, by the textbook product, and the
// reciprocal for n < 0 as conj(p) / |p|^2. Its zero part is signed as the
// power of a value just off the axis on the side of s: the convention
// that makes pow(conj z, n) conj(pow(z, n)). MPC signs some of these zeros
// otherwise where n < 0, so for integer n the zero signs are taken from
// here, and MPC decides the other part alone.
Parts integerPower(double re, double im, int n) {
    Parts p{re, im};
    for (int i = 1; i < std::abs(n); ++i) p = {p.re * re - p.im * im, p.re * im + p.im * re};
    if (n > 0) return p;
    const double norm = p.re * p.re + p.im * p.im;
    return {p.re / norm, -(p.im / norm)};
}

Parts polarPower(double r, double turnsOfHalfPi) {
    const double quarters = std::fmod(turnsOfHalfPi, 4.0);
    if (quarters == std::trunc(quarters)) {
        const int q = static_cast<int>(quarters + 4) % 4;
        const double c[] = {1, 0, -1, 0}, s[] = {0, 1, 0, -1};
        return {r * c[q], r * s[q]};
    }
    const double t = turnsOfHalfPi * (M_PI / 2);
    return {r * std::cos(t), r * std::sin(t)};
}

Parts powerOnReal(double x, double s, double w) {
    if (w == std::trunc(w)) return integerPower(x, s, static_cast<int>(w));
    if (x == 0) return w > 0 ? Parts{0, 0} : Parts{NAN, NAN};  // MPC's pole
    const double r = std::pow(std::fabs(x), w);
    if (!(x < 0)) return {r, std::copysign(0.0, w) * std::copysign(1.0, s)};
    return polarPower(r, w * std::copysign(2.0, s));
}

Parts powerOnImaginary(double s, double y, double w) {
    if (w == std::trunc(w)) return integerPower(s, y, static_cast<int>(w));
    if (y == 0) return w > 0 ? Parts{0, 0} : Parts{NAN, NAN};
    return polarPower(std::pow(std::fabs(y), w), w * std::copysign(1.0, y));
}

// ---------------------------------------------------------------- the functions

using MpcFunction = int (*)(mpc_ptr, mpc_srcptr, mpc_rnd_t);

// How f(-0 + jy) follows from f(+0 + jy) for finite y != 0: -0 + jy is
// -conj(+0 + jy), and the exact values of these functions satisfy
// f(conj z) = conj f(z), so an odd f gives (-re, im), an even one (re, -im),
// and the rest, independent of the zero's sign there, the same value.
enum class Parity { kSame, kOdd, kEven };

struct Function {
    std::string name;
    CComplex (*library)(const CComplex&);
    MpcFunction mpc;
    Parts (*onReal)(double, double);
    Parts (*onImaginary)(double, double);
    Parity parity;
    float exponent;  // the power's exponent, for the powers (library null)
};

#define CCOMPLEX_SWEPT(f, parity)                                                       \
    Function {                                                                          \
#f, [](const CComplex& z) { return f(z); }, mpc_##f, f##OnReal, f##OnImaginary, \
                                                 Parity::parity, 0.0f                   \
    }

std::vector<Function> allFunctions() {
    std::vector<Function> all = {
        CCOMPLEX_SWEPT(exp, kSame),  CCOMPLEX_SWEPT(log, kSame),  CCOMPLEX_SWEPT(log10, kSame),
        CCOMPLEX_SWEPT(sqrt, kSame), CCOMPLEX_SWEPT(sin, kOdd),   CCOMPLEX_SWEPT(cos, kEven),
        CCOMPLEX_SWEPT(tan, kOdd),   CCOMPLEX_SWEPT(sinh, kOdd),  CCOMPLEX_SWEPT(cosh, kEven),
        CCOMPLEX_SWEPT(tanh, kOdd),  CCOMPLEX_SWEPT(asin, kOdd),  CCOMPLEX_SWEPT(acos, kSame),
        CCOMPLEX_SWEPT(atan, kOdd),  CCOMPLEX_SWEPT(asinh, kOdd), CCOMPLEX_SWEPT(acosh, kSame),
        CCOMPLEX_SWEPT(atanh, kOdd),
    };
    for (const float w : kPowerExponents) {
        char name[32];
        std::snprintf(name, sizeof name, "pow%g", static_cast<double>(w));
        // (-conj z)^n = (-1)^n conj(z^n) for an integer n; otherwise z^w on
        // the imaginary axis does not depend on the zero's sign.
        const bool integer = w == std::trunc(w);
        const Parity parity = !integer                     ? Parity::kSame
                              : std::fmod(w, 2.0f) != 0.0f ? Parity::kOdd
                                                           : Parity::kEven;
        all.push_back({name, nullptr, nullptr, nullptr, nullptr, parity, w});
    }
    return all;
}

CComplex libraryValue(const Function& f, const CComplex& z) {
    return f.library != nullptr ? f.library(z) : pow(z, f.exponent);
}

Parts doubleValue(const Function& f, bool realAxis, double x, double s) {
    if (f.library == nullptr) {
        const double w = static_cast<double>(f.exponent);
        return realAxis ? powerOnReal(x, s, w) : powerOnImaginary(s, x, w);
    }
    return realAxis ? f.onReal(x, s) : f.onImaginary(s, x);
}

// MPC's f(z) at `precision` bits, rounded as asked. f(x - j0) for finite x
// != 0 is taken as the conjugate of f(x + j0), the symmetry every function
// here has, as MPC's exact powers drop that zero's sign: pow(-2^100 - j0,
// -1.5) is exactly -j 2^-150, and MPC gives +j 2^-150. (At 0 and infinity
// MPC's zeros are the conventions the library follows.)
void mpcValue(const Function& f, const CComplex& z, mpc_t result, mpfr_prec_t precision,
              mpc_rnd_t rounding) {
    if (z.real != 0 && std::isfinite(z.real) && z.imag == 0 && std::signbit(z.imag)) {
        const mpfr_rnd_t imagRounding = MPC_RND_IM(rounding) == MPFR_RNDD   ? MPFR_RNDU
                                        : MPC_RND_IM(rounding) == MPFR_RNDU ? MPFR_RNDD
                                                                            : MPC_RND_IM(rounding);
        mpcValue(f, CComplex(z.real, 0.0f), result, precision,
                 MPC_RND(MPC_RND_RE(rounding), imagRounding));
        mpc_conj(result, result, MPC_RNDNN);
        return;
    }
    mpc_set_prec(result, precision);
    mpc_t operand;
    mpc_init2(operand, 32);
    mpc_set_d_d(operand, static_cast<double>(z.real), static_cast<double>(z.imag), MPC_RNDNN);
    if (f.library != nullptr) {
        f.mpc(result, operand, rounding);
    } else {
        mpc_t w;
        mpc_init2(w, 32);
        mpc_set_d_d(w, static_cast<double>(f.exponent), 0.0, MPC_RNDNN);
        mpc_pow(result, operand, w, rounding);
        mpc_clear(w);
    }
    mpc_clear(operand);
}

// The correctly rounded parts from MPC; an exact zero keeps MPC's sign.
// `singular` tells whether a part is infinite or NaN however many bits.
bool mpcRounded(const Function& f, const CComplex& z, float& re, float& im, bool& singular) {
    MpcBracket bracket;
    const auto evaluate = [&](mpc_t result, mpfr_prec_t precision, mpc_rnd_t rounding) {
        mpcValue(f, z, result, precision, rounding);
    };
    const bool settled = bracket.settle(evaluate, 8192, re, im);
    mpc_ptr low = bracket.low;
    singular = !mpfr_number_p(mpc_realref(low)) || !mpfr_number_p(mpc_imagref(low));
    if (settled && (mpfr_zero_p(mpc_realref(low)) || mpfr_zero_p(mpc_imagref(low)))) {
        const mpfr_prec_t precision = mpfr_get_prec(mpc_realref(low));
        mpcValue(f, z, low, precision, MPC_RNDNN);
        if (mpfr_zero_p(mpc_realref(low))) re = mpfr_get_flt(mpc_realref(low), MPFR_RNDN);
        if (mpfr_zero_p(mpc_imagref(low))) im = mpfr_get_flt(mpc_imagref(low), MPFR_RNDN);
    }
    return settled;
}

// `v` rounded to float where the rounding is certain for any value within
// 2^-20 float ulp of v; false where it is not, or v is NaN.
bool roundsCertainly(double v, float& rounded) {
    if (v == 0 || std::isinf(v)) {  // a double infinity lies far beyond float's range
        rounded = static_cast<float>(v);
        return true;
    }
    if (!std::isfinite(v)) return false;
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const auto field = static_cast<int>(bits >> 52 & 0x7ff);
    if (field >= 1023 - 126 && field < 1023 + 128) {
        // A normal float's binade: the 29 bits below its significand, 2^28
        // at a tie, and 2^-20 ulp is 2^9 of them.
        const std::uint64_t below = bits & ((std::uint64_t{1} << 29) - 1);
        if (below + (std::uint64_t{1} << 9) - (std::uint64_t{1} << 28) < (std::uint64_t{1} << 10))
            return false;
        rounded = static_cast<float>(v);
        return true;
    }
    const int binade = std::max(std::ilogb(v), -126);
    const double ulps = std::ldexp(std::fabs(v), 23 - binade);
    if (std::fabs(ulps - std::floor(ulps) - 0.5) < 0x1p-20) return false;
    rounded = static_cast<float>(v);
    return true;
}

// How far apart two floats are, in floats between them (NaN as far).
std::uint64_t ulpsApart(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : UINT32_MAX;
    const auto ordered = [](float f) {
        const std::int64_t bits = bitsOf(f) & 0x7fffffff;
        return std::signbit(f) ? -bits : bits;
    };
    return static_cast<std::uint64_t>(std::llabs(ordered(a) - ordered(b)));
}

bool sameParts(float re, float im, const CComplex& v) {
    return ulpsApart(re, v.real) == 0 && ulpsApart(im, v.imag) == 0 &&
           (std::isnan(re) || std::signbit(re) == std::signbit(v.real)) &&
           (std::isnan(im) || std::signbit(im) == std::signbit(v.imag));
}

struct Tally {
    std::uint64_t checked = 0, wrong = 0, worst = 0, referenceFaults = 0, mpcCalls = 0;
    std::uint64_t singular = 0, conventions = 0;
    std::vector<std::string> firstWrong, firstConventions;

    static void list(std::vector<std::string>& lines, const char* what, const CComplex& z,
                     const CComplex& got, float re, float im) {
        if (lines.size() >= 8) return;
        char line[200];
        std::snprintf(line, sizeof line, "%s(%a, %a): %a %a, correct %a %a", what,
                      static_cast<double>(z.real), static_cast<double>(z.imag),
                      static_cast<double>(got.real), static_cast<double>(got.imag),
                      static_cast<double>(re), static_cast<double>(im));
        lines.emplace_back(line);
    }
    void wrongPart(const CComplex& z, const CComplex& got, float re, float im) {
        ++wrong;
        const std::uint64_t ulps = std::max(ulpsApart(re, got.real), ulpsApart(im, got.imag));
        worst = std::max<std::uint64_t>(worst, std::max<std::uint64_t>(ulps, 1));
        list(firstWrong, "f", z, got, re, im);
    }
    void add(const Tally& t) {
        checked += t.checked;
        wrong += t.wrong;
        worst = std::max(worst, t.worst);
        referenceFaults += t.referenceFaults;
        mpcCalls += t.mpcCalls;
        singular += t.singular;
        conventions += t.conventions;
        for (const std::string& s : t.firstWrong)
            if (firstWrong.size() < 8) firstWrong.push_back(s);
        for (const std::string& s : t.firstConventions)
            if (firstConventions.size() < 8) firstConventions.push_back(s);
    }
};

constexpr std::uint64_t kCheckEvery = 4093;

// One operand. An infinite or NaN operand, or a pole (MPC's result is not a
// number), has no correctly rounded value: its result follows C's special
// values, which leave some signs open, so a difference from MPC there is
// counted as a convention and listed, not as a wrong part.
CComplex checkOne(const Function& f, bool realAxis, float x, float s, std::uint64_t index,
                  Tally& tally) {
    const CComplex z = realAxis ? CComplex(x, s) : CComplex(s, x);
    const CComplex got = libraryValue(f, z);
    ++tally.checked;
    const Parts d = doubleValue(f, realAxis, static_cast<double>(x), static_cast<double>(s));
    float re, im;
    const bool fast = std::isfinite(x) && roundsCertainly(d.re, re) & roundsCertainly(d.im, im);
    if (fast && index % kCheckEvery != 0) {
        if (!sameParts(re, im, got)) tally.wrongPart(z, got, re, im);
        return got;
    }
    float mpcRe, mpcIm;
    bool singular;
    ++tally.mpcCalls;
    if (!mpcRounded(f, z, mpcRe, mpcIm, singular)) {
        std::fprintf(stderr, "%s(%a, %a): MPC does not settle it\n", f.name.c_str(),
                     static_cast<double>(z.real), static_cast<double>(z.imag));
        std::exit(2);
    }
    if (f.library == nullptr && f.exponent == std::trunc(f.exponent)) {
        if (d.re == 0 && mpcRe == 0) mpcRe = static_cast<float>(d.re);
        if (d.im == 0 && mpcIm == 0) mpcIm = static_cast<float>(d.im);
    }
    if (fast && !sameParts(mpcRe, mpcIm, CComplex(re, im))) {
        ++tally.referenceFaults;
        Tally::list(tally.firstWrong, "double formula", z, CComplex(re, im), mpcRe, mpcIm);
    }
    if (!std::isfinite(x) || singular) {
        ++tally.singular;
        if (!sameParts(mpcRe, mpcIm, got)) {
            ++tally.conventions;
            Tally::list(tally.firstConventions, "f", z, got, mpcRe, mpcIm);
        }
    } else if (!sameParts(mpcRe, mpcIm, got)) {
        tally.wrongPart(z, got, mpcRe, mpcIm);
    }
    return got;
}

// f(x - j0) and f(-0 + jx), for finite x != 0, checked against what the
// symmetries make of f(x + j0) and f(+0 + jx), once those are known right;
// where they differ, or x is zero, infinite or NaN, against the reference.
void checkNegativeZero(const Function& f, bool realAxis, float x, const CComplex& positive,
                       std::uint64_t index, Tally& tally) {
    if (std::isfinite(x) && x != 0) {
        const CComplex got = libraryValue(f, realAxis ? CComplex(x, -0.0f) : CComplex(-0.0f, x));
        CComplex expected = positive;
        if (realAxis || f.parity == Parity::kEven) expected.imag = -expected.imag;
        if (!realAxis && f.parity == Parity::kOdd) expected.real = -expected.real;
        if (sameParts(expected.real, expected.imag, got)) {
            ++tally.checked;
            return;
        }
    }
    checkOne(f, realAxis, x, -0.0f, index, tally);
}

// One bit pattern through both axes with both zero signs; a -0 case from its
// +0 case where that is right.
void sweepOne(const Function& f, std::uint64_t bits, Tally (&tallies)[2]) {
    const float x = fromBits(static_cast<std::uint32_t>(bits));
    for (int axis = 0; axis < 2; ++axis) {
        const std::uint64_t wrongBefore = tallies[axis].wrong;
        const CComplex positive = checkOne(f, axis == 0, x, 0.0f, bits, tallies[axis]);
        if (tallies[axis].wrong == wrongBefore) {
            checkNegativeZero(f, axis == 0, x, positive, bits, tallies[axis]);
        } else {
            checkOne(f, axis == 0, x, -0.0f, bits, tallies[axis]);
        }
    }
}

// Bit patterns first, first + stride, ... below 2^32.
void sweep(const Function& f, std::uint64_t first, std::uint64_t stride, Tally (&tallies)[2]) {
    for (std::uint64_t bits = first; bits < (std::uint64_t{1} << 32); bits += stride)
        sweepOne(f, bits, tallies);
}

// Every sample takes -0, the infinities and a NaN too (0 is the first
// pattern of every stride).
constexpr std::uint32_t kAlwaysSwept[] = {0x80000000u, 0x7f800000u, 0xff800000u, 0x7fc00000u};

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: axis_sweep [--stride N] [--threads T] [FUNCTION...]\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t stride = 1;
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--stride" || arg == "--threads") && i + 1 < argc) {
            const unsigned long long n = std::strtoull(argv[++i], nullptr, 10);
            if (n == 0) usage();
            if (arg == "--stride") stride = n;
            if (arg == "--threads") threads = static_cast<unsigned>(n);
        } else if (arg.rfind("--", 0) == 0) {
            usage();
        } else {
            names.push_back(arg);
        }
    }
    std::vector<Function> functions;
    for (const Function& f : allFunctions()) {
        if (names.empty() || std::find(names.begin(), names.end(), f.name) != names.end())
            functions.push_back(f);
    }
    if (functions.size() != std::max<std::size_t>(names.size(), functions.size()) ||
        functions.empty())
        usage();

    bool allRight = true;
    for (const Function& f : functions) {
        std::vector<std::thread> workers;
        std::vector<Tally> perThread(2 * threads);
        for (unsigned t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                Tally pair[2];
                sweep(f, t * stride, stride * threads, pair);
                perThread[2 * t] = pair[0];
                perThread[2 * t + 1] = pair[1];
            });
        }
        for (std::thread& w : workers) w.join();
        for (const std::uint32_t bits : kAlwaysSwept) {
            if (bits % stride == 0) continue;
            Tally pair[2];
            sweepOne(f, bits, pair);
            perThread[0].add(pair[0]);
            perThread[1].add(pair[1]);
        }
        for (int axis = 0; axis < 2; ++axis) {
            Tally total;
            for (unsigned t = 0; t < threads; ++t) total.add(perThread[2 * t + axis]);
            std::printf("%-7s %s axis: %" PRIu64 " checked, %" PRIu64 " wrong, worst %" PRIu64
                        " ulp; %" PRIu64 " through MPC, %" PRIu64 " double-formula faults; %" PRIu64
                        " at poles and non-finite operands, %" PRIu64 " of them unlike MPC's\n",
                        f.name.c_str(), axis == 0 ? "real" : "imag", total.checked, total.wrong,
                        total.worst, total.mpcCalls, total.referenceFaults, total.singular,
                        total.conventions);
            for (const std::string& line : total.firstWrong) std::printf("    %s\n", line.c_str());
            for (const std::string& line : total.firstConventions)
                std::printf("    convention: %s\n", line.c_str());
            allRight = allRight && total.wrong == 0 && total.referenceFaults == 0;
        }
        std::fflush(stdout);
    }
    return allRight ? 0 : 1;
}
