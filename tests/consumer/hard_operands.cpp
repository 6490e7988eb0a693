// Writes the results of every CComplex operation and function on hard
// operands: tiny angles, octant borders, zeros, and quotients and magnitudes
// near the ends of the float range; then a digest of each over a million
// random operands (a million, or the count its argument gives). CI builds it
// in a normal parent, in parents that compile with -ffast-math or -Ofast, and
// for other machines, and compares the outputs byte for byte. A NaN result is
// written without its sign, which IEEE 754 leaves to the machine.
//
// Everything here stays exact under fast-math flags: operands are made from
// integer bit patterns, and results are written as their bits or their text.
#include <cfenv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "../float_bits.h"
#include "ccomplex.h"

namespace {

// z with the sign of each NaN part cleared, by its bits: a fast-math build
// takes every float for a number.
CComplex withoutNaNSigns(const CComplex& z) {
    const auto unsigned_ = [](float part) {
        const std::uint32_t magnitude = bitsOf(part) & 0x7fffffffu;
        return magnitude > 0x7f800000u ? fromBits(magnitude) : part;
    };
    return {unsigned_(z.real), unsigned_(z.imag)};
}

// Everything an operation gives for x and w, as one line of text.
std::string results(CComplex x, const CComplex& w) {
    const CComplex quotient = withoutNaNSigns(x / w);
    const CComplex sum = withoutNaNSigns(x + w);
    std::ostringstream line;
    line << x << " / " << w << " = " << quotient << " | " << x.print();
    char bits[128];
    std::snprintf(bits, sizeof bits, " | q %08x %08x sum %08x %08x mag %08x ang %08x",
                  bitsOf(quotient.real), bitsOf(quotient.imag), bitsOf(sum.real), bitsOf(sum.imag),
                  bitsOf(x.mag()), bitsOf(x.ang()));
    line << bits << " | eq " << (x == w) << (x != -w);
    CComplex inPlace = x;
    inPlace *= w;
    inPlace -= w;
    inPlace /= w;
    // Then x * w, x - w, -x, x.conj(), the in-place result, a polar form,
    // operations with a float operand, and every elementary function.
    for (const CComplex& z : {x * w,      x - w,          -x,
                              x.conj(),   inPlace,        CComplex::polar(x.real, w.real),
                              x * w.real, w.imag - x,     x / w.real,
                              w.imag / x, proj(x),        CComplex(norm(x)),
                              exp(x),     log(x),         log10(x),
                              sqrt(x),    pow(x, 3),      pow(x, w.real),
                              pow(x, w),  pow(w.real, x), sin(x),
                              cos(x),     tan(x),         sinh(x),
                              cosh(x),    tanh(x),        asin(x),
                              acos(x),    atan(x),        asinh(x),
                              acosh(x),   atanh(x)}) {
        const CComplex result = withoutNaNSigns(z);
        std::snprintf(bits, sizeof bits, " %08x %08x", bitsOf(result.real), bitsOf(result.imag));
        line << bits;
    }
    return line.str();
}

// A finite float from 64 random bits: half are any finite bit pattern, half
// have an exponent within 2^+-20.
float randomPart(std::uint64_t random) {
    auto pattern = static_cast<std::uint32_t>(random >> 32);
    if (random & 1) {
        const auto exponent = static_cast<std::uint32_t>(127 - 20 + (random >> 1) % 41);
        pattern = (pattern & 0x807fffffu) | exponent << 23;
    }
    const bool finite = (pattern & 0x7f800000u) != 0x7f800000u;
    return fromBits(finite ? pattern : 0);
}

// FNV-1a, over the bytes of a text.
std::uint64_t digest(std::uint64_t hash, const std::string& text) {
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    }
    return hash;
}

}  // namespace

int main(int argc, char** argv) {
    // A process linked with fast-math flags starts with subnormals flushed;
    // the comparison is of the compiled code, so restore IEEE mode.
    std::fesetenv(FE_DFL_ENV);

    const float tiny = 0x1p-149f, smallest = 0x1p-126f, largest = 0x1.fffffep+127f;
    const CComplex hard[][2] = {
        // tiny and subnormal angles; subnormal, zero and huge divisors
        {{0x1.87d1cp+69f, 0x1.b62e0ap+0f}, {1, 0}},
        {{0x1.cd4d1cp+28f, 0x1.1db982p-67f}, {tiny, 0}},
        {{0x1.8350fp+8f, -0x1.3da5dap-124f}, {smallest, smallest}},
        {{0x1.750978p+102f, -0x1.ff51aep-36f}, {0, 0}},
        {{0x1.d79922p-90f, 0x1.52730ap-125f}, {1e20f, -1e20f}},
        // zeros, signed
        {{0, 0}, {-0.0f, 0}},
        {{-0.0f, 0}, {0, -0.0f}},
        {{-0.0f, -0.0f}, {4, 0}},
        // angles next to an octant border, where rounding is hardest
        {{0x1.0c8c16p+0f, -0x1.bac43ep-2f}, {tiny, tiny}},
        {{0x1.c4548p+0f, -0x1.1a2766p-1f}, {1e-30f, 1e-30f}},
        {{-0x1.bb1484p+0f, 0x1.835e58p-1f}, {4, 0}},
        // quotients and magnitudes near the subnormal range
        {{tiny, 0}, {4, 0}},
        {{smallest, smallest}, {3, 0}},
        {{1e-30f, 1e-30f}, {1e-30f, -1e-30f}},
        {{1e-40f, 2e-41f}, {1e20f, 1e20f}},
        // a product whose real part cancels, and one that overflows in one part
        {{0x1.000002p0f, 1}, {0x1.000002p0f, 0x1.000004p0f}},
        {{2e38f, 2e38f}, {2, -2}},
        // overflow
        {{largest, largest}, {0.5f, 0}},
        {{largest, -largest}, {largest, largest}},
        {{2e19f, 0}, {1e19f, 0}},
    };
    for (const auto& operands : hard) {
        std::puts(results(operands[0], operands[1]).c_str());
    }

    std::mt19937_64 random(20261208);
    std::uint64_t hash = 0xcbf29ce484222325u;
    const long pairs = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    for (long i = 0; i < pairs; ++i) {
        // One part a statement: the order of evaluation of arguments differs
        // between compilers.
        float parts[4];
        for (float& part : parts) part = randomPart(random());
        hash = digest(hash, results({parts[0], parts[1]}, {parts[2], parts[3]}));
    }
    std::printf("digest of %ld random operand pairs: %016llx\n", pairs,
                static_cast<unsigned long long>(hash));
    return 0;
}
