#include "ccomplex_arrays.h"

#include <gtest/gtest.h>
#include <hwy/highway.h>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ccomplex_double_double.h"
#include "correctly_rounded_table.h"
#include "float_bits.h"
#include "random_part.h"
#include "test_support.h"

namespace {

namespace arrays = ccomplex_arrays;
using namespace ccomplex_test;

// Results alike: the same bits, or both NaN (whose sign and payload the
// batch and scalar forms may give differently).
bool alike(float a, float b) { return sameBits(a, b) || (std::isnan(a) && std::isnan(b)); }
bool alike(const CComplex& a, const CComplex& b) {
    return alike(a.real, b.real) && alike(a.imag, b.imag);
}

// Runs `check` once with each instruction set this machine has and the
// library was built for, forced in turn, naming it in any failure.
void onEveryTarget(const std::function<void()>& check) {
    const std::vector<std::int64_t> targets = hwy::SupportedAndGeneratedTargets();
    ASSERT_FALSE(targets.empty());
    for (const std::int64_t target : targets) {
        hwy::SetSupportedTargetsForTest(target);
        SCOPED_TRACE(hwy::TargetName(target));
        check();
    }
    hwy::SetSupportedTargetsForTest(0);
}

// Parts for the arrays: random bit patterns (NaNs, infinities and
// subnormals among them), ordinary values in [-1, 1], and special values.
class Parts {
public:
    float operator()() {
        static const float specials[] = {0.0f,     -0.0f,   1.0f,    -1.0f,   kInf,
                                         -kInf,    kNaN,    FLT_MAX, FLT_MIN, FLT_TRUE_MIN,
                                         0x1p-75f, 0x1p64f, 3.0f,    0.5f};
        switch (engine_() % 8) {
            case 0:
                return specials[engine_() % (sizeof specials / sizeof specials[0])];
            case 1:
            case 2:
            case 3:
                return fromBits(static_cast<std::uint32_t>(engine_()));
            default:
                return ordinary_(engine_);
        }
    }
    CComplex value() { return CComplex((*this)(), (*this)()); }

private:
    std::mt19937 engine_{20261210};
    std::uniform_real_distribution<float> ordinary_{-1.0f, 1.0f};
};

// The longest run to try: twice the widest vector any target has (256
// bytes, SVE's largest; 64 on x86-64), in values, plus one.
constexpr std::size_t kLongestRun = 2 * 256 / sizeof(CComplex) + 1;

// An elementwise batch operation, and the scalar one it must match.
struct Elementwise {
    const char* name;
    std::function<void(const CComplex*, const CComplex*, CComplex*, std::size_t)> batch;
    std::function<CComplex(CComplex, CComplex)> scalar;
};

// The float-valued ones, as complex values with a zero imaginary part.
const std::vector<Elementwise>& elementwiseOperations() {
    using Floats = std::vector<float>;
    using Binary = void (*)(const CComplex*, const CComplex*, CComplex*, std::size_t) noexcept;
    using ToFloat = void (*)(const CComplex*, float*, std::size_t) noexcept;
    static const auto toFloats = [](ToFloat batch) {
        return [batch](const CComplex* a, const CComplex*, CComplex* out, std::size_t n) {
            Floats floats(n);
            batch(a, floats.data(), n);
            for (std::size_t k = 0; k < n; ++k) out[k] = CComplex(floats[k]);
        };
    };
    static const std::vector<Elementwise> operations = {
        {"multiply", static_cast<Binary>(arrays::multiply),
         [](CComplex a, CComplex b) { return a * b; }},
        {"multiplyConjugate", static_cast<Binary>(arrays::multiplyConjugate),
         [](CComplex a, CComplex b) { return a * conj(b); }},
        {"divide",
         [](const CComplex* a, const CComplex* b, CComplex* out, std::size_t n) {
             const CoutCapture quiet;
             arrays::divide(a, b, out, n);
         },
         [](CComplex a, CComplex b) {
             const CoutCapture quiet;
             return a / b;
         }},
        {"scale by a value",
         [](const CComplex* a, const CComplex* b, CComplex* out, std::size_t n) {
             arrays::scale(a, n > 0 ? b[0] : CComplex(), out, n);
         },
         nullptr},
        {"scale by a float",
         [](const CComplex* a, const CComplex* b, CComplex* out, std::size_t n) {
             arrays::scale(a, n > 0 ? b[0].real : 0.0f, out, n);
         },
         nullptr},
        {"magnitude", toFloats(static_cast<ToFloat>(arrays::magnitude)),
         [](CComplex a, CComplex) { return CComplex(a.mag()); }},
        {"norm", toFloats(static_cast<ToFloat>(arrays::norm)),
         [](CComplex a, CComplex) { return CComplex(norm(a)); }},
        {"angle", toFloats(static_cast<ToFloat>(arrays::angle)),
         [](CComplex a, CComplex) { return CComplex(a.ang()); }},
        {"polar",
         [](const CComplex* a, const CComplex*, CComplex* out, std::size_t n) {
             Floats magnitudes(n), angles(n);
             for (std::size_t k = 0; k < n; ++k) magnitudes[k] = a[k].real, angles[k] = a[k].imag;
             arrays::polar(magnitudes.data(), angles.data(), out, n);
         },
         [](CComplex a, CComplex) { return CComplex::polar(a.real, a.imag); }},
        {"exp",
         [](const CComplex* a, const CComplex*, CComplex* out, std::size_t n) {
             arrays::exp(a, out, n);
         },
         [](CComplex a, CComplex) { return exp(a); }},
    };
    return operations;
}

// What the scalar operation gives for element k; the scale operations take
// b[0] as their factor.
CComplex scalarResult(const Elementwise& operation, const CComplex* a, const CComplex* b,
                      std::size_t k) {
    if (std::string(operation.name) == "scale by a value") return a[k] * b[0];
    if (std::string(operation.name) == "scale by a float") return a[k] * b[0].real;
    return operation.scalar(a[k], b[k]);
}

// Every operation, every length up to kLongestRun, starting at each of a
// few offsets (so at every alignment a CComplex can have), into a separate
// output and in place: each element the scalar operation's.
TEST(Arrays, ElementwiseAreTheScalarOperationsOnEveryTarget) {
    Parts parts;
    std::vector<CComplex> a(kLongestRun + 4), b(kLongestRun + 4);
    onEveryTarget([&] {
        for (const Elementwise& operation : elementwiseOperations()) {
            SCOPED_TRACE(operation.name);
            for (std::size_t n = 0; n <= kLongestRun; ++n) {
                for (const std::size_t offset : {0u, 1u, 3u}) {
                    for (CComplex& z : a) z = parts.value();
                    for (CComplex& z : b) z = parts.value();
                    std::vector<CComplex> out(n + offset, CComplex(7, 7)), inPlace(a);
                    operation.batch(a.data() + offset, b.data() + offset, out.data() + offset, n);
                    operation.batch(inPlace.data() + offset, b.data() + offset,
                                    inPlace.data() + offset, n);
                    for (std::size_t k = 0; k < n; ++k) {
                        const CComplex expected =
                            scalarResult(operation, &a[offset], &b[offset], k);
                        ASSERT_TRUE(alike(out[offset + k], expected))
                            << "n " << n << " offset " << offset << " k " << k << ": "
                            << std::hexfloat << a[offset + k] << ", " << b[offset + k] << " gave "
                            << out[offset + k] << ", not " << expected;
                        ASSERT_TRUE(alike(inPlace[offset + k], expected)) << "in place, n " << n;
                    }
                    for (std::size_t k = 0; k < offset; ++k) ASSERT_TRUE(sameBits(out[k], {7, 7}));
                }
            }
        }
    });
}

// The operands of the table's quotients, magnitudes, norms, products, angles
// and polar forms: values next to a tie between two floats, where the vector
// kernels must hand their lanes to the scalar careful paths.
TEST(Arrays, HardOperandsAreTheScalarOperationsOnEveryTarget) {
    std::vector<CComplex> a, b;
    for (const TableRow& row : correctlyRoundedTable()) {
        const std::string& name = row.name;
        if (name != "z/w" && name != "z*w" && name != "mag" && name != "norm" && name != "ang" &&
            name != "polar" && name != "exp") {
            continue;
        }
        const auto& bits = row.bits;  // four or more: operands, then the parts
        a.emplace_back(fromBits(bits[0]), fromBits(bits[1]));
        b.emplace_back(fromBits(bits[2]), fromBits(bits[3]));
    }
    // The operands whose real part is within [-708, 708] and imaginary part
    // within [-2^19, 2^19] once more, together, so that the values the exp
    // and polar kernels take whole are not all mixed with ones they hand to
    // the scalar forms; and zero angles of both signs.
    for (std::size_t k = 0, rows = a.size(); k < rows; ++k) {
        if (std::fabs(a[k].real) <= 708 && std::fabs(a[k].imag) <= 0x1p19f) {
            a.push_back(a[k]);
            b.push_back(b[k]);
        }
    }
    for (int k = 0; k < 64; ++k) {
        a.emplace_back(static_cast<float>(k % 7) - 3.5f, k % 2 == 0 ? -0.0f : 0.0f);
        b.emplace_back(1.0f, static_cast<float>(k));
    }
    ASSERT_GT(a.size(), 1500u);
    std::vector<CComplex> out(a.size());
    onEveryTarget([&] {
        for (const Elementwise& operation : elementwiseOperations()) {
            if (!operation.scalar) continue;
            SCOPED_TRACE(operation.name);
            operation.batch(a.data(), b.data(), out.data(), a.size());
            for (std::size_t k = 0; k < a.size(); ++k) {
                const CComplex expected = operation.scalar(a[k], b[k]);
                ASSERT_TRUE(alike(out[k], expected)) << std::hexfloat << a[k] << ", " << b[k]
                                                     << " gave " << out[k] << ", not " << expected;
            }
        }
    });
}

// Zero divisors: 0 + j0 each, one line for the call, and their count.
TEST(Arrays, DivideCountsZeroDivisorsAndWritesOneLine) {
    const std::vector<CComplex> a(9, CComplex(1, 2));
    std::vector<CComplex> b(9, CComplex(2, 0));
    b[1] = CComplex(0, -0.0f);
    b[8] = CComplex(-0.0f, 0);
    std::vector<CComplex> out(9);
    const CoutCapture captured;
    EXPECT_EQ(arrays::divide(a.data(), b.data(), out.data(), 9), 2u);
    EXPECT_EQ(captured.text(), "Error: Divided by zero!\n");
    EXPECT_TRUE(sameBits(out[1], CComplex(0, 0)) && sameBits(out[8], CComplex(0, 0)));
    EXPECT_TRUE(sameBits(out[2], CComplex(0.5f, 1)));
    EXPECT_EQ(arrays::divide(a.data(), a.data(), out.data(), 9), 0u);
    EXPECT_EQ(captured.text(), "Error: Divided by zero!\n");
}

// An output that overlaps an input in part is refused in debug builds.
TEST(ArraysDeathTest, PartialOverlapIsAsserted) {
    std::vector<CComplex> a(8, CComplex(1, 1));
    EXPECT_DEBUG_DEATH(arrays::multiply(a.data(), a.data(), a.data() + 1, 4), "overlapsInPart");
    EXPECT_DEBUG_DEATH(arrays::scale(a.data() + 2, 2.0f, a.data(), 4), "overlapsInPart");
}

// ---------------------------------------------------------------- rotation

// Where phase + k step is a float, the rotation of 1 is the correctly rounded
// polar(1, that float): over small, tiny, negative and huge phases (2^66 and
// beyond, reduced another way), for 300 steps each, so a phase that drifts
// or a misreduced step shows.
TEST(Arrays, RotationOfOneIsThePolarFormOfTheExactPhase) {
    const float rows[][2] = {{0, 0x1p-10f},          {3, -0.25f},        {1000.5f, 0.125f},
                             {0x1p-140f, 0x1p-149f}, {0x1p70f, 0x1p66f}, {-0x1p90f, 0x1p80f},
                             {0x1p95f, 0x1p94f},     {0x1.8p20f, -3}};
    const std::size_t n = 300;
    const std::vector<CComplex> ones(n, CComplex(1));
    std::vector<CComplex> out(n);
    for (const auto& row : rows) {
        arrays::rotate(ones.data(), row[0], row[1], out.data(), n);
        for (std::size_t k = 0; k < n; ++k) {
            const float phase = row[0] + static_cast<float>(k) * row[1];  // exact for these rows
            ASSERT_TRUE(sameBits(out[k], CComplex::polar(1, phase)))
                << std::hexfloat << row[0] << " + " << k << " * " << row[1] << ": " << out[k];
        }
    }
}

// Random values and phases against a long double reference: each part the
// float nearest to it, unless a tie lies within the reference's error; the
// table's polar forms (magnitude, angle) as rotations of the magnitude by
// the angle, hard cases for the careful path; and the special inputs.
TEST(Arrays, RotationIsCorrectlyRounded) {
    if (!kLongDoubleFunctionsAreReferences) GTEST_SKIP() << "long double has no 64-bit functions";
    std::mt19937 engine(20261210);
    std::uniform_real_distribution<float> part(-4.0f, 4.0f);
    const float steps[][2] = {{0.5f, 0.001f}, {-2.0f, 1.2345f}, {100.0f, -77.7f}, {1e-3f, 3e-7f}};
    const std::size_t n = 2000;
    std::vector<CComplex> a(n), out(n);
    for (const auto& step : steps) {
        for (CComplex& z : a) z = CComplex(part(engine), part(engine));
        arrays::rotate(a.data(), step[0], step[1], out.data(), n);
        for (std::size_t k = 0; k < n; ++k) {
            // phase + k step has at most 24 + 11 + 24 bits here: exact.
            const long double theta =
                static_cast<long double>(step[0]) + static_cast<long double>(k) * step[1];
            const long double c = std::cos(theta), sn = std::sin(theta);
            const long double ar = a[k].real, ai = a[k].imag;
            const long double margin = (std::fabs(ar) + std::fabs(ai)) * 0x1p-58L;
            const auto near = [&](float got, long double exact) {
                const float low = static_cast<float>(exact - margin),
                            high = static_cast<float>(exact + margin);
                return low < high || got == low;
            };
            ASSERT_TRUE(near(out[k].real, ar * c - ai * sn) && near(out[k].imag, ar * sn + ai * c))
                << std::hexfloat << a[k] << " by " << theta << ": " << out[k];
        }
    }
}

// The table's hard polar forms reached at once, and as the last element of
// a run of kLast + 1 whose phases step towards them, so that it comes many
// turns after the run's phase.
TEST(Arrays, RotationOfHardPolarFormsAndSpecialInputs) {
    constexpr std::size_t kLast = 255;
    int checked = 0, stepped = 0;
    for (const TableRow& row : correctlyRoundedTable()) {
        const auto& bits = row.bits;  // magnitude, angle, the two parts
        if (row.name != "polar" || !std::isfinite(fromBits(bits[0]))) continue;
        // The magnitude, and j times it, whose rotation is j times the
        // polar form: the hard sine becomes the real part.
        const CComplex magnitudes[] = {CComplex(fromBits(bits[0])), CComplex(0, fromBits(bits[0]))};
        CComplex rotated[2];
        const float angle = fromBits(bits[1]);
        arrays::rotate(magnitudes, angle, 0, rotated, 2);
        const CComplex expected(fromBits(bits[2]), fromBits(bits[3]));
        EXPECT_TRUE(sameBits(rotated[0], expected)) << row.line;
        EXPECT_TRUE(sameBits(rotated[1], CComplex(-expected.imag, expected.real))) << row.line;
        ++checked;
        // Angles from 2^-3 to 2^20 and these steps keep the difference
        // exact in double, so it tells whether phase is exact.
        if (!(std::fabs(angle) >= 0x1p-3f && std::fabs(angle) <= 0x1p20f)) continue;
        for (const float step : {0.1875f, -0.1875f, 3.0f}) {
            const float phase = angle - kLast * step;
            if (static_cast<double>(angle) - kLast * static_cast<double>(step) != phase) continue;
            std::vector<CComplex> run(kLast + 1, magnitudes[0]);
            arrays::rotate(run.data(), phase, step, run.data(), run.size());
            EXPECT_TRUE(sameBits(run[kLast], expected)) << row.line << " from " << phase;
            ++stepped;
        }
    }
    EXPECT_GT(checked, 300);
    EXPECT_GT(stepped, 300);
    const CComplex a[] = {CComplex(kInf, 0), CComplex(1, kNaN), CComplex(2, 3)};
    CComplex out[3] = {};
    arrays::rotate(a, 0, 0, out, 3);
    EXPECT_TRUE(alike(out[0], a[0] * CComplex(1)) && alike(out[1], a[1] * CComplex(1)) &&
                sameBits(out[2], a[2]));
    arrays::rotate(a, kNaN, 0, out, 3);
    EXPECT_TRUE(std::isnan(out[2].real) && std::isnan(out[2].imag));
    arrays::rotate(a, 1, 1, out, 0);
    EXPECT_TRUE(std::isnan(out[2].real));  // untouched
}

// ---------------------------------------------------------------- dot products

// The exact sum of doubles as a nonoverlapping expansion: each twoSum is
// exact, so the components always add up to the sum of what was added.
class ExpansionSum {
public:
    void add(double v) {
        std::size_t kept = 0;  // zero components dropped, so that few remain
        for (const double component : components_) {
            const ccomplex_kernels::DoubleDouble s = ccomplex_kernels::twoSum(v, component);
            if (s.lo != 0) components_[kept++] = s.lo;
            v = s.hi;
        }
        components_.resize(kept);
        components_.push_back(v);
    }
    // The sign of the sum less t.
    int signLess(double t) const {
        ExpansionSum copy = *this;
        copy.add(-t);
        for (auto c = copy.components_.rbegin(); c != copy.components_.rend(); ++c) {
            if (*c != 0) return *c > 0 ? 1 : -1;
        }
        return 0;
    }
    float nearestFloat() const {
        double approx = 0;
        for (const double c : components_) approx += c;
        return ccomplex_kernels::roundExactly(approx, [&](double t) { return signLess(t); });
    }

private:
    std::vector<double> components_;
};

// The reference: each part the exact sum of its terms, rounded once; a sum
// of zeros as a double sum from -0 gives it, and a non-finite term's part as
// a double sum gives it.
CComplex exactDot(const std::vector<CComplex>& a, const std::vector<CComplex>& b, bool conjugate) {
    ExpansionSum exact[2];
    double plain[2] = {-0.0, -0.0};
    bool allZero[2] = {true, true};
    for (std::size_t k = 0; k < a.size(); ++k) {
        const double ar = a[k].real, ai = a[k].imag, br = b[k].real,
                     bi = conjugate ? -static_cast<double>(b[k].imag) : b[k].imag;
        const double terms[2][2] = {{ar * br, -(ai * bi)}, {ar * bi, ai * br}};
        for (int part = 0; part < 2; ++part) {
            for (const double term : terms[part]) {
                plain[part] += term;
                if (std::isfinite(term)) exact[part].add(term);
                allZero[part] = allZero[part] && term == 0;
            }
        }
    }
    float parts[2];
    for (int part = 0; part < 2; ++part) {
        const bool exactly = std::isfinite(plain[part]) && !allZero[part];
        parts[part] = exactly ? exact[part].nearestFloat() : static_cast<float>(plain[part]);
    }
    return a.empty() ? CComplex() : CComplex(parts[0], parts[1]);
}

void expectDotsExact(const std::vector<CComplex>& a, const std::vector<CComplex>& b,
                     const std::string& what) {
    const CComplex plain = arrays::dot(a, b), conjugate = arrays::dotConjugate(a, b);
    const CComplex plainExpected = exactDot(a, b, false), conjugateExpected = exactDot(a, b, true);
    EXPECT_TRUE(alike(plain, plainExpected))
        << what << ": dot " << std::hexfloat << plain << ", not " << plainExpected;
    EXPECT_TRUE(alike(conjugate, conjugateExpected))
        << what << ": conjugate " << std::hexfloat << conjugate << ", not " << conjugateExpected;
}

// Rows whose exact sum a double sum misses: next to a tie between two
// floats, cancelling in total or down to a remainder far below the terms,
// below half the smallest subnormal, with zeros of each sign, and with
// infinite and NaN elements. Each row is padded by `padding` zero pairs, so
// that it runs through the vector kernels at every position; the zeros add
// +0 terms, which decide the sign of a zero sum, so the padding stays off
// the rows of signed zeros.
TEST(Arrays, DotProductsAreTheExactSumRoundedOnce) {
    using Values = std::vector<CComplex>;
    struct Row {
        const char* what;
        Values a, b;
        bool pad;
    };
    const float tiny = 0x1p-149f;
    const Row rows[] = {
        {"a tie and a little above", {1, 0x1p-24f, 0x1p-80f}, {1, 1, 1}, true},
        {"a tie and a little below", {1, 0x1p-24f, -0x1p-80f}, {1, 1, 1}, true},
        {"a tie and 2^-64 above", {1, 0x1p-24f, 0x1p-32f}, {1, 1, 0x1p-32f}, true},
        {"an exact tie, to even", {1, 0x1p-24f}, {1, 1}, true},
        {"total cancellation", {{3, 5}, {3, 5}}, {{7, 11}, {-7, -11}}, true},
        {"cancellation down to 1", {0x1p100f, 1, -0x1p100f}, {1, 1, 1}, true},
        {"a double sum that loses the half ulp above a tie (imaginary part 1)",
         {0x1p30f, 1, 0x1p-24f, -0x1p30f, 0x1p-30f, CComplex(0, 1)},
         {1, 1, 1, 1, 0x1p-30f, 1},
         true},
        {"cancellation down to 2^-140",
         {{0x1p60f, 0x1p-70f}, {0x1p60f, 0}},
         {{1, 0x1p-70f}, {-1, 0}},
         true},
        {"below half the smallest subnormal", {tiny, -tiny}, {tiny, 0x1p-20f}, true},
        {"cancellation down to -2^-298",
         {{0x1p-70f, tiny}, 0x1p-70f},
         {{0x1p-70f, tiny}, -0x1p-70f},
         true},
        {"zeros of each sign", {-0.0f, CComplex(0, -0.0f)}, {1, -1}, false},
        {"negative zeros only", {CComplex(-0.0f, 0)}, {CComplex(1, -0.0f)}, false},
        {"negative zero terms, neither array zero",
         {CComplex(1, 0), CComplex(-0.0f, 0)},
         {CComplex(-0.0f, 0), CComplex(1, 0)},
         false},
        {"an infinite element", {CComplex(kInf), 1}, {1, 1}, true},
        {"infinities of both signs", {CComplex(kInf), CComplex(kInf)}, {1, -1}, true},
        {"a NaN element", {CComplex(kNaN), 1}, {1, 1}, true},
        {"the largest products", {FLT_MAX, FLT_MAX, -FLT_MAX}, {FLT_MAX, FLT_MAX, FLT_MAX}, true},
    };
    onEveryTarget([&] {
        for (const Row& row : rows) {
            for (std::size_t padding = 0; padding <= (row.pad ? kLongestRun : 0); ++padding) {
                Values a(padding, CComplex()), b(padding, CComplex());
                a.insert(a.begin() + static_cast<std::ptrdiff_t>(padding / 2), row.a.begin(),
                         row.a.end());
                b.insert(b.begin() + static_cast<std::ptrdiff_t>(padding / 2), row.b.begin(),
                         row.b.end());
                expectDotsExact(a, b,
                                std::string(row.what) + ", padded by " + std::to_string(padding));
            }
        }
        expectDotsExact({}, {}, "empty");
    });
}

// Random arrays of every length to kLongestRun and longer ones, random bit
// patterns (finite) and ordinary values, against the exact sum.
TEST(Arrays, DotProductsOfRandomArraysAreExact) {
    std::mt19937 engine(20261210);
    RandomPart randomPart;
    std::uniform_real_distribution<float> ordinary(-1.0f, 1.0f);
    onEveryTarget([&] {
        for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{7}, kLongestRun,
                              std::size_t{1000}, std::size_t{4097}}) {
            for (int kind = 0; kind < 3; ++kind) {
                std::vector<CComplex> a(n), b(n);
                for (std::size_t k = 0; k < n; ++k) {
                    a[k] = kind == 0 ? CComplex(randomPart(), randomPart())
                                     : CComplex(ordinary(engine), ordinary(engine));
                    b[k] = CComplex(ordinary(engine), kind == 0 ? randomPart() : ordinary(engine));
                }
                // Kind 2: the second half cancels the first but for a few
                // ulps, so the exact sum lies far below its terms.
                for (std::size_t k = (n + 1) / 2; kind == 2 && k < n; ++k) {
                    a[k] = a[k - (n + 1) / 2];
                    b[k] = -b[k - (n + 1) / 2];
                    if (k % 5 == 0) b[k].real = std::nextafter(b[k].real, 0.0f);
                }
                expectDotsExact(a, b, "n " + std::to_string(n) + ", kind " + std::to_string(kind));
            }
        }
    });
}

}  // namespace
