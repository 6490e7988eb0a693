// The formatters, std::format's (ccomplex_format.h) and {fmt}'s
// (ccomplex_fmt.h), from one table: each part as a float, the width on the
// whole, and options refused; each library the build has runs every case.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <limits>
#include <locale>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ccomplex.h"
#include "ccomplex_format_options.h"
#include "random_part.h"
#include "test_support.h"

#ifdef CCOMPLEX_TEST_FORMAT
#include "ccomplex_format.h"
#endif
#ifdef CCOMPLEX_TEST_FMT
#include "ccomplex_fmt.h"
#endif

namespace {

using namespace ccomplex_test;

// What `format(z, ints...)` gives, or nothing where it throws `Error`.
template <typename Error, typename Format>
std::optional<std::string> formatted(Format format, const CComplex& z,
                                     const std::vector<int>& ints) {
    try {
        switch (ints.size()) {
            case 0:
                return format(z);
            case 1:
                return format(z, ints[0]);
            default:
                return format(z, ints[0], ints[1]);
        }
    } catch (const Error&) {
        return std::nullopt;
    }
}

// A formatting library: its text for a format string with a CComplex and up
// to two ints as arguments, in a locale, or nothing where it refuses them.
struct Library {
    const char* name;
    std::optional<std::string> (*format)(std::string_view, const CComplex&, const std::vector<int>&,
                                         const std::locale&);
};

const Library kLibraries[] = {
#ifdef CCOMPLEX_TEST_FORMAT
    {"std::format",
     [](std::string_view f, const CComplex& z, const std::vector<int>& ints,
        const std::locale& locale) {
         return formatted<std::format_error>(
             [&](const auto&... args) {
                 return std::vformat(locale, f, std::make_format_args(args...));
             },
             z, ints);
     }},
#endif
#ifdef CCOMPLEX_TEST_FMT
    {"fmt::format",
     [](std::string_view f, const CComplex& z, const std::vector<int>& ints,
        const std::locale& locale) {
         return formatted<fmt::format_error>(
             [&](const auto&... args) {
                 return fmt::vformat(locale, f, fmt::make_format_args(args...));
             },
             z, ints);
     }},
#endif
    {nullptr, nullptr},
};

// A locale whose numbers are written 1.234.567,5: '.' between groups of three
// digits, ',' before the fraction.
struct Grouping : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Each part as std::format writes a float with the options; fill, alignment
// and width on the whole; {} reads back bit for bit; bad options refused.
TEST(Format, EachPartAsAFloatAndTheWidthOnTheWhole) {
    if (kLibraries[0].name == nullptr)
        GTEST_SKIP() << "this build has neither std::format nor {fmt}";
    const std::locale grouping(std::locale::classic(), new Grouping);
    // Past a float's last digit, zeros.
    const std::string longFixed = "0.5" + std::string(159, '0') + " +j0." + std::string(160, '0');
    const struct {
        const char* format;
        CComplex z;
        const char* text;  // nullptr: refused
        std::vector<int> ints = {};
        bool grouped = false;
    } cases[] = {
        {"{}", {2.5f, 3}, "2.5 +j3"},
        {"{:f}", {2.5f, 3}, "2.500000 +j3.000000"},
        {"{:.8e}", {1.5f, -0.25f}, "1.50000000e+00 +j-2.50000000e-01"},
        {"{:g}", {1e-5f, 100000}, "1e-05 +j100000"},
        {"{:a}", {2.5f, 3}, "1.4p+1 +j1.8p+1"},
        {"{:+}", {1, -0.0f}, "+1 +j-0"},
        {"{}", {-kNaN, kInf}, "-nan +jinf"},
        {"{:*^12.1f}", {2.5f, 3}, "*2.5 +j3.0**"},
        {"{:10}", {1, 2}, "     1 +j2"},
        {"{:<8}", {1, 2}, "1 +j2   "},
        {"[{:_>7}]", {1, 2}, "[__1 +j2]"},
        {"{:*>{}.{}f}", {2.5f, 3}, "***2.5 +j3.0", {12, 1}},
        {"{0:.{1}e}", {2.5f, 3}, "2.50e+00 +j3.00e+00", {2}},
        // the shortest text, which {fmt} would write 1000000000000000 for a float
        {"{}", {1e15f, 1e-7f}, "1e+15 +j1e-07"},
        {"{: }", {1, -2}, " 1 +j-2"},
        {"{:#}", {1, 1e20f}, "1. +j1.e+20"},
        {"{:#.3g}", {1, 0.0001f}, "1.00 +j0.000100"},
        {"{:.3}", {1234.5f, 0.000123f}, "1.23e+03 +j0.000123"},
        {"{:#.0e}", {1, 2}, "1.e+00 +j2.e+00"},
        {"{:E}", {1.5f, -kInf}, "1.500000E+00 +j-INF"},
        {"{:A}", {-10, kNaN}, "-1.4P+3 +jNAN"},
        {"{:.10a}", {1, 3}, "1.0000000000p+0 +j1.8000000000p+1"},
        {"{:.0f}", {0.5f, 1.5f}, "0 +j2"},
        {"{:.160f}", {0.5f, 0}, longFixed.c_str()},
        {"{:^9}", {1, 2}, "  1 +j2  "},
        {"{:^8}", {1, 2}, " 1 +j2  "},
        {"{:\xc3\xa9>7}",
         {1, 2},
         "\xc3\xa9\xc3\xa9"
         "1 +j2"},
        {"{:L}", {1234567.5f, -0.5f}, "1.234.567,5 +j-0,5", {}, true},
        {"{:.1Lf}", {12345, 1e10f}, "12.345,0 +j10.000.000.000,0", {}, true},
        {"{:Le}", {12345, 0}, "1,234500e+04 +j0,000000e+00", {}, true},
        {"{:L}", {1234, 2}, "1234 +j2"},          // the classic locale: no groups
        {"{:#.0g}", {1.5f, 2}, "2. +j2."},        // precision 0 is 1 for g
        {"{:#.5}", {1, 0.0001f}, "1. +j0.0001"},  // with no type, # only adds the point
        {"{:\xe0\xb8\x81^9}",                     // a fill of three bytes
         {1, 2},
         "\xe0\xb8\x81\xe0\xb8\x81"
         "1 +j2"
         "\xe0\xb8\x81\xe0\xb8\x81"},
        {"{}", {std::numeric_limits<float>::signaling_NaN(), 5}, "nan +j5"},
        // refused
        {"{:d}", {}, nullptr},
        {"{:s}", {}, nullptr},
        {"{:{x}}", {}, nullptr},
        {"{:{}}", {}, nullptr},
        {"{:.{}f}", {}, nullptr},
        {"{:{}}", {}, nullptr, {-1}},
        {"{:08}", {}, nullptr},
        {"{:+08.3f}", {}, nullptr},
        {"{:.}", {}, nullptr},
        {"{:L#}", {}, nullptr},
        {"{:{1}}", {}, nullptr, {5, 5}},  // a numbered width beside automatic numbering
        {"{0:{}}", {}, nullptr, {5}},     // an automatic width beside a numbered field
        {"{0:{01}}", {}, nullptr, {5}},   // an argument number with a leading zero
        {"{:\x80^7}", {}, nullptr},       // fills that are no UTF-8 code point
        {"{:\xe0"
         "AB^9}",
         {},
         nullptr},
        {"{:100000001}", {}, nullptr},  // beyond 10^8, literal or argument
        {"{:.100000001f}", {}, nullptr},
        {"{:{}}", {}, nullptr, {100'000'001}},
    };
    for (const Library* library = kLibraries; library->name != nullptr; ++library) {
        for (const auto& c : cases) {
            const std::optional<std::string> text = library->format(
                c.format, c.z, c.ints, c.grouped ? grouping : std::locale::classic());
            if (c.text == nullptr) {
                EXPECT_FALSE(text) << library->name << " took " << c.format << ": " << *text;
            } else {
                EXPECT_EQ(text.value_or("refused"), c.text) << library->name << " " << c.format;
            }
        }
        RandomPart part;
        for (int i = 0; i < 10'000; ++i) {
            const CComplex z(part(), part());
            std::istringstream in(library->format("{}", z, {}, std::locale::classic()).value());
            CComplex read;
            in >> read;
            EXPECT_TRUE(sameBits(read, z)) << library->name << ": " << in.str();
        }
    }
}

// A format argument holding a long long, visited as the libraries' are.
struct LongLongArgument {
    long long value;
    template <typename Visitor>
    auto visit(Visitor visitor) const {
        return visitor(value);
    }
};

// A width or precision argument up to 10^8 is taken, one beyond refused.
TEST(Format, ArgumentsUpToTenToTheEighth) {
    const auto fail = [](const char* message) -> void { throw std::runtime_error(message); };
    for (const long long value : {0LL, 100'000'000LL, 100'000'001LL, -1LL}) {
        const auto at = [value](int) { return LongLongArgument{value}; };
        bool taken = true;
        try {
            EXPECT_EQ(ccomplex_detail::FormatOptions::argument(at, 0, fail), value);
        } catch (const std::runtime_error&) {
            taken = false;
        }
        EXPECT_EQ(taken, value >= 0 && value <= 100'000'000) << value;
    }
}

// Each part of random values as C's printf writes the float, for the options
// whose text printf shares; and where the build has std::format, as it
// writes the float, for these and the options printf lacks.
TEST(Format, EachPartAsAFloatOnRandomValues) {
    const struct {
        const char* options;
        const char* printf;  // nullptr: std::format's own
    } formats[] = {
        {"{:.3e}", "%.3e"},       {"{:+f}", "%+f"},       {"{: .0f}", "% .0f"},
        {"{:#.4g}", "%#.4g"},     {"{:.6g}", "%.6g"},     {"{:E}", "%E"},
        {"{:.12G}", "%.12G"},     {"{:#.0f}", "%#.0f"},   {"{:.140f}", "%.140f"},
        {"{:#.0e}", "%#.0e"},     {"{:.152f}", "%.152f"}, {"{:.115e}", "%.115e"},
        {"{:#.120g}", "%#.120g"}, {"{}", nullptr},        {"{:a}", nullptr},
        {"{:#.3a}", nullptr},     {"{:.30}", nullptr},    {"{:#}", nullptr},
        {"{:+.2A}", nullptr},
    };
    RandomPart part;
    int mismatches = 0;
    for (const Library* library = kLibraries; library->name != nullptr; ++library) {
        for (int i = 0, cases = randomCases(100'000); i < cases; ++i) {
            const CComplex z(part(), part());
            const auto& f = formats[static_cast<std::size_t>(i) % std::size(formats)];
            std::string expected;
            if (f.printf != nullptr) {
                char re[400], im[400];
                std::snprintf(re, sizeof re, f.printf, static_cast<double>(z.real));
                std::snprintf(im, sizeof im, f.printf, static_cast<double>(z.imag));
                expected = std::string(re) + " +j" + im;
            } else {
#ifdef CCOMPLEX_TEST_FORMAT
                expected = std::vformat(std::string(f.options) + " +j" + f.options,
                                        std::make_format_args(z.real, z.imag));
#else
                continue;
#endif
            }
            const std::string got =
                library->format(f.options, z, {}, std::locale::classic()).value_or("refused");
            if (got != expected && mismatches++ < 5)
                ADD_FAILURE() << library->name << " " << f.options << ": " << got << " vs "
                              << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
