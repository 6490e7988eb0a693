// Times each CComplex operation against its std::complex<float> counterpart
// on the same random, ordinary operands, so one run shows both side by side.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <istream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ccomplex.h"

// The formatters' rows, where the build has {fmt} or std::format.
#if CCOMPLEX_BENCHMARK_FMT
#include "ccomplex_fmt.h"
#endif
#if CCOMPLEX_BENCHMARK_FORMAT
#include <iterator>

#include "ccomplex_format.h"
#endif

namespace {

// More operands than a branch predictor can learn by heart: with a few
// thousand, the same sequence repeated lets it predict data-dependent
// branches that real data would not, which flatters code that branches on
// the operands. 2^16 pairs of each type still fit in the L3 cache.
constexpr std::size_t kOperands = 1 << 16;

// Operand pairs with parts uniform in [-100, 100]; no divisor is zero. For
// the polar form, magnitudes uniform in [0, 100] and angles in [-pi, pi].
struct Operands {
    std::vector<CComplex> x, w;
    std::vector<std::complex<float>> sx, sw;
    std::vector<float> magnitude, angle;

    Operands() {
        std::mt19937 engine(42);
        std::uniform_real_distribution<float> part(-100.0f, 100.0f);
        std::uniform_real_distribution<float> turn(-1.0f, 1.0f);
        for (std::size_t i = 0; i < kOperands; ++i) {
            const float a = part(engine), b = part(engine), c = part(engine), d = part(engine);
            x.emplace_back(a, b);
            w.emplace_back(c, d);
            sx.emplace_back(a, b);
            sw.emplace_back(c, d);
            magnitude.push_back(std::fabs(part(engine)));
            angle.push_back(3.14159265f * turn(engine));
        }
    }
};

const Operands& operands() {
    static const Operands instance;
    return instance;
}

// Runs `op(i)` over every operand index per iteration and counts the items.
template <typename Op>
void runOverOperands(benchmark::State& state, Op op) {
    for (auto _ : state) {
        for (std::size_t i = 0; i < kOperands; ++i) {
            benchmark::DoNotOptimize(op(i));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kOperands));
}

// Sums the products of all operand pairs, acc += x[i] * w[i], once per
// iteration: the inner loop of a dot product or a filter.
template <typename Complex>
void multiplyAccumulate(benchmark::State& state, const std::vector<Complex>& x,
                        const std::vector<Complex>& w) {
    for (auto _ : state) {
        Complex acc{};
        for (std::size_t i = 0; i < kOperands; ++i) acc += x[i] * w[i];
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kOperands));
}

void BM_Add_CComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.x[i] + o.w[i]; });
}
void BM_Add_StdComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.sx[i] + o.sw[i]; });
}

void BM_Subtract_CComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.x[i] - o.w[i]; });
}
void BM_Subtract_StdComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.sx[i] - o.sw[i]; });
}

void BM_Multiply_CComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.x[i] * o.w[i]; });
}
void BM_Multiply_StdComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.sx[i] * o.sw[i]; });
}

void BM_MultiplyAccumulate_CComplex(benchmark::State& state) {
    multiplyAccumulate(state, operands().x, operands().w);
}
void BM_MultiplyAccumulate_StdComplex(benchmark::State& state) {
    multiplyAccumulate(state, operands().sx, operands().sw);
}

void BM_Divide_CComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.x[i] / o.w[i]; });
}
void BM_Divide_StdComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.sx[i] / o.sw[i]; });
}

void BM_Magnitude_CComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.x[i].mag(); });
}
void BM_Magnitude_StdComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return std::abs(o.sx[i]); });
}

void BM_Polar_CComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state,
                    [&](std::size_t i) { return CComplex::polar(o.magnitude[i], o.angle[i]); });
}
void BM_Polar_StdComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return std::polar(o.magnitude[i], o.angle[i]); });
}

void BM_Angle_CComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.x[i].ang(); });
}
void BM_Angle_StdComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return std::arg(o.sx[i]); });
}

void BM_Print_CComplex(benchmark::State& state) {
    const Operands& o = operands();
    runOverOperands(state, [&](std::size_t i) { return o.x[i].print(); });
}
void BM_Print_Snprintf(benchmark::State& state) {
    const Operands& o = operands();
    char buf[100];
    runOverOperands(state, [&](std::size_t i) {
        const std::complex<float>& z = o.sx[i];
        return std::snprintf(buf, sizeof buf, "%f +j%f", static_cast<double>(z.real()),
                             static_cast<double>(z.imag()));
    });
}

// The text form of every operand, one a line, as `<<` writes it.
const std::string& operandText() {
    static const std::string text = [] {
        std::ostringstream out;
        for (const CComplex& x : operands().x) out << x << '\n';
        return out.str();
    }();
    return text;
}

// Reads every operand's text from one stream per iteration, rewinding it
// first, with `read(in)` reading one value. A failed read would make the
// timing meaningless, so it turns the run into an error.
template <typename Read>
void readOperands(benchmark::State& state, Read read) {
    std::istringstream in(operandText());
    runOverOperands(state, [&](std::size_t i) {
        if (i == 0) {
            in.clear();
            in.seekg(0);
        }
        return read(in);
    });
    if (in.fail()) state.SkipWithError("a value did not read back");
}

void BM_Read_CComplex(benchmark::State& state) {
    readOperands(state, [](std::istream& in) {
        CComplex z;
        in >> z;
        return z;
    });
}
// The same text as two floats and the marker's two characters, with the
// stream's own extractors.
void BM_Read_StreamFloats(benchmark::State& state) {
    readOperands(state, [](std::istream& in) {
        float real = 0, imag = 0;
        char plus = 0, j = 0;
        in >> real >> plus >> j >> imag;
        return std::complex<float>(real, imag);
    });
}

// Formatting, into one buffer cleared per value, so that no allocation is
// timed: a CComplex with the options, against its two floats with the same
// options, and for a width against the two floats' text padded as a string.
// `format(out, z)` appends z's text to `out`.
template <typename Buffer, typename Format>
void formatOperands(benchmark::State& state, Format format) {
    const Operands& o = operands();
    Buffer out;
    runOverOperands(state, [&](std::size_t i) {
        out.clear();
        format(out, o.x[i]);
        return out.size();
    });
}

#if CCOMPLEX_BENCHMARK_FMT
void BM_FmtShortest_CComplex(benchmark::State& state) {
    formatOperands<fmt::memory_buffer>(
        state, [](auto& out, const CComplex& z) { fmt::format_to(fmt::appender(out), "{}", z); });
}
void BM_FmtShortest_Floats(benchmark::State& state) {
    formatOperands<fmt::memory_buffer>(state, [](auto& out, const CComplex& z) {
        fmt::format_to(fmt::appender(out), "{} +j{}", z.real, z.imag);
    });
}
void BM_FmtFixed_CComplex(benchmark::State& state) {
    formatOperands<fmt::memory_buffer>(state, [](auto& out, const CComplex& z) {
        fmt::format_to(fmt::appender(out), "{:.3f}", z);
    });
}
void BM_FmtFixed_Floats(benchmark::State& state) {
    formatOperands<fmt::memory_buffer>(state, [](auto& out, const CComplex& z) {
        fmt::format_to(fmt::appender(out), "{:.3f} +j{:.3f}", z.real, z.imag);
    });
}
void BM_FmtWidth_CComplex(benchmark::State& state) {
    formatOperands<fmt::memory_buffer>(state, [](auto& out, const CComplex& z) {
        fmt::format_to(fmt::appender(out), "{:>30}", z);
    });
}
void BM_FmtWidth_Floats(benchmark::State& state) {
    fmt::memory_buffer text;
    formatOperands<fmt::memory_buffer>(state, [&](auto& out, const CComplex& z) {
        text.clear();
        fmt::format_to(fmt::appender(text), "{} +j{}", z.real, z.imag);
        fmt::format_to(fmt::appender(out), "{:>30}", fmt::string_view(text.data(), text.size()));
    });
}
BENCHMARK(BM_FmtShortest_CComplex);
BENCHMARK(BM_FmtShortest_Floats);
BENCHMARK(BM_FmtFixed_CComplex);
BENCHMARK(BM_FmtFixed_Floats);
BENCHMARK(BM_FmtWidth_CComplex);
BENCHMARK(BM_FmtWidth_Floats);
#endif

#if CCOMPLEX_BENCHMARK_FORMAT
void BM_FormatShortest_CComplex(benchmark::State& state) {
    formatOperands<std::string>(state, [](auto& out, const CComplex& z) {
        std::format_to(std::back_inserter(out), "{}", z);
    });
}
void BM_FormatShortest_Floats(benchmark::State& state) {
    formatOperands<std::string>(state, [](auto& out, const CComplex& z) {
        std::format_to(std::back_inserter(out), "{} +j{}", z.real, z.imag);
    });
}
void BM_FormatFixed_CComplex(benchmark::State& state) {
    formatOperands<std::string>(state, [](auto& out, const CComplex& z) {
        std::format_to(std::back_inserter(out), "{:.3f}", z);
    });
}
void BM_FormatFixed_Floats(benchmark::State& state) {
    formatOperands<std::string>(state, [](auto& out, const CComplex& z) {
        std::format_to(std::back_inserter(out), "{:.3f} +j{:.3f}", z.real, z.imag);
    });
}
void BM_FormatWidth_CComplex(benchmark::State& state) {
    formatOperands<std::string>(state, [](auto& out, const CComplex& z) {
        std::format_to(std::back_inserter(out), "{:>30}", z);
    });
}
void BM_FormatWidth_Floats(benchmark::State& state) {
    std::string text;
    formatOperands<std::string>(state, [&](auto& out, const CComplex& z) {
        text.clear();
        std::format_to(std::back_inserter(text), "{} +j{}", z.real, z.imag);
        std::format_to(std::back_inserter(out), "{:>30}", text);
    });
}
BENCHMARK(BM_FormatShortest_CComplex);
BENCHMARK(BM_FormatShortest_Floats);
BENCHMARK(BM_FormatFixed_CComplex);
BENCHMARK(BM_FormatFixed_Floats);
BENCHMARK(BM_FormatWidth_CComplex);
BENCHMARK(BM_FormatWidth_Floats);
#endif

// Loops as users write them, each timed on the same data for both types.

constexpr std::size_t kKernelLength = 4096;
constexpr std::size_t kFilterTaps = 32;
constexpr std::size_t kFilterSamples = 1 << 14;
constexpr int kMandelbrotSide = 160;
constexpr int kMandelbrotIterations = 256;

// The first `count` operands of x or w as the type Complex, divided by
// `divisor`.
template <typename Complex>
std::vector<Complex> firstOperands(std::size_t count, bool second, float divisor = 100.0f) {
    const Operands& o = operands();
    std::vector<Complex> values;
    for (std::size_t i = 0; i < count; ++i) {
        const CComplex& z = second ? o.w[i] : o.x[i];
        values.emplace_back(z.real / divisor, z.imag / divisor);
    }
    return values;
}

// out[i] = x[i] * w[i] over 4096 values.
template <typename Complex>
void BM_KernelProduct(benchmark::State& state) {
    const std::vector<Complex> x = firstOperands<Complex>(kKernelLength, false);
    const std::vector<Complex> w = firstOperands<Complex>(kKernelLength, true);
    std::vector<Complex> out(kKernelLength);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kKernelLength; ++i) out[i] = x[i] * w[i];
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kKernelLength));
}

// The sum of x[i] * w[i] over 4096 values.
template <typename Complex>
void BM_KernelDot(benchmark::State& state) {
    const std::vector<Complex> x = firstOperands<Complex>(kKernelLength, false);
    const std::vector<Complex> w = firstOperands<Complex>(kKernelLength, true);
    for (auto _ : state) {
        Complex sum{};
        for (std::size_t i = 0; i < kKernelLength; ++i) sum += x[i] * w[i];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kKernelLength));
}

// y[n] = sum of h[k] x[n + k] for 32 taps over 16k samples.
template <typename Complex>
void BM_KernelFilter(benchmark::State& state) {
    const std::vector<Complex> x = firstOperands<Complex>(kFilterSamples + kFilterTaps, false);
    const std::vector<Complex> h = firstOperands<Complex>(kFilterTaps, true);
    std::vector<Complex> y(kFilterSamples);
    for (auto _ : state) {
        for (std::size_t n = 0; n < kFilterSamples; ++n) {
            Complex sum{};
            for (std::size_t k = 0; k < kFilterTaps; ++k) sum += h[k] * x[n + k];
            y[n] = sum;
        }
        benchmark::DoNotOptimize(y.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() *
                            static_cast<std::int64_t>(kFilterSamples * kFilterTaps));
}

// z = z * z + c from z = 0 until |z| > 2, at most 256 times, for 160 x 160
// points c of the square [-2, 0.5] x [-1.25, 1.25]; counts the iterations.
template <typename Complex>
void BM_KernelMandelbrot(benchmark::State& state) {
    std::int64_t iterations = 0;
    for (auto _ : state) {
        iterations = 0;
        for (int row = 0; row < kMandelbrotSide; ++row) {
            for (int column = 0; column < kMandelbrotSide; ++column) {
                const Complex c(-2.0f + 2.5f * static_cast<float>(column) / kMandelbrotSide,
                                -1.25f + 2.5f * static_cast<float>(row) / kMandelbrotSide);
                Complex z{};
                int n = 0;
                for (; n < kMandelbrotIterations && norm(z) <= 4.0f; ++n) z = z * z + c;
                iterations += n;
            }
        }
        benchmark::DoNotOptimize(iterations);
    }
    state.SetItemsProcessed(state.iterations() * iterations);
}

// The elementary functions, called unqualified as generic code calls them,
// so that each type's own overloads are found, on parts in [-10, 10]; w's
// real part serves as a float exponent, and n runs from 2 to 9.
template <typename Complex, typename Function>
void runElementary(benchmark::State& state, Function function) {
    static const std::vector<Complex> x = firstOperands<Complex>(kOperands, false, 10.0f);
    static const std::vector<Complex> w = firstOperands<Complex>(kOperands, true, 10.0f);
    runOverOperands(
        state, [&](std::size_t i) { return function(x[i], w[i], static_cast<int>(i % 8) + 2); });
}

#define CCOMPLEX_ELEMENTARY_BENCHMARK(name, expression)                                     \
    template <typename Complex>                                                             \
    void BM_##name(benchmark::State& state) {                                               \
        runElementary<Complex>(state, [](const Complex& z, const Complex& w, int n) {       \
            static_cast<void>(w), static_cast<void>(n);                                     \
            using std::exp, std::log, std::log10, std::sqrt, std::pow, std::sin, std::cos,  \
                std::tan, std::sinh, std::cosh, std::tanh, std::asin, std::acos, std::atan, \
                std::asinh, std::acosh, std::atanh;                                         \
            return expression;                                                              \
        });                                                                                 \
    }                                                                                       \
    BENCHMARK(BM_##name<CComplex>);                                                         \
    BENCHMARK(BM_##name<std::complex<float>>)

CCOMPLEX_ELEMENTARY_BENCHMARK(Exp, exp(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Log, log(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Log10, log10(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Sqrt, sqrt(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(PowInt, pow(z, n));
CCOMPLEX_ELEMENTARY_BENCHMARK(PowIntAsComplex, pow(z, Complex(static_cast<float>(n))));
CCOMPLEX_ELEMENTARY_BENCHMARK(PowFloat, pow(z, real(w)));
CCOMPLEX_ELEMENTARY_BENCHMARK(PowComplex, pow(z, w));
CCOMPLEX_ELEMENTARY_BENCHMARK(Sin, sin(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Cos, cos(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Tan, tan(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Sinh, sinh(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Cosh, cosh(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Tanh, tanh(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Asin, asin(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Acos, acos(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Atan, atan(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Asinh, asinh(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Acosh, acosh(z));
CCOMPLEX_ELEMENTARY_BENCHMARK(Atanh, atanh(z));
#undef CCOMPLEX_ELEMENTARY_BENCHMARK

BENCHMARK(BM_Add_CComplex);
BENCHMARK(BM_Add_StdComplex);
BENCHMARK(BM_Subtract_CComplex);
BENCHMARK(BM_Subtract_StdComplex);
BENCHMARK(BM_Multiply_CComplex);
BENCHMARK(BM_Multiply_StdComplex);
BENCHMARK(BM_MultiplyAccumulate_CComplex);
BENCHMARK(BM_MultiplyAccumulate_StdComplex);
BENCHMARK(BM_Divide_CComplex);
BENCHMARK(BM_Divide_StdComplex);
BENCHMARK(BM_Magnitude_CComplex);
BENCHMARK(BM_Magnitude_StdComplex);
BENCHMARK(BM_Polar_CComplex);
BENCHMARK(BM_Polar_StdComplex);
BENCHMARK(BM_Angle_CComplex);
BENCHMARK(BM_Angle_StdComplex);
BENCHMARK(BM_Print_CComplex);
BENCHMARK(BM_Print_Snprintf);
BENCHMARK(BM_Read_CComplex);
BENCHMARK(BM_Read_StreamFloats);
BENCHMARK(BM_KernelProduct<CComplex>);
BENCHMARK(BM_KernelProduct<std::complex<float>>);
BENCHMARK(BM_KernelDot<CComplex>);
BENCHMARK(BM_KernelDot<std::complex<float>>);
BENCHMARK(BM_KernelFilter<CComplex>);
BENCHMARK(BM_KernelFilter<std::complex<float>>);
BENCHMARK(BM_KernelMandelbrot<CComplex>);
BENCHMARK(BM_KernelMandelbrot<std::complex<float>>);

}  // namespace

BENCHMARK_MAIN();
