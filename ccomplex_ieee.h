// What the library's sources and internal headers need of the compiler: IEEE
// 754 arithmetic, each float and double operation rounded to its own type as
// written. Their error bounds count exactly those roundings. Fast-math lets
// the compiler reorder, approximate and assume away NaN and infinity, and the
// x87 unit's excess precision rounds twice; either would change results with
// no sign of it, so such a build stops here and says which flags to add. The
// CMake target adds them itself; -ffp-contract=off comes first because clang
// warns when -fno-fast-math overrides the -ffp-contract=fast that -ffast-math
// and -Ofast set.
#ifndef CCOMPLEX_IEEE_H
#define CCOMPLEX_IEEE_H

#if defined(__FAST_MATH__) || (defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__)
#error \
    "the ccomplex library needs IEEE arithmetic: add -ffp-contract=off -fno-fast-math after -ffast-math or -Ofast"
#endif

#if defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ > 0
#error \
    "the ccomplex library needs arithmetic without excess precision, not the x87 unit's: add -msse2 -mfpmath=sse"
#endif

#endif  // CCOMPLEX_IEEE_H
