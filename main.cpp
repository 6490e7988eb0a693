// Demonstrates CComplex: builds a few values, adds and divides them, and
// prints a text form, the magnitude and the angle. Takes no input.
#include <iostream>

#include "ccomplex.h"

int main() {
    CComplex a(2.5f, 3.0f);
    CComplex b(2.0f, 0.0f);
    std::cout << a.print() << std::endl;

    CComplex c(b);
    c.imag = -3.5f;  // c is now 2 - j3.5; b stays 2 + j0
    a += b;          // a is now 4.5 + j3
    c = (a + b) / (a + c);
    std::cout << "c= " << std::endl;

    const float magnitude = c.mag();
    const float angle = c.ang();
    std::cout << "mag= " << magnitude << "\tang= " << angle << std::endl;

    // Every line was flushed by std::endl, so a failed write shows up here.
    if (!std::cout) {
        std::cerr << "Error: could not write to standard output" << std::endl;
        return 1;
    }
    return 0;
}
