// CComplex: a complex number in rectangular form with single-precision parts.
//
// A plain value type: two public floats, real then imag, 8 bytes, trivially
// copyable and standard-layout; copied freely, held in the caller's storage.
// A default-constructed value is 0 + j0, so containers, arrays and members
// need no initialiser. Construction, copying, += and + are constexpr. No
// operation allocates memory, and every operation but the stream operators is
// noexcept: division included, see "Zero divisor".
//
// What a caller can rely on
// -------------------------
// Accuracy. For finite operands, each part of a quotient and the magnitude are
// within 1 ulp of the exact mathematical value (in practice they are the
// correctly rounded value except in rare near-halfway cases). There is no
// spurious overflow or underflow: a result that fits single precision is
// returned, one beyond FLT_MAX is infinity, and tiny results keep their
// subnormal digits. Addition is the IEEE 754 single-precision sum of the parts.
// The angle is exactly the C library's atan2(imag, real) evaluated in double
// precision and rounded to float, in radians from -pi to pi; a fast path
// gives the same float and defers to the library when it cannot be sure.
//
// Special values. Infinities and NaN flow through the arithmetic as IEEE 754
// defines; nothing traps and nothing is reported. Signed zeros are kept: the
// angle of -1 - j0 is -pi, of -1 + j0 is +pi.
//
// Zero divisor. Division by a value whose parts are both zero (either may be
// -0) writes the line "Error: Divided by zero!" to standard output, flushes
// it, and returns 0 + j0. Any other divisor, however small, is divided
// normally and writes nothing. If the line cannot be written, division still
// returns 0 + j0 and throws nothing, even when the caller has turned on
// exceptions for std::cout: the failure shows in std::cout's state, as after
// any failed write. All this holds before main too, in any file's static
// initialiser. Division follows the textbook formula, so a NaN anywhere,
// or an infinite part in either operand, generally gives NaN parts rather
// than the limit value.
//
// Text form. "<real> +j<imag>", each part exactly as C's "%f" writes it
// widened to double: six decimals, every integer digit, inf, nan, -nan and
// -0.000000, rounded to nearest with ties to even as printf rounds in the
// default rounding mode. The decimal point is always a full stop, whatever
// the locale. The longest text is 97 characters. Two ways give it:
//  - `out << z` writes it to a stream. It formats in its own automatic
//    storage and shares nothing, so any number of values can go in one
//    expression and threads can stream values at the same time. Use it to
//    write a value.
//  - print() returns it as a C string in one buffer of static storage, shared
//    by every CComplex value and every call; each call returns the same
//    pointer. The text stays valid only until the next print() on any value,
//    so write it out or copy it first; print() is not reentrant and must not
//    be called from more than one thread at a time. Use it where a caller
//    needs a C string.
//
// Reading. `in >> z` reads the text form back. Writing a value, reading it and
// writing it again gives the same text, for every float value; a value whose
// parts have exact six-decimal texts (2.5 + j3) reads back bit for bit.
//
// Threads. Every operation but print() touches only its operands (and, for a
// zero divisor, standard output) and is safe on distinct values from any
// number of threads.
//
// The host's build. This header compiles without a warning, with g++ and
// clang++ in C++17, C++20 and C++23, under -Wall -Wextra -Wpedantic -Wshadow
// -Wconversion -Wsign-conversion -Wdouble-promotion -Wold-style-cast
// -Wfloat-equal -Wundef -Wcast-qual -Wnon-virtual-dtor, and under clang's
// -Weverything -Wno-c++98-compat -Wno-c++98-compat-pedantic. Compiler flags
// change no result for finite operands: the library's CMake target compiles
// ccomplex.cpp with IEEE 754 semantics whatever the host's -ffast-math, -Ofast
// or -march; the inline code below stays exact under those flags; and
// ccomplex.cpp compiled by hand with -ffast-math or -Ofast stops with an
// error that says to add -ffp-contract=off -fno-fast-math after them.
//
// Flush-to-zero. A program linked with -ffast-math or -Ofast runs with the
// processor's flush-to-zero and denormals-are-zero modes on, for the whole
// process, and no library can see past them. There a subnormal part reads as
// a zero of the same sign, so a divisor whose parts are subnormal is reported
// as a zero divisor; and a result that would be subnormal becomes zero. The
// rest holds: where operands and results are normal floats, zeros, infinities
// or NaN, every result is bit for bit the same, and the text form, which
// shows a subnormal as 0.000000 anyway, does not change at all.
#ifndef CCOMPLEX_H
#define CCOMPLEX_H

#include <cmath>
#include <iosfwd>

class CComplex {
public:
    float real;
    float imag;

    // 0 + j0.
    constexpr CComplex() noexcept;
    constexpr CComplex(float realPart, float imagPart) noexcept;
    constexpr CComplex(const CComplex& other) noexcept = default;
    constexpr CComplex& operator=(const CComplex& other) noexcept = default;

    // Adds `addend` into this value, part by part.
    constexpr void operator+=(const CComplex& addend) noexcept;

    // The sum of this value and `addend`; neither operand changes.
    constexpr CComplex operator+(const CComplex& addend) noexcept;

    // The quotient of this value by `divisor`; neither operand changes.
    // A divisor of 0 + j0 writes "Error: Divided by zero!" to standard output
    // and yields 0 + j0; a failed write of that line throws nothing.
    CComplex operator/(const CComplex& divisor) noexcept;

    // The magnitude sqrt(real^2 + imag^2), within 1 ulp for finite parts.
    float mag() const noexcept;

    // The angle atan2(imag, real) in radians, in [-pi, pi].
    float ang() const noexcept;

    // The text "<real> +j<imag>", each part as C's "%f" of the part widened to
    // double ("2.500000 +j3.000000", "1.000000 +j-0.500000", "inf +j-nan").
    // Returns a pointer to a shared static buffer of 100 characters; see above.
    const char* print() const noexcept;
};

// Writes the text form of `z`, the same text print() gives, without touching
// print()'s buffer. The stream's field width pads the whole text as it pads
// any string, with the fill character and adjustment it sets; no other
// stream flag changes the text.
std::ostream& operator<<(std::ostream& out, const CComplex& z);

// Reads "<real> +j<imag>" into `z`: a part, the three characters " +j", and a
// part, with nothing between them. A part is an optional minus sign, then
// inf, nan, or a decimal number (digits with an optional point and fraction,
// then an optional exponent such as e-5); each becomes the float nearest its
// decimal value, ties to even, as std::from_chars gives it.
//  - Leading whitespace is skipped unless noskipws is set, as every formatted
//    input does. Exactly the characters of the value are taken: the stream is
//    left at the first character after it, so values, whitespace and other
//    text can follow one another.
//  - Every text that << and print() write reads back, including inf, -inf,
//    nan, -nan, -0.000000 and parts of 39 integer digits.
//  - Bad input sets failbit and leaves `z` unchanged: a missing or different
//    marker ("1.0+j2.0", "1.0 + j2.0"), a missing part, a part that is not a
//    number, a part whose value lies beyond the float range (above FLT_MAX,
//    or so small it would round to zero, as std::from_chars refuses it), a
//    part longer than the 47 characters of the longest part << writes, and
//    the end of the input within the value. Looking past the end of the
//    input sets eofbit, as in any formatted input: a value that ends in a
//    digit at the very end sets it, one that ends in a word does not. It
//    throws only where the caller turned on exceptions for the stream. It
//    allocates no memory.
std::istream& operator>>(std::istream& in, CComplex& z);

// The small operations are defined here so that callers' compilers can inline
// them, and addition in constant expressions too; division, angle and the
// text form live in ccomplex.cpp.

constexpr CComplex::CComplex() noexcept : real(0.0f), imag(0.0f) {}

constexpr CComplex::CComplex(float realPart, float imagPart) noexcept
    : real(realPart), imag(imagPart) {}

constexpr void CComplex::operator+=(const CComplex& addend) noexcept {
    real += addend.real;
    imag += addend.imag;
}

constexpr CComplex CComplex::operator+(const CComplex& addend) noexcept {
    CComplex sum(*this);
    sum += addend;
    return sum;
}

// Float products are exact in double and the sum of two of them neither
// overflows nor underflows there, so the square root of the one rounded sum is
// within a hair of the exact magnitude before its final rounding to float.
inline float CComplex::mag() const noexcept {
    const double r = static_cast<double>(real);
    const double i = static_cast<double>(imag);
    return static_cast<float>(std::sqrt(r * r + i * i));
}

#endif  // CCOMPLEX_H
