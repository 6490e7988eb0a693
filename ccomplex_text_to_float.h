// Text to float, exactly, for standard libraries without a floating-point
// std::from_chars (libc++ before 17, which many Apple and Android toolchains
// still ship): there ccomplex.cpp's reader converts each part here, to the
// nearest float, ties to even, refused where it would be infinite or a zero
// from nonzero digits. Its digits become an
// exact big integer; a double estimate from the leading digits picks a float
// within an ulp or two of the answer; and exact comparisons of the value with
// the halfway points beside that float move it to the right one. Nothing is
// allocated and no locale is consulted. Most parts take a short way (see
// textToFloat); parts of forty digits or more take the exact way.
//
// Internal to the library, not installed; its test includes it.
#ifndef CCOMPLEX_TEXT_TO_FLOAT_H
#define CCOMPLEX_TEXT_TO_FLOAT_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "ccomplex_double_double.h"
#include "ccomplex_ieee.h"
#include "ccomplex_literal.h"

namespace ccomplex_text {

using ccomplex_kernels::isNearFloatTie;
using ccomplex_kernels::isOdd;

// A part's digits as the exact value digits * 10^tens * 2^twos, in the big
// integer the _j literal's conversion uses (its comparisons with the halfway
// points need at most about 810 bits here: a part has at most 190 digits,
// which the range checks confine to values between 2^-151 and 2^128).
using ccomplex_literal::BigNumber;
using ParsedNumber = ccomplex_literal::Literal;

// How `number` compares with the halfway point above the finite float `f` >= 0.
inline int compareWithHalfwayAbove(const ParsedNumber& number, float f) noexcept {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    const std::uint32_t field = bits >> 23, fraction = bits & 0x7fffffu;
    return field == 0 ? ccomplex_literal::compareWithHalfway(number, fraction, -149)
                      : ccomplex_literal::compareWithHalfway(number, fraction | 0x800000u,
                                                             static_cast<int>(field) - 150);
}

// The float nearest to `number`, from an estimate within an ulp or two of it,
// ties to even.
inline float nearestFloat(const ParsedNumber& number, double estimate) noexcept {
    float f = static_cast<float>(estimate);
    for (;;) {
        if (std::isfinite(f)) {
            const int above = compareWithHalfwayAbove(number, f);
            if (above > 0 || (above == 0 && isOdd(f))) {
                f = std::nextafter(f, HUGE_VALF);
                continue;
            }
        }
        if (f > 0) {
            const float below = std::nextafter(f, 0.0f);
            const int at = compareWithHalfwayAbove(number, below);
            if (at < 0 || (at == 0 && isOdd(f))) {
                f = below;
                continue;
            }
        }
        return f;
    }
}

using ccomplex_literal::digitValue;

// The digits in [first, last), skipping the point, as a big integer.
inline BigNumber digitsOf(const char* first, const char* last, std::uint32_t base) noexcept {
    BigNumber digits;
    for (; first != last; ++first) {
        if (*first != '.') digits.multiplyAdd(base, digitValue(*first));
    }
    return digits;
}

// Converts the part in [first, last), which readPart has checked: an optional
// minus sign, then inf, nan, or digits with an optional point and exponent
// (hexadecimal digits after a leading 0 and a binary exponent where `hex`).
// False where the value is beyond FLT_MAX or would round to zero. Most parts
// take a short way: up to 15 decimal digits with a power of ten up to 10^22
// (or 13 hexadecimal digits) give a correctly rounded double in one
// operation, which rounds to the right float unless it lies halfway between
// two.
inline bool textToFloat(const char* first, const char* last, float& part, bool hex) noexcept {
    const bool negative = *first == '-';
    first += negative ? 1 : 0;
    if (*first == 'i' || *first == 'n') {
        const float word = *first == 'i' ? HUGE_VALF : std::numeric_limits<float>::quiet_NaN();
        part = negative ? -word : word;
        return true;
    }
    const std::uint32_t base = hex ? 16 : 10;
    const int leadingLimit = hex ? 15 : 19;  // digits a uint64_t holds
    const char* const mantissa = first;
    std::uint64_t leading = 0;
    int digits = 0, scale = 0, beyondLeading = 0;
    bool fraction = false;
    for (; first != last && *first != (hex ? 'p' : 'e') && *first != (hex ? 'P' : 'E'); ++first) {
        if (*first == '.') {
            fraction = true;
            continue;
        }
        const std::uint32_t digit = digitValue(*first);
        scale -= fraction ? 1 : 0;
        if (digit == 0 && digits == 0) continue;
        ++digits;
        if (digits <= leadingLimit) {
            leading = leading * base + digit;
        } else {
            ++beyondLeading;
        }
    }
    const char* const mantissaEnd = first;
    int exponent = 0;
    if (first != last) {
        ++first;
        const bool negativeExponent = *first == '-';
        first += (*first == '-' || *first == '+') ? 1 : 0;
        for (; first != last; ++first) exponent = std::min(exponent * 10 + (*first - '0'), 100'000);
        exponent = negativeExponent ? -exponent : exponent;
    }
    float magnitude = 0;
    if (digits != 0) {
        ParsedNumber number;
        double estimate;
        bool exact;
        if (hex) {
            number.twos = 4 * scale + exponent;
            if (4 * (digits - 1) + number.twos >= 128) return false;
            if (4 * digits + number.twos <= -150) return false;
            estimate = std::ldexp(static_cast<double>(leading), number.twos + 4 * beyondLeading);
            exact = digits <= 13;
        } else {
            number.tens = scale + exponent;
            if (digits - 1 + number.tens >= 39) return false;
            if (digits + number.tens <= -46) return false;
            const int power = number.tens + beyondLeading;
            exact = digits <= 15 && power >= -22 && power <= 22;
            // 10^|power|: exact up to 10^22, and beyond within 2^-46 for the
            // |power| <= 65 that the range checks leave.
            double tens = 1;
            for (int i = 0; i < (power < 0 ? -power : power); ++i) tens *= 10;
            estimate = power < 0 ? static_cast<double>(leading) / tens
                                 : static_cast<double>(leading) * tens;
        }
        // The correctly rounded double of the number rounds to the number's
        // float unless it is itself a tie between two floats: no other tie
        // can lie between the two.
        if (exact && !isNearFloatTie(estimate, 0)) {
            magnitude = static_cast<float>(estimate);
        } else {
            number.digits = digitsOf(mantissa, mantissaEnd, base);
            magnitude = nearestFloat(number, estimate);
        }
        if (std::isinf(magnitude) || !(magnitude > 0)) return false;
    }
    part = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace ccomplex_text

#endif  // CCOMPLEX_TEXT_TO_FLOAT_H
