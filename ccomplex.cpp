#include "ccomplex.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <iostream>

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
// scaling and no branch. Overflow and underflow happen only in that last
// rounding, exactly where the true result leaves the float range. The
// magnitude, defined in the header, rests on the same argument.

namespace {

// Kept out of line so that the arithmetic of division stays small.
[[gnu::cold, gnu::noinline]] void reportZeroDivisor() {
    std::cout << "Error: Divided by zero!" << std::endl;
}

}  // namespace

CComplex CComplex::operator/(const CComplex& divisor) {
    const double xr = real;
    const double xi = imag;
    const double wr = divisor.real;
    const double wi = divisor.imag;
    const double d = wr * wr + wi * wi;
    // d is zero only when both parts are zero: the smallest nonzero square of
    // a float is 2^-298, which a double represents.
    if (d == 0.0) {
        reportZeroDivisor();
        return CComplex(0.0f, 0.0f);
    }
    // Each numerator is a sum of two exact products, rounded once; each
    // quotient lies between 2^-555 and 2^555, so only the final conversion to
    // float can overflow or underflow.
    const double qr = (xr * wr + xi * wi) / d;
    const double qi = (xi * wr - xr * wi) / d;
    return CComplex(static_cast<float>(qr), static_cast<float>(qi));
}

float CComplex::ang() const {
    return static_cast<float>(std::atan2(static_cast<double>(imag), static_cast<double>(real)));
}

const char* CComplex::print() const {
    // 47 characters is the longest "%f" text of a float (-FLT_MAX), so the
    // whole line is at most 47 + 3 + 47 = 97 characters and never truncated.
    static char outstr[100];
    std::snprintf(outstr, sizeof outstr, "%f +j%f", static_cast<double>(real),
                  static_cast<double>(imag));
    return outstr;
}
