// The text of a numeric literal to the nearest float, ties to even, exactly
// and in constant expressions: what the _j literal of ccomplex.h stands on,
// so that 0.1_j is j times 0.1f exactly, whatever the platform's long
// double. Every form a literal can take reads: decimal and hexadecimal
// floating literals, decimal, hexadecimal, octal and binary integers, digit
// separators, any number of digits. The library's own text-to-float
// conversion takes its exact way through the same big integer.
//
// The digits become an exact big integer; a double estimate from the leading
// ones picks a float within an ulp or two; and exact comparisons with the
// halfway points beside it move it to the right one. A value beyond the
// float range is infinite, and one below half the smallest subnormal 0, as
// converting a long double would make them.
#ifndef CCOMPLEX_LITERAL_H
#define CCOMPLEX_LITERAL_H

#include <cmath>  // HUGE_VALF

namespace ccomplex_literal {

// A 32-bit word of a big number, in an unsigned int of at least that many
// bits (the header includes no more than <cmath>).
using Word = unsigned int;
constexpr unsigned long long kWordMask = 0xffffffffu;

// An unsigned integer of 1024 bits. No comparison needs more than 620: the
// value lies between 2^-160 and 2^129, the halfway points are 25-bit
// integers times powers of two in that range, and at most kKeptDigits
// significant digits are kept.
struct BigNumber {
    Word word[32] = {};

    constexpr void multiplyAdd(Word factor, Word addend) noexcept {
        unsigned long long carry = addend;
        for (Word& w : word) {
            const unsigned long long product = static_cast<unsigned long long>(w) * factor + carry;
            w = static_cast<Word>(product & kWordMask);
            carry = product >> 32;
        }
    }

    // this * 10^tens * 2^twos, for tens and twos >= 0.
    constexpr void scale(int tens, int twos) noexcept {
        for (; tens > 0; --tens) multiplyAdd(10, 0);
        for (; twos >= 16; twos -= 16) multiplyAdd(Word{1} << 16, 0);
        multiplyAdd(Word{1} << twos, 0);
    }
};

constexpr int compare(const BigNumber& a, const BigNumber& b) noexcept {
    for (int i = 31; i >= 0; --i) {
        if (a.word[i] != b.word[i]) return a.word[i] < b.word[i] ? -1 : 1;
    }
    return 0;
}

// Enough significant digits to decide every comparison: a halfway point has
// at most 113 significant decimal digits (a 25-bit integer times 5^150 at
// the bottom of the range), so digits past the 120th only tell whether the
// value lies exactly on one, which a dropped nonzero digit tells.
constexpr int kKeptDigits = 120;

// digits * 10^tens * 2^twos, plus a nonzero amount below the last kept
// digit where nonzero digits were dropped; and its order: the value lies in
// [10^(order - 1), 10^order) for a decimal literal, [2^(order - 4), 2^order)
// for the others.
struct Literal {
    BigNumber digits;
    // The first significant digits, at most 15, and their weight: the value
    // is about lead 10^leadScale (decimal) or lead 2^leadScale.
    double lead = 0;
    int leadScale = 0;
    int tens = 0, twos = 0, order = 0;
    int droppedNonzero = 0;  // nonzero digits past the kept ones
    int decimal = 1;         // 1 for a decimal literal, 0 for the others
};

constexpr bool isDigitOf(char c, int base) noexcept {
    if (c >= '0' && c <= '9') return c - '0' < base;
    return base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

constexpr Word digitValue(char c) noexcept {
    if (c <= '9') return static_cast<Word>(c - '0');
    return static_cast<Word>((c | 0x20) - 'a' + 10);
}

// Reads a literal's characters, which the compiler has checked.
constexpr Literal parse(const char* text) noexcept {
    Literal v;
    int base = 10, i = 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X' || text[1] == 'b' || text[1] == 'B')) {
        base = (text[1] | 0x20) == 'x' ? 16 : 2;
        i = 2;
    }
    // The exponent's letter: e for decimal literals, p for hexadecimal ones.
    const char letter = base == 16 ? 'p' : 'e';
    bool floating = false;
    for (int k = i; text[k] != '\0'; ++k)
        floating = floating || text[k] == '.' || (text[k] | 0x20) == letter;
    if (!floating && base == 10 && text[0] == '0') base = 8;
    // The weight of a digit dropped or after the point, as tens or twos.
    const int bitsPerDigit = base == 16 ? 4 : base == 8 ? 3 : 1;
    v.decimal = base == 10 ? 1 : 0;
    int significant = 0, scale = 0, leadDigits = 0;  // scale: in digits
    bool afterPoint = false;
    for (; text[i] != '\0'; ++i) {
        const char c = text[i];
        if (c == '\'') continue;
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (!isDigitOf(c, base)) break;  // the exponent's letter
        const Word d = digitValue(c);
        if (afterPoint) --scale;
        if (significant == 0 && d == 0) continue;
        ++significant;
        if (significant <= kKeptDigits) {
            v.digits.multiplyAdd(static_cast<Word>(base), d);
        } else {
            ++scale;
            if (d != 0) ++v.droppedNonzero;
        }
        if (leadDigits < 15) {
            v.lead = v.lead * base + d;
            ++leadDigits;
        }
    }
    int exponent = 0;
    if (text[i] != '\0') {
        const bool negative = text[i + 1] == '-';
        for (i += text[i + 1] == '-' || text[i + 1] == '+' ? 2 : 1; text[i] != '\0'; ++i) {
            if (text[i] != '\'' && exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    const int kept = significant < kKeptDigits ? significant : kKeptDigits;
    if (v.decimal) {
        v.tens = scale + exponent;
        v.order = kept + v.tens;
    } else {
        v.twos = scale * bitsPerDigit + exponent;
        v.order = kept * bitsPerDigit + v.twos;
    }
    v.leadScale = v.order - leadDigits * (v.decimal ? 1 : bitsPerDigit);
    if (significant == 0) v.order = -100000;  // zero
    return v;
}

// base^n as a double, for small |n|: exact or rounded a few dozen times.
constexpr double power(double base, int n) noexcept {
    double p = 1;
    for (; n > 0; --n) p *= base;
    for (; n < 0; ++n) p /= base;
    return p;
}

// How the literal compares with the halfway point (2m + 1) 2^(q - 1) above
// the float m 2^q: each side's negative powers moved to the other side.
constexpr int compareWithHalfway(const Literal& v, Word m, int q) noexcept {
    BigNumber value = v.digits, halfway;
    halfway.word[0] = 2 * m + 1;
    const int twos = v.twos - (q - 1);
    value.scale(v.tens > 0 ? v.tens : 0, twos > 0 ? twos : 0);
    halfway.scale(v.tens < 0 ? -v.tens : 0, twos < 0 ? -twos : 0);
    const int order = compare(value, halfway);
    return order == 0 && v.droppedNonzero > 0 ? 1 : order;
}

// m 2^q with m below 2^24, and at least 2^23 unless q is -149.
struct Float {
    Word m;
    int q;
};

constexpr Float next(Float f) noexcept {
    return f.m + 1 == (Word{1} << 24) ? Float{Word{1} << 23, f.q + 1} : Float{f.m + 1, f.q};
}

constexpr Float previous(Float f) noexcept {  // f.m > 0
    return f.m == (Word{1} << 23) && f.q > -149 ? Float{(Word{1} << 24) - 1, f.q - 1}
                                                : Float{f.m - 1, f.q};
}

// The float nearest an estimate within a few ulps of the literal: m 2^q.
constexpr Float nearEstimate(double estimate) noexcept {
    int q = 0;
    for (; estimate >= 0x1p24; ++q) estimate /= 2;
    for (; estimate < 0x1p23 && q > -149; --q) estimate *= 2;
    const auto m = static_cast<Word>(estimate + 0.5);
    return m == (Word{1} << 24) ? Float{Word{1} << 23, q + 1} : Float{m, q};
}

constexpr float kInfinity = HUGE_VALF;

constexpr float toFloat(Float f) noexcept {
    if (f.q > 104) return kInfinity;  // 2^128 and beyond
    float x = static_cast<float>(f.m);
    for (int q = f.q; q > 0; --q) x *= 2;
    for (int q = f.q; q < 0; ++q) x /= 2;  // exact: m 2^q is a float
    return x;
}

template <char... text>
constexpr float nearestFloat() noexcept {
    constexpr char characters[] = {text..., '\0'};
    const Literal v = parse(characters);
    // At least 10^39 or 2^129: infinite; below 10^-46 or 2^-151: zero.
    if (v.decimal ? v.order - 1 >= 39 : v.order - 4 >= 129) return kInfinity;
    if (v.order <= (v.decimal ? -46 : -151)) return 0.0f;
    Float f = nearEstimate(v.lead * power(v.decimal ? 10 : 2, v.leadScale));
    for (;;) {
        const int above = compareWithHalfway(v, f.m, f.q);
        if (f.q <= 104 && (above > 0 || (above == 0 && (f.m & 1) != 0))) {
            f = next(f);
            continue;
        }
        if (f.m > 0) {
            const Float below = previous(f);
            const int at = compareWithHalfway(v, below.m, below.q);
            if (at < 0 || (at == 0 && (f.m & 1) != 0)) {
                f = below;
                continue;
            }
        }
        return toFloat(f);
    }
}

}  // namespace ccomplex_literal

#endif  // CCOMPLEX_LITERAL_H
