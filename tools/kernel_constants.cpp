// The constants of ccomplex_kernels.h, from MPFR, and an exhaustive check of
// its reduction of float angles by pi / 2.
//
//   g++ -std=c++17 -O2 -I. tools/kernel_constants.cpp -lmpfr -lgmp -pthread
//       -o build/kernel_constants
//   build/kernel_constants tables      the tables, as C++ initialisers
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
#include <thread>
#include <vector>

#include "ccomplex_kernels.h"

namespace {

// v as hi + lo, each rounded to nearest.
void printDoubleDouble(mpfr_srcptr v) {
    mpfr_t rest;
    mpfr_init2(rest, mpfr_get_prec(v));
    const double hi = mpfr_get_d(v, MPFR_RNDN);
    mpfr_sub_d(rest, v, hi, MPFR_RNDN);
    std::printf("{%a, %a}", hi, mpfr_get_d(rest, MPFR_RNDN));
    mpfr_clear(rest);
}

int printTables() {
    mpfr_t v, pi;
    mpfr_inits2(1000, v, pi, static_cast<mpfr_ptr>(nullptr));
    mpfr_const_pi(pi, MPFR_RNDN);

    // atan(j/8), pi/2 - atan(j/8), pi/2 + atan(j/8), pi - atan(j/8).
    std::printf("kOctantAngles:\n");
    for (int octant = 0; octant < 4; ++octant) {
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
            std::printf(j < 8 ? ", " : "\n");
        }
    }

    // ln 2 in 42 bits and the rest; ln 2 and pi / 2 as double-doubles.
    mpfr_t ln2, high;
    mpfr_init2(ln2, 1000);
    mpfr_init2(high, 42);
    mpfr_const_log2(ln2, MPFR_RNDN);
    mpfr_set(high, ln2, MPFR_RNDN);
    mpfr_sub(v, ln2, high, MPFR_RNDN);
    std::printf("kLn2Hi %a, kLn2Lo %a\nkLn2DD ", mpfr_get_d(high, MPFR_RNDN),
                mpfr_get_d(v, MPFR_RNDN));
    printDoubleDouble(ln2);
    mpfr_div_ui(v, pi, 2, MPFR_RNDN);
    std::printf("\nkHalfPiDD ");
    printDoubleDouble(v);

    // 2/pi in 32-bit words.
    std::printf("\nkTwoOverPiWords:");
    mpfr_ui_div(v, 2, pi, MPFR_RNDN);
    for (int j = 0; j < 8; ++j) {
        mpfr_mul_2ui(v, v, 32, MPFR_RNDN);
        mpfr_t word;
        mpfr_init2(word, 1000);
        mpfr_floor(word, v);
        std::printf(" 0x%08lx", mpfr_get_ui(word, MPFR_RNDN));
        mpfr_sub(v, v, word, MPFR_RNDN);
        mpfr_clear(word);
    }
    std::printf("\n");
    mpfr_clears(v, pi, ln2, high, static_cast<mpfr_ptr>(nullptr));
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
        int kernelQuarters;
        const double r = large ? ccomplex_kernels::reduceLargeAngle(y, kernelQuarters)
                               : ccomplex_kernels::reduceSmallAngle(y, kernelQuarters);
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
    if (argc == 2 && std::strcmp(argv[1], "tables") == 0) return printTables();
    if (argc == 2 && std::strcmp(argv[1], "reduction") == 0) return checkReduction();
    std::fprintf(stderr, "usage: %s tables | reduction\n", argv[0]);
    return 2;
}
