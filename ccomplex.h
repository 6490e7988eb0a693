// CComplex: a complex number in rectangular form with single-precision parts.
//
// A plain value type: two public floats, real then imag, 8 bytes, trivially
// copyable and standard-layout. 0 + j0 by default; a float s converts to
// s + j0, and a std::complex<float> to and from CComplex, implicitly and
// exactly, without this header including <complex>.
//
// It supports:
//  - +, -, *, / and their in-place forms, negation, conj(), == and !=, with a
//    CComplex, float or std::complex<float> on either side; all but division
//    constexpr, and every operation noexcept but the stream operators;
//  - mag(), ang(), polar() and the standard type's free functions (real,
//    imag, abs, arg, norm, conj, proj, polar), which argument-dependent
//    lookup finds as generic code calls them;
//  - the elementary functions: exp, log, log10, sqrt, pow, the trigonometric
//    and hyperbolic functions and their inverses (ccomplex_elementary.cpp);
//  - the text form "2.500000 +j3.000000": print(), << and >> (which reads
//    the standard type's texts too), and std::format and {fmt} through
//    ccomplex_format.h and ccomplex_fmt.h;
//  - an imaginary literal, 3.0_j, in namespace ccomplex_literals.
//
// Where it differs from std::complex<float>: the parts are fields, not
// functions; a zero divisor writes "Error: Divided by zero!" to standard
// output and gives 0 + j0; print() returns one shared static buffer; the
// in-place operators return nothing.
//
// Each part of a quotient, polar form, magnitude, norm and angle is correctly
// rounded, and every result is the same bits on every machine and standard
// library checked. Every operation but print() is safe on distinct values
// from any number of threads, and none allocates. Each declaration's comment
// says what a caller relies on; docs/guarantees.md has the whole of it,
// special values, the text form and a host's build flags included.
#ifndef CCOMPLEX_H
#define CCOMPLEX_H

// Each float and double operation must be rounded to its own type, as SSE2
// rounds it; the x87 unit keeps excess precision (FLT_EVAL_METHOD 2) and
// would change the product's bits and every result of the library.
#if defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ > 0
#error \
    "ccomplex.h needs arithmetic without excess precision, not the x87 unit's: add -msse2 -mfpmath=sse"
#endif

#include <cmath>
#include <iosfwd>
#include <type_traits>

#include "ccomplex_literal.h"

// The product's packed form needs SSE2, the compiler's vector extensions and a
// way to tell constant evaluation from a run; elsewhere the plain form serves
// for both. It is written with builtins, not <emmintrin.h>, which would bring
// its macros, its intrinsics and <stdlib.h> into every includer.
#if defined(__SSE2__) && defined(__has_builtin)
#if __has_builtin(__builtin_is_constant_evaluated) && __has_builtin(__builtin_memcpy) && \
    __has_builtin(__builtin_shufflevector) && __has_builtin(__builtin_ia32_cvtpd2ps)
#if __has_builtin(__builtin_ia32_cvtps2pd)
#define CCOMPLEX_PACKED_PRODUCT 1  // g++
#elif __has_builtin(__builtin_convertvector)
#define CCOMPLEX_PACKED_PRODUCT 2  // clang++
#endif
#endif
#endif

class CComplex;

namespace ccomplex_detail {

// Accepts a complex type with float parts, read by real() and imag(), other
// than CComplex: std::complex<float>, without the cost of including <complex>.
// std::complex<double> is refused, as its parts would narrow.
template <typename Complex>
using IfFloatComplex = std::enable_if_t<
    std::is_same_v<decltype(static_cast<const Complex*>(nullptr)->real()), float> &&
        std::is_same_v<decltype(static_cast<const Complex*>(nullptr)->imag()), float>,
    int>;

// Accepts CComplex itself and nothing that merely converts to it, so that a
// host's pow(2.0f, 3) finds the C library's pow as it does without this
// header, rather than two equally good candidates, and the standard type's
// own operators stay its own.
template <typename T>
using IfCComplex = std::enable_if_t<std::is_same_v<T, CComplex>, int>;

}  // namespace ccomplex_detail

class CComplex {
public:
    // The part type, as generic code names it (typename C::value_type).
    using value_type = float;

    float real;
    float imag;

    // 0 + j0.
    constexpr CComplex() noexcept;
    constexpr CComplex(float realPart, float imagPart) noexcept;
    constexpr CComplex(const CComplex& other) noexcept = default;
    constexpr CComplex& operator=(const CComplex& other) noexcept = default;

    // realPart + j0; implicit, as for the standard type, so a float serves
    // wherever a CComplex is expected.
    constexpr CComplex(float realPart) noexcept;

    // To and from std::complex<float>, implicitly and exactly.
    template <typename Complex, ccomplex_detail::IfFloatComplex<Complex> = 0>
    constexpr CComplex(const Complex& other) noexcept : real(other.real()), imag(other.imag()) {}
    template <typename Complex, ccomplex_detail::IfFloatComplex<Complex> = 0>
    constexpr operator Complex() const noexcept {
        return Complex(real, imag);
    }

    // magnitude * cos(angle) + j magnitude * sin(angle), the angle in radians:
    // the inverse of mag() and ang(), so polar(5, CComplex(3, 4).ang()) is
    // 3 + j4. Each part is correctly rounded for these floats.
    // With the angle left out, magnitude + j0, whatever the magnitude.
    static CComplex polar(float magnitude, float angle) noexcept;
    static constexpr CComplex polar(float magnitude) noexcept;

    // The sum, difference, product and quotient of this value and the
    // operand; neither changes. Sum and difference are the float sum and
    // difference of the parts. The product of a + jb and c + jd is
    // (ac - bd) + j(ad + bc), each part its exact value rounded to double and
    // then to float: correctly rounded, but where that double is a tie
    // between two floats and the exact value is not (about one part in
    // 2^29), which it may miss by half an ulp. Each part of a quotient is
    // correctly rounded. A divisor of 0 + j0 (either zero may be -0) writes
    // "Error: Divided by zero!" to standard output, flushes it, and yields
    // 0 + j0, before main too; a failed write throws nothing. Infinite and
    // NaN parts go through the textbook formulas, so an infinite part can
    // meet a zero and give NaN.
    constexpr CComplex operator+(const CComplex& addend) const noexcept;
    constexpr CComplex operator-(const CComplex& subtrahend) const noexcept;
    constexpr CComplex operator*(const CComplex& factor) const noexcept;
    CComplex operator/(const CComplex& divisor) const noexcept;

    // The same operations in place: this value becomes the result, as with
    // the operators above. The operand may be this value itself (z *= z).
    constexpr void operator+=(const CComplex& addend) noexcept;
    constexpr void operator-=(const CComplex& subtrahend) noexcept;
    constexpr void operator*=(const CComplex& factor) noexcept;
    void operator/=(const CComplex& divisor) noexcept;

    // The same with a float operand: one float operation on each part it
    // touches (see the free operators below).
    constexpr void operator+=(float addend) noexcept;
    constexpr void operator-=(float subtrahend) noexcept;
    constexpr void operator*=(float factor) noexcept;
    void operator/=(float divisor) noexcept;

    // -real - j imag, and the conjugate real - j imag.
    constexpr CComplex operator-() const noexcept;
    constexpr CComplex conj() const noexcept;

    // Whether both parts compare equal as floats.
    constexpr bool operator==(const CComplex& other) const noexcept;
    constexpr bool operator!=(const CComplex& other) const noexcept;

    // The magnitude sqrt(real^2 + imag^2), correctly rounded.
    float mag() const noexcept;

    // The angle atan2(imag, real) in radians, in [-pi, pi], correctly rounded.
    float ang() const noexcept;

    // The text "<real> +j<imag>", each part as C's "%f" of the part widened to
    // double ("2.500000 +j3.000000", "1.000000 +j-0.500000", "inf +j-nan").
    // Returns a pointer to one static buffer of 100 characters, shared by
    // every value and every call: the text lasts until the next print() on
    // any value, and print() is not reentrant.
    const char* print() const noexcept;

    // The first forms of + and /, which took a non-const left operand. They
    // stay so that code naming them, such as a pointer to member, compiles
    // as before; they give the same results as the const forms.
    constexpr CComplex operator+(const CComplex& addend) noexcept;
    CComplex operator/(const CComplex& divisor) noexcept;
};

// A float operand on either side. Each part is one float operation, so exact:
// z + s = (real + s) + j imag, s - z = (s - real) - j imag, z * s =
// (real s) + j(imag s), z / s = (real / s) + j(imag / s). A float divisor of
// zero is a zero divisor; s / z is the quotient of s + j0 by z. The value is
// taken by value, which also keeps z / 3.0f unambiguous for a non-const z.
constexpr CComplex operator+(CComplex z, float s) noexcept;
constexpr CComplex operator+(float s, CComplex z) noexcept;
constexpr CComplex operator-(CComplex z, float s) noexcept;
constexpr CComplex operator-(float s, CComplex z) noexcept;
constexpr CComplex operator*(CComplex z, float s) noexcept;
constexpr CComplex operator*(float s, CComplex z) noexcept;
CComplex operator/(CComplex z, float s) noexcept;
CComplex operator/(float s, CComplex z) noexcept;
constexpr bool operator==(CComplex z, float s) noexcept;
constexpr bool operator==(float s, CComplex z) noexcept;
constexpr bool operator!=(CComplex z, float s) noexcept;
constexpr bool operator!=(float s, CComplex z) noexcept;

// A std::complex<float> s on the left, as on the right (where it converts):
// s op z is CComplex(s) op z. In C++17 and C++20 alike.
template <typename Complex, typename Z, ccomplex_detail::IfFloatComplex<Complex> = 0,
          ccomplex_detail::IfCComplex<Z> = 0>
constexpr CComplex operator+(const Complex& s, const Z& z) noexcept {
    return CComplex(s) + z;
}
template <typename Complex, typename Z, ccomplex_detail::IfFloatComplex<Complex> = 0,
          ccomplex_detail::IfCComplex<Z> = 0>
constexpr CComplex operator-(const Complex& s, const Z& z) noexcept {
    return CComplex(s) - z;
}
template <typename Complex, typename Z, ccomplex_detail::IfFloatComplex<Complex> = 0,
          ccomplex_detail::IfCComplex<Z> = 0>
constexpr CComplex operator*(const Complex& s, const Z& z) noexcept {
    return CComplex(s) * z;
}
template <typename Complex, typename Z, ccomplex_detail::IfFloatComplex<Complex> = 0,
          ccomplex_detail::IfCComplex<Z> = 0>
CComplex operator/(const Complex& s, const Z& z) noexcept {
    return CComplex(s) / z;
}
template <typename Complex, typename Z, ccomplex_detail::IfFloatComplex<Complex> = 0,
          ccomplex_detail::IfCComplex<Z> = 0>
constexpr bool operator==(const Complex& s, const Z& z) noexcept {
    return CComplex(s) == z;
}
template <typename Complex, typename Z, ccomplex_detail::IfFloatComplex<Complex> = 0,
          ccomplex_detail::IfCComplex<Z> = 0>
constexpr bool operator!=(const Complex& s, const Z& z) noexcept {
    return CComplex(s) != z;
}

// The standard type's free functions. abs and arg are mag() and ang(); norm is
// real^2 + imag^2 correctly rounded; proj is C's projection
// onto the Riemann sphere: a value with an infinite part becomes inf + j0, the
// zero signed as the imaginary part, and any other value stays as it is.
constexpr float real(const CComplex& z) noexcept;
constexpr float imag(const CComplex& z) noexcept;
float abs(const CComplex& z) noexcept;
float arg(const CComplex& z) noexcept;
float norm(const CComplex& z) noexcept;
constexpr CComplex conj(const CComplex& z) noexcept;
CComplex proj(const CComplex& z) noexcept;
CComplex polar(float magnitude, float angle) noexcept;
constexpr CComplex polar(float magnitude) noexcept;

// The elementary functions, in ccomplex_elementary.cpp. Principal values, as
// C's cexp, clog, csqrt and cpow give them: log's imaginary part lies in
// [-pi, pi] and sqrt's real part is >= 0; the cut is the negative real axis,
// where the sign of a zero imaginary part picks the side (sqrt(-4 - j0) is
// 0 - j2, log(-1 - j0) is 0 - j pi). Infinities and NaN give what C's Annex G
// gives; pow of a non-finite operand is exp(w log z) with this type's
// operations. log10(z) is log(z) / ln 10.
//
// Accuracy, for finite operands and results: each part of exp, log, log10 and
// sqrt is its correctly rounded value, however small it is beside the other
// part, and so the same bits on every machine: each function asks whether its
// double value rounds with certainty, and where it cannot tell computes the
// part again to about 2^-95 relative, so only an exact value closer than that
// to a halfway point between two floats could be misrounded (every float of
// both axes has been checked, none is), and an exact halfway value rounds to
// even. Each part of every power is within 1 ulp and in practice correctly
// rounded (for powers other than integer ones, where |Im(w log z)| <= 2^40;
// see "Powers"). A part whose exact value is zero is zero (sqrt(-4) is 0 +
// j2, log(1) is 0 + j0, pow(1 + j1, 2) is 0 + j2, pow(-4, 0.5f) is 0 + j2),
// and nothing overflows or underflows on the way: a part that fits single
// precision is returned (exp(88.9 + j3.1)), and a tiny part keeps its
// subnormal digits.
//
// Powers. pow(z, 0) is 1 + j0 for every z. An exponent whose value is an
// integer, as an int, a float or a CComplex with a zero imaginary part, gives
// the exact power rounded once, without exp and log, for |n| below 2^64 (a
// float exponent beyond that leaves z^n's angle to about |n| 2^-102 radians);
// on an axis, its zero part has the sign of the same power of a value just
// off the axis on that zero's side, so pow(conj z, n) is conj(pow(z, n))
// ((0 + j1)^3 is -0 - j1). pow(0, w) is 0 when the real part of w is positive; a
// negative integer power of zero is a division by zero: it writes the
// zero-divisor line and returns 0 + j0. For any other exponent, pow(z, w) is
// exp(w log z), each part within 1 ulp and in practice correctly rounded
// wherever the angle b = Im(w log z) is at most 2^40 in magnitude, near the
// axes, the cut and |z| = 1 too (pow(-1 - j1e-30, 0.5f) has a real part of
// 5e-31); an exact result halfway between two floats rounds to even, as
// everywhere (pow(67081, 1.5f) = 259^3 = 17373979 gives 17373980). Beyond
// 2^40, b is known to about 2^-100 |b| radians, so each part is within that
// much of |z^w|: at 2^100 and above, its sign is arbitrary, though the same
// on every machine. An integer exponent may have any standard integer type,
// signed or unsigned, up to 64 bits (pow(z, size_t(3)), pow(z, UINT64_MAX));
// a double exponent is an error, as it would lose digits unseen: cast it to
// float.
CComplex exp(const CComplex& z) noexcept;
CComplex log(const CComplex& z) noexcept;
CComplex log10(const CComplex& z) noexcept;
CComplex sqrt(const CComplex& z) noexcept;

// The trigonometric and hyperbolic functions and their inverses, with the
// same accuracy as exp and log: each part correctly rounded, checked on every
// float of both axes, zero where its exact value is zero (sin(x + j0) has a
// zero imaginary part, acos(1) is 0 - j0), and no spurious overflow (cosh(89
// + j0.5) is finite). Principal values, cuts and special values as C's: sin,
// cos and tan are -i sinh(iz), cosh(iz) and -i tanh(iz), asin and atan are -i
// asinh(iz) and -i atanh(iz); asin and acos have their cuts on the real axis
// beyond +-1, atan on the imaginary axis beyond +-j, and the sign of a zero
// part picks the side (asin(2 + j0) is pi/2 + j1.317, asin(2 - j0) is pi/2 -
// j1.317).
CComplex sin(const CComplex& z) noexcept;
CComplex cos(const CComplex& z) noexcept;
CComplex tan(const CComplex& z) noexcept;
CComplex sinh(const CComplex& z) noexcept;
CComplex cosh(const CComplex& z) noexcept;
CComplex tanh(const CComplex& z) noexcept;
CComplex asin(const CComplex& z) noexcept;
CComplex acos(const CComplex& z) noexcept;
CComplex atan(const CComplex& z) noexcept;
CComplex asinh(const CComplex& z) noexcept;
CComplex acosh(const CComplex& z) noexcept;
CComplex atanh(const CComplex& z) noexcept;

namespace ccomplex_detail {

// z^magnitude, or its reciprocal.
CComplex integerPower(const CComplex& z, unsigned long long magnitude, bool reciprocal) noexcept;
CComplex complexPower(const CComplex& z, const CComplex& w) noexcept;
CComplex realPower(const CComplex& z, float x) noexcept;

// Accepts the standard integer types up to 64 bits, bool aside.
template <typename N>
using IfInteger = std::enable_if_t<std::is_integral_v<N> && !std::is_same_v<N, bool> &&
                                       sizeof(N) <= sizeof(unsigned long long),
                                   int>;

}  // namespace ccomplex_detail

template <typename Z, typename N, ccomplex_detail::IfCComplex<Z> = 0,
          ccomplex_detail::IfInteger<N> = 0>
CComplex pow(const Z& z, N n) noexcept {
    if constexpr (std::is_signed_v<N>) {
        // The magnitude of the most negative N is no N, but it is an unsigned
        // long long: the conversion is modulo 2^64, and so is the negation.
        const auto bits = static_cast<unsigned long long>(n);
        return ccomplex_detail::integerPower(z, n < 0 ? 0 - bits : bits, n < 0);
    } else {
        return ccomplex_detail::integerPower(z, n, false);
    }
}

// A double exponent would otherwise narrow to the float overload unseen.
template <typename Z, ccomplex_detail::IfCComplex<Z> = 0>
CComplex pow(const Z& z, double x) = delete;

template <typename Z, ccomplex_detail::IfCComplex<Z> = 0>
CComplex pow(const Z& z, float x) noexcept {
    return ccomplex_detail::realPower(z, x);
}

template <typename Z, ccomplex_detail::IfCComplex<Z> = 0>
CComplex pow(const Z& z, const CComplex& w) noexcept {
    return ccomplex_detail::complexPower(z, w);
}

template <typename W, ccomplex_detail::IfCComplex<W> = 0>
CComplex pow(float x, const W& w) noexcept {
    return ccomplex_detail::complexPower(CComplex(x), w);
}

// Writes the text form of `z` in the stream's floating-point format and
// precision, without touching print()'s buffer: each part as printf's
// "%.<precision>f" (fixed or no format; a precision above 149 writes as 149
// does), "%.<precision>e" (scientific) or "%a" (hexfloat) writes it widened
// to double, with a full stop whatever the locale. The stream's field width
// pads the whole text as it pads any string, with the fill character and
// adjustment it sets; no other stream flag changes the text. Written with
// std::hexfloat, or std::scientific and a precision of 8, every value reads
// back bit for bit; the default six decimals do not (1e-7 writes as 0).
std::ostream& operator<<(std::ostream& out, const CComplex& z);

// Reads "<real> +j<imag>" into `z`: a part, the three characters " +j", and a
// part, with nothing between them. A part is an optional minus sign, then
// inf, nan, a decimal number (digits with an optional point and fraction,
// then an optional exponent such as e-5), or a hexadecimal one (0x, hex
// digits with an optional point and fraction, then an optional exponent such
// as p-3); each becomes the float nearest its value, ties to even, as
// std::from_chars gives it.
//  - It also reads the standard type's texts "(re,im)", "(re)" and a bare
//    "re" (each re + j0 without an imaginary part), with whitespace before
//    each part, the comma and the ")" as the standard type's reader allows it
//    (unless noskipws is set), and the parts as above: "(1,2) 7 (8,1)" is
//    three values. To tell a bare number from the start of " +j", the reader
//    looks past a space after it, and gives the space back where the stream
//    buffer can take it back (string and file streams can). A "+" right after
//    a number, or after its space but not before "j", is malformed:
//    "1.0+j2.0" and "1.0 + j2.0" fail rather than read as 1.0.
//  - Leading whitespace is skipped unless noskipws is set, as every formatted
//    input does. Exactly the characters of the value are taken: the stream is
//    left at the first character after it, so values, whitespace and other
//    text can follow one another.
//  - Every text that << and print() write reads back, in every format,
//    including inf, -inf, nan, -nan, -0.000000 and parts of 39 integer digits,
//    but one: in scientific with precision 3, the floats from 3.4025e38 to
//    FLT_MAX in magnitude (1,595 of each sign) round up to 3.403e+38, above
//    the float range, which is refused as any part beyond it is.
//  - Bad input sets failbit and leaves `z` unchanged: a malformed marker
//    ("1.0+j2.0", "1.0 + j2.0", "1.0 +k2"), a malformed parenthesised form
//    ("(1.5,2", "(1.5;2)", "(,2)", "()"), a missing part, a part that is not a
//    number, a part whose value lies beyond the float range (above FLT_MAX,
//    or so small it would round to zero, as std::from_chars refuses it), a
//    part longer than the 190 characters of the longest part << writes
//    (fixed, precision 149, -FLT_MAX), and
//    the end of the input within the value. Looking past the end of the
//    input sets eofbit, as in any formatted input: a value that ends in a
//    digit at the very end sets it, and so does a bare number at the very
//    end, but one that ends in a word after " +j" or ")" does not. It
//    throws only where the caller turned on exceptions for the stream. It
//    allocates no memory.
std::istream& operator>>(std::istream& in, CComplex& z);

// An imaginary literal, in place of the standard 1if (which computes in
// std::complex<float>): with `using namespace ccomplex_literals;`,
// 2.5f + 3.0_j is 2.5 + j3, in constant expressions too. The literal's text
// is read exactly, integer or floating, decimal or hexadecimal, and its
// imaginary part is the nearest float, ties to even: the float literal's own
// value (1.000000059604644775390625000001_j is j0x1.000002p+0, as the f
// literal is), whatever the platform's long double.
namespace ccomplex_literals {
template <char... text>
constexpr CComplex operator""_j() noexcept;
}  // namespace ccomplex_literals

// The small operations are defined here so that callers' compilers can inline
// them, and use them in constant expressions; division, the angle, the polar
// form and the text form live in ccomplex.cpp.

constexpr CComplex::CComplex() noexcept : real(0.0f), imag(0.0f) {}

constexpr CComplex::CComplex(float realPart, float imagPart) noexcept
    : real(realPart), imag(imagPart) {}

constexpr CComplex::CComplex(float realPart) noexcept : real(realPart), imag(0.0f) {}

constexpr void CComplex::operator+=(const CComplex& addend) noexcept {
    real += addend.real;
    imag += addend.imag;
}

constexpr CComplex CComplex::operator+(const CComplex& addend) const noexcept {
    CComplex sum(*this);
    sum += addend;
    return sum;
}

constexpr CComplex CComplex::operator+(const CComplex& addend) noexcept {
    return static_cast<const CComplex&>(*this) + addend;
}

constexpr void CComplex::operator-=(const CComplex& subtrahend) noexcept {
    real -= subtrahend.real;
    imag -= subtrahend.imag;
}

constexpr CComplex CComplex::operator-(const CComplex& subtrahend) const noexcept {
    CComplex difference(*this);
    difference -= subtrahend;
    return difference;
}

#ifdef CCOMPLEX_PACKED_PRODUCT
namespace ccomplex_detail {

typedef float Float2 __attribute__((__vector_size__(8)));
typedef float Float4 __attribute__((__vector_size__(16)));
typedef double Double2 __attribute__((__vector_size__(16)));
typedef long long Long2 __attribute__((__vector_size__(16)));

// Both parts of `x`, widened to double with one packed conversion. g++
// scalarises __builtin_convertvector here, so it gets the instruction itself.
inline Double2 widenedParts(const CComplex& x) noexcept {
#if CCOMPLEX_PACKED_PRODUCT == 1
    double bits;
    __builtin_memcpy(&bits, &x, sizeof bits);
    const Double2 lowHalf = {bits, 0.0};
    return __builtin_ia32_cvtps2pd(reinterpret_cast<Float4>(lowHalf));
#else
    Float2 parts;
    __builtin_memcpy(&parts, &x, sizeof parts);
    return __builtin_convertvector(parts, Double2);
#endif
}

// The product as operator* below computes it, each double operation applied
// to both parts at once after one packed conversion of each operand:
// (a, a) (c, d) + (-b, b) (d, c) is (ac - bd, ad + bc), every product exact,
// so each sum is rounded once, as in the plain form, and a host's fused
// multiply-add gives the same bits (a NaN's sign aside, which IEEE 754
// leaves open). g++ 12 compiles the plain form to four scalar conversions,
// and a loop of multiply-accumulate at -O3 to spills to memory, which made it
// slower than the standard type's product there. Pairing (a, a) with (c, d),
// rather than adding the halves of (ac, bd) and (ad, bc), drops two shuffles
// from the chain of dependent products (z = z z + c).
inline CComplex packedProduct(const CComplex& x, const CComplex& y) noexcept {
    const Double2 ab = widenedParts(x);
    const Double2 cd = widenedParts(y);
    const Long2 negateLow = {static_cast<long long>(1ULL << 63), 0};
    const Double2 aa = __builtin_shufflevector(ab, ab, 0, 0);
    const Double2 minusBb = reinterpret_cast<Double2>(
        reinterpret_cast<Long2>(__builtin_shufflevector(ab, ab, 1, 1)) ^ negateLow);
    const Float4 parts =
        __builtin_ia32_cvtpd2ps(aa * cd + minusBb * __builtin_shufflevector(cd, cd, 1, 0));
    return CComplex(parts[0], parts[1]);
}

}  // namespace ccomplex_detail
#endif

// Float products are exact in double, and a sum of two of them lies between
// 2^-298 and 2^257 or is zero, so each part is its exact value rounded once
// to double and then to float: the correctly rounded part unless that double
// is a tie between two floats and the exact value is not, with no overflow or
// underflow but in the last rounding. Testing for such a tie and rounding
// from the exact error of the sum (two more steps per part) cost the product
// two thirds of its time, so the product stays as it is. A host's fast-math
// flags cannot change it: a fused multiply-add of exact products rounds as
// the sum does.
constexpr CComplex CComplex::operator*(const CComplex& factor) const noexcept {
#ifdef CCOMPLEX_PACKED_PRODUCT
    if (!__builtin_is_constant_evaluated()) return ccomplex_detail::packedProduct(*this, factor);
#endif
    const double a = static_cast<double>(real);
    const double b = static_cast<double>(imag);
    const double c = static_cast<double>(factor.real);
    const double d = static_cast<double>(factor.imag);
    return CComplex(static_cast<float>(a * c - b * d), static_cast<float>(a * d + b * c));
}

// The product is complete before it is stored, so the factor may be *this.
constexpr void CComplex::operator*=(const CComplex& factor) noexcept { *this = *this * factor; }

inline void CComplex::operator/=(const CComplex& divisor) noexcept { *this = *this / divisor; }

constexpr CComplex CComplex::operator-() const noexcept { return CComplex(-real, -imag); }

constexpr CComplex CComplex::conj() const noexcept { return CComplex(real, -imag); }

// Float equality is what == means here, so the host's -Wfloat-equal, which
// flags the comparison as a likely mistake, is silenced for it alone.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wfloat-equal"
#endif
constexpr bool CComplex::operator==(const CComplex& other) const noexcept {
    return real == other.real && imag == other.imag;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

constexpr bool CComplex::operator!=(const CComplex& other) const noexcept {
    return !(*this == other);
}

namespace ccomplex_detail {

// real^2 + imag^2 in double: float squares are exact there and their sum
// neither overflows nor underflows, so it is rounded once; a host's fused
// multiply-add rounds it the same way.
inline double squaredMagnitude(const CComplex& z) noexcept {
    const double r = static_cast<double>(z.real);
    const double i = static_cast<double>(z.imag);
    return r * r + i * i;
}

// The margin test: whether v - margin and v + margin round to the same
// float, so that every value between them, the exact one among them, rounds
// to v's float. Rounding is monotonic, so the lower end never rounds above
// the upper. A NaN v passes, and is its own result.
inline bool roundsAlikeWithin(double v, double margin) noexcept {
    return !(static_cast<float>(v - margin) < static_cast<float>(v + margin));
}

// mag() and norm(z), correctly rounded from their exact values, for the rare
// ones next to a tie between two floats.
float magnitudeNearTie(const CComplex& z) noexcept;
float normNearTie(const CComplex& z) noexcept;

// Writes "Error: Divided by zero!" and a newline to standard output, and
// flushes it: what every zero divisor does, once per call for a batch.
void reportZeroDivisor() noexcept;

}  // namespace ccomplex_detail

// The square root of the one rounded sum of squares is within 1.5 units of
// 2^-53 of the exact magnitude, which rounds to the same float unless a tie
// between two floats lies within 2^-51 of it; then the magnitude is rounded
// from the exact sign of real^2 + imag^2 - tie^2. That happened once in 2^26
// for parts uniform in [-1, 1], once in 2^27 for random bit patterns (2^31
// values each).
inline float CComplex::mag() const noexcept {
    const double m = std::sqrt(ccomplex_detail::squaredMagnitude(*this));
    if (ccomplex_detail::roundsAlikeWithin(m, m * 0x1p-51)) return static_cast<float>(m);
    return ccomplex_detail::magnitudeNearTie(*this);
}

// Float operands: one float operation per part touched, so the host's
// fast-math flags have nothing to reorder or approximate. Division by a float
// lives in ccomplex.cpp, where a reciprocal cannot replace it.

constexpr void CComplex::operator+=(float addend) noexcept { real += addend; }

constexpr void CComplex::operator-=(float subtrahend) noexcept { real -= subtrahend; }

constexpr void CComplex::operator*=(float factor) noexcept {
    real *= factor;
    imag *= factor;
}

inline void CComplex::operator/=(float divisor) noexcept { *this = *this / divisor; }

constexpr CComplex operator+(CComplex z, float s) noexcept {
    z += s;
    return z;
}

constexpr CComplex operator+(float s, CComplex z) noexcept { return CComplex(s + z.real, z.imag); }

constexpr CComplex operator-(CComplex z, float s) noexcept {
    z -= s;
    return z;
}

constexpr CComplex operator-(float s, CComplex z) noexcept { return CComplex(s - z.real, -z.imag); }

constexpr CComplex operator*(CComplex z, float s) noexcept {
    z *= s;
    return z;
}

constexpr CComplex operator*(float s, CComplex z) noexcept {
    return CComplex(s * z.real, s * z.imag);
}

inline CComplex operator/(float s, CComplex z) noexcept {
    const CComplex dividend(s);
    return dividend / z;
}

constexpr bool operator==(CComplex z, float s) noexcept { return z == CComplex(s); }

constexpr bool operator==(float s, CComplex z) noexcept { return z == CComplex(s); }

constexpr bool operator!=(CComplex z, float s) noexcept { return !(z == CComplex(s)); }

constexpr bool operator!=(float s, CComplex z) noexcept { return !(z == CComplex(s)); }

constexpr float real(const CComplex& z) noexcept { return z.real; }

constexpr float imag(const CComplex& z) noexcept { return z.imag; }

inline float abs(const CComplex& z) noexcept { return z.mag(); }

inline float arg(const CComplex& z) noexcept { return z.ang(); }

// The sum of squares mag() takes the root of, rounded to float: rounded once
// in double, it rounds to the same float unless it lies next to a tie
// between two floats, where the exact sign of real^2 + imag^2 - tie decides.
// Sums of float squares land there often: once in 2^20 for parts uniform in
// [-1, 1], once in 2^14 for random bit patterns.
inline float norm(const CComplex& z) noexcept {
    const double s = ccomplex_detail::squaredMagnitude(z);
    if (ccomplex_detail::roundsAlikeWithin(s, s * 0x1p-51)) return static_cast<float>(s);
    return ccomplex_detail::normNearTie(z);
}

constexpr CComplex conj(const CComplex& z) noexcept { return z.conj(); }

inline CComplex polar(float magnitude, float angle) noexcept {
    return CComplex::polar(magnitude, angle);
}

constexpr CComplex CComplex::polar(float magnitude) noexcept { return CComplex(magnitude); }

constexpr CComplex polar(float magnitude) noexcept { return CComplex::polar(magnitude); }

template <char... text>
constexpr CComplex ccomplex_literals::operator""_j() noexcept {
    constexpr float imag = ccomplex_literal::nearestFloat<text...>();  // at compile time
    return CComplex(0.0f, imag);
}

#undef CCOMPLEX_PACKED_PRODUCT

#endif  // CCOMPLEX_H
