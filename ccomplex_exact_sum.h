// An exact sum of doubles, rounded once to float at the end: the dot
// products' answer where the vector sum cannot settle the rounding.
//
// A fixed-point accumulator of 32-bit digits, each held in a 64-bit signed
// limb, from 2^-352 to 2^352: wide enough for any sum of fewer than 2^64
// products of two floats, whose bits lie between 2^-298 and 2^256. Adding a
// double splits its 53-bit significand over three digits; each addition
// moves a limb by less than 2^32, so the carries are propagated every 2^30
// additions, long before a limb could overflow.
//
// Internal to the library, not installed.
#ifndef CCOMPLEX_EXACT_SUM_H
#define CCOMPLEX_EXACT_SUM_H

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace ccomplex_kernels {

class ExactSum {
public:
    // Adds v, zero or a double from 2^-298 to below 2^288 in magnitude, as
    // every product of two finite floats is.
    void add(double v) noexcept {
        if (std::fpclassify(v) == FP_ZERO) return;
        int exponent;
        const double fraction = std::frexp(std::fabs(v), &exponent);  // in [1/2, 1)
        // v = significand 2^(exponent - 53), an integer significand below 2^53.
        const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
        const int low = exponent - 53 + kOffset;  // bit position of the significand's last bit
        const int limb = low / kDigitBits, shift = low % kDigitBits;
        // The significand shifted by up to 31 bits spans at most 84 bits:
        // three digits.
        const std::uint64_t lowPart = significand << shift;
        const std::uint64_t highPart = shift == 0 ? 0 : significand >> (64 - shift);
        const std::int64_t sign = v < 0 ? -1 : 1;
        limbs_[limb] += sign * static_cast<std::int64_t>(lowPart & kDigitMask);
        limbs_[limb + 1] += sign * static_cast<std::int64_t>(lowPart >> kDigitBits);
        limbs_[limb + 2] += sign * static_cast<std::int64_t>(highPart);
        if (++additions_ == kAdditionsBetweenCarries) propagateCarries();
    }

    // The sum, rounded once to the nearest float, ties to even; +0 for an
    // exact zero.
    float nearestFloat() noexcept {
        propagateCarries();
        // Every limb but the top one is now a digit in [0, 2^32); the top one
        // carries the sign. A negative sum is negated digit by digit.
        const bool negative = limbs_[kLimbs - 1] < 0;
        if (negative) negate();
        int top = kLimbs - 1;
        while (top >= 0 && limbs_[top] == 0) --top;
        if (top < 0) return 0.0f;
        // The leading 96 bits and whether any bit below them is set.
        std::uint64_t high = static_cast<std::uint64_t>(limbs_[top]) << kDigitBits;
        if (top >= 1) high |= static_cast<std::uint64_t>(limbs_[top - 1]);
        std::uint64_t next = top >= 2 ? static_cast<std::uint64_t>(limbs_[top - 2]) : 0;
        bool sticky = false;
        for (int i = top - 3; i >= 0; --i) sticky = sticky || limbs_[i] != 0;
        // high holds bits from 2^(32 top + 31 - 320) down; normalise its lead
        // bit to bit 63, taking bits from `next`.
        int leadingZeros = 0;
        while ((high >> 63) == 0) {
            high = (high << 1) | (next >> 31);
            next = (next << 1) & kDigitMask;
            ++leadingZeros;
        }
        sticky = sticky || next != 0;
        // Rounded to odd at 53 bits, then once more to float: a double
        // rounding with two or more spare bits that cannot create a tie, so
        // the float is the exact sum's nearest.
        std::uint64_t kept = high >> 11;
        if ((high & 0x7ff) != 0 || sticky) kept |= 1;
        const int exponentOfLead = kDigitBits * top + 31 - kOffset - leadingZeros;
        const double odd = std::ldexp(static_cast<double>(kept), exponentOfLead - 52);
        const auto rounded = static_cast<float>(odd);
        return negative ? -rounded : rounded;
    }

private:
    static constexpr int kDigitBits = 32;
    static constexpr std::uint64_t kDigitMask = 0xffffffffu;
    static constexpr int kOffset = 352;  // limb 0 is worth 2^-352
    static constexpr int kLimbs = 22;    // up to 2^352
    static constexpr std::uint64_t kAdditionsBetweenCarries = 1u << 30;

    void propagateCarries() noexcept {
        for (int i = 0; i + 1 < kLimbs; ++i) {
            // An arithmetic shift floors, so the digit left is in [0, 2^32).
            const std::int64_t carry = limbs_[i] >> kDigitBits;
            limbs_[i] -= carry * (std::int64_t{1} << kDigitBits);
            limbs_[i + 1] += carry;
        }
        additions_ = 0;
    }

    // The two's complement of the whole number, for carried limbs.
    void negate() noexcept {
        for (std::int64_t& limb : limbs_) limb = -limb;
        propagateCarries();
    }

    std::int64_t limbs_[kLimbs] = {};
    std::uint64_t additions_ = 0;
};

}  // namespace ccomplex_kernels

#endif  // CCOMPLEX_EXACT_SUM_H
