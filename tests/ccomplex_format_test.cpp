// The std::format support: each part as a float, the width on the whole, and
// options refused.
#include <gtest/gtest.h>

#include <sstream>

#include "ccomplex.h"
#include "random_part.h"
#include "test_support.h"

#ifdef CCOMPLEX_TEST_FORMAT
#include "ccomplex_format.h"

namespace {

using namespace ccomplex_test;

// Each part as std::format writes a float with the options; fill, alignment
// and width on the whole; {} reads back bit for bit; bad options refused.
TEST(Format, EachPartAsAFloatAndTheWidthOnTheWhole) {
    const struct {
        const char* format;
        CComplex z;
        const char* text;
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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::vformat(c.format, std::make_format_args(c.z)), c.text) << c.format;
    }
    const CComplex value(2.5f, 3);
    EXPECT_EQ(std::format("{:*>{}.{}f}", value, 12, 1) + std::format("{0:.{1}e}", value, 2),
              "***2.5 +j3.02.50e+00 +j3.00e+00");
    EXPECT_THROW((void)std::format("{:{}}", value, -1), std::format_error);
    for (const char* bad : {"{:d}", "{:{}}", "{:.{}f}", "{:s}", "{:{x}}"}) {
        CComplex z;
        EXPECT_THROW((void)std::vformat(bad, std::make_format_args(z)), std::format_error) << bad;
    }
    RandomPart part;
    for (int i = 0; i < 10'000; ++i) {
        const CComplex z(part(), part());
        std::istringstream in(std::format("{}", z));
        CComplex read;
        in >> read;
        EXPECT_TRUE(sameBits(read, z)) << in.str();
    }
}

}  // namespace
#endif
