// A small program of a user's own: it divides two values and writes the
// quotient with the stream inserter and with print().
#include <iostream>

#include "ccomplex.h"

int main() {
    CComplex x(3.0f, 4.0f);
    const CComplex w(1.0f, 2.0f);
    const CComplex q = x / w;
    std::cout << x << " / " << w << " = " << q << '\n';
    std::cout << "print: " << q.print() << '\n';
    return 0;
}
