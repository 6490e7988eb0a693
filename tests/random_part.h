#ifndef CCOMPLEX_TESTS_RANDOM_PART_H
#define CCOMPLEX_TESTS_RANDOM_PART_H

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

// How many operand sets a randomized test draws: `usual`, or the count in the
// environment variable CCOMPLEX_TEST_CASES, which lets a slow machine (an
// emulated one) run every such test smaller.
inline int randomCases(int usual) {
    const char* const text = std::getenv("CCOMPLEX_TEST_CASES");
    const int count = text != nullptr ? std::atoi(text) : 0;
    return count > 0 ? count : usual;
}

// Random finite floats from a fixed seed: half are raw bit patterns (every
// exponent, subnormals included), half are ordinary values of moderate size.
class RandomPart {
public:
    float operator()() {
        const std::uint64_t bits = engine_();
        if (bits & 1) {
            return ordinary_(engine_);
        }
        float f;
        const std::uint32_t pattern = static_cast<std::uint32_t>(bits >> 32);
        std::memcpy(&f, &pattern, sizeof f);
        return std::isfinite(f) ? f : 0.0f;
    }

private:
    std::mt19937_64 engine_{20261208};
    std::uniform_real_distribution<float> ordinary_{-1000.0f, 1000.0f};
};

#endif  // CCOMPLEX_TESTS_RANDOM_PART_H
