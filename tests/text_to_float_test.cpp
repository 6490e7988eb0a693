// A white-box check of the library's exact text-to-float conversion, which
// its reader uses where the standard library has no floating-point
// std::from_chars.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "ccomplex_text_to_float.h"
#include "random_part.h"

namespace {

// The conversion gives what std::from_chars gives, bit for bit and refusal
// for refusal, on texts of random floats in each notation and on the exact
// halfway points between two floats, and just beside them.
TEST(TextToFloat, MatchesFromChars) {
#if !(defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L)
    GTEST_SKIP() << "no floating-point std::from_chars to compare with; the extractor's tests "
                    "check the conversion";
#else
    RandomPart part;
    int mismatches = 0;
    const auto check = [&](const std::string& text, bool hex) {
        const char* const last = text.data() + text.size();
        float expected = 7, got = 7;
        const auto format = hex ? std::chars_format::hex : std::chars_format::general;
        const bool accepted =
            std::from_chars(text.data(), last, expected, format).ec == std::errc();
        const bool same = ccomplex_text::textToFloat(text.data(), last, got, hex) == accepted &&
                          (!accepted || std::memcmp(&got, &expected, sizeof got) == 0);
        if (!same && mismatches++ < 5)
            ADD_FAILURE() << text << " gives " << got << ", not " << expected;
    };
    // Beyond the float range at either end, far beyond too, and just inside.
    for (const char* edge : {"1e-50", "1e-300", "1e-46", "7e-46", "7.1e-46", "1.4e-45", "1e39",
                             "1e300", "3.4028235e38", "3.4028236e38", "123456789e-100"}) {
        check(edge, false);
    }
    check("0." + std::string(300, '0') + "1", false);
    for (const char* edge :
         {"01p-200", "01p-150", "01p-149", "01p128", "01.fffffep127", "01.Ap+3", "0ABC.DEFp-2"}) {
        check(edge, true);
    }
    // Far below the range, refused at once rather than worked out digit by
    // digit (which took seconds each): untrusted input must not hang.
    const auto start = std::chrono::steady_clock::now();
    for (const char* far : {"1e-100000", "-7.5e-99999", "123e-60000", "1e+100000"})
        check(far, false);
    for (const char* far : {"01p-100000", "0F.Fp-99999", "01p+100000"}) check(far, true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    char text[400];
    for (int i = 0, cases = randomCases(200'000); i < cases; ++i) {
        const float f = part();
        const double halfway = (static_cast<double>(f) + std::nextafter(f, HUGE_VALF)) / 2;
        for (const char* format : {"%.9g", "%.15g", "%.3e", "%.60f", "%.70e"}) {
            std::snprintf(text, sizeof text, format, i % 2 ? halfway : static_cast<double>(f));
            check(text, false);
            // A digit more before the exponent: just beside the halfway point.
            // (Built by concatenation: g++ 12 at -O2 in C++20 gives a false
            // -Wrestrict for std::string::insert.)
            const std::string_view digits(text, std::strcspn(text, "e"));
            if (i % 2) check(std::string(digits) + "1" + (text + digits.size()), false);
        }
        std::snprintf(text, sizeof text, "%a", i % 2 ? halfway : static_cast<double>(f));
        check(std::string(text).erase(text[0] == '-' ? 2 : 1, 1), true);  // 0x becomes 0
    }
    EXPECT_EQ(mismatches, 0);
#endif
}

}  // namespace
