// The float each part of an exact complex result rounds to, found with MPC
// by bracketing: the result is computed rounded toward -inf and toward +inf,
// at 256 bits and then twice as many, until both ends round to one float in
// each part (or are both zero, or NaN). For the tools only; it needs
// libmpc-dev.
#ifndef CCOMPLEX_TOOLS_MPC_BRACKET_H
#define CCOMPLEX_TOOLS_MPC_BRACKET_H

#include <mpc.h>

#include <cmath>

#include "../tests/float_bits.h"

struct MpcBracket {
    MpcBracket() {
        mpc_init2(low, 64);
        mpc_init2(high, 64);
    }
    ~MpcBracket() {
        mpc_clear(low);
        mpc_clear(high);
    }
    MpcBracket(const MpcBracket&) = delete;
    MpcBracket& operator=(const MpcBracket&) = delete;

    // evaluate(result, precision, rounding) sets result to the exact value at
    // that precision, rounded as asked. Whether both parts settled by
    // maxPrecision bits; re and im are low's parts rounded to nearest, and
    // low and high keep the last bracket.
    template <typename Evaluate>
    bool settle(Evaluate evaluate, mpfr_prec_t maxPrecision, float& re, float& im) {
        bool settled = false;
        for (mpfr_prec_t precision = 256; precision <= maxPrecision && !settled; precision *= 2) {
            evaluate(low, precision, MPC_RNDDD);
            evaluate(high, precision, MPC_RNDUU);
            settled = partSettles(mpc_realref(low), mpc_realref(high), re) &
                      partSettles(mpc_imagref(low), mpc_imagref(high), im);
        }
        return settled;
    }

    mpc_t low, high;

private:
    static bool partSettles(mpfr_srcptr down, mpfr_srcptr up, float& out) {
        out = mpfr_get_flt(down, MPFR_RNDN);
        if (mpfr_zero_p(down) && mpfr_zero_p(up)) return true;
        return bitsOf(out) == bitsOf(mpfr_get_flt(up, MPFR_RNDN)) || std::isnan(out);
    }
};

#endif
