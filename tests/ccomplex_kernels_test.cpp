// The kernels' error bounds, against long double references: random operands
// of every exponent, and rows at the edges where each kernel changes form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ccomplex_careful_kernels.h"
#include "ccomplex_double_double.h"
#include "ccomplex_double_kernels.h"
#include "ccomplex_kernel_constants.h"
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

// sinh t and cosh t of the float nearest x.
double sinhOfFloat(double x) {
    double s, c;
    sinhCoshOfFloat(static_cast<float>(x), s, c);
    return s;
}
double coshOfFloat(double x) {
    double s, c;
    sinhCoshOfFloat(static_cast<float>(x), s, c);
    return c;
}
long double floatOf(long double x) { return static_cast<float>(x); }
// A double in [-1/2, 1/2] of any exponent down to 2^-30.
double belowHalf(std::mt19937_64& e) {
    return std::ldexp(anyDouble(e, -2, -2), -static_cast<int>(e() % 30));
}

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
    // An exact argument in [-1, 1], taken by value so that every entry of the
    // table is used alike: atan without the quotient's rounding.
    {"atan within 1",
     [](double t, double) { return atanOf(t); },
     [](long double t, long double) { return std::atan(t); },
     [](std::mt19937_64& e) { return std::uniform_real_distribution<double>(-1, 1)(e); },
     2.2,
     {}},
    {"sinh",
     [](double x, double) { return sinhOfFloat(x); },
     [](long double x, long double) { return std::sinh(floatOf(x)); },
     [](std::mt19937_64& e) { return std::uniform_real_distribution<double>(-90, 90)(e); },
     6,
     {{0.5, 0}, {std::nextafter(0.5f, 0.0f), 0}, {-0.5, 0}, {1e-30, 0}, {-0.0, 0}, {89.4, 0}}},
    {"cosh",
     [](double x, double) { return coshOfFloat(x); },
     [](long double x, long double) { return std::cosh(floatOf(x)); },
     [](std::mt19937_64& e) { return std::uniform_real_distribution<double>(-90, 90)(e); },
     6,
     {{0.5, 0}, {std::nextafter(0.5f, 0.0f), 0}, {-0.5, 0}, {1e-30, 0}, {89.4, 0}}},
    // Below 1/2, where both take their series.
    {"sinh series",
     [](double x, double) { return sinhOfFloat(x); },
     [](long double x, long double) { return std::sinh(floatOf(x)); },
     belowHalf,
     1.5,
     {}},
    {"cosh series",
     [](double x, double) { return coshOfFloat(x); },
     [](long double x, long double) { return std::cosh(floatOf(x)); },
     belowHalf,
     1.5,
     {}},
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

// The float nearest a multiple of pi / 2 in each binade from 2^19 to 2^127,
// as tools/kernel_constants.cpp found them: where the reduction's last bits
// of 2/pi count most.
// clang-format off
const float kNearestQuarterTurns[] = {
    0x1.04ccbcp+19f, 0x1.04ccbcp+20f, 0x1.4ac55cp+21f, 0x1.4ac55cp+22f, 0x1.4ac55cp+23f,
    0x1.e768f6p+24f, 0x1.4665d2p+25f, 0x1.4665d2p+26f, 0x1.4665d2p+27f, 0x1.08ecc2p+28f,
    0x1.27a94ap+29f, 0x1.27a94ap+30f, 0x1.1ffa28p+31f, 0x1.b7a65ep+32f, 0x1.ffa4e8p+33f,
    0x1.47d0fep+34f, 0x1.47d0fep+35f, 0x1.47d0fep+36f, 0x1.47d0fep+37f, 0x1.47d0fep+38f,
    0x1.47d0fep+39f, 0x1.628d4cp+40f, 0x1.628d4cp+41f, 0x1.628d4cp+42f, 0x1.628d4cp+43f,
    0x1.628d4cp+44f, 0x1.f0eaeep+45f, 0x1.f0eaeep+46f, 0x1.f0eaeep+47f, 0x1.705312p+48f,
    0x1.705312p+49f, 0x1.b86d92p+50f, 0x1.dc7ad2p+51f, 0x1.ee8172p+52f, 0x1.f784c2p+53f,
    0x1.fc066ap+54f, 0x1.fe473ep+55f, 0x1.ff67a8p+56f, 0x1.0f79ap+57f, 0x1.0f79ap+58f,
    0x1.0f79ap+59f, 0x1.0f79ap+60f, 0x1.0f79ap+61f, 0x1.0f79ap+62f, 0x1.0f79ap+63f,
    0x1.c82258p+64f, 0x1.c82258p+65f, 0x1.5619c2p+66f, 0x1.f8aad6p+67f, 0x1.a7624cp+68f,
    0x1.a7624cp+69f, 0x1.d83694p+70f, 0x1.d83694p+71f, 0x1.cc0182p+72f, 0x1.5c0e66p+73f,
    0x1.5c0e66p+74f, 0x1.5c0e66p+75f, 0x1.13093p+76f, 0x1.13093p+77f, 0x1.13093p+78f,
    0x1.13093p+79f, 0x1.13093p+80f, 0x1.13093p+81f, 0x1.13093p+82f, 0x1.8dc776p+83f,
    0x1.8dc776p+84f, 0x1.32ede2p+85f, 0x1.32ede2p+86f, 0x1.32ede2p+87f, 0x1.32ede2p+88f,
    0x1.abb4bp+89f, 0x1.abb4bp+90f, 0x1.40c784p+91f, 0x1.0b50eep+92f, 0x1.0b50eep+93f,
    0x1.0b50eep+94f, 0x1.f37c8ap+95f, 0x1.f37c8ap+96f, 0x1.f37c8ap+97f, 0x1.f37c8ap+98f,
    0x1.f37c8ap+99f, 0x1.f37c8ap+100f, 0x1.7f4134p+101f, 0x1.7f4134p+102f, 0x1.7f4134p+103f,
    0x1.cc383p+104f, 0x1.a5bcb2p+105f, 0x1.a5bcb2p+106f, 0x1.df43b8p+107f, 0x1.2928e2p+108f,
    0x1.a0f9dp+109f, 0x1.484dd6p+110f, 0x1.b08c4ap+111f, 0x1.b08c4ap+112f, 0x1.b08c4ap+113f,
    0x1.517106p+114f, 0x1.80fea8p+115f, 0x1.80fea8p+116f, 0x1.20befep+117f, 0x1.f99756p+118f,
    0x1.2ceb8p+119f, 0x1.2ceb8p+120f, 0x1.d8660ap+121f, 0x1.fe037ap+122f, 0x1.fe037ap+123f,
    0x1.fe037ap+124f, 0x1.fe037ap+125f, 0x1.7b9b4p+126f, 0x1.7b9b4p+127f,
};
// clang-format on

// cos y and sin y of floats, both reductions and their edge, and the floats
// nearest a multiple of pi / 2: the double kernel within 2^-50, the careful
// one agreeing with long double's to its last bits.
TEST(Kernels, CosSinOfFloatWithinTwoToMinus50AndCarefully) {
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
    angles.insert(angles.end(), std::begin(kNearestQuarterTurns), std::end(kNearestQuarterTurns));
    RandomPart part;
    for (int i = 0, cases = randomCases(1'000'000); i < cases; ++i) angles.push_back(part());
    long double worst = 0, worstCareful = 0;
    float worstAngle = 0, worstCarefulAngle = 0;
    for (const float y : angles) {
        const long double exactC = std::cos(static_cast<long double>(y)),
                          exactS = std::sin(static_cast<long double>(y));
        const auto [c, s] = cosSinOfFloat(y);
        const long double error = std::max(unitsOff(c, exactC), unitsOff(s, exactS));
        if (error > worst) {
            worst = error;
            worstAngle = y;
        }
        if (y == 0) continue;  // no relative error to take
        const auto [cc, cs] = cosSinOfFloatCarefully(y);
        const long double careful =
            std::max(std::fabs((static_cast<long double>(cc.hi) + cc.lo - exactC) / exactC),
                     std::fabs((static_cast<long double>(cs.hi) + cs.lo - exactS) / exactS));
        if (careful > worstCareful) {
            worstCareful = careful;
            worstCarefulAngle = y;
        }
    }
    EXPECT_LE(worst, 8) << std::hexfloat << worstAngle;
    EXPECT_LE(worstCareful, 0x1p-61L) << std::hexfloat << worstCarefulAngle;
}

// Ties between floats found within their distance, and rounded from the
// exact value's side: above, below, at a tie, where it overflows, and among
// the subnormals; the sign of a sum of doubles, exactly.
TEST(Kernels, TiesFoundAndRoundedFromTheExactSide) {
    const double tie = 1 + 0x1p-24;  // between 1 and 1 + 2^-23
    const struct {
        double v;
        std::uint64_t ulps;
        bool near;
    } ties[] = {{tie, 0, true},
                {tie + 0x1p-49, 8, true},
                {tie - 0x1p-49, 8, true},
                {tie + 0x1p-48, 8, false},
                {-tie, 0, true},
                {1, 8, false},
                {0, 8, false},
                {1e-40, 0, true},
                {-0x1p-130, 0, true},
                {0x1.ffffffp127, 0, true},
                {HUGE_VAL, 8, false}};
    for (const auto& t : ties)
        EXPECT_EQ(isNearFloatTie(t.v, t.ulps), t.near) << std::hexfloat << t.v;

    // An exact value hi + lo, the sign of exact - t from an exact sum.
    const struct {
        double hi, lo;
        float rounded;
    } exact[] = {{tie, 0x1p-70, 1 + 0x1p-23f},
                 {tie, -0x1p-70, 1},
                 {tie, 0, 1},  // to even
                 {1 + 3 * 0x1p-24, 0, 1 + 0x1p-22f},
                 {1 + 3 * 0x1p-24 - 0x1p-52, 0x1p-52, 1 + 0x1p-22f},  // a tie, approx below it
                 {-tie, -0x1p-70, -1 - 0x1p-23f},
                 {0x1.ffffffp127, -0x1p50, FLT_MAX},
                 {0x1.ffffffp127, 0x1p50, HUGE_VALF},
                 {0x1.ffffffp127, 0, HUGE_VALF},
                 {-0x1.ffffffp127, 0x1p50, -FLT_MAX},
                 {0x1.8p-149, 0x1p-200, 2 * FLT_TRUE_MIN},
                 {0x1.8p-149, -0x1p-200, FLT_TRUE_MIN},
                 {0x1p-150, 0, 0},
                 {0x1p-150, 0x1p-200, FLT_TRUE_MIN}};
    for (const auto& e : exact) {
        const float got = roundExactly(e.hi, [&](double t) {
            const double terms[] = {e.hi, e.lo, -t};
            return signOfSum(terms, 3);
        });
        EXPECT_EQ(got, e.rounded) << std::hexfloat << e.hi << " + " << e.lo;
    }
    const double sums[][3] = {{1, 1e-300, -1}, {1e300, -1e300, -1e-300}, {0.1, 0.2, -0.3}};
    EXPECT_EQ(signOfSum(sums[0], 3), 1);
    EXPECT_EQ(signOfSum(sums[1], 3), -1);
    EXPECT_EQ(signOfSum(sums[2], 3), 1);  // 0.1 + 0.2 - 0.3 in doubles is 2^-55
    EXPECT_EQ(signOfSum(sums[0], 0), 0);
}

// A number from 0 to 2^32 in fixed point: a whole 32-bit word, then 16
// words of fraction, most significant first, for 2/pi's 320 bits.
struct BigFraction {
    std::uint32_t words[17] = {};

    BigFraction times(std::uint32_t factor) const {
        BigFraction product;
        std::uint64_t carry = 0;
        for (int i = 16; i >= 0; --i) {
            carry += std::uint64_t{words[i]} * factor;
            product.words[i] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        return product;
    }
    BigFraction dividedBy(std::uint32_t divisor) const {
        BigFraction quotient;
        std::uint64_t remainder = 0;
        for (int i = 0; i <= 16; ++i) {
            remainder = remainder << 32 | words[i];
            quotient.words[i] = static_cast<std::uint32_t>(remainder / divisor);
            remainder %= divisor;
        }
        return quotient;
    }
    BigFraction plusOrMinus(const BigFraction& b, bool minus) const {
        BigFraction sum;
        std::int64_t carry = 0;
        for (int i = 16; i >= 0; --i) {
            carry += std::int64_t{words[i]} + (minus ? -std::int64_t{b.words[i]} : b.words[i]);
            sum.words[i] = static_cast<std::uint32_t>(carry);
            carry = carry < 0 ? -1 : carry >> 32;
        }
        return sum;
    }
    BigFraction minus(const BigFraction& b) const { return plusOrMinus(b, true); }
    bool isZero() const {
        return std::all_of(std::begin(words), std::end(words),
                           [](std::uint32_t w) { return w == 0; });
    }
    // Whether this (a fraction below 1) times `pi` is at most 2^-320 2^321 = 2,
    // read as the integer product of both word strings against 2^(2 * 512 + 1).
    bool timesIsAtMostTwoTo321(const BigFraction& pi) const {
        std::uint64_t product[34] = {};
        for (int i = 16; i >= 0; --i) {
            std::uint64_t carry = 0;
            for (int j = 16; j >= 0; --j) {
                carry += product[i + j + 1] + std::uint64_t{words[i]} * pi.words[j];
                product[i + j + 1] = carry & 0xffffffffu;
                carry >>= 32;
            }
            product[i] += carry;
        }
        // 2 in the product's fixed point: a 2 in word 1, as each factor
        // has 16 fraction words and one whole word.
        for (int i = 0; i < 34; ++i) {
            const std::uint64_t two = i == 1 ? 2 : 0;
            if (product[i] != two) return product[i] < two;
        }
        return true;
    }
};

// atan(1/n) = 1/n - 1/(3 n^3) + 1/(5 n^5) - ..., each term truncated: off by
// a few units of 2^-512.
BigFraction arcTangentOfInverse(std::uint32_t n) {
    BigFraction sum, power;
    power.words[0] = 1;
    power = power.dividedBy(n);
    for (std::uint32_t k = 1; !power.isZero(); k += 2) {
        sum = sum.plusOrMinus(power.dividedBy(k), (k / 2) % 2 == 1);
        power = power.dividedBy(n * n);
    }
    return sum;
}

// The tables against long double: the octants' angles to 106 bits, ln 2 split
// into 42 bits and the rest; and 2/pi's 320 bits against pi computed here.
TEST(Kernels, TablesAgreeWithTheirDefinitions) {
    if (std::numeric_limits<long double>::digits < 64)
        GTEST_SKIP() << "long double has " << std::numeric_limits<long double>::digits
                     << " bits here; these references need 64";
    const long double halfPi = std::acos(0.0L);
    for (int j = 0; j <= 8; ++j) {
        const long double a = std::atan(j / 8.0L);
        const long double exact[] = {a, halfPi - a, halfPi + a, 2 * halfPi - a};
        for (int octant = 0; octant < 4; ++octant) {
            const DoubleDouble& entry = kOctantAngles[octant][j];
            const long double sum = static_cast<long double>(entry.hi) + entry.lo;
            EXPECT_LE(std::fabs(sum - exact[octant]), 0x1p-62L * std::fabs(exact[octant]))
                << "octant " << octant << ", j = " << j;
        }
    }
    EXPECT_LE(std::fabs(static_cast<long double>(kLn2Hi) + kLn2Lo - std::log(2.0L)), 0x1p-63L);
    EXPECT_EQ(std::trunc(kLn2Hi * 0x1p42), kLn2Hi * 0x1p42);  // 42 bits, so k kLn2Hi is exact
    // 2/pi's words W, as W 2^-320 <= 2/pi < (W + 1) 2^-320: W pi <= 2^321 <
    // (W + 1) pi, with pi = 16 atan(1/5) - 4 atan(1/239) to 512 bits.
    const BigFraction pi =
        arcTangentOfInverse(5).times(16).minus(arcTangentOfInverse(239).times(4));
    BigFraction w, wPlus1;
    for (int i = 0; i < 10; ++i) w.words[i + 1] = wPlus1.words[i + 1] = kTwoOverPiWords[i];
    wPlus1.words[10] += 1;  // the last word is below 2^32 - 1
    EXPECT_TRUE(w.timesIsAtMostTwoTo321(pi) && !wPlus1.timesIsAtMostTwoTo321(pi));
}

// f - 1 for a fraction f >= 1/2 of a quarter turn, its words borrowing from
// each other where the words below are zero.
TEST(Kernels, QuarterTurnFractionNegatesAcrossWords) {
    const struct {
        std::uint64_t words[3], negated[3];
    } cases[] = {
        {{0x8000000000000001, 0, 0}, {0x7fffffffffffffff, 0, 0}},
        {{0x8000000000000000, 1, 0}, {0x7fffffffffffffff, 0xffffffffffffffff, 0}},
        {{0xc000000000000000, 0, 1}, {0x3fffffffffffffff, 0xffffffffffffffff, 0xffffffffffffffff}},
    };
    for (const auto& c : cases) {
        QuarterTurnFraction<3> f;
        std::copy(std::begin(c.words), std::end(c.words), f.words);
        f.negate();
        EXPECT_TRUE(f.negative && f.quarters == 1 && std::equal(f.words, f.words + 3, c.negated))
            << std::hex << c.words[0] << ' ' << c.words[1] << ' ' << c.words[2];
    }
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
        const auto [c, s] = cosSinOfFloat(y);
        EXPECT_TRUE(std::isnan(c) && std::isnan(s)) << y;
    }
    const auto [c, s] = cosSinOfFloat(-0.0f);
    EXPECT_TRUE(c == 1 && s == 0 && std::signbit(s));
}

}  // namespace
