#include "ccomplex.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "float_bits.h"
#include "random_part.h"
#include "test_support.h"
#ifdef CCOMPLEX_PACKED_PRODUCT
#error "ccomplex.h leaks its internal macro into the includer"
#endif

namespace {

using namespace ccomplex_test;

// A stream buffer that gives `text`, then fails every read and every write:
// by reporting the end, or by throwing.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(bool throws, std::string text = "")
        : throws_(throws), text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

protected:
    int_type underflow() override { return fail(); }
    int_type overflow(int_type) override { return fail(); }

private:
    int_type fail() {
        // Not a runtime_error, which the stream's own failure is too.
        if (throws_) throw std::logic_error("the buffer failed");
        return traits_type::eof();
    }

    bool throws_;
    std::string text_;
};

// The exact quotient x / w, to within 2^-62 relative: float products are exact
// in long double, and each sum and the division round once.
void exactQuotient(const CComplex& x, const CComplex& w, long double& re, long double& im) {
    const long double xr = x.real, xi = x.imag, wr = w.real, wi = w.imag;
    const long double d = wr * wr + wi * wi;
    re = (xr * wr + xi * wi) / d;
    im = (xi * wr - xr * wi) / d;
}

long double exactMagnitude(const CComplex& x) {
    const long double r = x.real, i = x.imag;
    return std::sqrt(r * r + i * i);
}

// What containers, constant expressions and generic code rely on.
static_assert(std::is_trivially_copyable_v<CComplex> && std::is_standard_layout_v<CComplex>);
static_assert(sizeof(CComplex) == 8 && offsetof(CComplex, imag) == sizeof(float));
static_assert(noexcept(CComplex()) && noexcept(CComplex(1.0f, 2.0f)));
static_assert(std::is_nothrow_copy_constructible_v<CComplex> &&
              std::is_nothrow_copy_assignable_v<CComplex>);
static_assert(noexcept(std::declval<CComplex&>() += std::declval<const CComplex&>()));
static_assert(noexcept(std::declval<CComplex&>() + std::declval<const CComplex&>()));
static_assert(noexcept(std::declval<CComplex&>() / std::declval<const CComplex&>()));
static_assert(noexcept(std::declval<const CComplex&>().mag()));
static_assert(noexcept(std::declval<const CComplex&>().ang()));
static_assert(noexcept(std::declval<const CComplex&>().print()));

// Builds two values, adds one into the other and returns their sum.
constexpr CComplex constantSum() {
    CComplex a(1.5f, -2.0f);
    const CComplex b(0.25f, 4.0f);
    a += b;
    return a + b;
}
constexpr CComplex kSum = constantSum();
static_assert(kSum.real == 2.0f && kSum.imag == 6.0f);
constexpr CComplex kZero;
static_assert(kZero.real == 0.0f && kZero.imag == 0.0f);

// Const and constexpr operands on the left, in constant expressions.
constexpr CComplex kA(1.5f, -2.0f), kB(0.25f, 4.0f);
static_assert(std::plus<>()(kA, kB) == CComplex(1.75f, 2.0f) && kA - kB == CComplex(1.25f, -6.0f) &&
              kA * kB == CComplex(8.375f, 5.5f) && -kA == CComplex(-1.5f, 2.0f) &&
              kA.conj() == CComplex(1.5f, 2.0f) && kA != kA.conj() && kA != -kA.conj());
static_assert(CComplex(0.0f, 0.0f) == CComplex(-0.0f, -0.0f) &&
              CComplex(kNaN, 0.0f) != CComplex(kNaN, 0.0f) &&
              !(CComplex(0.0f, kNaN) == CComplex(0.0f, kNaN)));
// (kA kB - kB)^2, computed in place; the last factor is the value itself.
constexpr CComplex squaredInPlace(CComplex z) { return z *= kB, z -= kB, z *= z, z; }
static_assert(squaredInPlace(kA) == CComplex(63.765625f, 24.375f));
// Products whose real, then imaginary, part cancels to 2^-46, evaluated by
// the plain form that constant expressions use.
static_assert(CComplex(1, 0x1.000002p0f) * CComplex(0x1.000004p0f, 0x1.000002p0f) ==
                  CComplex(-0x1p-46f, 0x1.000004p1f) &&
              CComplex(-1, 0x1.000002p0f) * CComplex(0x1.000002p0f, 0x1.000004p0f) ==
                  CComplex(-0x1.000004p1f, 0x1p-46f));
constexpr CComplex kNegatedNaN = -CComplex(kNaN, -kNaN), kConjugateNaN = CComplex(0, kNaN).conj();
// Float operands, the free functions and the standard type, in constant
// expressions; a std::complex<double> would narrow, so it does not convert.
constexpr CComplex floatsInPlace(CComplex z) { return z += 1.0f, z -= 0.5f, z *= 4.0f, z; }
static_assert(floatsInPlace(kA) == CComplex(8.0f, -8.0f) && 2.0f * kA == kA * 2 &&
              kA + 1.0f == 1.0f + kA && 1.0f - kA == -(kA - 1.0f) && CComplex(3.0f) == 3.0f &&
              3.0f != kA && real(kA) == 1.5f && imag(kA) == -2.0f && conj(kA) == kA.conj());
static_assert(CComplex(std::complex<float>(1, 2)) == CComplex(1, 2) &&
              std::complex<float>(kA) == std::complex<float>(1.5f, -2.0f) &&
              !std::is_convertible_v<std::complex<double>, CComplex>);
// The standard type on the left too; the part type by name; polar(r) is r + j0.
static_assert(std::complex<float>(1, 2) + kA == CComplex(2.5f, 0) &&
              std::complex<float>(1, 2) - kA == CComplex(-0.5f, 4) &&
              std::complex<float>(1, 2) * kA == CComplex(5.5f, 1) &&
              std::complex<float>(1.5f, -2) == kA && std::complex<float>(1, 2) != kA &&
              !(std::complex<float>(1.5f, 2) == kA) && std::complex<float>(1.5f, 2) != kA &&
              !(kA == std::complex<float>(1.5f, 2)) && kA != std::complex<float>(1.5f, 2) &&
              std::is_same_v<CComplex::value_type, float> && polar(-2.0f) == CComplex(-2, 0));
// The imaginary literal, floating and integer, each the float literal's value:
// just past a halfway point by 10^-30, ties to even, in every base, at the
// ends of the range (2^128 - 2^103 is the first infinite value).
namespace literals {
using namespace ccomplex_literals;
static_assert(2.5f + 3.0_j == CComplex(2.5f, 3) && 2_j * 2_j == -4.0f &&
              0.1_j == CComplex(0, 0.1f) && 16777217_j == CComplex(0, 16777216));
static_assert(
    1.000000059604644775390625000001_j == CComplex(0, 0x1.000002p+0f) &&
    1.000000059604644775390625_j == CComplex(0, 1) &&
    1.00000005960464477539062500000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001_j ==
        CComplex(0, 0x1.000002p+0f) &&
    0x1.0000011p0_j == CComplex(0, 0x1.000002p0f) && 0x1'000'003_j == 16777220_j &&
    0b1000000000000000000000011_j == 16777220_j && 0777_j == 511_j &&
    8e-46_j == CComplex(0, 0x1p-149f) && 7e-46_j == 0_j && 1e-400_j == 0_j &&
    340282356779733661637539395458142568447_j == CComplex(0, 0x1.fffffep127f) &&
    340282356779733661637539395458142568448_j == CComplex(0, HUGE_VALF));
}  // namespace literals
// An exponent of any integer type; a double one is refused, not narrowed; and
// the host's pow(2.0f, 3) is still the C library's.
template <typename E, typename = void>
struct PowTakes : std::false_type {};
template <typename E>
struct PowTakes<E, std::void_t<decltype(pow(std::declval<CComplex>(), std::declval<E>()))>>
    : std::true_type {};
static_assert(PowTakes<short>() && PowTakes<unsigned>() && PowTakes<long>() &&
              PowTakes<std::size_t>() && PowTakes<std::uint64_t>() && PowTakes<float>() &&
              !PowTakes<double>() && std::is_same_v<decltype(pow(2.0f, 3)), double>);

TEST(ValueType, DefaultsToZeroInContainersArraysAndMembers) {
    struct Sample {
        int index;
        CComplex value;
    };
    std::vector<CComplex> grown(3);
    grown.resize(5);
    const std::array<CComplex, 2> array;
    Sample sample;  // its CComplex member default-initialised
    sample.index = 0;
    std::vector<CComplex> all(grown);
    all.insert(all.end(), array.begin(), array.end());
    all.push_back(sample.value);
    ASSERT_EQ(all.size(), 8u);
    for (const CComplex& z : all) {
        EXPECT_TRUE(sameBits(z, CComplex(0.0f, 0.0f))) << text(z);
    }
}

TEST(Addition, InPlaceAndByValue) {
    CComplex a(2.5f, 3.0f);
    const CComplex b(2.0f, -0.5f);
    a += b;
    EXPECT_EQ(a.real, 4.5f);
    EXPECT_EQ(a.imag, 2.5f);

    a += a;  // aliasing: the addend is the value itself
    EXPECT_EQ(a.real, 9.0f);
    EXPECT_EQ(a.imag, 5.0f);

    CComplex sum = a + b;
    EXPECT_EQ(sum.real, 11.0f);
    EXPECT_EQ(sum.imag, 4.5f);
    EXPECT_EQ(a.real, 9.0f);  // operands unchanged
    EXPECT_EQ(a.imag, 5.0f);

    CComplex copy(b);
    copy.imag = 7.0f;
    EXPECT_EQ(b.imag, -0.5f);
    copy = a;
    EXPECT_EQ(copy.real, 9.0f);
    EXPECT_EQ(copy.imag, 5.0f);

    CComplex special(kInf, 1.0f);
    special += CComplex(-kInf, kNaN);
    EXPECT_TRUE(std::isnan(special.real));
    EXPECT_TRUE(std::isnan(special.imag));
}

// Signed zeros; products that cancel, overflow in one part or are subnormal;
// the polar form of an angle; and a division in place by the value itself.
TEST(Arithmetic, ExactResults) {
    const float aboveOne = 0x1.000002p0f;
    CComplex itself[] = {{1, 2}};  // its own divisor; an array keeps clang from flagging it
    itself[0] /= itself[0];
    const struct {
        CComplex got, expected;
    } cases[] = {
        {CComplex(-0.0f, 1) - CComplex(0, 1), {-0.0f, 0}},
        {-CComplex(1, 0), {-1, -0.0f}},
        {CComplex(-0.0f, 3).conj(), {-0.0f, -3}},
        {kNegatedNaN, {-kNaN, kNaN}},
        {kConjugateNaN, {0, -kNaN}},
        {CComplex(aboveOne, 1) * CComplex(aboveOne, 0x1.000004p0f), {0x1p-46f, 0x1.000004p1f}},
        {CComplex(0x1p-75f, 0x1p-75f) * CComplex(0x1p-75f, -0x1p-75f), {0x1p-149f, 0}},
        {CComplex(2e38f, 2e38f) * CComplex(2, -2), {kInf, 0}},
        {CComplex::polar(5, CComplex(3, 4).ang()), {3, 4}},
        {CComplex::polar(-2, 0), {-2, -0.0f}},
        {CComplex::polar(-0x1.7f0a38p-127f, 0), {-0x1.7f0a38p-127f, -0.0f}},  // the careful path
        {CComplex::polar(kInf), {kInf, 0}},
        {polar(-2), {-2, 0}},
        {itself[0], {1, 0}},
        // float operands, one float operation per part; an int converts
        {CComplex(kInf, 1) * 2.0f, {kInf, 2}},
        {2.0f * CComplex(kInf, 1), {kInf, 2}},
        {CComplex(1.5f, -2) * 2, {3, -4}},
        {CComplex(1, -0.0f) + 2.0f, {3, -0.0f}},
        {2.0f + CComplex(1, -0.0f), {3, -0.0f}},
        {2.0f - CComplex(1, 3), {1, -3}},
        {CComplex(1, 1) / 3.0f, {1.0f / 3, 1.0f / 3}},
        {kB / 4.0f, {0.0625f, 1}},
        {6.0f / CComplex(0, 2), {0, -3}},
        // an infinite divisor: zeros signed as the limit
        {CComplex(1, 1) / CComplex(kInf, 0), {0, 0}},
        {CComplex(-1, 1) / CComplex(kInf, 0), {-0.0f, 0}},
        {CComplex(1, 2) / CComplex(-kInf, kNaN), {-0.0f, -0.0f}},
        {CComplex(0, 1) / CComplex(-1, kInf), {0, -0.0f}},
        {CComplex(1, 1) / CComplex(0, kInf), {0, -0.0f}},
        // a float divisor: one float division per part, a NaN no zero
        {CComplex(kInf, 1) / 2.0f, {kInf, 0.5f}},
        {CComplex(1, 1) / kNaN, {kNaN, kNaN}},
        {2.0f - CComplex(1, 0), {1, -0.0f}},
        {{CComplex(3, 1) == 3.0f ? 1.0f : 0.0f, CComplex(3, -0.0f) == 3.0f ? 1.0f : 0.0f}, {0, 1}},
        // the free functions and the standard type
        {{abs(CComplex(3, 4)), norm(CComplex(3, 4))}, {5, 25}},
        {{arg(CComplex(-1, -0.0f)), 0}, {CComplex(-1, -0.0f).ang(), 0}},
        {proj(CComplex(kNaN, -kInf)), {kInf, -0.0f}},
        {proj(CComplex(kNaN, -2)), {kNaN, -2}},
        {std::complex<float>(-0.0f, kInf), {-0.0f, kInf}},
        {std::complex<float>(1, 1) / CComplex(0, 2), {0.5f, -0.5f}},
        {std::complex<float>(3, -1) * CComplex(2, 0.5f), {6.5f, -0.5f}},
        {std::complex<float>(1, -0.0f) - CComplex(-0.0f, 0), {1, -0.0f}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(sameBits(c.got, c.expected)) << c.got << " vs " << c.expected;
    }
}

struct DivisionCase {
    CComplex x, w;
    long double re, im;  // the exact quotient
};

TEST(Division, CorrectlyRoundedAndSilentForNonzeroDivisors) {
    const DivisionCase cases[] = {
        {{1, 2}, {0, 1}, 2, -1},
        {{3, 4}, {1, 2}, 2.2L, -0.4L},
        {{6.5f, 3}, {6.5f, -0.5f}, 40.75L / 42.5L, 22.75L / 42.5L},
        // The squared divisor overflows or underflows single precision.
        {{1, 0}, {1e20f, 0}, 1 / static_cast<long double>(1e20f), 0},
        {{1, 0}, {1e-23f, 0}, 1 / static_cast<long double>(1e-23f), 0},
        {{FLT_MAX, FLT_MAX}, {FLT_MAX, FLT_MAX}, 1, 0},
        {{1e-30f, 1e-30f}, {1e-30f, -1e-30f}, 0, 1},
        {{FLT_TRUE_MIN, 0}, {0, -FLT_TRUE_MIN}, 0, 1},
        // The quotient itself leaves the float range.
        {{FLT_MAX, -FLT_MAX}, {0.5f, 0}, 2.0L * FLT_MAX, -2.0L * FLT_MAX},
        {{FLT_TRUE_MIN, 0}, {4, 0}, FLT_TRUE_MIN / 4.0L, 0},
    };
    for (const DivisionCase& c : cases) {
        CComplex x = c.x;
        CoutCapture out;
        const CComplex q = x / c.w;
        SCOPED_TRACE(text(c.x) + " / " + text(c.w));
        EXPECT_TRUE(roundsCorrectly(q.real, c.re)) << q.real;
        EXPECT_TRUE(roundsCorrectly(q.imag, c.im)) << q.imag;
        EXPECT_EQ(out.text(), "");
        EXPECT_TRUE(sameBits(x, c.x));
    }
}

TEST(Division, ZeroDivisorReportsOnceAndYieldsZero) {
    const CComplex zeros[] = {{0.0f, 0.0f}, {-0.0f, 0.0f}, {0.0f, -0.0f}, {-0.0f, -0.0f}};
    for (const CComplex& w : zeros) {
        CComplex x(3.0f, -4.0f), inPlace(x), inPlaceByFloat(x);
        CoutCapture out;
        const CComplex q = x / w;
        EXPECT_EQ(out.text(), "Error: Divided by zero!\n");
        EXPECT_TRUE(sameBits(q, CComplex(0.0f, 0.0f)));
        inPlace /= w;
        inPlaceByFloat /= w.imag;
        EXPECT_TRUE(sameBits(inPlace, q) && sameBits(inPlaceByFloat, q) && sameBits(x / w.real, q));
        EXPECT_EQ(out.text(),
                  "Error: Divided by zero!\nError: Divided by zero!\n"
                  "Error: Divided by zero!\nError: Divided by zero!\n");
        EXPECT_EQ(x.real, 3.0f);
        EXPECT_EQ(x.imag, -4.0f);
    }
}

// The line is flushed at once, so it is not lost if the process ends right
// after the division: a child writes through a buffered file and ends with no
// chance to flush it.
TEST(Division, ZeroDivisorLineSurvivesAnAbruptEnd) {
    // Named after this process: test runs in parallel share the directory. On
    // Windows the statement below runs in a new process that starts the test
    // again, so the name cannot be its own.
#ifdef _WIN32
    const std::string path = testing::TempDir() + "zero_divisor_line";
#else
    const std::string path = testing::TempDir() + "zero_divisor_line_" + std::to_string(getpid());
#endif
    EXPECT_EXIT(
        {
            std::filebuf file;
            file.open(path, std::ios::out | std::ios::trunc);
            std::cout.rdbuf(&file);
            CComplex x(1.0f, 1.0f);
            static_cast<void>(x / CComplex(0.0f, 0.0f));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
    std::ostringstream written;
    written << std::ifstream(path).rdbuf();
    std::remove(path.c_str());
    EXPECT_EQ(written.str(), "Error: Divided by zero!\n");
}

// A caller that turned on exceptions for std::cout, whose output fails,
// still gets 0 + j0 and no exception; the failure shows in std::cout's state.
TEST(Division, ZeroDivisorThrowsNothingWhenItsLineCannotBeWritten) {
    for (const bool bufferThrows : {false, true}) {
        FailingBuffer failing(bufferThrows);
        CoutRedirect redirect(&failing);
        std::cout.exceptions(std::ios::badbit | std::ios::failbit);
        CComplex x(3.0f, -4.0f);
        const CComplex q = x / CComplex(0.0f, -0.0f);  // a throw here would terminate
        EXPECT_TRUE(sameBits(q, CComplex(0.0f, 0.0f))) << bufferThrows;
        EXPECT_TRUE(std::cout.bad()) << bufferThrows;
    }
}

TEST(Division, NaNDivisorIsNotZero) {
    CComplex x(1.0f, 1.0f);
    CoutCapture out;
    const CComplex q = x / CComplex(kNaN, 0.0f);
    EXPECT_TRUE(std::isnan(q.real) && std::isnan(q.imag));
    EXPECT_EQ(out.text(), "");
}

TEST(Magnitude, CorrectlyRoundedWithoutOverflowOrUnderflow) {
    const struct {
        CComplex x;
        long double exact;
    } cases[] = {
        {{3, 4}, 5},
        {{-3, -4}, 5},
        {{2e19f, 0}, 2e19f},
        {{1e19f, 0}, 1e19f},
        {{0, -1e-30f}, 1e-30f},
        {{1e-30f, 1e-30f}, std::sqrt(2.0L) * 1e-30f},
        {{FLT_TRUE_MIN, FLT_TRUE_MIN}, std::sqrt(2.0L) * FLT_TRUE_MIN},
        {{FLT_MAX, FLT_MAX}, std::sqrt(2.0L) * FLT_MAX},  // beyond float: infinity
        {{-0.0f, 0.0f}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(roundsCorrectly(c.x.mag(), c.exact)) << c.x.print() << " -> " << c.x.mag();
    }
    EXPECT_EQ(CComplex(-kInf, 0.0f).mag(), kInf);
}

// The angle is atan2 in double rounded to float: for these the nearest float.
TEST(Angle, QuadrantsAndSignedZeros) {
    const float pi = 3.14159265358979f;
    const struct {
        CComplex x;
        float expected;
    } cases[] = {{{1, 0}, 0.0f},     {{0, 1}, pi / 2}, {{-1, 0}, pi},
                 {{-1, -0.0f}, -pi}, {{0, 0}, 0.0f},   {{0, -0.0f}, -0.0f},
                 {{-0.0f, 0}, pi},   {{1, 1}, pi / 4}, {{kInf, kInf}, pi / 4}};
    for (const auto& c : cases) {
        const float angle = c.x.ang();
        EXPECT_EQ(angle, c.expected) << c.x.print();
        EXPECT_EQ(std::signbit(angle), std::signbit(c.expected)) << c.x.print();
    }
}

// The angle in long double rounded to float: the correctly rounded angle
// that ang() promises, unless within 2^-40 ulp of a tie.
constexpr bool kLongDoubleHas64Bits = std::numeric_limits<long double>::digits >= 64;
float referenceAngle(const CComplex& x) {
    return static_cast<float>(
        std::atan2(static_cast<long double>(x.imag), static_cast<long double>(x.real)));
}

bool sameAngle(float a, float b) { return sameBits(a, b) || (std::isnan(a) && std::isnan(b)); }

TEST(Angle, MatchesLongDoubleAtSpecialValues) {
    if (!kLongDoubleHas64Bits) GTEST_SKIP() << "long double has fewer than 64 bits here";
    const float values[] = {0.0f,    -0.0f, 1.0f,  -1.0f, FLT_TRUE_MIN, -FLT_MIN,
                            FLT_MAX, kInf,  -kInf, kNaN,  1e-30f,       3e30f};
    for (float re : values) {
        for (float im : values) {
            const CComplex x(re, im);
            EXPECT_TRUE(sameAngle(x.ang(), referenceAngle(x)))
                << text(x) << ": " << x.ang() << " vs " << referenceAngle(x);
        }
    }
}

// Angles whose exact value lies within 2^-42 of the midpoint of two floats;
// one or more in each octant the search found them in.
TEST(Angle, CorrectlyRoundedWhereRoundingIsHard) {
    if (!kLongDoubleHas64Bits) GTEST_SKIP() << "long double has fewer than 64 bits here";
    const CComplex cases[] = {
        {0x1.631edap+0f, 0x1.2864cp-1f},
        {0x1.0c8c16p+0f, -0x1.bac43ep-2f},
        {0x1.c4548p+0f, -0x1.1a2766p-1f},
        {0x1.459422p-2f, -0x1.26b816p+0f},
        {-0x1.12489ap-2f, 0x1.22ca26p-1f},
        {-0x1.bb1484p+0f, 0x1.835e58p-1f},
        {-0x1.fcd9e2p+0f, -0x1.0793ep+0f},
        {0x1.87d1cp+69f, 0x1.b62e0ap+0f},  // a tiny angle: 0x1.1e4a4cp-69
    };
    for (const CComplex& x : cases) {
        EXPECT_TRUE(sameBits(x.ang(), referenceAngle(x)))
            << std::hexfloat << x.real << ", " << x.imag << ": " << x.ang() << " vs "
            << referenceAngle(x);
    }
}

TEST(Print, MatchesPercentFOfEachPart) {
    const struct {
        CComplex x;
        const char* text;
    } cases[] = {
        {{2.5f, 3}, "2.500000 +j3.000000"},
        {{2, -3.5f}, "2.000000 +j-3.500000"},
        {{0, 0}, "0.000000 +j0.000000"},
        {{-0.0f, -0.0f}, "-0.000000 +j-0.000000"},
        {{1e20f, 0.1f}, "100000002004087734272.000000 +j0.100000"},
        {{0.0000005f, -0.0000015f}, "0.000000 +j-0.000002"},
        // Exact halves of the last decimal round to even; a carry reaches
        // the integer part.
        {{0.0078125f, 0.0234375f}, "0.007812 +j0.023438"},
        {{0.99999994f, -7.9999995f}, "1.000000 +j-8.000000"},
        {{16777216.0f, -FLT_TRUE_MIN}, "16777216.000000 +j-0.000000"},
        {{kInf, -kInf}, "inf +j-inf"},
        {{kNaN, std::copysign(kNaN, -1.0f)}, "nan +j-nan"},
        {{-FLT_MAX, -FLT_MAX},
         "-340282346638528859811704183484516925440.000000"
         " +j-340282346638528859811704183484516925440.000000"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.x.print(), c.text);
    }
}

// The text C's printf gives for the two parts widened to double, in `format`.
std::string printfText(const CComplex& x, const char* format = "%f +j%f") {
    char text[400];
    std::snprintf(text, sizeof text, format, static_cast<double>(x.real),
                  static_cast<double>(x.imag));
    return text;
}

// print() always, and << in each of the stream's floating-point formats.
TEST(Print, PrintAndInserterMatchPrintfOnRandomParts) {
    const std::ios::fmtflags hex = std::ios::fixed | std::ios::scientific;
    const struct {
        std::ios::fmtflags field;
        std::streamsize precision;
        const char* format;
    } formats[] = {{{}, 6, "%f +j%f"},
                   {std::ios::scientific, 8, "%.8e +j%.8e"},
                   {hex, 3, "%a +j%a"},
                   {std::ios::fixed, 0, "%.0f +j%.0f"},
                   {std::ios::fixed, 400, "%.149f +j%.149f"}};
    RandomPart part;
    std::ostringstream streamed;
    int mismatches = 0;
    for (int i = 0, cases = randomCases(500'000); i < cases; ++i) {
        const CComplex x(part(), part());
        const auto& f = formats[i % 5];
        streamed.str("");
        streamed.flags(f.field);
        streamed << std::setprecision(static_cast<int>(f.precision)) << x;
        const bool printMatches = text(x) == printfText(x);
        if ((!printMatches || streamed.str() != printfText(x, f.format)) && mismatches++ < 5) {
            ADD_FAILURE() << text(x) << " and " << streamed.str() << " vs "
                          << printfText(x, f.format);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(Print, SharesOneBufferAcrossValues) {
    const CComplex a(1.0f, 2.0f);
    const CComplex b(-3.0f, 4.0f);
    const char* first = a.print();
    const char* second = b.print();
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "-3.000000 +j4.000000");
}

TEST(Inserter, SeveralValuesInOneExpressionLeaveThePrintBufferAlone) {
    const CComplex a(1.0f, 2.0f);
    const CComplex b(-3.0f, -0.5f);
    const char* shared = a.print();
    std::ostringstream out;
    out << a << ", " << b << '|' << CComplex(kInf, kNaN);
    EXPECT_EQ(out.str(), "1.000000 +j2.000000, -3.000000 +j-0.500000|inf +jnan");
    EXPECT_STREQ(shared, "1.000000 +j2.000000");
}

TEST(Inserter, FieldWidthPadsTheWholeTextAndTheFloatFormatShapesEachPart) {
    const struct {
        void (*setUp)(std::ostream&);
        const char* text;
    } cases[] = {
        {[](std::ostream& out) { out << std::setw(24); }, "    2.500000 +j-3.000000"},
        {[](std::ostream& out) { out << std::setw(24) << std::left << std::setfill('*'); },
         "2.500000 +j-3.000000****"},
        {[](std::ostream& out) { out << std::setw(5); }, "2.500000 +j-3.000000"},
        {[](std::ostream& out) {
             out << std::showpos << std::scientific << std::uppercase << std::setprecision(2);
         },
         "2.50e+00 +j-3.00e+00"},
        {[](std::ostream& out) { out << std::setw(22) << std::hexfloat; },
         "  0x1.4p+1 +j-0x1.8p+1"},
        {[](std::ostream& out) { out << std::fixed << std::setprecision(-1); },
         "2.500000 +j-3.000000"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        c.setUp(out);
        out << CComplex(2.5f, -3.0f);
        EXPECT_EQ(out.str(), c.text);
        EXPECT_EQ(out.width(), 0);  // the width applies to one insertion only
    }
}

// What `in >> z` does with `text`, starting from z = 7 - j7.
struct Read {
    CComplex value{7.0f, -7.0f};
    std::ios::iostate state;
    std::string rest;  // what is left in the stream
};

Read readFrom(const std::string& text, bool skipws = true) {
    std::istringstream in(text);
    if (!skipws) in >> std::noskipws;
    Read read;
    in >> read.value;
    read.state = in.rdstate();
    in.clear();
    std::getline(in, read.rest, '\0');
    return read;
}

// eofbit where the reader had to look past the last character to know the
// value had ended: after digits, not after a word.
TEST(Extractor, ReadsTheValueAndStopsRightAfterIt) {
    const std::ios::iostate good = std::ios::goodbit, eof = std::ios::eofbit;
    const struct {
        const char* text;
        float real, imag;
        const char* rest;
        std::ios::iostate state;
    } cases[] = {
        {"2.500000 +j3.000000", 2.5f, 3.0f, "", eof},
        {" \n\t-1.5 +j-0.000000 next", -1.5f, -0.0f, " next", good},
        {"inf +j-inf,", kInf, -kInf, ",", good},
        {"nan +j-nan", kNaN, -kNaN, "", good},
        {"0.1 +j1e-3)", 0.1f, 0.001f, ")", good},
        {"1. +j.5E+2 +j", 1.0f, 50.0f, " +j", good},
        {"2 +j3+j4", 2.0f, 3.0f, "+j4", good},
        {"1e-40 +j-340282346638528859811704183484516925440.000000", 1e-40f, -FLT_MAX, "", eof},
        {"0.000001 +j340282356779733661637539395458142568447", 0.000001f, FLT_MAX, "", eof},
        {"0.2 +jinfinity", 0.2f, kInf, "inity", good},
        {"0X1.8P+1 +j0x1p-3", 3.0f, 0.125f, "", eof},
        // the standard type's texts, whitespace where its reader skips it
        {"(1.5,2) +j1", 1.5f, 2.0f, " +j1", good},
        {" ( -1.5 , \n2e3 )", -1.5f, 2000.0f, "", good},
        {"(-0)", -0.0f, 0.0f, "", good},
        {"(\v1\r,\f2\t)", 1.0f, 2.0f, "", good},  // every whitespace isspace knows
        {"(inf,-nan)x", kInf, -kNaN, "x", good},
        // a bare number, as the standard type reads it; a space after it that
        // does not start " +j" is given back
        {"7", 7.0f, 0.0f, "", eof},
        {"7 x", 7.0f, 0.0f, " x", good},
        {"7 ", 7.0f, 0.0f, " ", good},
        {"-0.25 (8,1)", -0.25f, 0.0f, " (8,1)", good},
        {"1.0  +j2.0", 1.0f, 0.0f, "  +j2.0", good},
        {"1.0 2.0", 1.0f, 0.0f, " 2.0", good},
        {"-inf\n+j1", -kInf, 0.0f, "\n+j1", good},
        {"0x1p-3,", 0.125f, 0.0f, ",", good},
    };
    for (const auto& c : cases) {
        const Read read = readFrom(c.text);
        EXPECT_TRUE(sameBits(read.value, CComplex(c.real, c.imag)))
            << c.text << " -> " << read.value;
        EXPECT_EQ(read.rest, c.rest) << c.text;
        EXPECT_EQ(read.state, c.state) << c.text;
    }
}

TEST(Extractor, ReadsValuesInSequenceAndFollowsSkipws) {
    std::istringstream in("1 +j2\n-3.5 +j0.25, 4 +j-4");
    CComplex a, b, c;
    char comma = 0;
    in >> a >> b >> comma >> c;
    EXPECT_TRUE(in);
    EXPECT_EQ(text(a) + text(b) + comma + text(c),
              "1.000000 +j2.000000-3.500000 +j0.250000,4.000000 +j-4.000000");

    std::istringstream failed("1 -2 +x3");  // after a failed read, nothing more is read
    failed >> a >> b >> c;
    EXPECT_TRUE(sameBits(a, CComplex(1, 0)) && sameBits(b, CComplex(-3.5f, 0.25f)) &&
                sameBits(c, CComplex(4, -4)))
        << a << b << c;

    // A stream already failed reads nothing, and leaves the value alone.
    std::istringstream alreadyFailed("1 2");
    alreadyFailed.setstate(std::ios::failbit);
    CComplex untouched(7, -7);
    alreadyFailed >> untouched;
    EXPECT_TRUE(sameBits(untouched, CComplex(7, -7)) && alreadyFailed.rdbuf()->sgetc() == '1');

    // Any mix of the standard type's texts, bare numbers among them, and this
    // type's own.
    std::istringstream mixed("(1,2) 7 (8,1)\n(2.5e-1,-0.75)\n7 (8,1)\n2.5 +j3 9");
    std::string all;
    for (CComplex z; mixed >> z;) all += text(z) + ";";
    EXPECT_EQ(all,
              "1.000000 +j2.000000;7.000000 +j0.000000;8.000000 +j1.000000;0.250000 "
              "+j-0.750000;7.000000 +j0.000000;8.000000 +j1.000000;2.500000 +j3.000000;9.000000 "
              "+j0.000000;");
    EXPECT_TRUE(mixed.eof());

    EXPECT_TRUE(readFrom(" 1 +j2", false).state & std::ios::failbit);
    EXPECT_EQ(readFrom("1 +j2", false).state, std::ios::eofbit);
    EXPECT_TRUE(readFrom("(1, 2)", false).state & std::ios::failbit);
    EXPECT_EQ(readFrom("7 x", false).rest, " x");
}

TEST(Extractor, BadInputSetsFailbitAndLeavesTheValueAlone) {
    const std::string texts[] = {
        // the marker: missing, different, spaced
        "1.0+j2.0", "1.0 + j2.0", "1.0 +k2.0", "1.0 +J2.0", "1.0 +j 2.0", "7+", "7 +x", "1 +2",
        // a missing part, or the end within the value
        "", "  ", " +j2.0", "1.0 +", "1.0 +j", "-", "1.0 +j-",
        // a part that is not a number
        "x +j1", "+1 +j2", ". +j1", "in +j1", "nax +j1", "1.0 +j.", "1.0 +j1e", "1.0 +j1e+",
        "0x +j1",
        // the standard type's form, malformed
        "(1.5,2", "(1.5;2)", "(,2)", "()", "(1.5 2)", "(1.5,2,3)", "(1.5 +j2)",
        // beyond the float range, or longer than any part << writes
        "1e39 +j0", "0 +j-1e39", "340282366920938463463374607431768211456 +j0", "1e-50 +j0",
        std::string(48, '1') + " +j0", "0 +j0." + std::string(189, '0'),
        "0 +j0x0." + std::string(187, '0'),  // 191 characters, the x among them
    };
    for (const std::string& bad : texts) {
        const Read read = readFrom(bad);
        EXPECT_TRUE(read.state & std::ios::failbit) << bad;
        EXPECT_TRUE(sameBits(read.value, CComplex(7.0f, -7.0f))) << bad;
    }
    EXPECT_EQ(readFrom("-e5 +j1").rest, "e5 +j1");  // a part with no digit ends at the e
}

TEST(Extractor, ThrowsOnlyWhereTheStreamAsksForIt) {
    CComplex z(7.0f, -7.0f);
    std::istringstream marker("1.0 +k2.0");
    marker.exceptions(std::ios::failbit);
    EXPECT_THROW(marker >> z, std::ios::failure);

    // A buffer that throws within the value: badbit, and its exception
    // passed on only where badbit is among the stream's exceptions.
    FailingBuffer quiet(true, "1.5 +j");
    std::istream quietIn(&quiet);
    quietIn.exceptions(std::ios::failbit);
    EXPECT_NO_THROW(quietIn >> z);
    EXPECT_TRUE(quietIn.bad());
    FailingBuffer loud(true, "1.5 +j");
    std::istream loudIn(&loud);
    loudIn.exceptions(std::ios::badbit);
    EXPECT_THROW(loudIn >> z, std::logic_error);
    EXPECT_TRUE(sameBits(z, CComplex(7.0f, -7.0f)));

    // A value that ends in a word is complete without a look past it.
    FailingBuffer ending(true, "0 +jinf");
    std::istream endingIn(&ending);
    EXPECT_TRUE(endingIn >> z);
    EXPECT_TRUE(sameBits(z, CComplex(0.0f, kInf)));
}

// Reading gives each part the float nearest its six-decimal text, so a value
// written, read and written again keeps its text; and a part whose text is
// exact comes back bit for bit.
TEST(Extractor, WriteReadWriteKeepsTheText) {
    RandomPart part;
    std::mt19937 engine(20261208);
    std::uniform_int_distribution<int> sixtyFourths(-(1 << 24), 1 << 24);
    const float specials[] = {kInf, -kInf, kNaN, -kNaN, -0.0f, FLT_MAX, -FLT_TRUE_MIN, 0.0078125f};
    int textMismatches = 0, bitMismatches = 0;
    for (int i = 0, cases = randomCases(500'000); i < cases; ++i) {
        const float re = i < 64 ? specials[i % 8] : part();
        const float im = i < 64 ? specials[i / 8] : part();
        const CComplex x(re, im);
        std::stringstream stream;
        CComplex y;
        stream << x;
        stream >> y;
        if (text(y) != text(x) && textMismatches++ < 5)
            ADD_FAILURE() << text(x) << " -> " << text(y);
        // Hexfloat, and nine significant digits, give every float back.
        for (auto* format : {std::hexfloat, std::scientific}) {
            std::stringstream lossless;
            lossless << format << std::setprecision(8) << x;
            lossless >> y;
            if (!sameBits(y, x) && bitMismatches++ < 5)
                ADD_FAILURE() << lossless.str() << " -> " << std::hexfloat << y.real << ", "
                              << y.imag;
        }

        const CComplex exact(static_cast<float>(sixtyFourths(engine)) / 64,
                             static_cast<float>(sixtyFourths(engine)) / 64);
        stream.clear();
        stream << ' ' << exact;
        stream >> y;
        if (!sameBits(y, exact) && bitMismatches++ < 5) {
            ADD_FAILURE() << text(exact) << " -> " << std::hexfloat << y.real << ", " << y.imag;
        }
    }
    EXPECT_EQ(textMismatches, 0);
    EXPECT_EQ(bitMismatches, 0);

    // The one exception, and nothing else, at the top of the range: in every
    // precision of scientific, only precision 3 writes floats from 3.4025e38
    // up as 3.403e+38, which lies beyond the range.
    int refused = 0, unexpected = 0;
    for (int precision = 0; precision <= 9; ++precision) {
        for (float f = FLT_MAX; f > 3.4e38f; f = std::nextafter(f, 0.0f)) {
            std::stringstream stream;
            stream << std::scientific << std::setprecision(precision) << CComplex(f, -f);
            CComplex y;
            const bool read = static_cast<bool>(stream >> y);
            unexpected += read == (precision == 3 && static_cast<double>(f) >= 3.4025e38);
            refused += !read;
        }
    }
    EXPECT_EQ(unexpected, 0);
    EXPECT_EQ(refused, 1595);
}

// The quotient, magnitude, norm and angle correctly rounded, the product and
// polar form within 1 ulp. Polar takes x's parts as magnitude and angle;
// subtraction, negation, the conjugate and the in-place forms must equal
// their definitions bit for bit, and the product the plain double formula
// that constant expressions use.
TEST(Accuracy, AsGuaranteedOnRandomOperands) {
    const int cases = randomCases(2'000'000);
    RandomPart part;
    long double worstProduct = 0, worstPolar = 0;
    std::string divisionMismatch, magnitudeMismatch, angleMismatch;
    int divisionMismatches = 0, magnitudeMismatches = 0, angleMismatches = 0,
        definitionMismatches = 0;
    for (int i = 0; i < cases; ++i) {
        CComplex x(part(), part());
        CComplex w(part(), part());
        // In every other pair, one part of the product nearly cancels.
        const double a = x.real, b = x.imag, c = w.real;
        const float nearlyCancelling = static_cast<float>(i % 4 == 1 ? a * c / b : -b * c / a);
        if (i % 2 == 1 && std::isfinite(nearlyCancelling)) w.imag = nearlyCancelling;
        if (kLongDoubleHas64Bits && !sameAngle(x.ang(), referenceAngle(x)) &&
            angleMismatches++ == 0) {
            angleMismatch = text(x);
        }
        const long double re2 = x.real, im2 = x.imag;
        if ((!roundsCorrectly(x.mag(), exactMagnitude(x)) ||
             !roundsCorrectly(norm(x), re2 * re2 + im2 * im2)) &&
            magnitudeMismatches++ == 0) {
            magnitudeMismatch = text(x);
        }
        // Double products of floats are exact; long double sums round once.
        const double d = w.imag;
        const long double ac = a * c, ad = a * d, angle = b;
        const CComplex p = x * w, z = CComplex::polar(x.real, x.imag);
        worstProduct =
            std::max({worstProduct, ulpError(p.real, ac - b * d), ulpError(p.imag, ad + b * c)});
        if (kLongDoubleFunctionsAreReferences)
            worstPolar = std::max({worstPolar, ulpError(z.real, a * std::cos(angle)),
                                   ulpError(z.imag, a * std::sin(angle))});
        CComplex difference(x), product(x), quotient(x);
        difference -= w;
        product *= w;
        definitionMismatches +=
            !sameBits(
                p, CComplex(static_cast<float>(a * c - b * d), static_cast<float>(a * d + b * c))) +
            !sameBits(difference, CComplex(x.real - w.real, x.imag - w.imag)) +
            !sameBits(product, p) + !sameBits(-x, CComplex(-x.real, -x.imag)) +
            !sameBits(x.conj(), CComplex(x.real, -x.imag)) + !sameBits(abs(x), x.mag()) +
            !sameAngle(arg(x), x.ang()) + !sameBits(polar(x.real, x.imag), z);
        if (w.real == 0 && w.imag == 0) continue;
        long double re, im;
        exactQuotient(x, w, re, im);
        const CComplex q = x / w;
        if ((!roundsCorrectly(q.real, re) || !roundsCorrectly(q.imag, im)) &&
            divisionMismatches++ == 0) {
            divisionMismatch = text(x) + " / " + text(w);
        }
        quotient /= w;
        definitionMismatches += !sameBits(quotient, q);
    }
    EXPECT_EQ(divisionMismatches, 0) << "first at " << divisionMismatch;
    EXPECT_EQ(magnitudeMismatches, 0) << "first at " << magnitudeMismatch;
    EXPECT_LE(worstProduct, 1.0L);
    EXPECT_LE(worstPolar, 1.0L);
    EXPECT_EQ(angleMismatches, 0) << "first at " << angleMismatch;
    EXPECT_EQ(definitionMismatches, 0);
}

}  // namespace
