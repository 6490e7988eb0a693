// std::format support for CComplex: std::format("{}", z), std::format_to,
// and C++23's std::print.
//
// Each part is formatted exactly as std::format formats a float with the same
// sign, #, precision, L and type ({}, {:f}, {:.8e}, {:g}, {:a}), and the two
// are written as "<real> +j<imag>". Fill, alignment and width apply to the
// whole text, right-aligned where the options name no alignment, as << pads it:
// std::format("{:*^12.1f}", CComplex(2.5f, 3)) is "*2.5 +j3.0**". {} gives the
// shortest text that >> reads back bit for bit ("2.5 +j3", "-nan +jinf"). A
// width or precision taken from an argument ({:{}}) is refused, at compile
// time where the format string is a constant, as any bad options are.
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
    // Room for "{:" and "}" around any options that fit a format string's
    // practical use; a longer one is refused.
    static constexpr std::size_t kCapacity = 64;

    using Text = std::array<char, kCapacity>;

    static constexpr void append(Text& to, std::size_t& length, std::string_view text) {
        if (length + text.size() > kCapacity)
            throw format_error("CComplex: format options too long");
        for (const char c : text) to[length++] = c;
    }

    // Parses "{:options}" as the standard formatter of T would, which throws
    // format_error for anything it does not accept.
    template <typename T>
    static constexpr void check(const Text& format, std::size_t length) {
        format_parse_context context(std::string_view(format.data(), length).substr(2));
        formatter<T, char> standard;
        if (std::string_view(standard.parse(context), context.end()) != "}") {
            throw format_error("CComplex: invalid format options");
        }
    }

    Text whole_ = {};
    Text part_ = {};
    std::size_t wholeLength_ = 0;
    std::size_t partLength_ = 0;

public:
    // Splits the options into the whole text's fill, alignment and width, and the
    // parts' sign, #, 0, precision, L and type, and checks each half with the
    // standard formatter it goes to.
    constexpr format_parse_context::iterator parse(format_parse_context& context) {
        const std::string_view input(context.begin(), context.end());
        const std::string_view options = input.substr(0, input.find('}'));
        if (options.find('{') != std::string_view::npos) {
            throw format_error("CComplex: a width or precision from an argument is not supported");
        }
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
        std::string_view fillAndAlign = options.substr(0, at);
        std::string_view flags = options.substr(at);
        std::size_t flagsEnd = 0;
        while (flagsEnd < flags.size() &&
               std::string_view("+- #0").find(flags[flagsEnd]) != std::string_view::npos) {
            ++flagsEnd;
        }
        std::size_t widthEnd = flagsEnd;
        while (widthEnd < flags.size() && flags[widthEnd] >= '0' && flags[widthEnd] <= '9') {
            ++widthEnd;
        }
        const std::string_view width = flags.substr(flagsEnd, widthEnd - flagsEnd);
        wholeLength_ = 0;
        append(whole_, wholeLength_, "{:");
        append(whole_, wholeLength_, fillAndAlign.empty() ? std::string_view(">") : fillAndAlign);
        append(whole_, wholeLength_, width);
        append(whole_, wholeLength_, "}");
        partLength_ = 0;
        append(part_, partLength_, "{:");
        append(part_, partLength_, flags.substr(0, flagsEnd));
        append(part_, partLength_, flags.substr(widthEnd));
        append(part_, partLength_, "}");
        check<std::string_view>(whole_, wholeLength_);
        check<float>(part_, partLength_);
        return std::next(context.begin(), static_cast<std::ptrdiff_t>(options.size()));
    }

    template <typename Context>
    typename Context::iterator format(const CComplex& z, Context& context) const {
        const std::string_view partFormat(part_.data(), partLength_);
        float real = z.real, imag = z.imag;
        std::string text = std::vformat(context.locale(), partFormat, std::make_format_args(real));
        text += " +j";
        text += std::vformat(context.locale(), partFormat, std::make_format_args(imag));
        return std::vformat_to(context.out(), std::string_view(whole_.data(), wholeLength_),
                               std::make_format_args(text));
    }
};

#endif
#endif
#endif  // CCOMPLEX_FORMAT_H
