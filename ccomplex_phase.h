// The rotation a e^{j theta} for the phases theta = phase + k step of a
// batch: each phase kept in quarter turns as a 256-bit fixed-point number,
// so that adding the step's quarter turns k times is exact arithmetic on
// integers, with no drift; cos and sin of it in double, and the rotated parts
// rounded where that is certain, else in double-double.
//
// Internal to the library, not installed.
#ifndef CCOMPLEX_PHASE_H
#define CCOMPLEX_PHASE_H

#include <cmath>
#include <cstdint>
#include <cstring>

#include "ccomplex.h"
#include "ccomplex_angle_reduction.h"
#include "ccomplex_careful_kernels.h"
#include "ccomplex_double_double.h"
#include "ccomplex_double_kernels.h"

// These small structs are laid out for reading and live in registers: a
// strict build's -Wpadded has nothing to say about them.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wpadded"
#endif

namespace ccomplex_kernels {

// theta 2/pi modulo 4: bits 255 and 254 the whole quarter turns, the other
// 254 bits the fraction of one; words most significant first. Sums wrap
// around modulo 4 quarter turns, a whole turn, as they should.
struct QuarterTurns {
    std::uint64_t words[4];
};

inline QuarterTurns operator+(QuarterTurns a, QuarterTurns b) noexcept {
    std::uint64_t carry = 0;
    for (int i = 3; i >= 0; --i) {
        const std::uint64_t sum = a.words[i] + b.words[i];
        const std::uint64_t carried = sum + carry;
        carry = std::uint64_t{sum < a.words[i]} + std::uint64_t{carried < sum};
        a.words[i] = carried;
    }
    return a;
}

inline QuarterTurns negated(QuarterTurns a) noexcept {
    for (std::uint64_t& word : a.words) word = ~word;
    return a + QuarterTurns{{0, 0, 0, 1}};
}

// y 2/pi modulo 4 for a finite float y. Below 2^66, from the product of y's
// integer significand m and 2/pi's 320 bits, y = m 2^e: the bits from 2^-254
// up, and 2/pi's bits left out add under 2^(e + 24 - 320) <= 2^-254. Beyond,
// from quarterTurnsOf, within 2^-167.
inline QuarterTurns quarterTurnsOfFloat(float y) noexcept {
    const float magnitude = std::fabs(y);
    QuarterTurns turns = {{0, 0, 0, 0}};
    if (magnitude >= 0x1p66f) {
        const QuarterTurnFraction<3> f = quarterTurnsOf<3, 7>(magnitude);
        const QuarterTurns fraction = {{f.words[0] >> 2, f.words[0] << 62 | f.words[1] >> 2,
                                        f.words[1] << 62 | f.words[2] >> 2, f.words[2] << 62}};
        const QuarterTurns whole = {{static_cast<std::uint64_t>(f.quarters & 3) << 62, 0, 0, 0}};
        turns = whole + (f.negative ? negated(fraction) : fraction);
    } else if (magnitude > 0) {
        std::uint32_t bits;
        std::memcpy(&bits, &magnitude, sizeof bits);
        const int biased = static_cast<int>(bits >> 23);
        const std::uint64_t m = (bits & 0x7fffffu) | (biased > 0 ? 0x800000u : 0);
        const int e = (biased > 0 ? biased : 1) - 150;
        constexpr int kWords = sizeof kTwoOverPiWords / sizeof kTwoOverPiWords[0];
        std::uint32_t product[kWords + 1];  // least significant first
        timesTwoOverPiWords(m, 0, kWords, product);
        // y 2/pi 2^254 = product 2^(e + 254 - 32 kWords).
        const int low = 32 * kWords - 254 - e;
        for (int i = 0; i < 4; ++i)
            turns.words[3 - i] = bitsFrom(product, kWords + 1, low + 64 * i);
    }
    return y < 0 ? negated(turns) : turns;
}

// t k modulo 4 quarter turns, for the phase of element k; exact.
inline QuarterTurns times(const QuarterTurns& t, std::uint64_t k) noexcept {
    // 32-bit pieces, least significant first, multiplied by k's two halves.
    std::uint32_t pieces[8];
    for (int i = 0; i < 8; ++i)
        pieces[i] = static_cast<std::uint32_t>(t.words[3 - i / 2] >> (32 * (i % 2)));
    std::uint32_t product[8] = {};
    for (int half = 0; half < 2; ++half) {
        const std::uint64_t factor = half == 0 ? k & 0xffffffffu : k >> 32;
        std::uint64_t carry = 0;
        for (int i = 0; i + half < 8; ++i) {
            const std::uint64_t sum = factor * pieces[i] + product[i + half] + carry;
            product[i + half] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
    }
    QuarterTurns result;
    for (int i = 0; i < 4; ++i)
        result.words[3 - i] = std::uint64_t{product[2 * i + 1]} << 32 | product[2 * i];
    return result;
}

// The phase as quarters pi/2 + f pi/2 with f in [-1/2, 1/2): the quarters
// modulo 4, and f's first 64 bits as a signed integer in units of 2^-64.
struct LeadingPhase {
    int quarters;
    std::int64_t fraction;
};

inline LeadingPhase leadingPhase(const QuarterTurns& turns) noexcept {
    const auto fraction = static_cast<std::int64_t>(turns.words[0] << 2 | turns.words[1] >> 62);
    return {static_cast<int>((turns.words[0] >> 62) + (fraction < 0 ? 1 : 0)), fraction};
}

// The parts' error bounds on the fast path, for |ar c| + |ai s| (real) or
// |ar s| + |ai c| (imaginary), and |ar| + |ai|; see rotatedCorrectly.
constexpr double kRotationRelativeError = 0x1p-48, kRotationAbsoluteError = 0x1p-62;

// cos and sin of the leading phase in double. f from 64 bits is within 2^-53
// relative and 2^-64 absolute, r = f pi/2 adds two roundings, so r is within
// 2^-51.4 relative and 2^-63 absolute, and cos r and sin r are within
// 2^-51.3 relative of theirs (ccomplex_double_kernels.h), within 2^-50
// relative and 2^-63 absolute in all.
inline CosSin<double> cosSinOfLeadingPhase(LeadingPhase phase) noexcept {
    const double f = static_cast<double>(phase.fraction) * 0x1p-64;
    return cosSinOf(ReducedAngle<double>{f * kHalfPiDD.hi + f * kHalfPiDD.lo, phase.quarters});
}

// The fast path: a e^{j theta} in double, and whether both parts' rounding
// is certain. Each product adds u to cos and sin's error, and the difference
// u of at most the same sum, so a part is within 2^-48 (|ar c| + |ai s|) +
// 2^-62 (|ar| + |ai|) of its exact value.
inline bool rotatedFast(const CComplex& a, LeadingPhase phase, CComplex& rotated) noexcept {
    const double ar = static_cast<double>(a.real), ai = static_cast<double>(a.imag);
    const CosSin<double> cs = cosSinOfLeadingPhase(phase);
    const double re = ar * cs.cos - ai * cs.sin, im = ar * cs.sin + ai * cs.cos;
    const double absolute = kRotationAbsoluteError * (std::fabs(ar) + std::fabs(ai));
    const double reMargin =
        kRotationRelativeError * (std::fabs(ar * cs.cos) + std::fabs(ai * cs.sin)) + absolute;
    const double imMargin =
        kRotationRelativeError * (std::fabs(ar * cs.sin) + std::fabs(ai * cs.cos)) + absolute;
    rotated = CComplex(static_cast<float>(re), static_cast<float>(im));
    // Clear of zero too, or the margin would hide a zero part's sign.
    return std::fabs(re) > reMargin && std::fabs(im) > imMargin &&
           ccomplex_detail::roundsAlikeWithin(re, reMargin) &&
           ccomplex_detail::roundsAlikeWithin(im, imMargin);
}

// f normalised, for the careful path: its sign, and its magnitude as
// 2^-zeros (high 2^-64 + low 2^-128) with high's leading bit set, from all
// 254 bits of the fixed-point fraction however small f is; f = 0 has high =
// 0.
struct SplitPhase {
    int quarters;
    bool negative;
    int zeros;
    std::uint64_t high, low;
};

inline SplitPhase splitPhase(const QuarterTurns& turns) noexcept {
    QuarterTurns f = {{turns.words[0] << 2 | turns.words[1] >> 62,
                       turns.words[1] << 2 | turns.words[2] >> 62,
                       turns.words[2] << 2 | turns.words[3] >> 62, turns.words[3] << 2}};
    const bool negative = (f.words[0] >> 63) != 0;  // f >= 1/2: f - 1, and the next quarter
    if (negative) f = negated(f);
    SplitPhase split = {static_cast<int>((turns.words[0] >> 62) + (negative ? 1 : 0)), negative, 0,
                        0, 0};
    int word = 0;
    while (word < 4 && f.words[word] == 0) ++word;
    if (word == 4) return split;
    const auto at = [&](int i) { return i < 4 ? f.words[i] : std::uint64_t{0}; };
    const int shift = leadingZeros(f.words[word]);
    split.zeros = 64 * word + shift;
    split.high = shift == 0 ? f.words[word] : f.words[word] << shift | at(word + 1) >> (64 - shift);
    split.low = shift == 0 ? at(word + 1) : at(word + 1) << shift | at(word + 2) >> (64 - shift);
    return split;
}

// f in double-double from its 128 bits, in three exact parts: within 2^-106
// relative.
inline DoubleDouble fractionCarefully(const SplitPhase& phase) noexcept {
    const double sign = phase.negative ? -1 : 1;
    const DoubleDouble magnitude =
        twoSum(static_cast<double>(phase.high >> 11) * 0x1p-53,
               static_cast<double>((phase.high & 0x7ff) << 42 | phase.low >> 22) * 0x1p-106) +
        DoubleDouble{static_cast<double>(phase.low & 0x3fffff) * 0x1p-128};
    const double scale = sign * powerOfTwo(-phase.zeros);  // exact: f >= 2^-254
    return {magnitude.hi * scale, magnitude.lo * scale};
}

// a e^{j theta} for a finite a, each part correctly rounded: the fast path,
// and where its margin does not settle the rounding (about one part in 2^23
// away from cancellation, and near phases within 2^-40 of a multiple of
// pi/2), double-double: f from 128 bits normalised, so within 2^-106
// relative, r within 2^-103 relative, cos and sin within 2^-101, the parts
// within 2^-99 (|ar c| + |ai s|) + 2^-126 (|ar| + |ai|), which the error of
// the step's quarter turns (under 2^-167), added k times, leaves intact for
// any k below 2^32. A part the double-double still cannot settle lies within
// 2^-99 of its terms' magnitudes of a tie, after cancelling; no rotation
// tried comes close.
inline CComplex rotatedCorrectly(const CComplex& a, const QuarterTurns& turns) noexcept {
    CComplex rotated;
    if (rotatedFast(a, leadingPhase(turns), rotated)) return rotated;
    const SplitPhase phase = splitPhase(turns);
    const CosSin<DoubleDouble> careful =
        cosSinOf(ReducedAngle<DoubleDouble>{fractionCarefully(phase) * kHalfPiDD, phase.quarters});
    const DoubleDouble r{static_cast<double>(a.real)}, i{static_cast<double>(a.imag)};
    return CComplex(roundToFloat(r * careful.cos - i * careful.sin, 0),
                    roundToFloat(r * careful.sin + i * careful.cos, 0));
}

// What rotate gives element a at phase `turns`: rotatedCorrectly for a finite
// a, else a times the rounded e^{j theta}, as a * polar(1, theta) would be.
inline CComplex rotatedElement(const CComplex& a, const QuarterTurns& turns) noexcept {
    if (std::isfinite(a.real) && std::isfinite(a.imag)) return rotatedCorrectly(a, turns);
    CComplex unit;
    rotatedFast(CComplex(1), leadingPhase(turns), unit);
    return a * unit;
}

}  // namespace ccomplex_kernels

#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#endif  // CCOMPLEX_PHASE_H
