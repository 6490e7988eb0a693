// Divides by zero in a static initialiser, before main, in a file that does
// not include <iostream>. Linked before the library, its initialiser runs
// first, when the standard streams may not be constructed yet. It must write
// the zero-divisor line, then the quotient, 0 + j0.
#include <cstdio>

#include "ccomplex.h"

namespace {
const CComplex kAtStartup = CComplex(1.0f, 0.0f) / CComplex(0.0f, 0.0f);
}

int main() { return std::puts(kAtStartup.print()) < 0; }
