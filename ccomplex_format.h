// std::format support for CComplex: std::format("{}", z), std::format_to,
// and C++23's std::print. ccomplex_fmt.h gives the same to {fmt}.
//
// The options are a float's, [[fill]align][sign][#][width][.precision][L]
// [type]. Each part is written exactly as std::format writes a float with the
// same sign, #, precision, L and type ({}, {:f}, {:.8e}, {:g}, {:a}), and the
// two as "<real> +j<imag>". Fill, alignment and width apply to the whole
// text, right-aligned where the options name no alignment, as << pads it:
// std::format("{:*^12.1f}", CComplex(2.5f, 3)) is "*2.5 +j3.0**". The 0
// flag is refused, as zeros cannot pad a text of two numbers. {} gives the
// shortest text that >> reads back bit for bit ("2.5 +j3", "-nan +jinf"). A
// width or precision may come from an argument ({:{}.{}f}, {0:.{1}f}), as for
// a float. Bad options are refused, at compile time where the format string
// is a constant.
//
// The options are parsed once, with the format string; each value is then
// written from automatic storage and padded once, allocating nothing, in
// about the time its two floats take.
//
// ccomplex.h does not include <format>, which many hosts cannot afford; this
// header does, and needs C++20 and a standard library that has it.
#ifndef CCOMPLEX_FORMAT_H
#define CCOMPLEX_FORMAT_H

#if __cplusplus < 202002L || !defined(__has_include)
#error "ccomplex_format.h needs C++20 (-std=c++20) and <format>"
#elif !__has_include(<format>)
#error \
    "ccomplex_format.h needs <format>: GCC 13's libstdc++, or libc++ 16 with -fexperimental-library"
#else

#include <format>
#include <locale>

// libc++ 16 declares std::format only under -fexperimental-library; without
// it, it marks its <format> incomplete.
#if !defined(__cpp_lib_format) && \
    (!defined(_LIBCPP_VERSION) || defined(_LIBCPP_HAS_NO_INCOMPLETE_FORMAT))
#error "ccomplex_format.h needs std::format: with libc++ 16, compile with -fexperimental-library"
#else

#include "ccomplex.h"
#include "ccomplex_format_options.h"

template <>
struct std::formatter<CComplex, char> {
    constexpr format_parse_context::iterator parse(format_parse_context& context) {
        // The whole text is written by the standard formatter of strings,
        // which copies it in one piece; it takes no options.
        format_parse_context none("}");
        text_.parse(none);
        return options_.parse(context, [](const char* message) { throw format_error(message); });
    }

    template <typename Context>
    typename Context::iterator format(const CComplex& z, Context& context) const {
        const auto argumentAt = [&](int id) { return context.arg(static_cast<std::size_t>(id)); };
        const auto fail = [](const char* message) { throw format_error(message); };
        using ccomplex_detail::FormatOptions;
        const int width = FormatOptions::argument(argumentAt, options_.widthArgument(), fail);
        const int precision =
            FormatOptions::argument(argumentAt, options_.precisionArgument(), fail);
        const auto emit = [&](string_view text) {
            context.advance_to(text_.format(text, context));
        };
        if (!options_.localized()) {
            options_.write(z, emit, width, precision, nullptr);
        } else {
            const std::locale locale = context.locale();
            options_.write(z, emit, width, precision, &locale);
        }
        return context.out();
    }

private:
    ccomplex_detail::FormatOptions options_;
    formatter<string_view, char> text_;
};

#endif
#endif
#endif  // CCOMPLEX_FORMAT_H
