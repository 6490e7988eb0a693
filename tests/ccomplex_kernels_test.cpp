// The kernels' error bounds, against long double references: random operands
// of every exponent, and rows at the edges where each kernel changes form.
#include "ccomplex_kernels.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "random_part.h"

namespace {

using namespace ccomplex_kernels;

constexpr double kInf = std::numeric_limits<double>::infinity();

double doubleOfBits(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The error of `got` relative to `exact`, in units of 2^-53; 0 where both
// are the same zero, infinity or NaN, or `exact` overflows to `got`.
long double unitsOff(double got, long double exact) {
    if (std::isnan(exact)) return std::isnan(got) ? 0 : HUGE_VALL;
    if (std::fabs(exact) > DBL_MAX) exact = std::copysign(HUGE_VALL, exact);
    if (std::isinf(exact) || exact == 0)
        return got == exact && std::signbit(got) == std::signbit(exact) ? 0 : HUGE_VALL;
    return std::fabs((got - exact) / exact) * 0x1p53L;
}

struct Kernel {
    const char* name;
    std::function<double(double, double)> kernel;
    std::function<long double(long double, long double)> reference;
    std::function<double(std::mt19937_64&)> operand;  // a random operand
    double bound;                                     // in units of 2^-53
    std::vector<std::pair<double, double>> rows;      // operands at the edges
};

// A double of random bits with its exponent in [low, high], of either sign.
double anyDouble(std::mt19937_64& engine, int low, int high) {
    const double fraction = doubleOfBits((engine() >> 12) | 0x3ff0000000000000);  // [1, 2)
    const int exponent = low + static_cast<int>(engine() % static_cast<unsigned>(high - low + 1));
    return std::ldexp(engine() & 1 ? fraction : -fraction, exponent);
}

const double kSqrtHalf = std::sqrt(0.5), kOctant = 0.125, kLn2 = 0.6931471805599453;

const Kernel kKernels[] = {
    {"exp",
     [](double x, double) { return expOf(x); },
     [](long double x, long double) { return std::exp(x); },
     [](std::mt19937_64& e) {
         return e() & 1 ? std::uniform_real_distribution<double>(-708, 709.7)(e)
                        : anyDouble(e, -1074, 9) / 2;
     },
     1.8,
     {{0, 0},
      {-0.0, 0},
      {709.78, 0},
      {709.79, 0},
      {-708, 0},
      {kInf, 0},
      {-kInf, 0},
      {0.5 * kLn2, 0},
      {-0.5 * kLn2, 0},
      {1021.5 * kLn2, 0},
      {1e-300, 0},
      {-1e-300, 0}}},
    {"log",
     [](double x, double) { return logOf(x); },
     [](long double x, long double) { return std::log(x); },
     [](std::mt19937_64& e) { return std::fabs(anyDouble(e, -1074, 1023)); },
     2.3,
     {{1, 0},
      {std::sqrt(2.0), 0},
      {std::nextafter(std::sqrt(2.0), 3), 0},
      {kSqrtHalf, 0},
      {std::nextafter(kSqrtHalf, 0), 0},
      {0.5, 0},
      {DBL_MIN, 0},
      {DBL_TRUE_MIN, 0},
      {DBL_MAX, 0},
      {0, 0},
      {1 - 0x1p-53, 0},
      {1 + 0x1p-52, 0}}},
    {"log1p",
     [](double x, double) { return log1pOf(x); },
     [](long double x, long double) { return std::log1p(x); },
     [](std::mt19937_64& e) {
         const double x = anyDouble(e, -1074, 1000);
         return x > 0 ? x : -std::fabs(anyDouble(e, -1074, -1));  // in (-1, 0)
     },
     2.3,
     {{kSqrtHalf - 1, 0},
      {std::nextafter(kSqrtHalf - 1, -1), 0},
      {std::sqrt(2.0) - 1, 0},
      {std::nextafter(std::sqrt(2.0) - 1, 1), 0},
      {-1 + 0x1p-53, 0},
      {1e-300, 0},
      {-1e-20, 0},
      {1e300, 0},
      {0, 0},
      {-0.0, 0},
      {0x1p-53, 0},
      {-0.75, 0},
      {-1, 0}}},
    {"atan",
     [](double t, double) { return atanOf(t); },
     [](long double t, long double) { return std::atan(t); },
     [](std::mt19937_64& e) { return anyDouble(e, -1074, 1023); },
     3.2,
     {{kOctant, 0},
      {std::nextafter(kOctant, 0), 0},
      {3 * kOctant / 2, 0},
      {std::nextafter(3 * kOctant / 2, 0), 0},
      {15 * kOctant / 2, 0},
      {1, 0},
      {-1, 0},
      {std::nextafter(1.0, 2), 0},
      {kInf, 0},
      {-kInf, 0},
      {-0.0, 0},
      {1e-310, 0},
      {1e300, 0}}},
    {"atan2",
     [](double y, double x) { return atan2Of(y, x); },
     [](long double y, long double x) { return std::atan2(y, x); },
     // Exponents that keep the ratio of the parts normal, as floats do.
     [](std::mt19937_64& e) { return anyDouble(e, -500, 500); },
     3.2,
     {{0, 0},
      {-0.0, 0},
      {0, -0.0},
      {-0.0, -0.0},
      {1, -0.0},
      {kInf, kInf},
      {-kInf, -kInf},
      {kInf, 1},
      {1, -kInf},
      {-1, -kInf},
      {1, -1},
      {-1, -1},
      {1e-300, -1},
      {1, 8},
      {std::nextafter(1.0, 0), 8},
      {3, -16},
      {-15, 16},
      {1e300, 1e-300},
      {1e-150, 1e150}}},
};

TEST(Kernels, WithinTheirBoundsOfLongDoubleReferences) {
    if (std::numeric_limits<long double>::digits < 64)
        GTEST_SKIP() << "long double has " << std::numeric_limits<long double>::digits
                     << " bits here; these references need 64";
    for (const Kernel& k : kKernels) {
        std::mt19937_64 engine(20261209);
        long double worst = 0;
        std::string worstCase;
        const auto check = [&](double a, double b) {
            const long double error = unitsOff(k.kernel(a, b), k.reference(a, b));
            if (error > worst) {
                worst = error;
                char text[64];
                std::snprintf(text, sizeof text, "%a, %a", a, b);
                worstCase = text;
            }
        };
        for (const auto& [a, b] : k.rows) check(a, b);
        for (int i = 0, cases = randomCases(1'000'000); i < cases; ++i) {
            const double a = k.operand(engine), b = k.operand(engine);
            check(a, b);
            if (i % 4 == 0) check(a * 0x1p-20, a);  // nearly one axis: a small ratio
        }
        EXPECT_LE(worst, k.bound) << k.name << " at " << worstCase;
        std::printf("%s: worst %.3Lg units of 2^-53 at %s\n", k.name, worst, worstCase.c_str());
    }
}

// cos y and sin y of floats, both reductions and their edge, and the floats
// nearest a multiple of pi / 2 that tools/kernel_constants.cpp found.
TEST(Kernels, CosSinOfFloatWithinTwoToMinus50) {
    if (std::numeric_limits<long double>::digits < 64)
        GTEST_SKIP() << "long double has " << std::numeric_limits<long double>::digits
                     << " bits here; these references need 64";
#ifdef _WIN32
    GTEST_SKIP() << "MinGW's long double cos and sin reduce an angle by the x87 unit's 66-bit "
                    "pi, too coarse for a reference; the table of correctly rounded results "
                    "holds the angles";
#endif
    std::vector<float> angles = {0x1p19f,          0x1.000002p19f,   FLT_MAX,
                                 0x1p127f,         0x1.921fb6p0f,    -0x1p126f,
                                 0x1.ea56a6p+125f, 0x1.8cb792p+116f, 1e-40f};
    RandomPart part;
    for (int i = 0, cases = randomCases(1'000'000); i < cases; ++i) angles.push_back(part());
    long double worst = 0;
    float worstAngle = 0;
    for (const float y : angles) {
        double c, s;
        cosSinOfFloat(y, c, s);
        const long double error = std::max(unitsOff(c, std::cos(static_cast<long double>(y))),
                                           unitsOff(s, std::sin(static_cast<long double>(y))));
        if (error > worst) {
            worst = error;
            worstAngle = y;
        }
    }
    EXPECT_LE(worst, 8) << std::hexfloat << worstAngle;
}

// NaN in, NaN out; ln of a negative number is NaN; e^x underflows to 0 and
// the smallest subnormal at its edge; cos and sin of an infinity are NaN;
// sin(-0) is -0.
TEST(Kernels, SpecialValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(expOf(nan)) && std::isnan(logOf(nan)) && std::isnan(log1pOf(nan)) &&
                std::isnan(atanOf(nan)) && std::isnan(atan2Of(nan, 1)) &&
                std::isnan(atan2Of(1, nan)) && std::isnan(logOf(-1)) && std::isnan(log1pOf(-2)));
    EXPECT_TRUE(expOf(-745.2) == 0 && expOf(-746) == 0 && expOf(-745.1) == DBL_TRUE_MIN);
    for (const float y : {HUGE_VALF, -HUGE_VALF, std::numeric_limits<float>::quiet_NaN()}) {
        double c, s;
        cosSinOfFloat(y, c, s);
        EXPECT_TRUE(std::isnan(c) && std::isnan(s)) << y;
    }
    double c, s;
    cosSinOfFloat(-0.0f, c, s);
    EXPECT_TRUE(c == 1 && s == 0 && std::signbit(s));
}

}  // namespace
