// The kernels' constants, ccomplex_kernel_constants.h, from MPFR, and an
// exhaustive check of the reduction of float angles by pi / 2.
//
//   g++ -std=c++17 -O2 -I. tools/kernel_constants.cpp -lmpfr -lgmp -pthread
//       -o build/kernel_constants
//   build/kernel_constants header      ccomplex_kernel_constants.h, before clang-format
//   build/kernel_constants reduction   every positive float angle
//
// `reduction` computes y 2/pi for every float y > 0 exactly enough with GMP
// (2/pi to 400 bits, so the fraction of y 2/pi is known to 2^-270), and
// reports how close y comes to a nonzero multiple of pi / 2, below 2^19
// (where the kernel subtracts k pi / 2 in three parts) and above, and the largest
// relative error of the kernel's reduced angle r, with its quarter turns
// checked, and the float nearest a multiple in each binade from 2^19 up;
// it fails if any r is off by 2^-51 relative or more. It needs
// libmpfr-dev; nothing in the build or the tests runs it.
#include <gmp.h>
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <thread>
#include <vector>

#include "ccomplex_angle_reduction.h"

namespace {

// The nearest double to v.
double nearest(mpfr_srcptr v) { return mpfr_get_d(v, MPFR_RNDN); }

// v as hi + lo, each rounded to nearest.
void printDoubleDouble(mpfr_srcptr v) {
    mpfr_t rest;
    mpfr_init2(rest, mpfr_get_prec(v));
    const double hi = nearest(v);
    mpfr_sub_d(rest, v, hi, MPFR_RNDN);
    std::printf("{%a, %a}", hi, nearest(rest));
    mpfr_clear(rest);
}

// Prints `name` = v split into parts of the given bit counts, each the
// nearest to what the parts before it left, as a constexpr array.
void printSplit(const char* name, mpfr_srcptr v, std::initializer_list<int> bits) {
    mpfr_t rest, part;
    mpfr_init2(rest, mpfr_get_prec(v));
    mpfr_set(rest, v, MPFR_RNDN);
    std::printf("constexpr double %s[%zu] = {", name, bits.size());
    const char* separator = "";
    for (const int b : bits) {
        mpfr_init2(part, b);
        mpfr_set(part, rest, MPFR_RNDN);
        mpfr_sub(rest, rest, part, MPFR_RNDN);
        std::printf("%s%a", separator, nearest(part));
        separator = ", ";
        mpfr_clear(part);
    }
    std::printf("};\n");
    mpfr_clear(rest);
}

// 1/n! signed as the n-th term of sin (odd n) or cos (even n): (-1)^(n/2).
double taylorCoefficient(unsigned long n) {
    mpfr_t v;
    mpfr_init2(v, 1000);
    mpfr_fac_ui(v, n, MPFR_RNDN);
    mpfr_ui_div(v, 1, v, MPFR_RNDN);
    const double c = nearest(v);
    mpfr_clear(v);
    return (n / 2) % 2 == 0 ? c : -c;
}

// ccomplex_kernel_constants.h, to be put through clang-format.
int printHeader() {
    mpfr_t v, pi, ln2;
    mpfr_inits2(1000, v, pi, ln2, static_cast<mpfr_ptr>(nullptr));
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_const_log2(ln2, MPFR_RNDN);
    std::printf(
        "// The kernels' constants, each the nearest double (or double-double) to\n"
        "// its value unless it says otherwise. Made by tools/kernel_constants.cpp,\n"
        "// not by hand:\n"
        "//   build/kernel_constants header | clang-format "
        "--assume-filename=ccomplex_kernel_constants.h\n"
        "// CI makes it again and fails on any difference.\n"
        "#ifndef CCOMPLEX_KERNEL_CONSTANTS_H\n#define CCOMPLEX_KERNEL_CONSTANTS_H\n\n"
        "#include <cstdint>\n\n#include \"ccomplex_double_double.h\"\n\n"
        "namespace ccomplex_kernels {\n\n");

    std::printf("// ln 2, 1/ln 2 and 1/ln 10.\nconstexpr DoubleDouble kLn2DD");
    printDoubleDouble(ln2);
    std::printf(
        ";\n// ln 2 in 42 bits, so that k times it is exact for |k| < 2^11, and the rest.\n");
    mpfr_t high;
    mpfr_init2(high, 42);
    mpfr_set(high, ln2, MPFR_RNDN);
    mpfr_sub(v, ln2, high, MPFR_RNDN);
    std::printf("constexpr double kLn2Hi = %a, kLn2Lo = %a;\n", nearest(high), nearest(v));
    mpfr_clear(high);
    mpfr_ui_div(v, 1, ln2, MPFR_RNDN);
    std::printf("constexpr double kOneOverLn2 = %a;\n", nearest(v));
    mpfr_set_ui(v, 10, MPFR_RNDN);
    mpfr_log(v, v, MPFR_RNDN);
    mpfr_ui_div(v, 1, v, MPFR_RNDN);
    std::printf("constexpr DoubleDouble kLog10OfEDD");
    printDoubleDouble(v);
    std::printf(";\nconstexpr double kLog10OfE = kLog10OfEDD.hi;\n");
    mpfr_sqrt_ui(v, 2, MPFR_RNDN);
    std::printf("constexpr double kSqrt2 = %a;\n\n", nearest(v));

    std::printf("// pi/2 and 2/pi.\nconstexpr DoubleDouble kHalfPiDD");
    mpfr_div_ui(v, pi, 2, MPFR_RNDN);
    printDoubleDouble(v);
    std::printf(";\nconstexpr double kHalfPi = kHalfPiDD.hi;\n");
    std::printf(
        "// pi/2 in parts of 33, 33, 53 and 53 bits, for the reduction of angles\n"
        "// below 2^19: k times either of the first two is exact for k < 2^20.\n");
    printSplit("kHalfPiParts", v, {33, 33, 53, 53});
    std::printf("constexpr DoubleDouble kTwoOverPiDD");
    mpfr_ui_div(v, 2, pi, MPFR_RNDN);
    printDoubleDouble(v);
    std::printf(";\nconstexpr double kTwoOverPi = kTwoOverPiDD.hi;\n");
    std::printf(
        "// 2/pi = the sum of kTwoOverPiWords[j] 2^(-32 (j + 1)): its first 320 bits,\n"
        "// truncated.\nconstexpr std::uint32_t kTwoOverPiWords[10] = {");
    for (int j = 0; j < 10; ++j) {
        mpfr_mul_2ui(v, v, 32, MPFR_RNDN);
        mpfr_t word;
        mpfr_init2(word, 1000);
        mpfr_floor(word, v);
        std::printf("%s0x%08lx", j == 0 ? "" : ", ", mpfr_get_ui(word, MPFR_RNDN));
        mpfr_sub(v, v, word, MPFR_RNDN);
        mpfr_clear(word);
    }
    std::printf("};\n\n");

    std::printf(
        "// The Taylor coefficients of sin r and cos r past their leading terms:\n"
        "// sin r = r + r^3 (kSinTail[0] + r^2 kSinTail[1] + ...), -1/3!, 1/5!, ...,\n"
        "// 1/17!; cos r = 1 - r^2/2 + r^4 (kCosTail[0] + ...), 1/4!, ..., -1/18!.\n"
        "constexpr double kSinTail[8] = {");
    for (unsigned long n = 3; n <= 17; n += 2)
        std::printf("%s%a", n == 3 ? "" : ", ", taylorCoefficient(n));
    std::printf("};\nconstexpr double kCosTail[8] = {");
    for (unsigned long n = 4; n <= 18; n += 2)
        std::printf("%s%a", n == 4 ? "" : ", ", taylorCoefficient(n));
    std::printf("};\n\n");

    std::printf(
        "// atan(j/8), pi/2 - atan(j/8), pi/2 + atan(j/8) and pi - atan(j/8) for\n"
        "// j = 0 to 8: the angles of the octants' table entries.\n"
        "constexpr DoubleDouble kOctantAngles[4][9] = {\n");
    for (int octant = 0; octant < 4; ++octant) {
        std::printf("{");
        for (int j = 0; j <= 8; ++j) {
            mpfr_set_ui(v, static_cast<unsigned long>(j), MPFR_RNDN);
            mpfr_div_ui(v, v, 8, MPFR_RNDN);
            mpfr_atan(v, v, MPFR_RNDN);
            if (octant & 1) mpfr_neg(v, v, MPFR_RNDN);
            mpfr_t quarter;
            mpfr_init2(quarter, 1000);
            mpfr_mul_ui(quarter, pi, static_cast<unsigned long>((octant + 1) / 2), MPFR_RNDN);
            mpfr_div_ui(quarter, quarter, 2, MPFR_RNDN);
            mpfr_add(v, v, quarter, MPFR_RNDN);
            mpfr_clear(quarter);
            printDoubleDouble(v);
            std::printf(j < 8 ? ", " : "},\n");
        }
    }
    std::printf(
        "};\n\n}  // namespace ccomplex_kernels\n\n#endif  // CCOMPLEX_KERNEL_CONSTANTS_H\n");
    mpfr_clears(v, pi, ln2, static_cast<mpfr_ptr>(nullptr));
    return 0;
}

// ---------------------------------------------------------------- reduction

constexpr int kBits = 400;

// What a range of floats gave.
struct Findings {
    double closestSmall = 1, closestLarge = 1;  // quarter turns from a multiple, log2
    float closestSmallAt = 0, closestLargeAt = 0;
    double closestInBinade[129] = {};  // per binade [2^(e-1), 2^e), e = 20 to 128
    float closestInBinadeAt[129] = {};
    double worstError = -HUGE_VAL;  // relative error of r, log2
    float worstAt = 0;
    long wrongQuarters = 0;
};

// Checks the floats with bit patterns in [first, last).
void checkRange(std::uint32_t first, std::uint32_t last, const mpz_t twoOverPi, Findings& out) {
    mpz_t product, fraction, whole;
    mpz_inits(product, fraction, whole, nullptr);
    const long double halfPi = 1.57079632679489661923132169163975144L;
    for (std::uint32_t bits = first; bits < last; ++bits) {
        float y;
        std::memcpy(&y, &bits, sizeof y);
        int exponent;
        const float significand = std::frexp(y, &exponent);
        const auto m = static_cast<unsigned long>(std::ldexp(significand, 24));
        const int e = exponent - 24;  // y = m 2^e
        // y 2/pi = product 2^(e - kBits): point at bit kBits - e.
        mpz_mul_ui(product, twoOverPi, m);
        const long point = kBits - e;
        mpz_tdiv_r_2exp(product, product, static_cast<mp_bitcnt_t>(point + 2));  // modulo 4
        mpz_tdiv_q_2exp(whole, product, static_cast<mp_bitcnt_t>(point));
        mpz_tdiv_r_2exp(fraction, product, static_cast<mp_bitcnt_t>(point));
        // The signed distance to the nearest integer, as a long double.
        int nearest = static_cast<int>(mpz_get_ui(whole));
        if (mpz_tstbit(fraction, static_cast<mp_bitcnt_t>(point - 1))) {
            ++nearest;
            mpz_set_ui(whole, 1);
            mpz_mul_2exp(whole, whole, static_cast<mp_bitcnt_t>(point));
            mpz_sub(fraction, fraction, whole);
        }
        const long size = static_cast<long>(mpz_sizeinbase(fraction, 2));
        mpz_t top;
        mpz_init(top);
        mpz_abs(top, fraction);
        const long shift = std::max(0L, size - 64);
        mpz_tdiv_q_2exp(top, top, static_cast<mp_bitcnt_t>(shift));
        long double distance =
            std::ldexp(static_cast<long double>(mpz_get_ui(top)), static_cast<int>(shift - point));
        if (mpz_sgn(fraction) < 0) distance = -distance;
        mpz_clear(top);
        const double log2Distance = static_cast<double>(std::log2(std::fabs(distance)));
        const bool large = y > 0x1p19f;
        double& closest = large ? out.closestLarge : out.closestSmall;
        if (y > 0.78539816f && log2Distance < closest) {  // not y itself, below pi / 4
            closest = log2Distance;
            (large ? out.closestLargeAt : out.closestSmallAt) = y;
        }
        if (exponent >= 20 && log2Distance < out.closestInBinade[exponent]) {
            out.closestInBinade[exponent] = log2Distance;
            out.closestInBinadeAt[exponent] = y;
        }
        // The kernel's reduction.
        const ccomplex_kernels::ReducedAngle<double> reduced =
            large ? ccomplex_kernels::reduceLargeAngle(y)
                  : ccomplex_kernels::reduceSmallAngle(static_cast<double>(y));
        const double r = reduced.r;
        const int kernelQuarters = reduced.quarters;
        const long double exact = distance * halfPi;
        const double error = static_cast<double>(
            std::log2(std::fabs((static_cast<long double>(r) - exact) / exact)));
        if (error > out.worstError) {
            out.worstError = error;
            out.worstAt = y;
        }
        out.wrongQuarters += ((kernelQuarters - nearest) & 3) != 0;
    }
    mpz_clears(product, fraction, whole, nullptr);
}

int checkReduction() {
    mpfr_t v;
    mpfr_init2(v, kBits + 64);
    mpfr_const_pi(v, MPFR_RNDN);
    mpfr_ui_div(v, 2, v, MPFR_RNDN);
    mpfr_mul_2ui(v, v, kBits, MPFR_RNDN);
    mpz_t twoOverPi;
    mpz_init(twoOverPi);
    mpfr_get_z(twoOverPi, v, MPFR_RNDD);  // 2/pi 2^kBits, truncated
    mpfr_clear(v);

    const std::uint32_t first = 0x00000001, last = 0x7f800000;  // every positive finite float
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::vector<Findings> findings(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        // Interleaved chunks, as the larger exponents cost more.
        workers.emplace_back([&, t] {
            constexpr std::uint32_t kChunk = 1 << 20;
            for (std::uint32_t start = first + t * kChunk; start < last;
                 start += threads * kChunk) {
                checkRange(start, std::min(last, start + kChunk), twoOverPi, findings[t]);
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    Findings all;
    for (const Findings& f : findings) {
        if (f.closestSmall < all.closestSmall) {
            all.closestSmall = f.closestSmall;
            all.closestSmallAt = f.closestSmallAt;
        }
        if (f.closestLarge < all.closestLarge) {
            all.closestLarge = f.closestLarge;
            all.closestLargeAt = f.closestLargeAt;
        }
        if (f.worstError > all.worstError) {
            all.worstError = f.worstError;
            all.worstAt = f.worstAt;
        }
        all.wrongQuarters += f.wrongQuarters;
        for (int e = 20; e <= 128; ++e) {
            if (f.closestInBinade[e] < all.closestInBinade[e]) {
                all.closestInBinade[e] = f.closestInBinade[e];
                all.closestInBinadeAt[e] = f.closestInBinadeAt[e];
            }
        }
    }
    mpz_clear(twoOverPi);
    std::printf("closest below 2^19: 2^%.2f quarter turns, at %a\n", all.closestSmall,
                static_cast<double>(all.closestSmallAt));
    std::printf("closest above 2^19: 2^%.2f quarter turns, at %a\n", all.closestLarge,
                static_cast<double>(all.closestLargeAt));
    std::printf("largest relative error of r: 2^%.2f, at %a\n", all.worstError,
                static_cast<double>(all.worstAt));
    std::printf("wrong quarter turns: %ld\n", all.wrongQuarters);
    std::printf("closest in each binade from 2^19 to 2^127:\n");
    for (int e = 20; e <= 128; ++e) {
        std::printf("%af,%s", static_cast<double>(all.closestInBinadeAt[e]),
                    e % 4 == 3 ? "\n" : " ");
    }
    return all.worstError < -51 && all.wrongQuarters == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "header") == 0) return printHeader();
    if (argc == 2 && std::strcmp(argv[1], "reduction") == 0) return checkReduction();
    std::fprintf(stderr, "usage: %s header | reduction\n", argv[0]);
    return 2;
}
