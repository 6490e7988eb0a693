// The reduction of a float angle y by pi/2: y = quarters pi/2 + r, with
// |r| <= pi/4 (a hair more near the ends), for cos and sin of any float. Up
// to 2^19 pi/2 is subtracted in parts; beyond, y 2/pi is formed exactly
// enough from 2/pi's bits, as a fixed-point fraction of a quarter turn that
// the double and the careful reduction take to their own precision.
//
// Internal to the library, not installed. tools/kernel_constants.cpp checks
// both reductions on every float against 2/pi to 400 bits: each r within
// 2^-51.9 relative, each quarter right.
#ifndef CCOMPLEX_ANGLE_REDUCTION_H
#define CCOMPLEX_ANGLE_REDUCTION_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ccomplex_double_double.h"
#include "ccomplex_ieee.h"
#include "ccomplex_kernel_constants.h"

// These small structs are laid out for reading and live in registers: a
// strict build's -Wpadded has nothing to say about them.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wpadded"
#endif

namespace ccomplex_kernels {

// y = quarters pi/2 + r; quarters matters modulo 4 only.
template <typename Real>
struct ReducedAngle {
    Real r;
    int quarters;
};

// ---------------------------------------------------------------- up to 2^19
//
// k, the integer nearest y 2/pi, is below 2^20, so k times each of pi/2's
// first two parts of 33 bits is exact, and y - k P0 is exact as the two lie
// within a factor of 2 (Sterbenz). No float below 2^19 comes within 2^-27.8
// of a nonzero multiple of pi/2, so |r| >= 2^-28 unless k = 0.

// r within 2^-51 relative: with three parts, pi/2 is off by 2^-122, which k
// turns into at most 2^-102, and the two roundings of r add 2^-52 |r|.
inline ReducedAngle<double> reduceSmallAngle(double y) noexcept {
    int quarters;
    const double k = nearestInteger(y * kTwoOverPi, quarters);
    return {((y - k * kHalfPiParts[0]) - k * kHalfPiParts[1]) - k * kHalfPiParts[2], quarters};
}

// r to about 2^-120 relative: all four parts, 172 bits of pi/2, and the
// sums in double-double, within 2^-150 of r.
inline ReducedAngle<DoubleDouble> reduceSmallAngleCarefully(double y) noexcept {
    int quarters;
    const double k = nearestInteger(y * kTwoOverPi, quarters);
    return {twoSum(y - k * kHalfPiParts[0], -(k * kHalfPiParts[1])) -
                twoProduct(k, kHalfPiParts[2]) - DoubleDouble{k * kHalfPiParts[3]},
            quarters};
}

// ---------------------------------------------------------------- beyond 2^19
//
// y = m 2^e with m an integer below 2^24 and e in [-4, 104]. The words of
// 2/pi whose product with y is a multiple of 4 (whole turns) are skipped, and
// the next ones are multiplied by m exactly in 32-bit pieces: the binary
// point lies between bits 32 (words - 1) - 1 and 32 words + 4 of the
// product, whose two bits above it are the quarter turns modulo 4 and the
// bits below the fraction f. The words left out add less than 2^-(32 words -
// 57) to f. No float between 2^19 and 2^128 lies within 2^-29.8 quarter turns
// of a multiple of pi/2 (0x1.f37c8ap+95 comes closest), so f, taken to the
// nearest integer's side, has at most 31 leading zeros, and the bits after
// them are f's significand.

// Bits low to low + 63 of the number whose `count` 32-bit words, least
// significant first, are `words`, for low >= -1; bits outside them are zero.
inline std::uint64_t bitsFrom(const std::uint32_t* words, int count, int low) noexcept {
    const int first = low < 0 ? -1 : low / 32, shift = low - 32 * first;
    const auto word = [&](int i) -> std::uint64_t { return i >= 0 && i < count ? words[i] : 0; };
    std::uint64_t bits = word(first) >> shift | word(first + 1) << (32 - shift);
    if (shift > 0) bits |= word(first + 2) << (64 - shift);
    return bits;
}

// m times kTwoOverPiWords[first] to kTwoOverPiWords[first + count - 1],
// exactly: count + 1 32-bit words of `product`, least significant first.
inline void timesTwoOverPiWords(std::uint64_t m, std::size_t first, std::size_t count,
                                std::uint32_t* product) noexcept {
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t partial = m * kTwoOverPiWords[first + count - 1 - i] + carry;
        product[i] = static_cast<std::uint32_t>(partial);
        carry = partial >> 32;
    }
    product[count] = static_cast<std::uint32_t>(carry);
}

// The fraction of a quarter turn that |y| 2/pi leaves, in [-1/2, 1/2]: a
// sign and kWords 64-bit words of magnitude below the binary point, most
// significant first, beside the whole quarter turns modulo 4.
template <std::size_t kWords>
struct QuarterTurnFraction {
    int quarters = 0;
    bool negative = false;
    std::uint64_t words[kWords] = {};

    // f - 1 and the next quarter, for f >= 1/2: the magnitude becomes the
    // two's complement, borrowing across words.
    void negate() noexcept {
        ++quarters;
        negative = true;
        std::uint64_t borrow = 1;
        for (std::size_t i = kWords; i-- > 0;) {
            words[i] = ~words[i] + borrow;
            borrow = borrow != 0 && words[i] == 0 ? 1 : 0;
        }
    }

    // The leading zeros of the magnitude: at least 1, at most 31.
    int zeros() const noexcept { return leadingZeros(words[0]); }

    // The 64 bits from the magnitude's leading one on, starting with word i's.
    std::uint64_t significandWord(std::size_t i) const noexcept {
        return words[i] << zeros() | words[i + 1] >> (64 - zeros());
    }

    // f rounded to 53 bits (ties away from zero), as a double: with 128
    // bits, f keeps more than 64 correct ones, so the double is within u.
    double toDouble() const noexcept {
        const std::uint64_t top = significandWord(0);
        const std::uint64_t rounded = (top >> 11) + ((top >> 10) & 1);
        const double sign = negative ? -1 : 1;
        return sign * static_cast<double>(static_cast<std::int64_t>(rounded)) *
               powerOfTwo(-53 - zeros());
    }

    // f truncated to 106 bits, as a double-double; from 192 bits, within
    // 2^-105 of itself.
    DoubleDouble toDoubleDouble() const noexcept {
        const std::uint64_t top = significandWord(0), next = significandWord(1);
        const double sign = negative ? -1 : 1;
        const double hi = static_cast<double>(static_cast<std::int64_t>(top >> 11));
        const double lo = static_cast<double>(
            static_cast<std::int64_t>(((top & 0x7ff) << 42) | (next >> 22)));  // the next 53 bits
        return quickTwoSum(sign * hi * powerOfTwo(-53 - zeros()),
                           sign * lo * powerOfTwo(-106 - zeros()));
    }
};

// |y| 2/pi for a finite float |y| >= 2^19, from kProductWords words of 2/pi:
// 5 leave f within 2^-103, 7 within 2^-167.
template <std::size_t kFractionWords, std::size_t kProductWords>
QuarterTurnFraction<kFractionWords> quarterTurnsOf(float y) noexcept {
    static_assert(kProductWords + 3 <= sizeof kTwoOverPiWords / sizeof kTwoOverPiWords[0],
                  "2/pi's words run out for the largest floats");
    std::uint32_t bits;
    std::memcpy(&bits, &y, sizeof bits);
    const std::uint64_t m = (bits & 0x7fffffu) | 0x800000u;
    const int e = static_cast<int>((bits >> 23) & 0xff) - 150;
    const int skipped = e > 33 ? (e - 2) / 32 : 0;  // words giving whole turns only
    // m times the words, exactly, least significant word first.
    constexpr int kCount = static_cast<int>(kProductWords) + 1;
    std::uint32_t product[kProductWords + 1];
    timesTwoOverPiWords(m, static_cast<std::size_t>(skipped), kProductWords, product);
    const int point = 32 * (static_cast<int>(kProductWords) + skipped) - e;

    QuarterTurnFraction<kFractionWords> f;
    f.quarters = static_cast<int>(bitsFrom(product, kCount, point) & 3);
    for (std::size_t i = 0; i < kFractionWords; ++i)
        f.words[i] = bitsFrom(product, kCount, point - 64 * static_cast<int>(i + 1));
    if ((f.words[0] >> 63) != 0) f.negate();  // f >= 1/2: the next quarter, and f - 1
    return f;
}

// y's sign given to a reduction of |y|.
template <typename Real>
ReducedAngle<Real> withSignOf(float y, ReducedAngle<Real> reduced) noexcept {
    if (y < 0) return {-reduced.r, -reduced.quarters};
    return reduced;
}

// r within 3u + 2^-64 relative: f within u, times pi/2 as two doubles. Out
// of line, so that cos and sin of a float stay small enough to inline.
[[gnu::noinline]] inline ReducedAngle<double> reduceLargeAngle(float y) noexcept {
    const QuarterTurnFraction<2> f = quarterTurnsOf<2, 5>(y);
    const double fraction = f.toDouble();
    return withSignOf(
        y, ReducedAngle<double>{fraction * kHalfPiDD.hi + fraction * kHalfPiDD.lo, f.quarters});
}

// r to about 2^-104 relative, for the careful paths.
inline ReducedAngle<DoubleDouble> reduceLargeAngleCarefully(float y) noexcept {
    const QuarterTurnFraction<3> f = quarterTurnsOf<3, 7>(y);
    return withSignOf(y, ReducedAngle<DoubleDouble>{f.toDoubleDouble() * kHalfPiDD, f.quarters});
}

}  // namespace ccomplex_kernels

#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#endif  // CCOMPLEX_ANGLE_REDUCTION_H
