// The kernels' constants, each the nearest double (or double-double) to
// its value unless it says otherwise. Made by tools/kernel_constants.cpp,
// not by hand:
//   build/kernel_constants header | clang-format --assume-filename=ccomplex_kernel_constants.h
// CI makes it again and fails on any difference.
#ifndef CCOMPLEX_KERNEL_CONSTANTS_H
#define CCOMPLEX_KERNEL_CONSTANTS_H

#include <cstdint>

#include "ccomplex_double_double.h"

namespace ccomplex_kernels {

// ln 2, 1/ln 2 and 1/ln 10.
constexpr DoubleDouble kLn2DD{0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
// ln 2 in 42 bits, so that k times it is exact for |k| < 2^11, and the rest.
constexpr double kLn2Hi = 0x1.62e42fefa38p-1, kLn2Lo = 0x1.ef35793c7673p-45;
constexpr double kOneOverLn2 = 0x1.71547652b82fep+0;
constexpr DoubleDouble kLog10OfEDD{0x1.bcb7b1526e50ep-2, 0x1.95355baaafad3p-57};
constexpr double kLog10OfE = kLog10OfEDD.hi;
constexpr double kSqrt2 = 0x1.6a09e667f3bcdp+0;

// pi/2 and 2/pi.
constexpr DoubleDouble kHalfPiDD{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr double kHalfPi = kHalfPiDD.hi;
// pi/2 in parts of 33, 33, 53 and 53 bits, for the reduction of angles
// below 2^19: k times either of the first two is exact for k < 2^20.
constexpr double kHalfPiParts[4] = {0x1.921fb544p+0, 0x1.0b4611a6p-34, 0x1.3198a2e037073p-69,
                                    0x1.129024e088a68p-123};
constexpr DoubleDouble kTwoOverPiDD{0x1.45f306dc9c883p-1, -0x1.6b01ec5417056p-55};
constexpr double kTwoOverPi = kTwoOverPiDD.hi;
// 2/pi = the sum of kTwoOverPiWords[j] 2^(-32 (j + 1)): its first 320 bits,
// truncated.
constexpr std::uint32_t kTwoOverPiWords[10] = {0xa2f9836e, 0x4e441529, 0xfc2757d1, 0xf534ddc0,
                                               0xdb629599, 0x3c439041, 0xfe5163ab, 0xdebbc561,
                                               0xb7246e3a, 0x424dd2e0};

// The Taylor coefficients of sin r and cos r past their leading terms:
// sin r = r + r^3 (kSinTail[0] + r^2 kSinTail[1] + ...), -1/3!, 1/5!, ...,
// 1/17!; cos r = 1 - r^2/2 + r^4 (kCosTail[0] + ...), 1/4!, ..., -1/18!.
constexpr double kSinTail[8] = {
    -0x1.5555555555555p-3,  0x1.1111111111111p-7,  -0x1.a01a01a01a01ap-13, 0x1.71de3a556c734p-19,
    -0x1.ae64567f544e4p-26, 0x1.6124613a86d09p-33, -0x1.ae7f3e733b81fp-41, 0x1.952c77030ad4ap-49};
constexpr double kCosTail[8] = {
    0x1.5555555555555p-5,  -0x1.6c16c16c16c17p-10, 0x1.a01a01a01a01ap-16, -0x1.27e4fb7789f5cp-22,
    0x1.1eed8eff8d898p-29, -0x1.93974a8c07c9dp-37, 0x1.ae7f3e733b81fp-45, -0x1.6827863b97d97p-53};

// atan(j/8), pi/2 - atan(j/8), pi/2 + atan(j/8) and pi - atan(j/8) for
// j = 0 to 8: the angles of the octants' table entries.
constexpr DoubleDouble kOctantAngles[4][9] = {
    {{0x0p+0, 0x0p+0},
     {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
     {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
     {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
     {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
     {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
     {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
     {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
     {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55}},
    {{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54},
     {0x1.7249faa996a21p+0, 0x1.a8cc1e7480c68p-54},
     {0x1.5368c951e9cfdp+0, -0x1.96f47948a99f1p-54},
     {0x1.3647503caf55cp+0, 0x1.17e21d9a42c9ap-55},
     {0x1.1b6e192ebbe44p+0, 0x1.b1b466a88828ep-54},
     {0x1.031f57e54adbep+0, 0x1.338b4259c027p-54},
     {0x1.dac670561bb4fp-1, 0x1.a2b7f222f65e2p-55},
     {0x1.b434ee31013fdp-1, -0x1.0520d0701d877p-55},
     {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55}},
    {{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54},
     {0x1.b1f56fdeef00fp+0, 0x1.17f14fdc1574cp-55},
     {0x1.d0d6a1369bd34p+0, -0x1.a23602a65700cp-57},
     {0x1.edf81a4bd64d4p+0, 0x1.a8d3b7956a1c1p-54},
     {0x1.0468a8ace4df6p+1, 0x1.0620bf7406affp-55},
     {0x1.109009519d639p+1, 0x1.01398408cb59ep-54},
     {0x1.1b6e192ebbe44p+1, 0x1.b1b466a88828ep-53},
     {0x1.251279b802819p+1, 0x1.6eaa5d3534893p-55},
     {0x1.2d97c7f3321d2p+1, 0x1.a79394c9e8a0ap-54}},
    {{0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53},
     {0x1.8234d7f6ecb9dp+1, -0x1.3cd17e5a39792p-54},
     {0x1.72c43f4b1650ap+1, 0x1.c1b6f4f44e10bp-53},
     {0x1.643382c07913ap+1, 0x1.a65371fe67254p-54},
     {0x1.56c6e7397f5aep+1, 0x1.660b64ece6f4bp-53},
     {0x1.4a9f8694c6d6bp+1, 0x1.26f6d2c582f3bp-53},
     {0x1.3fc176b7a856p+1, -0x1.441a3bd3f1083p-58},
     {0x1.361d162e61b8bp+1, 0x1.4be8fd7c9b7e6p-53},
     {0x1.2d97c7f3321d2p+1, 0x1.a79394c9e8a0ap-54}},
};

}  // namespace ccomplex_kernels

#endif  // CCOMPLEX_KERNEL_CONSTANTS_H
