// {fmt} support for CComplex: fmt::format("{}", z), fmt::format_to,
// fmt::print, for fmt 9 and newer, in C++17 and later.
//
// The same options and the same text as ccomplex_format.h gives std::format
// (see there): each part as std::format writes a float, the width on the
// whole text, the 0 flag refused. So {} writes 1e+15 where {fmt} writes a
// float 1e15 as 1000000000000000: the text is the standard's, whichever
// library formats it. Bad options are refused at compile time where {fmt}
// checks a format string then (C++20, or FMT_STRING), else by
// fmt::format_error.
//
// The options are parsed once, with the format string; each value is then
// written from automatic storage and padded once, allocating nothing.
//
// ccomplex.h does not include {fmt}; this header does. Link fmt::fmt (CMake:
// find_package(fmt), then target_link_libraries(app PRIVATE fmt::fmt)).
#ifndef CCOMPLEX_FMT_H
#define CCOMPLEX_FMT_H

#include <fmt/format.h>

#include <locale>
#include <string_view>

#include "ccomplex.h"
#include "ccomplex_format_options.h"

#if FMT_VERSION < 90000
#error "ccomplex_fmt.h needs fmt 9 or newer"
#endif

template <>
struct fmt::formatter<CComplex, char> {
    template <typename ParseContext>
    constexpr auto parse(ParseContext& context) -> decltype(context.begin()) {
        // The whole text is written by {fmt}'s formatter of strings, which
        // copies it in one piece; it takes no options.
        format_parse_context none("}");
        text_.parse(none);
        const auto end =
            options_.parse(context, [](const char* message) { FMT_THROW(format_error(message)); });
        // Where {fmt} checks the arguments' types at compile time, a width or
        // precision from an argument must be an integer.
        checkDynamic(context, options_.widthArgument(), 0);
        checkDynamic(context, options_.precisionArgument(), 0);
        return end;
    }

    template <typename Context>
    auto format(const CComplex& z, Context& context) const -> decltype(context.out()) {
        const auto argumentAt = [&](int id) { return context.arg(id); };
        const auto fail = [](const char* message) { FMT_THROW(format_error(message)); };
        using ccomplex_detail::FormatOptions;
        const int width = FormatOptions::argument(argumentAt, options_.widthArgument(), fail);
        const int precision =
            FormatOptions::argument(argumentAt, options_.precisionArgument(), fail);
        const auto emit = [&](std::string_view text) {
            context.advance_to(text_.format(string_view(text.data(), text.size()), context));
        };
        if (!options_.localized()) {
            options_.write(z, emit, width, precision, nullptr);
        } else {
            const std::locale locale = context.locale().template get<std::locale>();
            options_.write(z, emit, width, precision, &locale);
        }
        return context.out();
    }

private:
    template <typename ParseContext>
    static constexpr auto checkDynamic(ParseContext& context, int id, int)
        -> decltype(context.check_dynamic_spec(id), void()) {
        if (id != ccomplex_detail::FormatOptions::kNoArgument) context.check_dynamic_spec(id);
    }
    template <typename ParseContext>
    static constexpr void checkDynamic(ParseContext&, int, long) {}

    ccomplex_detail::FormatOptions options_;
    formatter<string_view, char> text_;
};

#endif  // CCOMPLEX_FMT_H
