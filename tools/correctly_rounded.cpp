// Correctly rounded results of CComplex's operations and functions, from MPC:
// the table the test suite checks bit for bit, and a measurement of the
// library's errors.
//
//   g++ -std=c++17 -O2 -I. tools/correctly_rounded.cpp ccomplex.cpp
//       ccomplex_elementary.cpp -lmpc -lmpfr -lgmp -o build/correctly_rounded
//   build/correctly_rounded table > tests/correctly_rounded.txt
//   build/correctly_rounded careful PER_CLASS   (the careful paths' rows alone)
//   build/correctly_rounded measure FORM COUNT    (FORM: a name in kForms, as pow(z,x))
//   build/correctly_rounded operands FORM COUNT   (the operands measure draws)
//   build/correctly_rounded families RADIUS tests/correctly_rounded.txt
//       (the quotient, magnitude, norm, angle, polar form and pow(z, x) on
//       every z within RADIUS floats, in each part, of the table's rows)
//
// It needs libmpc-dev; the suite reads only the table. Each table line is a
// function's name, its operands and the two parts of its result, all as
// hexadecimal bit patterns (an int exponent as its 32 bits):
//   pow(z,x) bf800000 00800000 3f000000 1f800000 3f800000
// A result is written only when MPC's results rounded toward -inf and toward
// +inf, at up to 4096 bits, round to the same float: then that float is the
// correctly rounded part. Operand sets whose part is an exact zero (whose
// sign is a convention, checked elsewhere) are left out.
#include <mpc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "../tests/float_bits.h"
#include "ccomplex.h"
#include "ccomplex_double_kernels.h"
#include "mpc_bracket.h"

namespace {

// An operand set: z (or the float x as z's real part), and the exponent as a
// complex w (a float exponent as w's real part, an int one as n).
struct Operands {
    CComplex z, w;
    int n = 0;
};

// MPC's function of one complex operand, or none for a power.
using MpcFunction = int (*)(mpc_ptr, mpc_srcptr, mpc_rnd_t);
// An operation's exact result, rounded to the result's precision as asked.
using MpcOperation = void (*)(mpc_ptr, const Operands&, mpc_rnd_t);

struct Form {
    const char* name;
    std::function<CComplex(const Operands&)> library;
    std::function<std::vector<std::uint32_t>(const Operands&)> operandBits;
    MpcFunction mpcFunction = nullptr;
    MpcOperation mpcOperation = nullptr;
    bool realResult = false;  // its imaginary part is always +0
    // Whether the library promises correct rounding only away from a tie: the
    // product, rounded once in double and then to float, can miss a tie's
    // side when its exact value lies within 2^-28 ulp of one.
    bool roundedThroughDouble = false;
};

std::vector<std::uint32_t> bitsOfZ(const Operands& o) {
    return {bitsOf(o.z.real), bitsOf(o.z.imag)};
}

std::vector<std::uint32_t> bitsOfZW(const Operands& o) {
    return {bitsOf(o.z.real), bitsOf(o.z.imag), bitsOf(o.w.real), bitsOf(o.w.imag)};
}

// z and w in MPC, exactly, for an operation on them.
struct ExactOperands {
    explicit ExactOperands(const Operands& o) {
        mpc_init2(z, 32);
        mpc_init2(w, 32);
        mpc_set_d_d(z, static_cast<double>(o.z.real), static_cast<double>(o.z.imag), MPC_RNDNN);
        mpc_set_d_d(w, static_cast<double>(o.w.real), static_cast<double>(o.w.imag), MPC_RNDNN);
    }
    ~ExactOperands() {
        mpc_clear(z);
        mpc_clear(w);
    }
    mpc_t z, w;
};

// MPC's z op w, for an operation of two complex operands.
template <int (*operation)(mpc_ptr, mpc_srcptr, mpc_srcptr, mpc_rnd_t)>
void exactOfTwo(mpc_ptr result, const Operands& o, mpc_rnd_t rounding) {
    const ExactOperands exact(o);
    operation(result, exact.z, exact.w, rounding);
}

// MPC's real-valued function of z, as the real part of a result whose
// imaginary part is +0.
template <int (*function)(mpfr_ptr, mpc_srcptr, mpfr_rnd_t)>
void exactRealOf(mpc_ptr result, const Operands& o, mpc_rnd_t rounding) {
    const ExactOperands exact(o);
    function(mpc_realref(result), exact.z, MPC_RND_RE(rounding));
    mpfr_set_zero(mpc_imagref(result), 1);
}

// magnitude z.real at angle z.imag: cos and sin to nearest, each product
// within 1.5 ulps of the result's precision, then moved four steps the way
// the rounding asks (a step is half an ulp just below a power of two), which
// brackets the exact value.
void exactPolar(mpc_ptr result, const Operands& o, mpc_rnd_t rounding) {
    mpfr_t angle, magnitude;
    mpfr_init2(angle, 32);
    mpfr_init2(magnitude, 32);
    mpfr_set_flt(angle, o.z.imag, MPFR_RNDN);
    mpfr_set_flt(magnitude, o.z.real, MPFR_RNDN);
    mpfr_sin_cos(mpc_imagref(result), mpc_realref(result), angle, MPFR_RNDN);
    for (mpfr_ptr part : {mpc_realref(result), mpc_imagref(result)}) {
        mpfr_mul(part, part, magnitude, MPFR_RNDN);
        for (int step = 0; step < 4 && !mpfr_zero_p(part); ++step) {
            if (MPC_RND_RE(rounding) == MPFR_RNDD)
                mpfr_nextbelow(part);
            else
                mpfr_nextabove(part);
        }
    }
    mpfr_clear(angle);
    mpfr_clear(magnitude);
}

// A function of z alone: this type's and MPC's.
#define CCOMPLEX_UNARY_FORM(name)                                               \
    {                                                                           \
#name, [](const Operands& o) { return name(o.z); }, bitsOfZ, mpc_##name \
    }

const Form kForms[] = {
    {"pow(z,n)", [](const Operands& o) { return pow(o.z, o.n); },
     [](const Operands& o) {
         return std::vector<std::uint32_t>{bitsOf(o.z.real), bitsOf(o.z.imag),
                                           static_cast<std::uint32_t>(o.n)};
     }},
    {"pow(z,x)", [](const Operands& o) { return pow(o.z, o.w.real); },
     [](const Operands& o) {
         return std::vector<std::uint32_t>{bitsOf(o.z.real), bitsOf(o.z.imag), bitsOf(o.w.real)};
     }},
    {"pow(z,w)", [](const Operands& o) { return pow(o.z, o.w); },
     [](const Operands& o) {
         return std::vector<std::uint32_t>{bitsOf(o.z.real), bitsOf(o.z.imag), bitsOf(o.w.real),
                                           bitsOf(o.w.imag)};
     }},
    {"pow(x,w)", [](const Operands& o) { return pow(o.z.real, o.w); },
     [](const Operands& o) {
         return std::vector<std::uint32_t>{bitsOf(o.z.real), bitsOf(o.w.real), bitsOf(o.w.imag)};
     }},
    CCOMPLEX_UNARY_FORM(exp),
    CCOMPLEX_UNARY_FORM(log),
    CCOMPLEX_UNARY_FORM(log10),
    CCOMPLEX_UNARY_FORM(sqrt),
    CCOMPLEX_UNARY_FORM(sin),
    CCOMPLEX_UNARY_FORM(cos),
    CCOMPLEX_UNARY_FORM(tan),
    CCOMPLEX_UNARY_FORM(sinh),
    CCOMPLEX_UNARY_FORM(cosh),
    CCOMPLEX_UNARY_FORM(tanh),
    CCOMPLEX_UNARY_FORM(asin),
    CCOMPLEX_UNARY_FORM(acos),
    CCOMPLEX_UNARY_FORM(atan),
    CCOMPLEX_UNARY_FORM(asinh),
    CCOMPLEX_UNARY_FORM(acosh),
    CCOMPLEX_UNARY_FORM(atanh),
    {"z*w", [](const Operands& o) { return o.z * o.w; }, bitsOfZW, nullptr, exactOfTwo<mpc_mul>,
     false, true},
    {"z/w", [](const Operands& o) { return o.z / o.w; }, bitsOfZW, nullptr, exactOfTwo<mpc_div>},
    {"mag", [](const Operands& o) { return CComplex(o.z.mag()); }, bitsOfZ, nullptr,
     exactRealOf<mpc_abs>, true},
    {"ang", [](const Operands& o) { return CComplex(o.z.ang()); }, bitsOfZ, nullptr,
     exactRealOf<mpc_arg>, true},
    {"norm", [](const Operands& o) { return CComplex(norm(o.z)); }, bitsOfZ, nullptr,
     exactRealOf<mpc_norm>, true},
    {"polar", [](const Operands& o) { return CComplex::polar(o.z.real, o.z.imag); }, bitsOfZ,
     nullptr, exactPolar},
};

bool isPower(const Form& form) {
    return form.mpcFunction == nullptr && form.mpcOperation == nullptr;
}

// Whether the form's angle b = Im(w log z) must be at most 2^40: the powers
// through exp and log.
bool boundsItsAngle(const Form& form) {
    return isPower(form) && std::strcmp(form.name, "pow(z,n)") != 0;
}

// The form's result in MPC at `precision` bits, rounded as `rounding` asks.
// The operands are exact; an int exponent is an exact real w.
void exactResult(mpc_t result, const Form& form, const Operands& o, mpfr_prec_t precision,
                 mpc_rnd_t rounding) {
    mpc_set_prec(result, precision);
    if (form.mpcOperation != nullptr) {
        form.mpcOperation(result, o, rounding);
        return;
    }
    if (!isPower(form)) {
        mpc_t z;
        mpc_init2(z, 32);
        mpc_set_d_d(z, static_cast<double>(o.z.real), static_cast<double>(o.z.imag), MPC_RNDNN);
        form.mpcFunction(result, z, rounding);
        mpc_clear(z);
        return;
    }
    mpc_t z, w;
    mpc_init2(z, 32);
    mpc_init2(w, 32);
    const bool realBase = std::strcmp(form.name, "pow(x,w)") == 0;
    mpc_set_d_d(z, static_cast<double>(o.z.real), realBase ? 0.0 : static_cast<double>(o.z.imag),
                MPC_RNDNN);
    if (std::strcmp(form.name, "pow(z,n)") == 0) {
        mpc_set_si(w, o.n, MPC_RNDNN);
    } else {
        const bool realExponent = std::strcmp(form.name, "pow(z,x)") == 0;
        mpc_set_d_d(w, static_cast<double>(o.w.real),
                    realExponent ? 0.0 : static_cast<double>(o.w.imag), MPC_RNDNN);
    }
    mpc_pow(result, z, w, rounding);
    mpc_clear(z);
    mpc_clear(w);
}

// Whether `exact` lies within 2^-20 ulp of a float tie (halfway between two
// floats), the ulp being that of its float binade.
bool nearTie(mpfr_srcptr exact) {
    if (mpfr_zero_p(exact) || !mpfr_number_p(exact)) return false;
    mpfr_t ulps;
    mpfr_init2(ulps, mpfr_get_prec(exact) + 64);
    const long binade = std::max<long>(mpfr_get_exp(exact) - 1, -126);
    mpfr_mul_2si(ulps, exact, 23 - binade, MPFR_RNDN);  // exact
    mpfr_abs(ulps, ulps, MPFR_RNDN);
    mpfr_frac(ulps, ulps, MPFR_RNDN);
    mpfr_sub_d(ulps, ulps, 0.5, MPFR_RNDN);
    mpfr_abs(ulps, ulps, MPFR_RNDN);
    const bool near = mpfr_cmp_d(ulps, 0x1p-20) < 0;
    mpfr_clear(ulps);
    return near;
}

// The correctly rounded parts, or false where 4096 bits do not settle them, a
// part is an exact zero, or a part of a result rounded through double lies
// next to a tie.
bool correctlyRounded(const Form& form, const Operands& o, float& re, float& im) {
    MpcBracket bracket;
    const auto evaluate = [&](mpc_t result, mpfr_prec_t precision, mpc_rnd_t rounding) {
        exactResult(result, form, o, precision, rounding);
    };
    const bool settled = bracket.settle(evaluate, 4096, re, im);
    const auto isZero = [&](mpc_srcptr v) {
        return mpfr_zero_p(mpc_realref(v)) || (!form.realResult && mpfr_zero_p(mpc_imagref(v)));
    };
    const bool exactZero = isZero(bracket.low) || isZero(bracket.high);
    const bool nearATie = form.roundedThroughDouble &&
                          (nearTie(mpc_realref(bracket.low)) || nearTie(mpc_imagref(bracket.low)));
    return settled && !exactZero && !nearATie;
}

// How many float ulps `got` lies from `exact`, the ulp being that of the
// float binade of `exact` (2^-149 below 2^-126). An infinity counts as exact
// where `exact` lies beyond FLT_MAX with its sign; a NaN as infinitely far.
double ulpError(float got, const mpfr_t exact) {
    if (std::isnan(got)) return HUGE_VAL;
    mpfr_t difference;
    mpfr_init2(difference, 512);
    double error;
    if (std::isinf(got)) {
        mpfr_set_flt(difference, 0x1.fffffep127f, MPFR_RNDN);
        const bool beyond = (got > 0 && mpfr_greater_p(exact, difference)) ||
                            (got < 0 && mpfr_cmp_d(exact, -0x1.fffffep127) < 0);
        error = beyond ? 0 : HUGE_VAL;
    } else {
        const long binade =
            mpfr_zero_p(exact) ? -126 : std::max<long>(mpfr_get_exp(exact) - 1, -126);
        mpfr_sub_d(difference, exact, static_cast<double>(got), MPFR_RNDN);
        mpfr_mul_2si(difference, difference, 23 - binade, MPFR_RNDN);
        error = std::fabs(mpfr_get_d(difference, MPFR_RNDN));
    }
    mpfr_clear(difference);
    return error;
}

// |Im(w log z)|, in double.
double angleMagnitude(const Form& form, const Operands& o) {
    mpc_t z, w;
    mpc_init2(z, 128);
    mpc_init2(w, 128);
    const bool realBase = std::strcmp(form.name, "pow(x,w)") == 0;
    const bool realExponent = std::strcmp(form.name, "pow(z,x)") == 0;
    mpc_set_d_d(z, static_cast<double>(o.z.real), realBase ? 0.0 : static_cast<double>(o.z.imag),
                MPC_RNDNN);
    mpc_set_d_d(w, static_cast<double>(o.w.real),
                realExponent ? 0.0 : static_cast<double>(o.w.imag), MPC_RNDNN);
    mpc_log(z, z, MPC_RNDNN);
    mpc_mul(z, z, w, MPC_RNDNN);
    const double b = std::fabs(mpfr_get_d(mpc_imagref(z), MPFR_RNDN));
    mpc_clear(z);
    mpc_clear(w);
    return b;
}

// ---------------------------------------------------------------- operands

class OperandSource {
public:
    explicit OperandSource(std::uint64_t seed) : engine_(seed) {}

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(engine_);
    }
    int integer(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }
    float sign() { return engine_() & 1 ? -1.0f : 1.0f; }

    // Any finite float, from its bits.
    float anyFloat() {
        const float f = fromBits(static_cast<std::uint32_t>(engine_()));
        return std::isfinite(f) ? f : 0.0f;
    }

    // A float of magnitude near 2^low to 2^high, subnormals included.
    float scaled(int low, int high) {
        return static_cast<float>(sign() * std::ldexp(uniform(1, 2), integer(low, high)));
    }

    // z in one of the hard classes, by number.
    CComplex base(int kind) {
        switch (kind) {
            case 0:  // random bit patterns
                return {anyFloat(), anyFloat()};
            case 1:  // ordinary values
                return {static_cast<float>(uniform(-10, 10)), static_cast<float>(uniform(-10, 10))};
            case 2: {  // near an axis or the cut: one part tiny beside the other
                const float big = scaled(-20, 20), tiny = big * scaled(-160, -10);
                return engine_() & 1 ? CComplex(big, tiny) : CComplex(tiny, big);
            }
            case 3: {  // near |z| = 1, at any angle or near an axis
                const double r = 1 + sign() * std::ldexp(uniform(1, 2), integer(-60, -2));
                const double t = engine_() % 3 ? uniform(-M_PI, M_PI)
                                               : integer(-2, 2) * M_PI / 2 +
                                                     std::ldexp(uniform(-1, 1), integer(-60, -5));
                return {static_cast<float>(r * std::cos(t)), static_cast<float>(r * std::sin(t))};
            }
            default:  // huge and tiny magnitudes
                return {scaled(-149, 127), scaled(-149, 127)};
        }
    }

    // A float exponent: ordinary, a half-integer, or large with a fraction.
    float realExponent() {
        switch (engine_() % 4) {
            case 0:
                return static_cast<float>(uniform(-4, 4));
            case 1:
                return static_cast<float>(integer(-8, 8)) + 0.5f;
            case 2:
                return static_cast<float>(std::trunc(uniform(-4, 4) * 0x1p17) + 0.25);
            default:
                return static_cast<float>(uniform(-0.1, 0.1));
        }
    }

    // A complex exponent: ordinary, or with an imaginary part up to 2^40.
    CComplex complexExponent() {
        if (engine_() % 4 == 0) return {static_cast<float>(uniform(-3, 3)), scaled(10, 40)};
        return {static_cast<float>(uniform(-3, 3)), static_cast<float>(uniform(-3, 3))};
    }

    // Moves the exponent so that b = Im(w log z) lands on a multiple of
    // pi / 2 but for the float rounding of the exponent: a part of z^w is
    // then about 2^-24 of |z^w|, or less.
    void nearQuarterTurn(Operands& o, bool complexExponent) {
        const double x = o.z.real, y = o.z.imag;
        const double lnMagnitude = std::log(std::hypot(x, y)), angle = std::atan2(y, x);
        const double target = integer(-40, 40) * M_PI / 2;
        if (complexExponent && lnMagnitude != 0) {
            o.w.imag = static_cast<float>((target - o.w.real * angle) / lnMagnitude);
        } else if (angle != 0) {
            o.w.real = static_cast<float>((target - o.w.imag * lnMagnitude) / angle);
        }
    }

    // w for z * w or z / w: half the time one that makes a part of the
    // result cancel, but for the rounding of w's parts.
    CComplex partner(const CComplex& z) {
        const float t = scaled(-20, 20);
        CComplex w;
        switch (engine_() % 8) {
            case 0:  // zr wr - zi wi cancels
                w = {t * z.imag, t * z.real};
                break;
            case 1:  // zr wi + zi wr cancels
                w = {t * z.real, -t * z.imag};
                break;
            case 2:  // zr wr + zi wi, the quotient's real numerator, cancels
                w = {-t * z.imag, t * z.real};
                break;
            case 3:  // zi wr - zr wi, the quotient's imaginary numerator, cancels
                w = {t * z.real, t * z.imag};
                break;
            default:
                w = base(integer(0, 4));
        }
        const bool usable = std::isfinite(w.real) && std::isfinite(w.imag) && w != 0;
        return usable ? w : base(1);
    }

    // A magnitude and an angle: ordinary, near a multiple of pi/2, or any.
    CComplex magnitudeAndAngle(int kind) {
        const float magnitude = kind % 2 ? static_cast<float>(uniform(0, 10)) : scaled(-149, 127);
        switch (kind % 3) {
            case 0:
                return {magnitude, static_cast<float>(uniform(-10, 10))};
            case 1:
                return {magnitude, static_cast<float>(integer(-100000, 100000) * M_PI / 2)};
            default:
                return {magnitude, anyFloat()};
        }
    }

    Operands operands(const Form& form, int i) {
        Operands o;
        const int kind = i % 6;
        if (form.mpcOperation != nullptr) {
            o.z = std::strcmp(form.name, "polar") == 0 ? magnitudeAndAngle(i) : base(kind % 5);
            o.w = partner(o.z);
            return o;
        }
        // A function of z alone: random bit patterns, huge and tiny values take
        // MPC minutes each in some, so those take ordinary, near-axis and
        // near-unit-circle values only.
        o.z = base(kind == 5 || (!isPower(form) && kind % 4 == 0) ? 1 : kind);
        if (std::strcmp(form.name, "pow(x,w)") == 0) o.z.imag = 0;
        if (std::strcmp(form.name, "pow(z,n)") == 0) {
            const int small[] = {2, 3, 5, 7, -1, -2, -5, 12, 25, -37};
            o.n = i % 3 ? small[i / 6 % 10] : integer(-100000, 100000);
        } else if (std::strcmp(form.name, "pow(z,x)") == 0) {
            o.w = CComplex(realExponent());
        } else {
            o.w = complexExponent();
        }
        if (kind == 5) nearQuarterTurn(o, std::strcmp(form.name, "pow(z,x)") != 0);
        if (o.z == 0) o.z = CComplex(1, 1);
        return o;
    }

private:
    std::mt19937_64 engine_;
};

// ---------------------------------------------------------------- the modes

// Powers that were misrounded once, by many ulps: near the cut, near the
// imaginary axis with |b| near 2^37, and near -1; and some near a tie.
const struct {
    int form;
    Operands operands;
} kKnownCases[] = {
    {1, {{-0x1.7e9476p-59f, 0x1.b4b1cp-123f}, {0.5f}}},
    {1, {{-0x1.000002p0f, 0x1.0a3d7p-101f}, {0.5f}}},
    {2, {{-1, -0x1.51p-58f}, {1.5f, 0.5f}}},
    {3, {{2}, {-0x1.e89ec8p+3f, -0x1.3cb558p+37f}}},
    // 259^3 = 17373979 lies halfway between two floats; the real part lies
    // 2^-50 below it, and rounds down, where a tie would round up.
    {3, {{67081}, {1.5f, 0x1p-40f}}},
    // A part next to x y, an exact product halfway between two floats, off
    // it by a relative y^2: (-1 + jy)^2.5, (1 + jy)^-3.5, (4 + jy)^1.5.
    {1, {{-1, 0x1.1a6264p-53f}, {2.5f}}},
    {1, {{1, -0x1.1ab7bcp-55f}, {-3.5f}}},
    {1, {{4, 0x1.000002p-60f}, {1.5f}}},
    // The hardest-to-round arguments of sin y and cos y, through exp(jy),
    // sin, cos, sinh(jy) and cosh(jy); of ln x, log10 x and sinh x; and of
    // atan x, through atan(x) and atanh(jx): each exact value lies closer to
    // a tie than the double kernels' bounds.
    {4, {{0, 0x1.33333p+13f}}},
    {8, {{0x1.33333p+13f, 0}}},
    {11, {{0, 0x1.33333p+13f}}},
    {4, {{0, 0x1.3170fp+63f}}},
    {9, {{0x1.3170fp+63f, 0}}},
    {12, {{0, 0x1.3170fp+63f}}},
    {4, {{0, 0x1.2b9622p+67f}}},
    {9, {{0x1.2b9622p+67f, 0}}},
    {12, {{0, 0x1.2b9622p+67f}}},
    {5, {{0x1.2f1fd6p+3f, 0}}},
    {5, {{0, 0x1.827a74p-7f}}},
    {5, {{0x1.bacb4ap+25f, 0}}},
    {5, {{0, 0x1.b121a6p+76f}}},
    {5, {{0x1.6351d8p+95f, 0}}},
    {6, {{0x1.fddcf4p-98f, 0}}},
    {6, {{0, 0x1.9a99dp-107f}}},
    {6, {{0x1.292424p-33f, 0}}},
    {11, {{0x1.250bfep-11f, 0}}},
    {16, {{0x1.1ad646p-4f, 0}}},
    {19, {{0, 0x1.1ad646p-4f}}},
};

// Whether each part of a power whose angle b exceeds 2^40, where the library
// promises each part within 2^-100 |b| |z^w| of its exact value, lies far
// enough from every float tie that the promise makes it correctly rounded.
bool promisedBeyondTwoTo40(const Form& form, const Operands& o, double b) {
    mpc_t exact;
    mpc_init2(exact, 256);
    exactResult(exact, form, o, 256, MPC_RNDNN);
    mpfr_t size, distance;
    mpfr_inits2(256, size, distance, static_cast<mpfr_ptr>(nullptr));
    mpc_abs(size, exact, MPFR_RNDN);
    mpfr_mul_d(size, size, b * 0x1p-96, MPFR_RNDN);  // the promise, with room
    bool far = true;
    for (mpfr_ptr part : {mpc_realref(exact), mpc_imagref(exact)}) {
        // The distance to the nearest tie: |part - tie| for the tie of part's binade.
        const long binade = std::max<long>(mpfr_get_exp(part) - 1, -126);
        mpfr_mul_2si(distance, part, 23 - binade, MPFR_RNDN);
        mpfr_abs(distance, distance, MPFR_RNDN);
        mpfr_frac(distance, distance, MPFR_RNDN);
        mpfr_sub_d(distance, distance, 0.5, MPFR_RNDN);
        mpfr_abs(distance, distance, MPFR_RNDN);
        mpfr_mul_2si(distance, distance, binade - 23, MPFR_RNDN);
        far = far && !mpfr_zero_p(part) && mpfr_greater_p(distance, size);
    }
    mpfr_clears(size, distance, static_cast<mpfr_ptr>(nullptr));
    mpc_clear(exact);
    return far;
}

bool writeLine(const Form& form, const Operands& o, bool beyondTwoTo40 = false) {
    float re, im;
    if (boundsItsAngle(form)) {
        const double b = angleMagnitude(form, o);
        if (b > 0x1p40 && !(beyondTwoTo40 && promisedBeyondTwoTo40(form, o, b))) return false;
    }
    if (!correctlyRounded(form, o, re, im)) return false;
    std::printf("%s", form.name);
    for (const std::uint32_t bits : form.operandBits(o)) std::printf(" %08x", bits);
    std::printf(" %08x %08x\n", bitsOf(re), bitsOf(im));
    return true;
}

const Form& formNamed(const char* name) {
    for (const Form& form : kForms) {
        if (std::strcmp(form.name, name) == 0) return form;
    }
    std::abort();
}

// ---------------------------------------------------------------- kernel edges
//
// Rows where the double kernels change form, drawn after the
// per-form rows with a seed of their own.

// A float angle from 2^19 to 2^127, where cos and sin reduce by 2/pi's bits:
// any, or (every other one) within 2^-20 radians of a multiple of pi / 2,
// found by trying angles with the library's own reduction.
float largeAngle(OperandSource& source, int i) {
    for (;;) {
        const float y = source.scaled(19, 127);
        if (i % 2 == 0 || std::fabs(ccomplex_kernels::reduceLargeAngle(y).r) < 0x1p-20) return y;
    }
}

// z for `form` near an edge of the kernel it leans on most, by class.
CComplex kernelEdge(OperandSource& source, const Form& form, int i) {
    const float ordinary = static_cast<float>(source.uniform(-10, 10));
    const float nearly = static_cast<float>(
        1 + source.sign() * std::ldexp(source.uniform(1, 2), source.integer(-40, -10)));
    const std::string name = form.name;
    if (name == "sin" || name == "cos" || name == "tan") return {largeAngle(source, i), ordinary};
    if (name == "polar") return {std::fabs(ordinary), largeAngle(source, i)};
    if (name == "ang") {
        // Every third: an angle within 2^-52 of a tie between two floats,
        // inside the margin of 2^-50 within which ang() computes again in
        // double-double, and close enough that a smaller margin would let
        // the double kernel's own error round it. Else ratios of the
        // parts near j / 16, where atan's table switches entries: q = j/16
        // (1 + tiny), in each octant.
        while (i % 3 == 0) {
            const CComplex z(source.sign() * source.scaled(-10, 10),
                             source.sign() * source.scaled(-10, 10));
            const double a = ccomplex_kernels::atan2Of(z.imag, z.real),
                         margin = std::fabs(a) * 0x1p-52;
            if (static_cast<float>(a - margin) != static_cast<float>(a + margin)) return z;
        }
        const float x = source.scaled(-20, 20), j = static_cast<float>(source.integer(1, 16));
        CComplex z(x, x * j / 16 * nearly);
        if (i % 2) std::swap(z.real, z.imag);
        return {source.sign() * z.real, source.sign() * z.imag};
    }
    if (name == "log") {
        // |z|^2 next to 1/2 and 2, where ln|z| switches between ln and
        // ln(1 + x), and next to sqrt(1/2) and sqrt(2), where ln(1 + x)
        // switches between its reduced argument and ln of 1 + x.
        const double edges[] = {0.5, 2, std::sqrt(0.5), std::sqrt(2.0)};
        const double r = std::sqrt(edges[i % 4] * nearly), t = source.uniform(-M_PI, M_PI);
        return {static_cast<float>(r * std::cos(t)), static_cast<float>(r * std::sin(t))};
    }
    // exp, sinh, cosh, tanh: a large angle; or a real part next to +-1/2,
    // where sinh and cosh switch from their series to e^x, or next to the
    // overflow of e^x and its underflow to subnormals and zero.
    switch (i % 3) {
        case 0:
            return {ordinary, largeAngle(source, i / 3)};
        case 1:
            return {source.sign() * 0.5f * nearly, ordinary};
        default: {
            const float edges[] = {88.72f, 89.41f, -87.34f, -103.28f, -104.0f};
            return {edges[i / 3 % 5] * nearly, ordinary};
        }
    }
}

void writeKernelEdges(int perForm) {
    OperandSource source(20261211);
    for (const char* name :
         {"exp", "sinh", "cosh", "tanh", "sin", "cos", "tan", "polar", "ang", "log"}) {
        const Form& form = formNamed(name);
        for (int i = 0, written = 0; written < perForm; ++i) {
            Operands o;
            o.z = kernelEdge(source, form, i);
            written += writeLine(form, o);
        }
    }
}

// ---------------------------------------------------------------- careful paths
//
// Rows for each step of the powers' careful evaluations, each class beside the
// step it needs; breaking the step makes rows of its class fail.

// A float drawn uniformly from [low, high).
float between(OperandSource& source, double low, double high) {
    return static_cast<float>(source.uniform(low, high));
}

// z^w for a complex w, z^n, or z^x, by class.
struct CarefulClass {
    const char* form;
    const char* step;  // what it guards, for the reader of the generator
    Operands (*operands)(OperandSource&, int);
    bool beyondTwoTo40 = false;
};

const CarefulClass kCarefulClasses[] = {
    // quarterTurnsOfExponent: wr q is exact below 2^25, whole turns above; a
    // float in [2^24, 2^25) is an even integer, and wr q for an odd q (z
    // nearer the imaginary axis) a half turn when wr = 2 mod 4. Exponents
    // from 2^23 to 2^26, |z| within 2^-20 of 1 so that |z^w| stays finite.
    {"pow(z,w)", "the quarter-turn split at 2^24 and 2^25",
     [](OperandSource& s, int) {
         Operands o;
         const double t = s.sign() * (M_PI / 2 + s.uniform(-0.7, 0.7));
         const double r = 1 + std::ldexp(s.uniform(-1, 1), -20 - s.integer(0, 10));
         o.z = {static_cast<float>(r * std::cos(t)), static_cast<float>(r * std::sin(t))};
         o.w = {s.sign() * std::ldexp(between(s, 1, 2), s.integer(23, 25)), between(s, -2, 2)};
         return o;
     }},
    // fastPower's escape beyond |R| = 2^50, and carefulPower's whole quarter
    // turns of r.lo, which appear beyond |b| = 2^53: angles b = wi ln x from
    // 2^50 to 2^60 of a positive base, whose e^a stays finite, written where
    // the promise for |b| beyond 2^40 makes each part correctly rounded.
    {"pow(x,w)", "|b| beyond 2^50 and beyond 2^53",
     [](OperandSource& s, int i) {
         Operands o;
         o.z = {between(s, 0.1, 10)};
         const double b = std::ldexp(s.uniform(1, 2), 50 + i % 11) * s.sign();
         o.w = {between(s, -3, 3), static_cast<float>(b / std::log(double{o.z.real}))};
         return o;
     },
     true},
    // carefulPower's k, the floor of (e + 1) / 2 for |z|^2 = 2^e s: where k
    // were truncated, z = -4^-i + jy (e = -4i, even) would keep the y^2 term
    // of ln|z| below the noise of ln 2's multiple, and the real part of z^2.5,
    // 2.5 y 2^(-3i) (1 - ...), is a float tie but for that term: y = 2 M 2^t
    // with M odd, 5M a 25-bit integer, and 4^i y from 2^-59 to 2^-49. Every
    // other row has an odd e, |z|^2 in [1/8, 1/4).
    {"pow(z,x)", "|z|^2 below 1/2 with even and odd exponents",
     [](OperandSource& s, int i) {
         Operands o;
         if (i % 2) {
             o.z = {-between(s, 0.36, 0.49), std::ldexp(between(s, 1, 2), -s.integer(20, 60))};
         } else {
             const int quarters = s.integer(1, 3);
             const float m = static_cast<float>(2 * s.integer(1677722, 3355442) + 1);
             o.z = {-std::ldexp(1.0f, -2 * quarters),
                    std::ldexp(2 * m, -2 * quarters - 23 - s.integer(50, 60))};
         }
         o.w = {2.5f};
         return o;
     }},
    // carefulPower's whole e^a: |z| near 2^64 and beyond, and wr k beyond
    // 2^30, where twos ln 2 and the rest of a cancel to an ordinary a.
    {"pow(z,w)", "parts that cancel against a large power-of-two part",
     [](OperandSource& s, int) {
         Operands o;
         const double t = s.uniform(0.5, 3) * s.sign(),
                      r = std::ldexp(s.uniform(1, 2), s.integer(60, 120));
         o.z = {static_cast<float>(r * std::cos(t)), static_cast<float>(r * std::sin(t))};
         const float wr = s.sign() * std::ldexp(between(s, 1, 2), s.integer(24, 26));
         const double ln = std::log(r), a = s.uniform(-60, 60);
         o.w = {wr, static_cast<float>((wr * ln - a) / t)};
         return o;
     }},
    // The integer powers' double-double, rounded once: Re((x + jy)^3) =
    // x^3 - 3 x y^2 with x odd, 3 mod 4, in [2^8, 2^(25/3)), so that x^3 is a
    // tie between two floats whose even neighbour lies above it; a tiny y
    // puts the exact value just below, where rounding hi + lo to double
    // first would take it for the tie and round up. y = 2 makes x^3 - 12 x
    // an exact tie instead.
    {"pow(z,n)", "exact and near-exact ties of the integer powers' double-double",
     [](OperandSource& s, int i) {
         Operands o;
         const float x = static_cast<float>(4 * s.integer(64, 79) + 3);
         o.z = {i % 2 ? x : -x,
                i % 4 == 0 ? 2.0f : std::ldexp(between(s, 1, 2), -s.integer(20, 40))};
         o.n = 3;
         return o;
     }},
    // The sign of a part that rounds to zero: |z^w| far below 2^-149 with
    // |b| near 2^40, where the fast path knows the angle to about 2^-10
    // radians only; b within 2^-11 of a multiple of pi / 2, so that the sign
    // of the smaller part is its guess, which the careful path must replace.
    {"pow(x,w)", "parts that round to zero, near |b| = 2^40",
     [](OperandSource& s, int) {
         Operands o;
         for (;;) {
             o.z = {between(s, 1.5f, 3)};
             const long double ln = std::log(static_cast<long double>(o.z.real));
             o.w = {between(s, -250, -160),
                    s.sign() * static_cast<float>(std::ldexp(s.uniform(0.7, 1), 40) / ln)};
             const long double b = o.w.imag * ln, quarter = std::acos(0.0L);
             if (std::fabs(std::remainder(b, quarter)) < 0x1p-11L) return o;
         }
     }},
    // The same where e^a underflows double, so that bounds scaled by it
    // would vanish and certify the fast path's guess: z just off the real
    // axis, with wi arg z from 800 to 2000 and a = wr ln|z| - wi arg z below
    // -745, and b within 2^-20 of a multiple of pi / 2, where that guess is
    // a coin toss.
    {"pow(z,w)", "parts that round to zero where e^a underflows double",
     [](OperandSource& s, int) {
         Operands o;
         for (;;) {
             const float x = between(s, 1.5, 3);
             const long double ln = std::log(static_cast<long double>(x));
             const float wi = s.sign() * static_cast<float>(std::ldexp(s.uniform(0.7, 1), 40) / ln);
             o.z = {x, static_cast<float>(x * s.uniform(800, 2000) / wi)};
             o.w = {between(s, -3, 3), wi};
             const long double y = o.z.imag, lnZ = std::log(std::hypot(x, y)),
                               b = o.w.real * std::atan2(y, x) + o.w.imag * lnZ,
                               quarter = std::acos(0.0L);
             if (std::fabs(std::remainder(b, quarter)) < 0x1p-20L) return o;
         }
     }},
};

// ---------------------------------------------------------------- ties
//
// Operand sets next to a tie between two floats, for the operations that
// round from the exact sign there: every fourth an exact tie where floats
// can make one, the others found by drawing operand sets until the double
// result that the operation computes first lies within a double ulp of a
// tie, well inside the distance at which it rounds from the exact value.

// An operand set, ordinary or of any bits, for `form`.
Operands anyOperands(OperandSource& source, const char* form, int i) {
    Operands o;
    const float magnitude = i % 2 ? between(source, 0, 100) : std::fabs(source.anyFloat());
    if (std::strcmp(form, "polar") == 0) {
        o.z = {magnitude, i % 3 ? between(source, -10, 10) : source.anyFloat()};
    } else {
        o.z = source.base(i % 2);
        o.w = source.base(i % 2);
    }
    return o;
}

// Whether the operation's double result lies within a double ulp of a tie,
// where the double's own error may cross it.
bool nextToTie(const char* form, const Operands& o) {
    using ccomplex_kernels::isNearFloatTie;
    const double a = o.z.real, b = o.z.imag, c = o.w.real, d = o.w.imag;
    if (std::strcmp(form, "z/w") == 0) {
        const double n = c * c + d * d;
        return n > 0 &&
               (isNearFloatTie((a * c + b * d) / n, 1) || isNearFloatTie((b * c - a * d) / n, 1));
    }
    if (std::strcmp(form, "polar") == 0) {
        const auto [cosine, sine] = ccomplex_kernels::cosSinOfFloat(o.z.imag);
        return isNearFloatTie(a * cosine, 1) || isNearFloatTie(a * sine, 1);
    }
    const double s = a * a + b * b, v = std::strcmp(form, "mag") == 0 ? std::sqrt(s) : s;
    return isNearFloatTie(v, 1);
}

// An exact tie: x^2 + 4 for the norm with x odd, or a near one, x^2 + y^2
// with a tiny y, whose sum in double is the tie x^2; for the magnitude the
// hypotenuse m^2 + n^2 of a Pythagorean triple, odd, 25 bits, the legs
// floats; for the quotient (a + jb) / (1 + j1), whose parts (a + b) / 2 and
// (b - a) / 2 are half-integers from 2^23 to 2^24.
Operands exactTie(OperandSource& source, const char* form) {
    Operands o;
    if (std::strcmp(form, "norm") == 0) {
        o.z = {
            static_cast<float>(2 * source.integer(2049, 2895) + 1),
            source.integer(0, 1) ? 2 : std::ldexp(between(source, 1, 2), -source.integer(20, 40))};
    } else if (std::strcmp(form, "mag") == 0) {
        for (;;) {
            const long m = source.integer(2897, 4095), n = source.integer(1, 4095);
            const long hypotenuse = m * m + n * n, leg = m * m - n * n;
            if (hypotenuse % 2 == 1 && hypotenuse >= (1L << 24) && hypotenuse < (1L << 25) &&
                leg > 0 && leg < (1L << 24)) {
                o.z = {static_cast<float>(leg), static_cast<float>(2 * m * n)};
                return o;
            }
        }
    } else {
        const int a = source.integer(1 << 23, (1 << 24) - 1);
        const int b = (1 << 24) + 1 - a + 2 * source.integer(0, (1 << 22));
        o.z = {static_cast<float>(a), static_cast<float>(b)};
        o.w = {1, 1};
    }
    return o;
}

// Where the double result is the tie itself but the exact value is not, so
// that only rounding from the exact sign gets the side: for the polar form,
// a magnitude and a tiny angle whose product, an odd 25-bit integer 3 mod 4
// times a power of two, is a tie whose even neighbour lies above, while the
// sine, y - y^3/6, puts the exact part just below; for the magnitude, a and
// the float b nearest to the root of a ulp(a) + ulp(a)^2 / 4, which puts
// sqrt(a^2 + b^2) next to the tie above a, kept where its double is that tie.
Operands onTie(OperandSource& source, const char* form) {
    Operands o;
    if (std::strcmp(form, "polar") == 0) {
        const int m = 2 * source.integer(1024, 2047) + 1;
        int n;
        do n = 2 * source.integer(2048, 4095) + 1;
        while ((m * n) % 4 != 3 || m * n < (1 << 24) || m * n >= (1 << 25));
        o.z = {static_cast<float>(m), std::ldexp(static_cast<float>(n), -source.integer(40, 60))};
        return o;
    }
    for (;;) {
        const float a = between(source, 1, 1000);
        const long double ulp = std::nextafter(a, HUGE_VALF) - a;
        const float b = static_cast<float>(std::sqrt(a * ulp + ulp * ulp / 4));
        const double root = std::sqrt(static_cast<double>(a) * a + static_cast<double>(b) * b);
        if (ccomplex_kernels::isNearFloatTie(root, 0)) {
            o.z = {a, b};
            return o;
        }
    }
}

void writeTies(int perForm) {
    OperandSource source(20261213);
    for (const char* name : {"z/w", "mag", "norm", "polar"}) {
        const Form& form = formNamed(name);
        for (int i = 0, written = 0; written < perForm; ++i) {
            Operands o;
            if (i % 4 == 0 && std::strcmp(name, "polar") != 0) {
                o = exactTie(source, name);
            } else if (i % 4 == 1 && std::strcmp(name, "z/w") != 0 &&
                       std::strcmp(name, "norm") != 0) {
                o = onTie(source, name);
            } else {
                do {
                    o = anyOperands(source, name, i);
                } while (!nextToTie(name, o));
            }
            written += writeLine(form, o);
        }
    }
}

void writeCarefulClasses(int perClass) {
    OperandSource source(20261212);
    for (const CarefulClass& c : kCarefulClasses) {
        const Form& form = formNamed(c.form);
        for (int i = 0, written = 0, tries = 0; written < perClass && tries < 100 * perClass;
             ++i, ++tries) {
            written += writeLine(form, c.operands(source, i), c.beyondTwoTo40);
        }
    }
}

int writeTable(int perForm) {
    std::printf("# Correctly rounded results, from tools/correctly_rounded.cpp; see there.\n");
    for (const auto& known : kKnownCases) writeLine(kForms[known.form], known.operands);
    for (const Form& form : kForms) {
        OperandSource source(20261209);
        for (int i = 0, written = 0; written < perForm; ++i) {
            written += writeLine(form, source.operands(form, i));
        }
    }
    writeKernelEdges(perForm / 5);
    writeCarefulClasses(perForm / 10);
    writeTies(perForm / 10);
    return 0;
}

// The operands that `measure` draws, one set a line as in the table but
// without results, for comparing the library's results across machines.
int writeOperands(const Form& form, int count) {
    OperandSource source(20261210);
    for (int i = 0; i < count; ++i) {
        const Operands o = source.operands(form, i);
        if (boundsItsAngle(form) && angleMagnitude(form, o) > 0x1p40) continue;
        std::printf("%s", form.name);
        for (const std::uint32_t bits : form.operandBits(o)) std::printf(" %08x", bits);
        std::printf("\n");
    }
    return 0;
}

int measure(const Form& form, int count) {
    OperandSource source(20261210);
    double worst = 0;
    long beyondOneUlp = 0, misrounded = 0, measured = 0;
    std::string worstCase;
    mpc_t exact;
    mpc_init2(exact, 160);
    for (int i = 0; i < count; ++i) {
        const Operands o = source.operands(form, i);
        if (boundsItsAngle(form) && angleMagnitude(form, o) > 0x1p40) continue;
        exactResult(exact, form, o, 160, MPC_RNDNN);
        const CComplex got = form.library(o);
        const double error = std::max(ulpError(got.real, mpc_realref(exact)),
                                      ulpError(got.imag, mpc_imagref(exact)));
        ++measured;
        beyondOneUlp += error > 1;
        // Near half an ulp the measure cannot tell a tie's side; the
        // correctly rounded parts can.
        float re, im;
        const bool wrong = error > 0.5 + 0x1p-30 ||
                           (error > 0.5 - 0x1p-20 && correctlyRounded(form, o, re, im) &&
                            (bitsOf(re) != bitsOf(got.real) || bitsOf(im) != bitsOf(got.imag)));
        if (wrong) {
            ++misrounded;
            std::fprintf(stderr, "%s", form.name);
            for (const std::uint32_t bits : form.operandBits(o))
                std::fprintf(stderr, " %08x", bits);
            std::fprintf(stderr, " gives %08x %08x, %.3g ulp\n", bitsOf(got.real), bitsOf(got.imag),
                         error);
        }
        if (error > worst) {
            worst = error;
            char text[200];
            std::snprintf(text, sizeof text, "z = %a %+a j, w = %a %+a j, n = %d", o.z.real,
                          o.z.imag, o.w.real, o.w.imag, o.n);
            worstCase = text;
        }
    }
    mpc_clear(exact);
    std::printf(
        "%s: %ld operand sets, worst %.3g ulp at %s; %ld beyond 1 ulp, %ld not correctly rounded\n",
        form.name, measured, worst, worstCase.c_str(), beyondOneUlp, misrounded);
    return beyondOneUlp == 0 ? 0 : 1;
}

}  // namespace

// ---------------------------------------------------------------- families
//
// Dense families next to the hard cases of an operation of two operands:
// every operand set within `radius` floats, in each part of z, of a seed. The
// seeds are the table's rows for the form, drawn near ties, near the axes
// and the cut, near |z| = 1 and near multiples of pi/2; and for the polar
// form the floats nearest k pi/2 as angles, at magnitude 1 and 3. Each is
// compared bit for bit, zero signs aside (the table's rule), with MPC's
// correctly rounded parts.

// A table line's operands, as the form writes them.
Operands operandsOf(const Form& form, const std::vector<std::uint32_t>& bits) {
    Operands o;
    o.z = {fromBits(bits[0]), fromBits(bits[1])};
    if (std::strcmp(form.name, "z/w") == 0 || std::strcmp(form.name, "z*w") == 0)
        o.w = {fromBits(bits[2]), fromBits(bits[3])};
    if (std::strcmp(form.name, "pow(z,x)") == 0) o.w = CComplex(fromBits(bits[2]));
    return o;
}

std::vector<Operands> familySeeds(const Form& form, const char* tablePath) {
    std::vector<Operands> seeds;
    FILE* table = std::fopen(tablePath, "r");
    char line[512];
    while (table != nullptr && std::fgets(line, sizeof line, table) != nullptr) {
        char name[32];
        int used = 0;
        if (std::sscanf(line, "%31s%n", name, &used) != 1 || std::strcmp(name, form.name) != 0)
            continue;
        std::vector<std::uint32_t> bits;
        unsigned value;
        for (int n = 0; std::sscanf(line + used, "%x%n", &value, &n) == 1; used += n)
            bits.push_back(value);
        seeds.push_back(operandsOf(form, bits));
    }
    if (table != nullptr) std::fclose(table);
    if (std::strcmp(form.name, "polar") == 0) {
        OperandSource source(20261209);
        for (int i = 0; i < 200; ++i) {
            const int k = i < 100 ? i + 1 : source.integer(100, 1 << 26);
            const auto angle = static_cast<float>(k * M_PI / 2);
            Operands o;
            o.z = {i % 2 ? 3.0f : 1.0f, angle};
            seeds.push_back(o);
        }
    }
    return seeds;
}

int sweepFamilies(const Form& form, int radius, const char* tablePath) {
    long checked = 0, wrong = 0, unsettled = 0;
    for (const Operands& seed : familySeeds(form, tablePath)) {
        for (int i = -radius; i <= radius; ++i) {
            for (int j = -radius; j <= radius; ++j) {
                Operands o = seed;
                for (int k = 0; k < std::abs(i); ++k)
                    o.z.real = std::nextafter(o.z.real, i > 0 ? HUGE_VALF : -HUGE_VALF);
                for (int k = 0; k < std::abs(j); ++k)
                    o.z.imag = std::nextafter(o.z.imag, j > 0 ? HUGE_VALF : -HUGE_VALF);
                float re, im;
                if (!correctlyRounded(form, o, re, im)) {
                    ++unsettled;
                    continue;
                }
                ++checked;
                const CComplex got = form.library(o);
                if (bitsOf(got.real) != bitsOf(re) || bitsOf(got.imag) != bitsOf(im)) {
                    if (++wrong <= 8)
                        std::printf("  wrong: z %a %a w %a %a: %a %a, correct %a %a\n",
                                    static_cast<double>(o.z.real), static_cast<double>(o.z.imag),
                                    static_cast<double>(o.w.real), static_cast<double>(o.w.imag),
                                    static_cast<double>(got.real), static_cast<double>(got.imag),
                                    static_cast<double>(re), static_cast<double>(im));
                }
            }
        }
    }
    std::printf(
        "%s: %ld checked, %ld wrong (%ld with an exact zero part or unsettled, left "
        "out)\n",
        form.name, checked, wrong, unsettled);
    return wrong == 0 ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "table") == 0) {
        return writeTable(argc >= 3 ? std::atoi(argv[2]) : 300);
    }
    if (argc == 3 && std::strcmp(argv[1], "careful") == 0) {  // the careful paths' rows alone
        writeCarefulClasses(std::atoi(argv[2]));
        writeTies(std::atoi(argv[2]));
        return 0;
    }
    const bool measuring = argc == 4 && std::strcmp(argv[1], "measure") == 0;
    if (measuring || (argc == 4 && std::strcmp(argv[1], "operands") == 0)) {
        for (const Form& form : kForms) {
            if (std::strcmp(form.name, argv[2]) != 0) continue;
            const int count = std::atoi(argv[3]);
            return measuring ? measure(form, count) : writeOperands(form, count);
        }
    }
    if (argc == 4 && std::strcmp(argv[1], "families") == 0) {
        int status = 0;
        for (const char* name : {"z/w", "mag", "norm", "ang", "polar", "pow(z,x)"})
            status |= sweepFamilies(formNamed(name), std::atoi(argv[2]), argv[3]);
        return status;
    }
    std::fprintf(stderr,
                 "usage: %s table [PER_FORM] | careful PER_CLASS | measure FORM COUNT | operands "
                 "FORM COUNT | families RADIUS TABLE\n",
                 argv[0]);
    return 2;
}
