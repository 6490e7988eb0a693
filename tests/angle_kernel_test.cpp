// White-box check of the polynomial behind CComplex::ang(): its error must
// stay far inside the margin that decides when its result can be used. The
// kernel has internal linkage, so this program compiles ccomplex.cpp itself
// instead of linking the library.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "ccomplex.cpp"
#include "random_part.h"

namespace {

long double relativeError(double y, double x) {
    const long double exact = std::atan2(static_cast<long double>(y), static_cast<long double>(x));
    return std::fabs((atan2Approx(y, x) - exact) / exact);
}

TEST(AngleKernel, RelativeErrorBelowTwoToMinus47) {
    long double worst = 0;
    RandomPart part;
    for (int i = 0; i < 1'000'000; ++i) {
        const float y = part(), x = part();
        if (y != 0 && x != 0) worst = std::max(worst, relativeError(y, x));
    }
    // Ratios around the octant borders tan(pi/8) and 1, where the reduction
    // changes form, in all four quadrants.
    for (float border : {static_cast<float>(kTanPiOver8), 1.0f}) {
        float y = border;
        for (int step = 0; step < 200; ++step, y = std::nextafter(y, 0.0f)) {
            for (float sx : {1.0f, -1.0f}) {
                for (float sy : {3.0f, -3.0f}) {
                    worst = std::max(worst, relativeError(sy * (y + 100 * FLT_EPSILON), 3.0f * sx));
                }
            }
        }
    }
    EXPECT_LE(worst, 0x1p-47L) << "log2 of the worst error: " << std::log2(worst);
}

}  // namespace
