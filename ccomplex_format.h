// std::format support for CComplex: std::format("{}", z), std::format_to,
// and C++23's std::print.
//
// Each part is formatted exactly as std::format formats a float with the same
// sign, #, precision, L and type ({}, {:f}, {:.8e}, {:g}, {:a}), and the two
// are written as "<real> +j<imag>". Fill, alignment and width apply to the
// whole text, right-aligned where the options name no alignment, as << pads it:
// std::format("{:*^12.1f}", CComplex(2.5f, 3)) is "*2.5 +j3.0**". {} gives the
// shortest text that >> reads back bit for bit ("2.5 +j3", "-nan +jinf"). A
// width or precision may come from an argument ({:{}.{}f}, {0:.{1}f}), as for
// a float. Bad options are refused, at compile time where the format string
// is a constant.
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

#include <array>
#include <format>
#include <iterator>
#include <string>
#include <string_view>

// libc++ 16 declares std::format only under -fexperimental-library; without
// it, it marks its <format> incomplete.
#if !defined(__cpp_lib_format) && \
    (!defined(_LIBCPP_VERSION) || defined(_LIBCPP_HAS_NO_INCOMPLETE_FORMAT))
#error "ccomplex_format.h needs std::format: with libc++ 16, compile with -fexperimental-library"
#else

#include "ccomplex.h"

template <>
struct std::formatter<CComplex, char> {
private:
    // Room for "{0:" and "}" around any options that fit a format string's
    // practical use; longer ones are refused.
    static constexpr std::size_t kCapacity = 64;
    // No argument: the width or precision, if any, is in the options.
    static constexpr std::size_t kNone = ~std::size_t{0};

    using Text = std::array<char, kCapacity>;

    static constexpr void append(Text& to, std::size_t& length, std::string_view text) {
        if (length + text.size() > kCapacity)
            throw format_error("CComplex: format options too long");
        for (const char c : text) to[length++] = c;
    }

    // Parses "{0:options}" as the standard formatter of T would, with a width
    // or precision from argument 1; it throws format_error for anything it
    // does not accept.
    template <typename T>
    static constexpr void check(const Text& format, std::size_t length) {
        format_parse_context context(std::string_view(format.data(), length).substr(3), 2);
        formatter<T, char> standard;
        if (std::string_view(standard.parse(context), context.end()) != "}") {
            throw format_error("CComplex: invalid format options");
        }
    }

    // Takes a width or precision at `at` in `options`: digits, or "{}" or
    // "{n}" naming the argument that holds it, which becomes "{1}" in the
    // format built for it and its argument number is stored in `argument`.
    static constexpr std::size_t takeCount(format_parse_context& context, std::string_view options,
                                           std::size_t at, std::size_t& argument, Text& to,
                                           std::size_t& length) {
        std::size_t end = at;
        if (end < options.size() && options[end] == '{') {
            end = options.find('}', at);
            if (end == std::string_view::npos) throw format_error("CComplex: unclosed {");
            const std::string_view id = options.substr(at + 1, end - at - 1);
            if (id.empty()) {
                argument = context.next_arg_id();
            } else {
                argument = 0;
                for (const char c : id) {
                    if (c < '0' || c > '9') throw format_error("CComplex: bad argument number");
                    argument = argument * 10 + static_cast<std::size_t>(c - '0');
                }
                context.check_arg_id(argument);
            }
            append(to, length, "{1}");
            return end + 1;
        }
        while (end < options.size() && options[end] >= '0' && options[end] <= '9') ++end;
        append(to, length, options.substr(at, end - at));
        return end;
    }

    // The value of the width or precision argument `argument`: a
    // non-negative integer, as the standard formatters require.
    template <typename Context>
    static std::size_t countArgument(Context& context, std::size_t argument) {
        return visit_format_arg(
            [](auto value) -> std::size_t {
                using Value = decltype(value);
                if constexpr (is_integral_v<Value> && !is_same_v<Value, bool> &&
                              !is_same_v<Value, char>) {
                    if constexpr (is_signed_v<Value>) {
                        if (value < 0)
                            throw format_error("CComplex: a negative width or precision");
                    }
                    return static_cast<std::size_t>(value);
                } else {
                    throw format_error("CComplex: a width or precision that is no integer");
                }
            },
            context.arg(argument));
    }

    Text whole_ = {};
    Text part_ = {};
    std::size_t wholeLength_ = 0;
    std::size_t partLength_ = 0;
    std::size_t widthArgument_ = kNone;
    std::size_t precisionArgument_ = kNone;

public:
    // Splits the options into the whole text's fill, alignment and width, and
    // the parts' sign, #, 0, precision, L and type, and checks each half with
    // the standard formatter it goes to.
    constexpr format_parse_context::iterator parse(format_parse_context& context) {
        const std::string_view input(context.begin(), context.end());
        std::size_t size = 0;  // up to the "}" that closes the field
        for (int depth = 0; size < input.size(); ++size) {
            if (input[size] == '{') ++depth;
            if (input[size] == '}' && depth-- == 0) break;
        }
        const std::string_view options = input.substr(0, size);
        // A fill is one character, a code point of up to four bytes in UTF-8.
        const auto isAlign = [](char c) { return c == '<' || c == '>' || c == '^'; };
        const auto lead = options.empty() ? 0u : static_cast<unsigned char>(options[0]);
        const std::size_t fillLength = lead < 0xc0 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        std::size_t at = 0;
        if (options.size() > fillLength && isAlign(options[fillLength])) {
            at = fillLength + 1;
        } else if (!options.empty() && isAlign(options[0])) {
            at = 1;
        }
        wholeLength_ = 0;
        append(whole_, wholeLength_, "{0:");
        append(whole_, wholeLength_, at == 0 ? std::string_view(">") : options.substr(0, at));
        partLength_ = 0;
        append(part_, partLength_, "{0:");
        const std::size_t flags = at;
        while (at < options.size() &&
               std::string_view("+- #0").find(options[at]) != std::string_view::npos) {
            ++at;
        }
        append(part_, partLength_, options.substr(flags, at - flags));
        at = takeCount(context, options, at, widthArgument_, whole_, wholeLength_);
        if (at < options.size() && options[at] == '.') {
            append(part_, partLength_, ".");
            at = takeCount(context, options, at + 1, precisionArgument_, part_, partLength_);
        }
        append(part_, partLength_, options.substr(at));
        append(whole_, wholeLength_, "}");
        append(part_, partLength_, "}");
        check<std::string_view>(whole_, wholeLength_);
        check<float>(part_, partLength_);
        return std::next(context.begin(), static_cast<std::ptrdiff_t>(size));
    }

    template <typename Context>
    typename Context::iterator format(const CComplex& z, Context& context) const {
        const std::string_view partFormat(part_.data(), partLength_);
        std::size_t width = 0, precision = 0;
        if (widthArgument_ != kNone) width = countArgument(context, widthArgument_);
        if (precisionArgument_ != kNone) precision = countArgument(context, precisionArgument_);
        float real = z.real, imag = z.imag;
        std::string text =
            std::vformat(context.locale(), partFormat, std::make_format_args(real, precision));
        text += " +j";
        text += std::vformat(context.locale(), partFormat, std::make_format_args(imag, precision));
        return std::vformat_to(context.out(), std::string_view(whole_.data(), wholeLength_),
                               std::make_format_args(text, width));
    }
};

#endif
#endif
#endif  // CCOMPLEX_FORMAT_H
