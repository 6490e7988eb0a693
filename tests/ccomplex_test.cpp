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
#ifdef CCOMPLEX_TEST_FORMAT
#include "ccomplex_format.h"
#endif

#ifdef CCOMPLEX_PACKED_PRODUCT
#error "ccomplex.h leaks its internal macro into the includer"
#endif

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Whether the C library's long double functions can serve as references.
// MinGW's cannot: its cos and sin reduce an angle by the x87 unit's 66-bit
// pi, and std::complex<long double>'s functions overflow for large parts.
#ifdef _WIN32
constexpr bool kLongDoubleFunctionsAreReferences = false;
#else
constexpr bool kLongDoubleFunctionsAreReferences = true;
#endif

// Points std::cout at another buffer for as long as it lives; then restores
// its buffer and clears its state and exceptions.
class CoutRedirect {
public:
    explicit CoutRedirect(std::streambuf* to) : saved_(std::cout.rdbuf(to)) {}
    ~CoutRedirect() {
        std::cout.exceptions(std::ios::goodbit);
        std::cout.rdbuf(saved_);  // also clears the state
    }
    CoutRedirect(const CoutRedirect&) = delete;
    CoutRedirect& operator=(const CoutRedirect&) = delete;

private:
    std::streambuf* saved_;
};

// Redirects std::cout into a string for as long as it lives.
class CoutCapture {
public:
    std::string text() const { return captured_.str(); }

private:
    std::ostringstream captured_;
    CoutRedirect redirect_{captured_.rdbuf()};
};

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

// How many float ulps `got` lies from `exact`. The ulp is that of the float
// range `exact`, or `floor` if larger, falls in (2^-149 for subnormals). An infinite result counts
// as exact when the true value lies beyond FLT_MAX with the same sign.
long double ulpError(float got, long double exact, long double floor = 0) {
    if (std::isnan(got)) return std::numeric_limits<long double>::infinity();
    if (std::isinf(got)) {
        const bool beyond = std::fabs(exact) > FLT_MAX && std::signbit(got) == std::signbit(exact);
        return beyond ? 0.0L : std::numeric_limits<long double>::infinity();
    }
    // ilogb(0) is far below any float exponent, so 0 gets the subnormal ulp.
    const int exponent = std::max(std::ilogb(std::max(std::fabs(exact), floor)), FLT_MIN_EXP - 1);
    const long double ulp = std::ldexp(1.0L, exponent - (FLT_MANT_DIG - 1));
    return std::fabs(static_cast<long double>(got) - exact) / ulp;
}

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

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool sameBits(const CComplex& a, const CComplex& b) {
    return sameBits(a.real, b.real) && sameBits(a.imag, b.imag);
}

// The text form copied out of the shared buffer at once, so that two of them
// can be used in one expression.
std::string text(const CComplex& x) { return x.print(); }

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
              std::is_same_v<CComplex::value_type, float> && polar(-2.0f) == CComplex(-2, 0));
// The imaginary literal, floating and integer.
namespace literals {
using namespace ccomplex_literals;
static_assert(2.5f + 3.0_j == CComplex(2.5f, 3) && 2_j * 2_j == -4.0f &&
              0.1_j == CComplex(0, 0.1f) && 16777217_j == CComplex(0, 16777216));
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

TEST(Division, WithinOneUlpAndSilentForNonzeroDivisors) {
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
        EXPECT_LE(ulpError(q.real, c.re), 1.0L) << q.real;
        EXPECT_LE(ulpError(q.imag, c.im), 1.0L) << q.imag;
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

TEST(Magnitude, WithinOneUlpWithoutOverflowOrUnderflow) {
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
        EXPECT_LE(ulpError(c.x.mag(), c.exact), 1.0L) << c.x.print() << " -> " << c.x.mag();
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

#ifdef CCOMPLEX_TEST_FORMAT
// Each part as std::format writes a float with the options; fill, alignment
// and width on the whole; {} reads back bit for bit; bad options refused.
TEST(Format, EachPartAsAFloatAndTheWidthOnTheWhole) {
    const struct {
        const char* format;
        CComplex z;
        const char* text;
    } cases[] = {
        {"{}", {2.5f, 3}, "2.5 +j3"},
        {"{:f}", {2.5f, 3}, "2.500000 +j3.000000"},
        {"{:.8e}", {1.5f, -0.25f}, "1.50000000e+00 +j-2.50000000e-01"},
        {"{:g}", {1e-5f, 100000}, "1e-05 +j100000"},
        {"{:a}", {2.5f, 3}, "1.4p+1 +j1.8p+1"},
        {"{:+}", {1, -0.0f}, "+1 +j-0"},
        {"{}", {-kNaN, kInf}, "-nan +jinf"},
        {"{:*^12.1f}", {2.5f, 3}, "*2.5 +j3.0**"},
        {"{:10}", {1, 2}, "     1 +j2"},
        {"{:<8}", {1, 2}, "1 +j2   "},
        {"[{:_>7}]", {1, 2}, "[__1 +j2]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::vformat(c.format, std::make_format_args(c.z)), c.text) << c.format;
    }
    const CComplex value(2.5f, 3);
    EXPECT_EQ(std::format("{:*>{}.{}f}", value, 12, 1) + std::format("{0:.{1}e}", value, 2),
              "***2.5 +j3.02.50e+00 +j3.00e+00");
    EXPECT_THROW((void)std::format("{:{}}", value, -1), std::format_error);
    for (const char* bad : {"{:d}", "{:{}}", "{:.{}f}", "{:s}", "{:{x}}"}) {
        CComplex z;
        EXPECT_THROW((void)std::vformat(bad, std::make_format_args(z)), std::format_error) << bad;
    }
    RandomPart part;
    for (int i = 0; i < 10'000; ++i) {
        const CComplex z(part(), part());
        std::istringstream in(std::format("{}", z));
        CComplex read;
        in >> read;
        EXPECT_TRUE(sameBits(read, z)) << in.str();
    }
}
#endif

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
        {"(inf,-nan)x", kInf, -kNaN, "x", good},
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

    std::istringstream failed("1 -2 +j3");  // after a failed read, nothing more is read
    failed >> a >> b;
    EXPECT_TRUE(sameBits(b, CComplex(-3.5f, 0.25f))) << b;

    EXPECT_TRUE(readFrom(" 1 +j2", false).state & std::ios::failbit);
    EXPECT_EQ(readFrom("1 +j2", false).state, std::ios::eofbit);
    EXPECT_TRUE(readFrom("(1, 2)", false).state & std::ios::failbit);
}

TEST(Extractor, BadInputSetsFailbitAndLeavesTheValueAlone) {
    const std::string texts[] = {
        // the marker: missing, different, spaced
        "1.0+j2.0",
        "1.0 + j2.0",
        "1.0 +k2.0",
        "1.0  +j2.0",
        "1.0 +J2.0",
        "1.0 2.0",
        "1.0 +j 2.0",
        // a missing part, or the end within the value
        "",
        "  ",
        " +j2.0",
        "1.0",
        "1.0 +",
        "1.0 +j",
        "-",
        "1.0 +j-",
        // a part that is not a number
        "x +j1",
        "+1 +j2",
        ". +j1",
        "in +j1",
        "nax +j1",
        "1.0 +j.",
        "1.0 +j1e",
        "1.0 +j1e+",
        "0x +j1",
        // the standard type's form, malformed
        "(1.5,2",
        "(1.5;2)",
        "(,2)",
        "()",
        "(1.5 2)",
        "(1.5,2,3)",
        "(1.5 +j2)",
        // beyond the float range, or longer than any part << writes
        "1e39 +j0",
        "0 +j-1e39",
        "340282366920938463463374607431768211456 +j0",
        "1e-50 +j0",
        std::string(48, '1') + " +j0",
        "0 +j0." + std::string(189, '0'),
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
}

// Polar takes x's parts as magnitude and angle; subtraction, negation, the
// conjugate and the in-place forms must equal their definitions bit for bit,
// and the product the plain double formula that constant expressions use.
TEST(Accuracy, WithinOneUlpOrExactOnRandomOperands) {
    const int cases = randomCases(2'000'000);
    RandomPart part;
    long double worstDivision = 0, worstMagnitude = 0, worstProduct = 0, worstPolar = 0;
    std::string worstDivisionCase, worstMagnitudeCase, angleMismatch;
    int angleMismatches = 0, definitionMismatches = 0;
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
        const long double magnitudeError =
            std::max(ulpError(x.mag(), exactMagnitude(x)),
                     ulpError(norm(x), exactMagnitude(x) * exactMagnitude(x)));
        if (magnitudeError > worstMagnitude) {
            worstMagnitude = magnitudeError;
            worstMagnitudeCase = text(x);
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
        const long double divisionError = std::max(ulpError(q.real, re), ulpError(q.imag, im));
        if (divisionError > worstDivision) {
            worstDivision = divisionError;
            worstDivisionCase = text(x) + " / " + text(w);
        }
        quotient /= w;
        definitionMismatches += !sameBits(quotient, q);
    }
    EXPECT_LE(worstDivision, 1.0L) << worstDivisionCase;
    EXPECT_LE(worstMagnitude, 1.0L) << worstMagnitudeCase;
    EXPECT_LE(worstProduct, 1.0L);
    EXPECT_LE(worstPolar, 1.0L);
    EXPECT_EQ(angleMismatches, 0) << "first at " << angleMismatch;
    EXPECT_EQ(definitionMismatches, 0);
}

}  // namespace

namespace {

// References for the elementary functions, to 2^-60 or better relative to
// each part, from the long double C functions; log's real part takes the
// same cancellation-free form near |z| = 1 as the library.
using Exact = std::pair<long double, long double>;

Exact exactLog(const CComplex& z) {
    const long double a = std::max(std::fabs(z.real), std::fabs(z.imag));
    const long double b = std::min(std::fabs(z.real), std::fabs(z.imag)), s = a * a + b * b;
    return {(s >= 0.5L && s <= 2 ? std::log1p((a - 1) * (a + 1) + b * b) : std::log(s)) / 2,
            std::atan2(static_cast<long double>(z.imag), static_cast<long double>(z.real))};
}

// z^n by |n| products in pairs of long doubles (hi + lo, 128 bits), where the
// parts' cancellation near the zeros of cos(n arg z) costs nothing.
struct Wide {
    long double hi, lo;
};
Wide operator+(Wide a, Wide b) {
    const long double s = a.hi + b.hi, v = s - a.hi;
    const long double lo = (a.hi - (s - v)) + (b.hi - v) + a.lo + b.lo;
    return {s + lo, lo - ((s + lo) - s)};
}
Wide operator*(Wide a, Wide b) {
    const auto split = [](long double x) {
        const long double c = (0x1p32L + 1) * x, h = c - (c - x);
        return Wide{h, x - h};
    };
    const Wide x = split(a.hi), y = split(b.hi);
    const long double p = a.hi * b.hi;
    const long double e = ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo;
    return Wide{p, 0} + Wide{e + a.hi * b.lo + a.lo * b.hi, 0};
}
Exact exactIntegerPower(const CComplex& z, int n) {
    Wide re{1, 0}, im{0, 0};
    const Wide x{z.real, 0}, y{z.imag, 0}, minusY{-y.hi, 0};
    for (int k = 0; k < std::abs(n); ++k)
        std::tie(re, im) = std::pair(re * x + im * minusY, re * y + im * x);
    const long double r = re.hi + re.lo, i = im.hi + im.lo, d = r * r + i * i;
    return n < 0 ? Exact{r / d, -i / d} : Exact{r, i};
}

Exact exactPower(const CComplex& z, const CComplex& w) {
    if (w.imag == 0 && w.real == std::trunc(w.real) && std::fabs(w.real) <= 64)
        return exactIntegerPower(z, static_cast<int>(w.real));
    const auto [lr, li] = exactLog(z);
    const long double wr = w.real, wi = w.imag, m = std::exp(wr * lr - wi * li);
    return {m * std::cos(wr * li + wi * lr), m * std::sin(wr * li + wi * lr)};
}

// Row `row` of the accuracy table at z, with w as the exponent, and its
// exact value.
// clang-format off
// Rows 8 to 19, the trigonometric and hyperbolic functions and their inverses,
// for this type and, as the reference, for std::complex<long double>, whose
// functions are the C library's long double ones.
template <typename Complex>
Complex trigonometric(int row, const Complex& z) {
    using std::sin, std::cos, std::tan, std::sinh, std::cosh, std::tanh, std::asin, std::acos,
        std::atan, std::asinh, std::acosh, std::atanh;
    switch (row) {
        case 8: return sin(z);
        case 9: return cos(z);
        case 10: return tan(z);
        case 11: return sinh(z);
        case 12: return cosh(z);
        case 13: return tanh(z);
        case 14: return asin(z);
        case 15: return acos(z);
        case 16: return atan(z);
        case 17: return asinh(z);
        case 18: return acosh(z);
        default: return atanh(z);
    }
}
CComplex elementary(int row, const CComplex& z, const CComplex& w) {
    switch (row) {
        case 0: return exp(z);
        case 1: return log(z);
        case 2: return log10(z);
        case 3: return sqrt(z);
        case 4: return pow(z, static_cast<int>(w.real));
        case 5: return pow(z, w.real);
        case 6: return pow(z, w);
        case 7: return pow(z.real, w);
        default: return trigonometric(row, z);
    }
}
Exact exactElementary(int row, const CComplex& z, const CComplex& w) {
    const long double x = z.real, y = z.imag;
    const auto exactSqrt = [&] {
        const long double t = std::sqrt((std::fabs(x) + std::sqrt(x * x + y * y)) / 2), o = y / (2 * t);
        return x >= 0 ? Exact{t, o} : Exact{std::fabs(o), std::copysign(t, y)};
    };
    switch (row) {
        case 0: return {std::exp(x) * std::cos(y), y == 0 ? y : std::exp(x) * std::sin(y)};
        case 1: return exactLog(z);
        case 2: {
            const auto [re, im] = exactLog(z);
            return {re / std::log(10.0L), im / std::log(10.0L)};
        }
        case 3: return exactSqrt();
        case 4: return exactIntegerPower(z, static_cast<int>(w.real));
        case 5: case 6: return exactPower(z, w);
        case 7: return exactPower(CComplex(z.real), w);
        default: {
            const std::complex<long double> r = trigonometric(row, std::complex<long double>(x, y));
            return {r.real(), r.imag()};
        }
    }
}
// clang-format on

// Five kinds of operands in turn: random bit patterns and values up to 1000;
// ordinary values in [-10, 10]; values within 2^-30 to 1/2 of the unit
// circle, for a real power n at angles where n arg z is nearly a multiple of
// pi/2, so that a part of z^n cancels; values just above or below the
// negative real axis, or for the inverse functions near +-1 and +-j; and real
// parts where exp overflows or turns subnormal.
// Exponents: integers, reals in [-4, 4] (half-integers every third time, and
// every fourth time 2^17 times that plus 1/4), and complex values in [-3, 3]^2.
CComplex elementaryOperand(int i, float n, bool branchPoints, RandomPart& part,
                           std::mt19937& engine) {
    std::uniform_real_distribution<float> ordinary(-10, 10), turn(-3.2f, 3.2f), edge(86, 90);
    const long double quarter = std::acos(0.0L), u = turn(engine);
    const long double t = n == 0 ? u : std::round(u * n / quarter) * quarter / n;
    const float x = ordinary(engine), y = ordinary(engine);
    const long double r = 1 + std::ldexp(x / 20, -static_cast<int>(engine() % 30));
    const float near = std::ldexp(y, -static_cast<int>(engine() % 40)), one = i % 2 ? 1.0f : -1.0f;
    const CComplex branchPoint =
        i % 4 < 2 ? CComplex(one + near, x / 0x1p40f) : CComplex(x / 0x1p40f, one + near);
    const CComplex kinds[] = {
        {part(), part()},
        {x, y},
        {static_cast<float>(r * std::cos(t)), static_cast<float>(r * std::sin(t))},
        branchPoints ? branchPoint : CComplex(-std::fabs(x), std::ldexp(y, -140 + i % 150)),
        {i % 2 ? edge(engine) : -16 - edge(engine), y}};
    return kinds[i % 5];
}
CComplex elementaryExponent(int row, int i, std::mt19937& engine) {
    constexpr int kIntegers[] = {2, 3, 7, -1, -3, 12, 25, -6};
    std::uniform_real_distribution<float> real(-4, 4), part(-3, 3);
    if (row == 4) return CComplex(static_cast<float>(kIntegers[i / 5 % 8]));
    const float scaled = std::trunc(real(engine) * 0x1p17f) + 0.25f;
    if (row == 5) return CComplex(i % 4 ? real(engine) + (i % 3 ? 0.0f : 0.5f) : scaled);
    return CComplex(part(engine), part(engine));
}

// exp, log, log10, sqrt, pow(z, int), pow(z, float), pow(z, CComplex),
// pow(float, CComplex) and the twelve trigonometric and hyperbolic functions
// and inverses, on 2M operands each. The long double reference of a power
// through exp and log knows its angle only to about 2^-62 |b| radians, so
// each part is held to 1 ulp, or to an ulp of 2^-16 |z^w| if it is smaller,
// and the cut is left out, where the reference's arg z = pi - y/|x| loses y;
// the table of correctly rounded results holds them to the last bit. The
// others are held to correct rounding, but for 2^-20 ulp.
TEST(Elementary, EachPartWithinHalfAnUlpOfLongDoubleReferences) {
    if (std::numeric_limits<long double>::digits < 64)
        GTEST_SKIP() << "long double has " << std::numeric_limits<long double>::digits
                     << " bits here; these references need 64 (the table of correctly rounded "
                        "results still holds every function)";
    if (!kLongDoubleFunctionsAreReferences)
        GTEST_SKIP() << "MinGW's long double functions are no references (see above); the table "
                        "of correctly rounded results still holds every function";
    for (int row = 0; row < 20; ++row) {
#ifdef _LIBCPP_VERSION
        // libc++ computes the inverses of std::complex<long double> with its own
        // formulas, which overflow for large parts: no reference. The table of
        // correctly rounded results still holds these rows.
        if (row >= 14) continue;
#endif
        const bool throughLog = row >= 5 && row <= 7;
        RandomPart part;
        std::mt19937 engine(20261208);
        long double worst = 0;
        std::string worstCase;
        for (int i = 0, cases = randomCases(2'000'000); i < cases; ++i) {
            const CComplex w = elementaryExponent(row, i, engine),
                           z = elementaryOperand(i, row == 4 || row == 5 ? w.real : 0, row >= 14,
                                                 part, engine);
            const Exact exact = exactElementary(row, z, w);
            if (z == 0 || std::isnan(exact.first) || std::isnan(exact.second) ||
                (throughLog && i % 5 == 3))
                continue;
            const CComplex got = elementary(row, z, w);
            const long double floor =
                throughLog ? std::hypot(exact.first, exact.second) / 0x1p16L : 0;
            const long double error = std::max(ulpError(got.real, exact.first, floor),
                                               ulpError(got.imag, exact.second, floor));
            if (error > worst) {
                worst = error;
                worstCase = text(z) + " with " + text(w) + " gives " + text(got);
            }
        }
        EXPECT_LE(worst, throughLog ? 1.0L : 0.5L + 0x1p-20L) << "row " << row << ": " << worstCase;
        std::cout << "row " << row << ": worst " << std::setprecision(9)
                  << static_cast<double>(worst) << " ulp\n";
    }
}

// The zero parts, the cuts with their signed zeros, the overflow and
// underflow edges, and C's special values, bit for bit (any NaN for a NaN).
TEST(Elementary, ExactCasesCutsAndSpecialValues) {
    const float pi = 0x1.921fb6p1f, big = std::ldexp(1.0f, 127), e100 = std::exp(-100.0f);
    const float halfPi = 0x1.921fb6p0f, acosh2 = static_cast<float>(std::acosh(2.0L));
    const float atanh2 = static_cast<float>(std::atanh(0.5L));  // of 2 less its i pi / 2
    const CComplex cosh89(static_cast<float>(std::cosh(89.0L) * std::cos(0.5L)),
                          static_cast<float>(std::sinh(89.0L) * std::sin(0.5L)));
    const CComplex edge(-kInf, static_cast<float>(std::exp(static_cast<long double>(88.9f)) *
                                                  std::sin(static_cast<long double>(3.1f))));
    const std::pair<CComplex, CComplex> cases[] = {
        {sqrt(CComplex(-4, 0)), {0, 2}},
        {sqrt(CComplex(-4, -0.0f)), {0, -2}},
        {sqrt(CComplex(3, 4)), {2, 1}},
        {sqrt(CComplex(-0.0f, -0.0f)), {0, -0.0f}},
        {sqrt(CComplex(kNaN, kInf)), {kInf, kInf}},
        {sqrt(CComplex(-kInf, 1)), {0, kInf}},
        {sqrt(CComplex(kInf, -1)), {kInf, -0.0f}},
        {sqrt(CComplex(-kInf, kNaN)), {kNaN, kInf}},
        {sqrt(CComplex(kNaN, 1)), {kNaN, kNaN}},
        {log(CComplex(1)), {0, 0}},
        {log(CComplex(-1, 0)), {0, pi}},
        {log(CComplex(-1, -0.0f)), {0, -pi}},
        {log(CComplex(-0.0f, 0)), {-kInf, pi}},
        {log(CComplex(0, -0.0f)), {-kInf, -0.0f}},
        {log(CComplex(-kInf, kInf)), {kInf, 3 * pi / 4}},
        {log(CComplex(kNaN, kInf)), {kInf, kNaN}},
        {log10(CComplex(-100, -0.0f)),
         {2, -static_cast<float>(3.14159265358979323846 / std::log(10.0))}},
        {exp(CComplex(-0.0f, -0.0f)), {1, -0.0f}},
        {exp(CComplex(kInf, 0)), {kInf, 0}},
        {exp(CComplex(-kInf, -2)), {-0.0f, -0.0f}},
        {exp(CComplex(kInf, kNaN)), {kInf, kNaN}},
        {exp(CComplex(kNaN, -0.0f)), {kNaN, -0.0f}},
        {exp(CComplex(-kInf, kInf)), {0, 0}},
        {exp(CComplex(1, kInf)), {kNaN, kNaN}},
        {exp(CComplex(88.9f, 3.1f)), edge},
        {exp(CComplex(-100)), {e100, 0}},
        {pow(CComplex(kNaN, kInf), 0), {1, 0}},
        {pow(CComplex(0), 0.0f), {1, 0}},
        {pow(CComplex(1, 1), 2), {0, 2}},
        {pow(CComplex(-4), 0.5f), {0, 2}},
        {pow(CComplex(-4, -0.0f), 0.5f), {0, -2}},
        {pow(CComplex(0, 1), 0.5f), {0x1.6a09e6p-1f, 0x1.6a09e6p-1f}},
        {pow(CComplex(0, 1), CComplex(1, 1)),
         {0, static_cast<float>(std::exp(-1.5707963267948966))}},
        {pow(4.0f, CComplex(-0.5f)), {0.5f, 0}},
        {pow(CComplex(0), CComplex(1, 1)), {0, 0}},
        {pow(CComplex(2), 127), {big, 0}},
        {pow(CComplex(2), 128.0f), {kInf, 0}},
        {pow(CComplex(2), -149), {0x1p-149f, 0}},
        {pow(CComplex(-2), CComplex(-150)), {0, 0}},
        {pow(CComplex(0, -1), INT_MIN), {1, 0}},
        // every integer type, to the ends of 64 bits
        {pow(CComplex(1, 1), std::size_t{2}), {0, 2}},
        {pow(CComplex(1, 1), short{-2}), {0, -0.5f}},
        {pow(CComplex(2), 127L), {big, 0}},
        {pow(CComplex(0, -1), UINT64_MAX), {0, 1}},
        {pow(CComplex(0, -1), LLONG_MIN), {1, 0}},
        {pow(CComplex(0, 1), std::uint8_t{3}), {0, -1}},
        {sin(CComplex(-0.0f, -0.0f)), {-0.0f, -0.0f}},
        {cos(CComplex(0, 0)), {1, -0.0f}},
        {sin(CComplex(0, kInf)), {0, kInf}},
        {tan(CComplex(-0.0f, 0)), {-0.0f, 0}},
        {acos(CComplex(1)), {0, -0.0f}},
        {acos(CComplex(1, -0.0f)), {0, 0}},
        {asin(CComplex(2, 0)), {halfPi, acosh2}},
        {asin(CComplex(2, -0.0f)), {halfPi, -acosh2}},
        {acos(CComplex(-2, 0)), {pi, -acosh2}},
        {acosh(CComplex(-2, -0.0f)), {acosh2, -pi}},
        {atanh(CComplex(1)), {kInf, 0}},
        {atanh(CComplex(-2, -0.0f)), {-atanh2, -halfPi}},
        {atan(CComplex(-0.0f, 2)), {-halfPi, atanh2}},
        {atan(CComplex(0, -2)), {halfPi, -atanh2}},
        {cosh(CComplex(89, 0.5f)), cosh89},
        {sinh(CComplex(kInf, 0)), {kInf, 0}},
        {cosh(CComplex(0, kInf)), {kNaN, 0}},
        {tanh(CComplex(kNaN, -0.0f)), {kNaN, -0.0f}},
        {tanh(CComplex(-kInf, 2)), {-1, -0.0f}},
        {asinh(CComplex(kInf, -kInf)), {kInf, -pi / 4}},
        {acosh(CComplex(-kInf, 1)), {kInf, pi}},
        {acos(CComplex(kNaN, kInf)), {kNaN, -kInf}},
        {atanh(CComplex(kNaN, kInf)), {0, halfPi}},
        {atan(CComplex(kInf, kNaN)), {halfPi, -0.0f}},
        {exp(CComplex(0.3f, 0x1.bbf88ap+17f)), {0x1.599058p+0f, 0x1.cf7368p-14f}},
        {pow(CComplex(-1), CComplex(1, 2)), {-0x1.e989f6p-10f, 0}},
        {log10(CComplex(0x1.ad7208p+2f)), {0x1.a748e6p-1f, 0}},
        {pow(CComplex(2, 1), 0x1.8p64f), {-kInf, -kInf}},
        {acos(CComplex(-0.0f, 1)), {halfPi, -0x1.c34366p-1f}},
        {pow(CComplex(0), CComplex(0, 1)), {kNaN, kNaN}},
        {pow(CComplex(kInf), 0.5f), {kInf, 0}},
        {cosh(CComplex(-kInf, 0)), {kInf, -0.0f}},
        {cos(CComplex(0, kInf)), {kInf, -0.0f}},
        {sinh(CComplex(0, kInf)), {0, kNaN}},
        {sin(CComplex(kInf, 0)), {kNaN, 0}},
        {acosh(CComplex(-kInf, kInf)), {kInf, 3 * pi / 4}},
        {acos(CComplex(0, kNaN)), {halfPi, kNaN}},
        {atanh(CComplex(-kInf, 1)), {-0.0f, halfPi}},
        {asinh(CComplex(kNaN, kInf)), {kInf, kNaN}},
        {asin(CComplex(kInf, kNaN)), {kNaN, -kInf}},
        {sqrt(CComplex(1, kNaN)), {kNaN, kNaN}},
        {sqrt(CComplex(kInf, kNaN)), {kInf, kNaN}},
        {exp(CComplex(kInf, 2)), {-kInf, kInf}},
        {pow(CComplex(0), -0.5f), {kInf, -0.0f}},
        {sinh(CComplex(-kInf, 2)), {kInf, kInf}},
        {cosh(CComplex(-kInf, 2)), {-kInf, -kInf}},
        {tanh(CComplex(30, 1)), {1, 0x1.3b6b0ap-86f}},
        {tanh(CComplex(kInf, -kInf)), {1, -0.0f}},
        {asinh(CComplex(kInf, kNaN)), {kInf, kNaN}},
        {acosh(CComplex(kNaN, kInf)), {kInf, kNaN}},
        {acos(CComplex(-kInf, 2)), {pi, -kInf}},
        {acos(CComplex(kInf, kNaN)), {kNaN, kInf}},
        {atanh(CComplex(kInf, kNaN)), {0, kNaN}},
        {atanh(CComplex(-0.0f, kNaN)), {-0.0f, kNaN}}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [got, expected] = cases[i];
        const bool same =
            (std::isnan(expected.real) ? std::isnan(got.real)
                                       : sameBits(got.real, expected.real)) &&
            (std::isnan(expected.imag) ? std::isnan(got.imag) : sameBits(got.imag, expected.imag));
        EXPECT_TRUE(same) << text(got) << " for " << text(expected) << " (case " << i << ")";
    }
    // Float exponents as large as they come, far beyond the range.
    const CComplex large(0x1.1ce344p18f, 0x1.60e97cp6f);
    EXPECT_TRUE(pow(CComplex(2, 1), -0x1p100f) == 0 && abs(pow(CComplex(2, 1), 0x1p100f)) == kInf &&
                pow(large, -0x1.61fb4p61f) == 0 && abs(pow(large, 0x1.61fb4p61f)) == kInf);
    // An angle of 2^109 radians: the parts are arbitrary, the magnitude not.
    EXPECT_NEAR(abs(pow(2.0f, CComplex(0x1p-124f, 1.03e33f))), 1, 1e-6);
    CoutCapture out;
    EXPECT_TRUE(sameBits(pow(CComplex(0, -0.0f), -2), CComplex(0, 0)) &&
                sameBits(pow(CComplex(0), -3.0f), CComplex(0, 0)));
    EXPECT_EQ(out.text(), "Error: Divided by zero!\nError: Divided by zero!\n");
}

// The build names the table's path; compiled alone, this file looks for it
// from the source tree's root.
#ifndef CORRECTLY_ROUNDED_TABLE
#define CORRECTLY_ROUNDED_TABLE "tests/correctly_rounded.txt"
#endif

// Each line of the table that tools/correctly_rounded.cpp made with MPC: a
// function, its operands and the correctly rounded parts, all as bits.
TEST(Elementary, MatchesCorrectlyRoundedTable) {
    using Bits = std::vector<std::uint32_t>;
    const auto f = fromBits;
    using Function = std::function<CComplex(const Bits&)>;
    const auto unary = [&](CComplex (*function)(const CComplex&)) {
        return Function([=](const Bits& o) { return function(CComplex(f(o[0]), f(o[1]))); });
    };
    const std::map<std::string, Function> functions = {
        {"pow(z,n)",
         [&](const Bits& o) { return pow(CComplex(f(o[0]), f(o[1])), static_cast<int>(o[2])); }},
        {"pow(z,x)", [&](const Bits& o) { return pow(CComplex(f(o[0]), f(o[1])), f(o[2])); }},
        {"pow(z,w)",
         [&](const Bits& o) {
             return pow(CComplex(f(o[0]), f(o[1])), CComplex(f(o[2]), f(o[3])));
         }},
        {"pow(x,w)", [&](const Bits& o) { return pow(f(o[0]), CComplex(f(o[1]), f(o[2]))); }},
        {"exp", unary(exp)},
        {"log", unary(log)},
        {"log10", unary(log10)},
        {"sqrt", unary(sqrt)},
        {"sin", unary(sin)},
        {"cos", unary(cos)},
        {"tan", unary(tan)},
        {"sinh", unary(sinh)},
        {"cosh", unary(cosh)},
        {"tanh", unary(tanh)},
        {"asin", unary(asin)},
        {"acos", unary(acos)},
        {"atan", unary(atan)},
        {"asinh", unary(asinh)},
        {"acosh", unary(acosh)},
        {"atanh", unary(atanh)},
        {"z*w",
         [&](const Bits& o) { return CComplex(f(o[0]), f(o[1])) * CComplex(f(o[2]), f(o[3])); }},
        {"z/w",
         [&](const Bits& o) { return CComplex(f(o[0]), f(o[1])) / CComplex(f(o[2]), f(o[3])); }},
        {"mag", [&](const Bits& o) { return CComplex(CComplex(f(o[0]), f(o[1])).mag()); }},
        {"ang", [&](const Bits& o) { return CComplex(CComplex(f(o[0]), f(o[1])).ang()); }},
        {"norm", [&](const Bits& o) { return CComplex(norm(CComplex(f(o[0]), f(o[1])))); }},
        {"polar", [&](const Bits& o) { return CComplex::polar(f(o[0]), f(o[1])); }}};
    std::ifstream table(CORRECTLY_ROUNDED_TABLE);
    ASSERT_TRUE(table) << CORRECTLY_ROUNDED_TABLE;
    int checked = 0;
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string name;
        Bits bits;
        fields >> name >> std::hex;
        if (name.empty() || name[0] == '#') continue;
        for (std::uint32_t b; fields >> b;) bits.push_back(b);
        ASSERT_TRUE(functions.count(name) && bits.size() >= 2) << line;
        const CComplex expected(f(bits[bits.size() - 2]), f(bits[bits.size() - 1]));
        const CComplex got = functions.at(name)(bits);
        std::ostringstream shown;
        shown << std::hexfloat << got << " for " << expected;
        EXPECT_TRUE(sameBits(got, expected)) << line << ": " << shown.str();
        ++checked;
    }
    EXPECT_GT(checked, 5000);
}

}  // namespace
