// Batch operations on arrays of CComplex: each element of an elementwise
// operation is bit for bit what the scalar operation gives for it (*, /,
// mag(), norm(), ang(), polar(), exp(); a NaN's sign aside), on every
// instruction set, so a loop and a batch call are interchangeable. The dot
// products and the rotation are correctly rounded from their exact values.
//
// The library picks the widest vector unit the processor has at run time
// (SSSE3 to AVX-512 on x86-64, NEON or SVE on aarch64, a portable form
// elsewhere). Link the CMake target ccomplex::arrays.
//
// For every operation:
//  - a count of zero does nothing, and reads or writes nothing;
//  - an output may be the very array of an input (in-place use), but must
//    not overlap one in part: a precondition, asserted in debug builds;
//  - a non-finite element gives what the scalar operation gives it;
//  - nothing allocates, throws or keeps state between calls; calls on
//    distinct outputs are safe from any number of threads.
//
// The vector kernels run each lane in double, as the scalar operations do,
// and ask, lane by lane, whether the rounding to float is certain; a vector
// with a lane that cannot be sure, or with a value the kernel leaves to the
// scalar form (a zero or non-finite divisor, an angle beyond 2^19, a value
// on an axis for the angle), is done by the scalar operations. For 2^24
// values with parts uniform in [-1, 1] (AVX-512, 2^21 vectors), that was 1
// vector of quotients, 24 of norms (one in 87,000), 0 to 10 for the
// magnitude, the angle, the polar form and exp, and about 600 for the
// rotation (one in 3,500), whose cos and sin between exact phases carry a
// wider margin.
#ifndef CCOMPLEX_ARRAYS_H
#define CCOMPLEX_ARRAYS_H

#include <cstddef>
#include <vector>

#include "ccomplex.h"

namespace ccomplex_arrays {

// out[k] = a[k] * b[k], and a[k] * conj(b[k]).
void multiply(const CComplex* a, const CComplex* b, CComplex* out, std::size_t n) noexcept;
void multiplyConjugate(const CComplex* a, const CComplex* b, CComplex* out, std::size_t n) noexcept;

// out[k] = a[k] * s.
void scale(const CComplex* a, CComplex s, CComplex* out, std::size_t n) noexcept;
void scale(const CComplex* a, float s, CComplex* out, std::size_t n) noexcept;

// out[k] = a[k] / b[k]. A zero divisor gives its element 0 + j0, as the scalar
// quotient does; "Error: Divided by zero!" is written once for the call,
// however many it meets, and the call returns how many it met.
std::size_t divide(const CComplex* a, const CComplex* b, CComplex* out, std::size_t n) noexcept;

// out[k] = a[k].mag(), norm(a[k]) and a[k].ang().
void magnitude(const CComplex* a, float* out, std::size_t n) noexcept;
void norm(const CComplex* a, float* out, std::size_t n) noexcept;
void angle(const CComplex* a, float* out, std::size_t n) noexcept;

// out[k] = polar(magnitude[k], angle[k]), and exp(a[k]).
void polar(const float* magnitude, const float* angle, CComplex* out, std::size_t n) noexcept;
void exp(const CComplex* a, CComplex* out, std::size_t n) noexcept;

// out[k] = a[k] e^{j(phase + k step)}: the phase is exact, as no running
// phasor is, and each part is correctly rounded.
void rotate(const CComplex* a, float phase, float step, CComplex* out, std::size_t n) noexcept;

// The sum of a[k] * b[k], and of a[k] * conj(b[k]), over k < n: each part is
// the exact sum, rounded once to float, so the result depends neither on the
// order of the elements nor on the instruction set. 0 + j0 for n = 0. An
// infinite or NaN element makes its part what a double sum of the products
// gives, which is the same in any order (a NaN's sign aside).
CComplex dot(const CComplex* a, const CComplex* b, std::size_t n) noexcept;
CComplex dotConjugate(const CComplex* a, const CComplex* b, std::size_t n) noexcept;

// The same over whole vectors: the outputs are resized to the input's size
// (which may allocate, unlike the pointer forms), and two inputs must be of
// one size (asserted in debug builds; the shorter one's size is used).
std::vector<CComplex> multiply(const std::vector<CComplex>& a, const std::vector<CComplex>& b);
std::vector<CComplex> multiplyConjugate(const std::vector<CComplex>& a,
                                        const std::vector<CComplex>& b);
std::vector<CComplex> divide(const std::vector<CComplex>& a, const std::vector<CComplex>& b);
std::vector<float> magnitude(const std::vector<CComplex>& a);
std::vector<float> norm(const std::vector<CComplex>& a);
std::vector<float> angle(const std::vector<CComplex>& a);
std::vector<CComplex> exp(const std::vector<CComplex>& a);
CComplex dot(const std::vector<CComplex>& a, const std::vector<CComplex>& b) noexcept;
CComplex dotConjugate(const std::vector<CComplex>& a, const std::vector<CComplex>& b) noexcept;

}  // namespace ccomplex_arrays

#endif  // CCOMPLEX_ARRAYS_H
