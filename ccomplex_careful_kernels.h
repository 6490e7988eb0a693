// The careful kernels, in double-double to about 2^-100 relative, for the
// rare results whose rounding the double kernels cannot settle: e^x - 1 and
// e^x, sinh and cosh of a float, cos and sin of any float, sqrt and
// ln(1 + t), atan, atan2 of double-doubles, and the angle of a complex value.
// Each is a Taylor series summed until its terms fall below 2^-110 of the
// sum, or a double kernel's result corrected by one Newton step, which
// doubles its 52 correct bits. Many times slower than the double kernels,
// they run only where those cannot settle a rounding; each caller says how
// rarely that is.
//
// Internal to the library, not installed.
#ifndef CCOMPLEX_CAREFUL_KERNELS_H
#define CCOMPLEX_CAREFUL_KERNELS_H

#include <cmath>

#include "ccomplex_angle_reduction.h"
#include "ccomplex_double_double.h"
#include "ccomplex_double_kernels.h"
#include "ccomplex_ieee.h"
#include "ccomplex_kernel_constants.h"

namespace ccomplex_kernels {

// Whether `term` still changes a sum of about `sum` in double-double; false
// for a NaN, so that no series outlives one.
inline bool significant(DoubleDouble term, double sum) noexcept {
    return std::fabs(term.hi) > 0x1p-110 * std::fabs(sum);
}

// ---------------------------------------------------------------- e^x

// e^x - 1 = x + x^2/2! + ..., for |x| <= 0.75: the terms fall at least
// fourfold from the third on, so the tail past a negligible term is smaller
// still, and |e^x - 1| >= 0.7 |x| there, so the sum keeps the relative
// accuracy of its terms however small x is.
inline DoubleDouble expm1Series(DoubleDouble x) noexcept {
    DoubleDouble term = x, sum = x;
    for (int n = 2; significant(term, sum.hi); ++n) {
        term = term * x / DoubleDouble{static_cast<double>(n)};
        sum = sum + term;
    }
    return sum;
}

// e^a / 2^exponent, for |a| <= 2^30: a = k ln 2 + r with |r| <= 0.35, k ln 2
// off by 2^-106 |a|, so the value is within 2^-104 + 2^-106 |a| relative.
inline DoubleDouble exponential(DoubleDouble a, int& exponent) noexcept {
    const double k = std::rint(a.hi * kOneOverLn2);
    exponent = static_cast<int>(k);
    return DoubleDouble{1.0} + expm1Series(a - kLn2DD * DoubleDouble{k});
}

// sinh t and cosh t for a float t with e^|t| below double's overflow, to
// about 2^-102 relative. Below |t| = 3/4, from m = e^t - 1 (expm1Series):
// sinh t = (m + m / (1 + m)) / 2 adds two terms of one sign, and cosh t =
// 1 + m^2 / (2 (1 + m)). Above, from E = e^|t|: (E -+ 1/E) / 2, where 1/E is
// at most 0.23 E.
struct SinhCosh {
    DoubleDouble sinh, cosh;
};

inline SinhCosh sinhCoshOfFloatCarefully(float t) noexcept {
    const double a = std::fabs(static_cast<double>(t));
    if (a < 0.75) {
        const DoubleDouble m = expm1Series(DoubleDouble{static_cast<double>(t)});
        const DoubleDouble onePlusM = DoubleDouble{1.0} + m;
        const DoubleDouble sinh = m + m / onePlusM, cosh = m * m / onePlusM;
        return {{sinh.hi / 2, sinh.lo / 2},
                DoubleDouble{1.0} + DoubleDouble{cosh.hi / 2, cosh.lo / 2}};
    }
    int exponent;
    const DoubleDouble r = exponential(DoubleDouble{a}, exponent);
    const DoubleDouble e = scaledBy(r, exponent);
    const DoubleDouble inverse = DoubleDouble{1.0} / e;
    const DoubleDouble sinh = e - inverse, cosh = e + inverse;
    const double sign = t < 0 ? -0.5 : 0.5;
    return {{sinh.hi * sign, sinh.lo * sign}, {cosh.hi / 2, cosh.lo / 2}};
}

// ---------------------------------------------------------------- cos and sin

// cos r and sin r for |r| <= pi/4 (a little more does no harm): the terms
// of both series fall at least threefold, and the sine's relative accuracy
// holds however small r is.
inline CosSin<DoubleDouble> cosSinSeries(DoubleDouble r) noexcept {
    const DoubleDouble r2 = r * r;
    DoubleDouble sinTerm = r, cosTerm{1.0};
    CosSin<DoubleDouble> sum = {DoubleDouble{1.0}, r};
    for (int n = 2; significant(cosTerm, 1.0); n += 2) {
        cosTerm = -(cosTerm * r2 / DoubleDouble{static_cast<double>((n - 1) * n)});
        sinTerm = -(sinTerm * r2 / DoubleDouble{static_cast<double>(n * (n + 1))});
        sum.cos = sum.cos + cosTerm;
        sum.sin = sum.sin + sinTerm;
    }
    return sum;
}

inline CosSin<DoubleDouble> cosSinOf(ReducedAngle<DoubleDouble> angle) noexcept {
    return rotatedByQuarters(cosSinSeries(angle.r), angle.quarters);
}

// cos y and sin y for a finite float y, to about 2^-102 relative: r is at
// least 2^-28 where y is not, and each reduction is within 2^-104 of it.
inline CosSin<DoubleDouble> cosSinOfFloatCarefully(float y) noexcept {
    if (std::fabs(y) <= 0x1p19f) return cosSinOf(reduceSmallAngleCarefully(static_cast<double>(y)));
    return cosSinOf(reduceLargeAngleCarefully(y));
}

// ---------------------------------------------------------------- sqrt and ln(1 + t)

// sqrt v for v >= 0, to about 2^-104 relative: the double root s and one
// Newton step, (v - s^2) / 2s, with s^2 exact.
inline DoubleDouble squareRoot(DoubleDouble v) noexcept {
    const double s = std::sqrt(v.hi);
    if (!(s > 0)) return DoubleDouble{s};
    const DoubleDouble residual = v - twoProduct(s, s);
    return quickTwoSum(s, (residual.hi + residual.lo) / (2 * s));
}

// ln(1 + t) for t >= 0 (and 1 + t in double's range), to about 2^-98
// relative. L0 = log1pOf(t.hi) is within 2.3u (and t.lo moves the exact
// value by less than that again), so ln(1 + t) = L0 + ln(1 + rho) with
// rho = (1 + t) e^-L0 - 1 within 2^-51.5 of L0, and ln(1 + rho) = rho
// to rho^2 / 2, 2^-104 L0^2, below 2^-97.5 of L0 as L0 < 90. Where L0 <=
// 3/4, rho is summed as t e^-L0 + (e^-L0 - 1) from expm1Series, whose
// terms each carry 2^-104 of t or less however small t is, where 1 + t
// would lose t's low part; above, (1 + t) e^-L0 - 1 rounds away 2^-104 of
// 1, below 2^-103 of L0.
inline DoubleDouble log1pCarefully(DoubleDouble t) noexcept {
    const double lead = log1pOf(t.hi);
    if (!(lead > 0)) return DoubleDouble{lead};  // t = 0
    DoubleDouble rho;
    if (lead <= 0.75) {
        const DoubleDouble m = expm1Series(DoubleDouble{-lead});
        rho = t * (DoubleDouble{1.0} + m) + m;
    } else {
        int exponent;
        const DoubleDouble e = exponential(DoubleDouble{-lead}, exponent);
        rho = scaledBy((DoubleDouble{1.0} + t) * e, exponent) - DoubleDouble{1.0};
    }
    return DoubleDouble{lead} + rho;
}

// ---------------------------------------------------------------- atan and the angle

// atan t for |t| <= 1, to 2^-102 relative. From p = atan(t.hi) in double,
// atan t = p + atan(d) with d = (t cos p - sin p) / (cos p + t sin p), about
// 2^-50 |p|, so atan d = d to 2^-100 of d; the numerator cancels, but each
// of its terms is within 2^-104 of itself.
inline DoubleDouble arcTangent(DoubleDouble t) noexcept {
    const DoubleDouble p{atanOf(t.hi)};
    const CosSin<DoubleDouble> v = cosSinSeries(p);
    return p + (t * v.cos - v.sin) / (v.cos + t * v.sin);
}

// atan2(y, x) for double-doubles, not both zero, to about 2^-100 relative:
// the ratio of the smaller by the larger, at most 1, its atan, and the
// octant's quarter turns, as atan2Of takes them.
inline DoubleDouble atan2Carefully(DoubleDouble y, DoubleDouble x) noexcept {
    if (std::fabs(y.hi) <= std::fabs(x.hi)) {
        const DoubleDouble ratio = arcTangent(y / x);
        if (!std::signbit(x.hi)) return ratio;
        const DoubleDouble halfTurn = kHalfPiDD * DoubleDouble{2.0};
        return std::signbit(y.hi) ? ratio - halfTurn : ratio + halfTurn;
    }
    const DoubleDouble quarter = std::signbit(y.hi) ? -kHalfPiDD : kHalfPiDD;
    return quarter - arcTangent(x / y);
}

// arg(x + jy) as quarters pi/2 + atan(numerator / denominator), where the
// ratio is at most 1 in magnitude: the quarters (an integer from -2 to 2)
// from the octant, with y's sign picking the side of the cut (arg(-1 - j0)
// is -pi). For finite x and y, not both zero.
struct SplitAngle {
    double quarters;
    double numerator, denominator;

    // atan(numerator / denominator) to 2^-102 relative.
    DoubleDouble ratioAngle() const noexcept {
        return arcTangent(DoubleDouble{numerator} / DoubleDouble{denominator});
    }
};

inline SplitAngle splitAngle(float x, float y) noexcept {
    const double xd = static_cast<double>(x), yd = static_cast<double>(y);
    if (std::fabs(y) <= std::fabs(x))
        return {std::signbit(x) ? (std::signbit(y) ? -2.0 : 2.0) : 0.0, yd, xd};
    return {std::signbit(y) ? -1.0 : 1.0, -xd, yd};
}

// arg(x + jy) to about 2^-100 relative, for finite x and y, not both zero:
// the ratio's angle is at most pi/4, half of quarters pi/2 where that is
// not zero, so their sum loses no more than a bit.
inline DoubleDouble carefulAngle(float x, float y) noexcept {
    const SplitAngle angle = splitAngle(x, y);
    return kHalfPiDD * DoubleDouble{angle.quarters} + angle.ratioAngle();
}

}  // namespace ccomplex_kernels

#endif  // CCOMPLEX_CAREFUL_KERNELS_H
