// White-box check of the polynomial behind CComplex::ang(): its error must
// stay far inside the margin that decides when its result can be used. The
// kernel has internal linkage, so this program compiles ccomplex.cpp itself
// instead of linking the library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ccomplex.cpp"
#include "random_part.h"

namespace {

long double relativeError(double y, double x) {
    const long double exact = std::atan2(static_cast<long double>(y), static_cast<long double>(x));
    return std::fabs((atan2Approx(y, x) - exact) / exact);
}

// The worst relative error at every float ratio y / x within `halfWidth`
// (relative) of `ratio`, for a few divisors x, in all four quadrants and with
// the axes swapped.
long double worstAroundRatio(long double ratio, long double halfWidth) {
    long double worst = 0;
    for (const float x : {1.0f, 1.25f, 1.5f, 1.75f}) {
        const float last = static_cast<float>(x * ratio * (1 + halfWidth));
        for (float y = static_cast<float>(x * ratio * (1 - halfWidth)); y <= last;
             y = std::nextafter(y, last + 1)) {
            for (const float sx : {x, -x}) {
                for (const float sy : {y, -y}) {
                    worst = std::max({worst, relativeError(sy, sx), relativeError(sx, sy)});
                }
            }
        }
    }
    return worst;
}

TEST(AngleKernel, RelativeErrorBelowTwoToMinus47) {
    long double worst = 0;
    RandomPart part;
    for (int i = 0, cases = randomCases(1'000'000); i < cases; ++i) {
        const float y = part(), x = part();
        if (y != 0 && x != 0) worst = std::max(worst, relativeError(y, x));
    }
    // The octant borders tan(pi/8) and 1, where the reduction changes form.
    // tan(pi/8) is taken from its mathematical value, not from the kernel's
    // constant: a constant off in its third decimal sends ratios between the
    // two to a polynomial outside its fitted range, beyond the bound.
    const long double tanPiOver8 = std::sqrt(2.0L) - 1;
    worst = std::max({worst, worstAroundRatio(tanPiOver8, 0x1p-8L), worstAroundRatio(1, 0x1p-16L)});
    EXPECT_LE(worst, 0x1p-47L) << "log2 of the worst error: " << std::log2(worst);
}

}  // namespace
