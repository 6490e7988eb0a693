// Times each batch operation against the same loop of scalar CComplex
// operations and against std::complex<float> loops built with -O3
// -march=native -ffast-math (ccomplex_arrays_benchmark_std.cpp), on 4096
// values with parts uniform in [-1, 1]. Each benchmark counts values, so
// its rate gives the time per element.
#include <benchmark/benchmark.h>

#include <complex>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "ccomplex_arrays.h"

namespace std_loops {
using Complex = std::complex<float>;
void multiply(const Complex* a, const Complex* b, Complex* out, std::size_t n);
void multiplyConjugate(const Complex* a, const Complex* b, Complex* out, std::size_t n);
void scale(const Complex* a, Complex s, Complex* out, std::size_t n);
void scale(const Complex* a, float s, Complex* out, std::size_t n);
void divide(const Complex* a, const Complex* b, Complex* out, std::size_t n);
void magnitude(const Complex* a, float* out, std::size_t n);
void norm(const Complex* a, float* out, std::size_t n);
void angle(const Complex* a, float* out, std::size_t n);
void polar(const float* magnitude, const float* angle, Complex* out, std::size_t n);
void exp(const Complex* a, Complex* out, std::size_t n);
void rotate(const Complex* a, float phase, float step, Complex* out, std::size_t n);
Complex dot(const Complex* a, const Complex* b, std::size_t n);
Complex dotConjugate(const Complex* a, const Complex* b, std::size_t n);
}  // namespace std_loops

namespace {

constexpr std::size_t kValues = 4096;
constexpr float kPhase = 0.25f, kStep = 0.001f;

struct Arrays {
    std::vector<CComplex> a, b, out;
    std::vector<std::complex<float>> sa, sb, sout;
    std::vector<float> magnitudes, angles, floats;

    Arrays() : out(kValues), sout(kValues), floats(kValues) {
        std::mt19937 engine(42);
        std::uniform_real_distribution<float> part(-1.0f, 1.0f);
        for (std::size_t k = 0; k < kValues; ++k) {
            const float p = part(engine), q = part(engine), r = part(engine), s = part(engine);
            a.emplace_back(p, q);
            b.emplace_back(r, s);
            sa.emplace_back(p, q);
            sb.emplace_back(r, s);
            magnitudes.push_back(p < 0 ? -p : p);
            angles.push_back(3.14159265f * q);
        }
    }
};

Arrays& arrays() {
    static Arrays instance;
    return instance;
}

// Runs `pass` (one pass over the arrays) per iteration and counts values.
template <typename Pass>
void timePasses(benchmark::State& state, Pass pass) {
    for (auto _ : state) {
        pass();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kValues));
}

// The scalar loops of the rotation and the dot products.
void runningPhasor(const CComplex* a, CComplex* out) {
    CComplex phasor = CComplex::polar(1, kPhase);
    const CComplex advance = CComplex::polar(1, kStep);
    for (std::size_t k = 0; k < kValues; ++k) {
        out[k] = a[k] * phasor;
        phasor *= advance;
    }
}

CComplex sumOfProducts(const CComplex* a, const CComplex* b, bool conjugate) {
    CComplex sum;
    for (std::size_t k = 0; k < kValues; ++k) sum += a[k] * (conjugate ? conj(b[k]) : b[k]);
    return sum;
}

#define CCOMPLEX_ARRAYS_BENCHMARK(name, batch, loop, standard) \
    void BM_Batch_##name(benchmark::State& state) {            \
        Arrays& x = arrays();                                  \
        timePasses(state, [&] { batch; });                     \
    }                                                          \
    void BM_Loop_##name(benchmark::State& state) {             \
        Arrays& x = arrays();                                  \
        timePasses(state, [&] { loop; });                      \
    }                                                          \
    void BM_Std_##name(benchmark::State& state) {              \
        Arrays& x = arrays();                                  \
        timePasses(state, [&] { standard; });                  \
    }                                                          \
    BENCHMARK(BM_Batch_##name);                                \
    BENCHMARK(BM_Loop_##name);                                 \
    BENCHMARK(BM_Std_##name)

namespace batch = ccomplex_arrays;

CCOMPLEX_ARRAYS_BENCHMARK(Multiply, batch::multiply(x.a.data(), x.b.data(), x.out.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k) x.out[k] = x.a[k] * x.b[k],
                          std_loops::multiply(x.sa.data(), x.sb.data(), x.sout.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(
    MultiplyConjugate, batch::multiplyConjugate(x.a.data(), x.b.data(), x.out.data(), kValues),
    for (std::size_t k = 0; k < kValues; ++k) x.out[k] = x.a[k] * conj(x.b[k]),
    std_loops::multiplyConjugate(x.sa.data(), x.sb.data(), x.sout.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(ScaleByValue, batch::scale(x.a.data(), x.b[0], x.out.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k) x.out[k] = x.a[k] * x.b[0],
                          std_loops::scale(x.sa.data(), x.sb[0], x.sout.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(ScaleByFloat, batch::scale(x.a.data(), 0.75f, x.out.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k) x.out[k] = x.a[k] * 0.75f,
                          std_loops::scale(x.sa.data(), 0.75f, x.sout.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(Divide, batch::divide(x.a.data(), x.b.data(), x.out.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k) x.out[k] = x.a[k] / x.b[k],
                          std_loops::divide(x.sa.data(), x.sb.data(), x.sout.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(Magnitude, batch::magnitude(x.a.data(), x.floats.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k) x.floats[k] = x.a[k].mag(),
                          std_loops::magnitude(x.sa.data(), x.floats.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(Norm, batch::norm(x.a.data(), x.floats.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k) x.floats[k] = norm(x.a[k]),
                          std_loops::norm(x.sa.data(), x.floats.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(Angle, batch::angle(x.a.data(), x.floats.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k) x.floats[k] = x.a[k].ang(),
                          std_loops::angle(x.sa.data(), x.floats.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(Polar,
                          batch::polar(x.magnitudes.data(), x.angles.data(), x.out.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k)
                              x.out[k] = CComplex::polar(x.magnitudes[k], x.angles[k]),
                          std_loops::polar(x.magnitudes.data(), x.angles.data(), x.sout.data(),
                                           kValues));
CCOMPLEX_ARRAYS_BENCHMARK(Exp, batch::exp(x.a.data(), x.out.data(), kValues),
                          for (std::size_t k = 0; k < kValues; ++k) x.out[k] = exp(x.a[k]),
                          std_loops::exp(x.sa.data(), x.sout.data(), kValues));
// The scalar loop is the running phasor too, in CComplex.
CCOMPLEX_ARRAYS_BENCHMARK(Rotate, batch::rotate(x.a.data(), kPhase, kStep, x.out.data(), kValues),
                          runningPhasor(x.a.data(), x.out.data()),
                          std_loops::rotate(x.sa.data(), kPhase, kStep, x.sout.data(), kValues));
CCOMPLEX_ARRAYS_BENCHMARK(Dot,
                          benchmark::DoNotOptimize(batch::dot(x.a.data(), x.b.data(), kValues)),
                          benchmark::DoNotOptimize(sumOfProducts(x.a.data(), x.b.data(), false)),
                          benchmark::DoNotOptimize(std_loops::dot(x.sa.data(), x.sb.data(),
                                                                  kValues)));
CCOMPLEX_ARRAYS_BENCHMARK(
    DotConjugate, benchmark::DoNotOptimize(batch::dotConjugate(x.a.data(), x.b.data(), kValues)),
    benchmark::DoNotOptimize(sumOfProducts(x.a.data(), x.b.data(), true)),
    benchmark::DoNotOptimize(std_loops::dotConjugate(x.sa.data(), x.sb.data(), kValues)));

}  // namespace

BENCHMARK_MAIN();
