// The std::complex<float> loops the batch operations are timed against,
// compiled on their own with -O3 -march=native -ffast-math: the build a
// user after SIMD speed makes, which vectorises what it can and drops the
// standard's care for infinities and NaNs.
#include <complex>
#include <cstddef>

namespace std_loops {

using Complex = std::complex<float>;

void multiply(const Complex* a, const Complex* b, Complex* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = a[k] * b[k];
}

void multiplyConjugate(const Complex* a, const Complex* b, Complex* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = a[k] * std::conj(b[k]);
}

void scale(const Complex* a, Complex s, Complex* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = a[k] * s;
}

void scale(const Complex* a, float s, Complex* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = a[k] * s;
}

void divide(const Complex* a, const Complex* b, Complex* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = a[k] / b[k];
}

void magnitude(const Complex* a, float* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = std::abs(a[k]);
}

void norm(const Complex* a, float* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = std::norm(a[k]);
}

void angle(const Complex* a, float* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = std::arg(a[k]);
}

void polar(const float* magnitude, const float* angle, Complex* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = std::polar(magnitude[k], angle[k]);
}

void exp(const Complex* a, Complex* out, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) out[k] = std::exp(a[k]);
}

// The running phasor: e^{j phase}, multiplied by e^{j step} once per element.
void rotate(const Complex* a, float phase, float step, Complex* out, std::size_t n) {
    Complex phasor = std::polar(1.0f, phase);
    const Complex advance = std::polar(1.0f, step);
    for (std::size_t k = 0; k < n; ++k) {
        out[k] = a[k] * phasor;
        phasor *= advance;
    }
}

Complex dot(const Complex* a, const Complex* b, std::size_t n) {
    Complex sum = 0;
    for (std::size_t k = 0; k < n; ++k) sum += a[k] * b[k];
    return sum;
}

Complex dotConjugate(const Complex* a, const Complex* b, std::size_t n) {
    Complex sum = 0;
    for (std::size_t k = 0; k < n; ++k) sum += a[k] * std::conj(b[k]);
    return sum;
}

}  // namespace std_loops
