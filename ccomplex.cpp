#include "ccomplex.h"

#include "ccomplex_ieee.h"

// Built with -fno-exceptions, the library has nothing to catch and must not
// name try or catch.
#ifdef __cpp_exceptions
#define CCOMPLEX_EXCEPTIONS 1
#else
#define CCOMPLEX_EXCEPTIONS 0
#endif

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ios>
#include <iostream>
#include <istream>
#include <limits>
#include <ostream>
#include <streambuf>
#include <string_view>
#include <system_error>

#include "ccomplex_careful_kernels.h"
#include "ccomplex_double_double.h"
#include "ccomplex_double_kernels.h"
#include "ccomplex_text_to_float.h"

// Whether the standard library converts text to float itself: its feature
// test macro says so only where std::from_chars takes floating-point types.
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define CCOMPLEX_FLOAT_FROM_CHARS 1
#else
#define CCOMPLEX_FLOAT_FROM_CHARS 0
#endif

// Why double precision makes division exact enough
// ------------------------------------------------
// A float has a 24-bit significand and exponents from 2^-149 to just under
// 2^128. The product of two floats therefore has at most 48 significant bits,
// which a double's 53 bits hold exactly, and lies between 2^-298 and 2^256,
// far inside a double's range. A sum of two such products is rounded once, to
// a relative error of 2^-53, and can neither overflow nor underflow. Every
// further double operation adds at most another 2^-53. Rounding the double
// result to float then costs at most half a float ulp, plus a few 2^-53
// relative errors that are 2^-29 of a float ulp: well within 1 ulp, with no
// scaling and no branch on the operands' range. Overflow and underflow happen
// only in that last rounding, exactly where the true result leaves the float
// range. The magnitude, defined in the header, rests on the same argument.

// Writes the zero-divisor line and flushes it, so that it is out even if the
// process ends abruptly. Division never throws: a caller that turned on
// exceptions for std::cout gets the failed write in std::cout's state, which
// the stream sets before it throws. Kept out of line so that the arithmetic
// of division stays small.
//
// A division in another file's static initialiser can run before the
// standard streams are constructed, as the order of initialisation across
// files is unspecified; an ios_base::Init object constructs them if need be.
[[gnu::cold, gnu::noinline]] void ccomplex_detail::reportZeroDivisor() noexcept {
#if CCOMPLEX_EXCEPTIONS
    try {
#endif
        const std::ios_base::Init streamsReady;
        std::cout << "Error: Divided by zero!" << std::endl;
#if CCOMPLEX_EXCEPTIONS
    } catch (...) {
        // std::cout's state already records the failure.
    }
#endif
}

namespace {

// What a division by zero gives, after its line: 0 + j0.
CComplex quotientByZero() noexcept {
    ccomplex_detail::reportZeroDivisor();
    return CComplex(0.0f, 0.0f);
}

// The part (p + q) / d of a quotient, for exact products p and q and d =
// wr^2 + wi^2, correctly rounded from `approx`, its value in double: the sign
// of (p + q) / d - t is that of p + q - t wr^2 - t wi^2, whose terms, the
// products split into two doubles each, add up exactly.
float quotientPartExactly(double approx, double p, double q, double wr, double wi) noexcept {
    return ccomplex_kernels::roundExactly(approx, [&](double t) {
        const ccomplex_kernels::DoubleDouble r = ccomplex_kernels::twoProduct(t, wr * wr),
                                             i = ccomplex_kernels::twoProduct(t, wi * wi);
        const double terms[] = {p, q, -r.hi, -r.lo, -i.hi, -i.lo};
        return ccomplex_kernels::signOfSum(terms, 6);
    });
}

// The textbook quotient (xr + j xi) / (wr + j wi), with d = wr^2 + wi^2. Each
// part in double is within 3 units of 2^-53 of its exact value (the
// numerator and d rounded once each, and the quotient); where one lies
// within 8 double ulps of a tie between two floats, about one part in 2^24,
// both are rounded from their exact values.
[[gnu::cold, gnu::noinline]] CComplex quotientNearTie(double xr, double xi, double wr, double wi,
                                                      double re, double im) noexcept {
    return CComplex(quotientPartExactly(re, xr * wr, xi * wi, wr, wi),
                    quotientPartExactly(im, xi * wr, -(xr * wi), wr, wi));
}

[[gnu::always_inline]] inline CComplex textbookQuotient(double xr, double xi, double wr, double wi,
                                                        double d) noexcept {
#if defined(__GNUC__)
    // Both divisions in one vector operation: left to itself, g++ divides
    // once in a vector for the result and again twice for the test.
    typedef double Pair __attribute__((__vector_size__(16)));
    const Pair quotients = Pair{xr * wr + xi * wi, xi * wr - xr * wi} / Pair{d, d};
    const double re = quotients[0], im = quotients[1];
#else
    const double re = (xr * wr + xi * wi) / d, im = (xi * wr - xr * wi) / d;
#endif
    if (ccomplex_kernels::isNearFloatTie(re, 8) || ccomplex_kernels::isNearFloatTie(im, 8))
        return quotientNearTie(xr, xi, wr, wi, re, im);
    return CComplex(static_cast<float>(re), static_cast<float>(im));
}

// The quotient by a divisor that is zero or has an infinite or NaN part: off
// the common path, so that division's arithmetic stays small.
[[gnu::noinline]] CComplex divideByExceptional(double xr, double xi, double wr, double wi,
                                               double d) noexcept {
    // d is zero only when both parts are zero: the smallest nonzero square of
    // a float is 2^-298, which a double represents. A sum of squares is never
    // negative, so `d <= 0` means d is zero; a NaN d fails it.
    if (d <= 0.0) return quotientByZero();
    // A finite value over a value with an infinite part tends to zero. As C's
    // complex division does, each infinite part becomes +-1 and each other
    // part +-0, so that zero times the formula's numerator carries the sign
    // of the limit. Anything else keeps the formula's NaN.
    if ((std::isinf(wr) || std::isinf(wi)) && std::isfinite(xr) && std::isfinite(xi)) {
        wr = std::copysign(std::isinf(wr) ? 1.0 : 0.0, wr);
        wi = std::copysign(std::isinf(wi) ? 1.0 : 0.0, wi);
        return CComplex(static_cast<float>(0.0 * (xr * wr + xi * wi)),
                        static_cast<float>(0.0 * (xi * wr - xr * wi)));
    }
    return textbookQuotient(xr, xi, wr, wi, d);
}

}  // namespace

// Each numerator is a sum of two exact products, rounded once; each quotient
// lies between 2^-555 and 2^555, so only the final conversion to float can
// overflow or underflow.
CComplex CComplex::operator/(const CComplex& divisor) const noexcept {
    const double xr = static_cast<double>(real);
    const double xi = static_cast<double>(imag);
    const double wr = static_cast<double>(divisor.real);
    const double wi = static_cast<double>(divisor.imag);
    const double d = wr * wr + wi * wi;
    // The squares of finite floats sum to at most 2^257, so d is finite and
    // positive unless the divisor is zero or has an infinite or NaN part.
    if (!(d > 0.0 && d <= DBL_MAX)) return divideByExceptional(xr, xi, wr, wi, d);
    return textbookQuotient(xr, xi, wr, wi, d);
}

// Each part is one float division, as IEEE 754 defines it; only a zero
// divisor is reported.
CComplex operator/(CComplex z, float s) noexcept {
    if (std::fabs(s) <= 0.0f) return quotientByZero();  // zero; a NaN fails it
    return CComplex(z.real / s, z.imag / s);
}

// sqrt(r^2 + i^2) and t, a tie between two floats: the sign of the first less
// the second is that of r^2 + i^2 - t^2 for t >= 0, whose terms are exact
// doubles (t has 25 bits); every magnitude lies above a negative t.
float ccomplex_detail::magnitudeNearTie(const CComplex& z) noexcept {
    const double r = static_cast<double>(z.real), i = static_cast<double>(z.imag);
    return ccomplex_kernels::roundExactly(std::sqrt(r * r + i * i), [&](double t) {
        const double terms[] = {r * r, i * i, -(t * t)};
        return t < 0 ? 1 : ccomplex_kernels::signOfSum(terms, 3);
    });
}

float ccomplex_detail::normNearTie(const CComplex& z) noexcept {
    const double r = static_cast<double>(z.real), i = static_cast<double>(z.imag);
    return ccomplex_kernels::roundExactly(r * r + i * i, [&](double t) {
        const double terms[] = {r * r, i * i, -t};
        return ccomplex_kernels::signOfSum(terms, 3);
    });
}

CComplex proj(const CComplex& z) noexcept {
    if (std::isinf(z.real) || std::isinf(z.imag)) {
        return CComplex(HUGE_VALF, std::copysign(0.0f, z.imag));
    }
    return z;
}

// Defined here rather than inline, so that the library still provides it to
// programs built against the first version, which call it by name.
CComplex CComplex::operator/(const CComplex& divisor) noexcept {
    return static_cast<const CComplex&>(*this) / divisor;
}

// The angle
// ---------
// atan2Of gives the angle in double within 3.2u (u = 2^-53) relative; ang()
// keeps its rounding to float when the values a margin of 8u below and above
// it round to the same float, as the exact angle lies between them. That
// settles all but one operand pair in 2^25.3 for parts uniform in [-1, 1],
// one in 2^26.6 for random bit patterns (2^31 pairs each); for those, and
// only for finite nonzero parts, the angle is computed again in
// double-double, to about 2^-100 relative, and rounded once. The angle of two floats is never
// exactly halfway between two floats (atan of a nonzero rational is
// irrational), and no float pair is known to bring it within 2^-100 of such
// a point: among the 2^62 pairs, about one in 2^76 would. Zero and infinite
// parts give 0, +-pi/4, +-pi/2, +-3pi/4 and +-pi exactly signed.

namespace {

[[gnu::noinline]] float angleNearTie(float x, float y) noexcept {
    return ccomplex_kernels::roundToFloat(ccomplex_kernels::carefulAngle(x, y), 0);
}

}  // namespace

float CComplex::ang() const noexcept {
    const double angle =
        ccomplex_kernels::atan2Of(static_cast<double>(imag), static_cast<double>(real));
    if (ccomplex_detail::roundsAlikeWithin(angle, std::fabs(angle) * 0x1p-50))
        return static_cast<float>(angle);
    return angleNearTie(real, imag);
}

// The polar form
// --------------
// magnitude cos(angle) + j magnitude sin(angle). cos and sin come from the
// kernel, within 2^-50 relative for every float angle, and the product by the
// float magnitude is rounded once in double: each part is within 2^-49.8
// relative of its exact value, 2^-25.8 of a float ulp, before its rounding to
// float. Where a part lies within 2^-48 of a tie between two floats (about
// one in 2^23), both are computed again in double-double, to about 2^-100,
// and rounded once; the exact part is never a tie itself (cos and sin of a
// nonzero rational are irrational), and no float pair is known to bring it
// within 2^-100 of one. No float angle brings cos or sin nearer zero than
// 2^-150 (the sine of a tiny angle is about the angle; from 1 upward both
// stay above 2^-30), so the products lie between 2^-300 and 2^128, or are
// zero, and only the last rounding can overflow or underflow. An infinite or
// NaN angle gives NaN parts.
namespace {

[[gnu::cold, gnu::noinline]] CComplex polarCarefully(float magnitude, float angle) noexcept {
    // A zero angle: magnitude + j magnitude angle, exact, the zero signed as
    // the fast path signs it; the double-double sums below would give +0.
    if (std::fpclassify(angle) == FP_ZERO) return CComplex(magnitude, magnitude * angle);
    using ccomplex_kernels::DoubleDouble;
    const ccomplex_kernels::CosSin<DoubleDouble> v =
        ccomplex_kernels::cosSinOfFloatCarefully(angle);
    const double m = static_cast<double>(magnitude);
    const auto times = [m](DoubleDouble part) {
        const DoubleDouble p = ccomplex_kernels::twoProduct(m, part.hi);
        return ccomplex_kernels::quickTwoSum(p.hi, p.lo + m * part.lo);
    };
    return CComplex(ccomplex_kernels::roundToFloat(times(v.cos), 0),
                    ccomplex_kernels::roundToFloat(times(v.sin), 0));
}

}  // namespace

CComplex CComplex::polar(float magnitude, float angle) noexcept {
    const double m = static_cast<double>(magnitude);
    const auto [c, s] = ccomplex_kernels::cosSinOfFloat(angle);
    const double re = m * c, im = m * s;
    if (ccomplex_kernels::isNearFloatTie(re, 32) || ccomplex_kernels::isNearFloatTie(im, 32))
        return polarCarefully(magnitude, angle);
    return CComplex(static_cast<float>(re), static_cast<float>(im));
}

// The text form
// -------------
// Each part is converted by std::to_chars, applied to the part widened to
// double: in fixed notation that is exactly C's "%.<precision>f" (every
// integer digit, halfway cases rounded to even), in scientific notation
// "%.<precision>e", and in hexadecimal notation, after the "0x" that to_chars
// leaves out, "%a"; with inf, nan, -nan and -0 as printf writes them and a
// full stop whatever the locale. It allocates nothing.
// A float widened to double is a multiple of 2^-149, so no digit past the
// 149th decimal is nonzero, and a larger precision is taken as 149. The
// longest part is then -FLT_MAX in fixed notation with precision 149: a sign,
// 39 integer digits, the point and 149 decimals, 190 characters. So a line
// is at most 190 + 3 + 190 = 383 characters; print()'s, with six decimals, at
// most 47 + 3 + 47 = 97.

namespace {

constexpr int kMostDecimals = 149;
constexpr std::size_t kLongestPart = 190;
constexpr std::size_t kPrintCapacity = 100;
constexpr std::size_t kStreamCapacity = 2 * kLongestPart + 4;

// How a part is written: the notation, and the digits after the point.
struct PartFormat {
    std::chars_format notation;
    int precision;
};

constexpr PartFormat kPrintFormat{std::chars_format::fixed, 6};

// The stream's format as printf would apply it to a float: hexfloat is fixed
// and scientific at once; a negative precision means the default, 6.
PartFormat streamFormat(const std::ios_base& stream) {
    const std::ios_base::fmtflags field = stream.flags() & std::ios_base::floatfield;
    const std::streamsize precision = stream.precision();
    PartFormat format{
        std::chars_format::fixed,
        precision < 0 ? 6 : static_cast<int>(std::min<std::streamsize>(precision, kMostDecimals))};
    if (field == (std::ios_base::fixed | std::ios_base::scientific)) {
        format.notation = std::chars_format::hex;
    } else if (field == std::ios_base::scientific) {
        format.notation = std::chars_format::scientific;
    }
    return format;
}

// Writes the text of `part` at `first` and returns its end. The caller leaves
// room for the longest text, so the conversion cannot run out of space. A NaN
// is written from the float's own sign bit, before widening: some processors
// (RISC-V) make every NaN positive when they convert it to double, and
// standard libraries spell NaN in their own ways.
char* appendPart(char* first, char* last, float part, PartFormat format) noexcept {
    if (std::isnan(part)) {
        const char* const text = std::signbit(part) ? "-nan" : "nan";
        const std::size_t length = std::strlen(text);
        std::memcpy(first, text, length);
        return first + length;
    }
    const double value = static_cast<double>(part);
    if (format.notation != std::chars_format::hex) {
        return std::to_chars(first, last, value, format.notation, format.precision).ptr;
    }
    if (!std::isfinite(value)) return std::to_chars(first, last, value).ptr;
    if (std::signbit(value)) *first++ = '-';
    *first++ = '0';
    *first++ = 'x';
    return std::to_chars(first, last, std::fabs(value), std::chars_format::hex).ptr;
}

// Writes the terminated text "<real> +j<imag>" of `z` at `text`, which has
// room for the longest text in `format`, and returns its length. Both print()
// and the stream inserter use it, so the two agree.
std::size_t formatText(const CComplex& z, char* text, std::size_t capacity,
                       PartFormat format) noexcept {
    char* const last = text + capacity - 1;  // keeps room for the terminator
    char* end = appendPart(text, last, z.real, format);
    std::memcpy(end, " +j", 3);
    end = appendPart(end + 3, last, z.imag, format);
    *end = '\0';
    return static_cast<std::size_t>(end - text);
}

}  // namespace

const char* CComplex::print() const noexcept {
    static char outstr[kPrintCapacity];
    formatText(*this, outstr, sizeof outstr, kPrintFormat);
    return outstr;
}

std::ostream& operator<<(std::ostream& out, const CComplex& z) {
    char text[kStreamCapacity];
    const std::size_t length = formatText(z, text, sizeof text, streamFormat(out));
    // Inserted as a string is, so the stream pads it to its field width with
    // its fill character and then resets the width.
    return out << std::string_view(text, length);
}

// Reading the text form
// ---------------------
// The value is read straight from the stream's buffer, one character at a
// time, and a character is taken only when it can continue the value, so the
// stream stays at the first character after it. One character is read ahead,
// in one place: a space after a bare number, taken to see whether " +j"
// follows, and given back where it does not. String and file buffers take it
// back; a buffer that cannot keeps it taken. Each part's characters are
// collected in automatic storage, and std::from_chars (or, without it, the
// library's own conversion), which allocates nothing, turns them into the
// nearest float.

namespace {

// Takes characters from a stream buffer as a reader accepts them, and
// collects those it took since the start of the current part.
class PartReader {
public:
    explicit PartReader(std::streambuf& buffer) : buffer_(buffer) {}

    void startPart() {
        length_ = 0;
        uncollected_ = 0;
    }

    // Whether a look at the next character found the end of the input.
    bool reachedEnd() const { return reachedEnd_; }

    // Takes the next character if it is `c`.
    bool take(char c) {
        if (peek() != c) return false;
        keep(c);
        return true;
    }

    // Takes each character of `word` in turn; false at the first that differs.
    bool takeWord(const char* word) {
        for (; *word != '\0'; ++word) {
            if (!take(*word)) return false;
        }
        return true;
    }

    // Passes over spaces, tabs and line ends, as formatted input does.
    void skipWhitespace() {
        for (int c = peek(); c == ' ' || (c >= '\t' && c <= '\r'); c = peek()) buffer_.sbumpc();
    }

    // Takes the next character if it is `c`, without collecting it.
    bool skip(char c) {
        if (peek() != c) return false;
        buffer_.sbumpc();
        return true;
    }

    // The same for a character of the part that the conversion does without
    // (the x of 0x), which still counts towards the part's length.
    bool skipInPart(char c) {
        if (!skip(c)) return false;
        ++uncollected_;
        return true;
    }

    // Whether the next character is `c`, without taking it.
    bool next(char c) { return peek() == c; }

    // Gives back the character last taken, where the stream buffer can take
    // it back (string and file buffers can); elsewhere it stays taken. Given
    // back, it is the next character again, so an end of the input found
    // past it is no longer reached.
    void giveBack() {
        using Traits = std::streambuf::traits_type;
        if (!Traits::eq_int_type(buffer_.sungetc(), Traits::eof())) reachedEnd_ = false;
    }

    // Takes decimal, or hexadecimal, digits while there are any, and returns
    // how many.
    std::size_t takeDigits(bool hex = false) {
        std::size_t count = 0;
        for (int c = peek(); isDigit(c, hex); c = peek(), ++count) {
            keep(static_cast<char>(c));
        }
        return count;
    }

    // Converts the collected part, in `format`, to the nearest float. False
    // if the part is too long or its value lies beyond the float range.
    bool convert(float& part, std::chars_format format) const {
        if (length_ + uncollected_ > kLongestPart) return false;
        const char* const end = text_ + length_;
#if CCOMPLEX_FLOAT_FROM_CHARS
        const std::from_chars_result result = std::from_chars(text_, end, part, format);
        return result.ec == std::errc() && result.ptr == end;
#else
        return ccomplex_text::textToFloat(text_, end, part, format == std::chars_format::hex);
#endif
    }

private:
    static bool isDigit(int c, bool hex) {
        return (c >= '0' && c <= '9') ||
               (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    }

    // The next character, not taken: as an unsigned char's value, or EOF at
    // the end of the input, which matches nothing a reader looks for.
    int peek() {
        using Traits = std::streambuf::traits_type;
        const Traits::int_type c = buffer_.sgetc();
        if (Traits::eq_int_type(c, Traits::eof())) reachedEnd_ = true;
        return c;
    }

    // Takes the next character, which is `c`, into the part. A part that
    // outgrows the storage is still counted, so that convert() refuses it.
    void keep(char c) {
        buffer_.sbumpc();
        if (length_ < kLongestPart) text_[length_] = c;
        ++length_;
    }

    std::streambuf& buffer_;
    std::size_t length_ = 0;       // of the current part, counting what did not fit
    std::size_t uncollected_ = 0;  // characters of the part taken but not collected
    // The longest part, and one spare character that rounds the object up to
    // whole words, so that a strict host's -Wpadded finds nothing to report.
    char text_[kLongestPart + 1];
    bool reachedEnd_ = false;
};

// Reads one part: an optional minus sign, then inf, nan, or a number: digits
// with an optional point and fraction (at least one digit in all) and an
// optional exponent, decimal (e-5), or after 0x hexadecimal (p-5, its power
// of two in decimal digits).
bool readPart(PartReader& reader, float& part) {
    reader.startPart();
    reader.take('-');
    if (reader.take('i'))
        return reader.takeWord("nf") && reader.convert(part, std::chars_format::general);
    if (reader.take('n'))
        return reader.takeWord("an") && reader.convert(part, std::chars_format::general);
    // from_chars reads hexadecimal digits without their 0x, so the x is left
    // out; the 0 before it stays, a leading zero.
    const bool zero = reader.take('0');
    const bool hex = zero && (reader.skipInPart('x') || reader.skipInPart('X'));
    std::size_t digits = (zero && !hex) ? 1 : 0;
    digits += reader.takeDigits(hex);
    if (reader.take('.')) digits += reader.takeDigits(hex);
    if (digits == 0) return false;
    if (hex ? reader.take('p') || reader.take('P') : reader.take('e') || reader.take('E')) {
        if (!reader.take('+')) reader.take('-');
        if (reader.takeDigits() == 0) return false;
    }
    return reader.convert(part, hex ? std::chars_format::hex : std::chars_format::general);
}

// Reads the standard type's "(re,im)" or "(re)" after its "(": whitespace
// may come before each part, the comma and the closing parenthesis, where
// the standard type's reader skips it.
bool readParenthesised(PartReader& reader, bool skipWhitespace, float& real, float& imag) {
    const auto whitespace = [&] {
        if (skipWhitespace) reader.skipWhitespace();
    };
    whitespace();
    if (!readPart(reader, real)) return false;
    whitespace();
    if (reader.skip(')')) return true;
    if (!reader.skip(',')) return false;
    whitespace();
    if (!readPart(reader, imag)) return false;
    whitespace();
    return reader.skip(')');
}

// Reads what follows a first number: " +j" and the imaginary part, or
// nothing, for a bare number, whose imaginary part stays 0. Telling the two
// apart takes a look past a space after the number; where the space does not
// start " +j", it is given back. A "+" right after the number, or after the
// space but not before "j", is malformed, as it was before bare numbers were
// read: "1.0+j2.0" and "1.0 + j2.0" fail rather than read as 1.0.
bool readAfterNumber(PartReader& reader, float& imag) {
    if (reader.next('+')) return false;
    if (!reader.skip(' ')) return true;
    if (!reader.skip('+')) {
        reader.giveBack();
        return true;
    }
    return reader.skip('j') && readPart(reader, imag);
}

// Reads the value from `buffer` into `z`, in this type's form, the standard
// type's parenthesised one, or a bare number, and returns the state it
// leaves: eofbit where the reader looked for a character at the end.
std::ios_base::iostate readValue(std::streambuf& buffer, bool skipWhitespace, CComplex& z) {
    PartReader reader(buffer);
    float real = 0.0f;
    float imag = 0.0f;
    std::ios_base::iostate state = std::ios_base::goodbit;
    const bool read = reader.skip('(') ? readParenthesised(reader, skipWhitespace, real, imag)
                                       : readPart(reader, real) && readAfterNumber(reader, imag);
    if (read) {
        z = CComplex(real, imag);
    } else {
        state |= std::ios_base::failbit;
    }
    if (reader.reachedEnd()) state |= std::ios_base::eofbit;
    return state;
}

}  // namespace

std::istream& operator>>(std::istream& in, CComplex& z) {
    const std::istream::sentry ready(in);  // skips whitespace unless noskipws
    if (!ready) return in;
    const bool skipWhitespace = (in.flags() & std::ios_base::skipws) != 0;
#if CCOMPLEX_EXCEPTIONS
    std::ios_base::iostate state;
    try {
        state = readValue(*in.rdbuf(), skipWhitespace, z);
    } catch (...) {
        // The buffer threw. As the standard extractors do: set badbit, and
        // pass the buffer's exception on only if badbit is among the stream's
        // exceptions (setstate would throw its own failure instead).
        try {
            in.setstate(std::ios_base::badbit);
        } catch (const std::ios_base::failure&) {
        }
        if (in.exceptions() & std::ios_base::badbit) throw;
        return in;
    }
#else
    const std::ios_base::iostate state = readValue(*in.rdbuf(), skipWhitespace, z);
#endif
    in.setstate(state);
    return in;
}
