// A user's program on arrays: the batch product and the exact dot product,
// each checked against what it must give.
#include <cstdio>
#include <vector>

#include "ccomplex_arrays.h"

int main() {
    const std::vector<CComplex> a = {{1, 2}, {3, -1}, {0.5f, 0.25f}}, b = {{2, 0}, {1, 1}, {4, -8}};
    const std::vector<CComplex> products = ccomplex_arrays::multiply(a, b);
    const CComplex sum = ccomplex_arrays::dot(a, b);  // (2 + j4) + (4 + j2) + (4 + j-3)
    const bool right = products[1] == CComplex(4, 2) && sum == CComplex(10, 3);
    std::printf("%s\n", right ? "arrays: right" : "arrays: WRONG");
    return right ? 0 : 1;
}
