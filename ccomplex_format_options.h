// What CComplex's formatters share: ccomplex_format.h (std::format) and
// ccomplex_fmt.h ({fmt}) parse a field's options and write its text here, so
// that both accept the same options and give the same text. Include one of
// those headers, not this one.
//
// The options are parsed once, when the format string is; each value is then
// written from automatic storage, its parts by std::to_chars, and padded
// once: no allocation and no format string per value.
#ifndef CCOMPLEX_FORMAT_OPTIONS_H
#define CCOMPLEX_FORMAT_OPTIONS_H

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <locale>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

#include "ccomplex.h"

namespace ccomplex_detail {

// The options' fields are laid out for reading, not for size: a strict
// host's -Wpadded has nothing to say about them.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wpadded"
#endif

// A field's options, [[fill]align][sign][#][width][.precision][L][type]:
// fill, alignment and width for the whole text, the rest for each part, as
// for a float. The 0 flag is refused: a width belongs to the whole text, and
// zeros inside it would not pad a part.
class FormatOptions {
public:
    static constexpr int kNoArgument = -1;

    // Parses the options from the context's position to the '}' that closes
    // the field, and returns the position of that '}'. An error calls
    // fail(message), which must not return. A width or precision may name an
    // argument ({} or {n}), taken through the context's next_arg_id and
    // check_arg_id, which refuse a mix of automatic and manual numbering.
    template <typename ParseContext, typename Fail>
    constexpr auto parse(ParseContext& context, Fail fail) {
        auto it = context.begin();
        const auto end = context.end();
        const auto at = [&](auto position) { return position != end ? *position : '}'; };
        // A fill is one code point, up to four bytes in UTF-8, before an
        // alignment; bytes that are no code point are refused there.
        const auto lead = static_cast<unsigned char>(at(it));
        const int fillSize = lead < 0xc0 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        auto afterFill = it;
        for (int i = 0; i < fillSize && afterFill != end; ++i) ++afterFill;
        if (at(it) != '}' && at(it) != '{' && isAlign(at(afterFill))) {
            fillSize_ = 0;
            for (; it != afterFill; ++it) fill_[fillSize_++] = *it;
            if (!isCodePoint(fill_, fillSize_)) fail("CComplex: a fill that is not UTF-8");
            align_ = *it++;
        } else if (isAlign(at(it))) {
            align_ = *it++;
        }
        if (at(it) == '+' || at(it) == '-' || at(it) == ' ') sign_ = *it++;
        if (at(it) == '#') {
            alternate_ = true;
            ++it;
        }
        if (at(it) == '0')
            fail("CComplex: the 0 flag is not supported; a width pads the whole text");
        it = count(context, it, end, width_, widthArgument_, fail);
        if (at(it) == '.') {
            precision_ = 0;
            const auto digits = ++it;
            it = count(context, it, end, precision_, precisionArgument_, fail);
            if (it == digits) fail("CComplex: a precision needs digits or an argument");
        }
        if (at(it) == 'L') {
            localized_ = true;
            ++it;
        }
        const char type = at(it);
        if (type == 'a' || type == 'A' || type == 'e' || type == 'E' || type == 'f' ||
            type == 'F' || type == 'g' || type == 'G') {
            type_ = type;
            ++it;
        }
        if (at(it) != '}') fail("CComplex: invalid format options");
        return it;
    }

    // The value of the width or precision argument `id` (0 where the options
    // name none), from argumentAt(id), a format context's argument: an
    // integer from 0 to 10^8, as a float's formatter takes it. Anything else
    // calls fail(message), which must not return.
    template <typename ArgumentAt, typename Fail>
    static int argument(ArgumentAt argumentAt, int id, Fail fail) {
        if (id == kNoArgument) return 0;
        return visit([fail](auto value) { return argumentValue(value, fail); }, argumentAt(id), 0);
    }

    constexpr int widthArgument() const noexcept { return widthArgument_; }
    constexpr int precisionArgument() const noexcept { return precisionArgument_; }
    constexpr bool localized() const noexcept { return localized_; }

    // Writes z's text through `emit(std::string_view)`, with the width and
    // precision that arguments gave where the options named them, and the
    // locale's separators under L. The parts are formatted side by side in
    // automatic storage, with room for some padding on either side, so that
    // the text usually goes out in one piece; zeros past a float's last digit
    // and long padding go out in pieces of their own.
    template <typename Emit>
    void write(const CComplex& z, Emit emit, int width, int precision,
               const std::locale* locale) const {
        if (widthArgument_ == kNoArgument) width = width_;
        if (precisionArgument_ == kNoArgument) precision = precision_;
        char buffer[kRoom + 2 * Part::kCapacity + 3 + kRoom];
        char* const first = buffer + kRoom;
        Part real(first);
        real.set(z.real, *this, precision, locale);
        char* const marker = real.end();
        marker[0] = ' ';
        marker[1] = '+';
        marker[2] = 'j';
        Part imag(marker + 3);
        imag.set(z.imag, *this, precision, locale);
        const long length = real.length() + 3 + imag.length();
        const long padding = std::max(0L, static_cast<long>(width) - length);
        const long before = align_ == '<' ? 0 : align_ == '^' ? padding / 2 : padding;
        const long after = padding - before;
        if (real.zeros() == 0 && imag.zeros() == 0 &&
            (before + after) * fillSize_ <= static_cast<long>(kRoom)) {
            char* start = first;
            for (long i = 0; i < before; ++i)
                start = std::copy_backward(fill_, fill_ + fillSize_, start);
            char* end = imag.end();
            for (long i = 0; i < after; ++i) end = std::copy(fill_, fill_ + fillSize_, end);
            emit(std::string_view(start, static_cast<std::size_t>(end - start)));
            return;
        }
        pad(emit, before);
        real.write(emit, imag.zeros() == 0 ? imag.end() : marker + 3);
        if (imag.zeros() != 0) imag.write(emit, imag.end());
        pad(emit, after);
    }

private:
    template <typename Value, typename Fail>
    static int argumentValue(Value value, Fail fail) {
        if constexpr (std::is_integral_v<Value> && !std::is_same_v<Value, bool> &&
                      !std::is_same_v<Value, char>) {
            if constexpr (std::is_signed_v<Value>) {
                if (value < 0) fail("CComplex: a negative width or precision");
            }
            if (static_cast<unsigned long long>(value) > 100'000'000)
                fail("CComplex: a width or precision too large");
            return static_cast<int>(value);
        } else {
            fail("CComplex: a width or precision that is no integer");
            return 0;
        }
    }

    // The argument's member visit where it has one (C++26, fmt 11), else
    // visit_format_arg, found in the argument's namespace, which both
    // deprecate.
    template <typename Visitor, typename Arg>
    static auto visit(Visitor visitor, Arg arg, int) -> decltype(arg.visit(visitor)) {
        return arg.visit(visitor);
    }
    template <typename Visitor, typename Arg>
    static auto visit(Visitor visitor, Arg arg, long) {
        return visit_format_arg(visitor, arg);
    }

    static constexpr std::size_t kRoom = 64;  // for padding, on either side

    template <typename Emit>
    void pad(Emit& emit, long count) const {
        char fills[kRoom];
        const long perPiece = static_cast<long>(kRoom) / fillSize_;
        for (long i = 0; i < perPiece; ++i)
            std::copy(fill_, fill_ + fillSize_, fills + i * fillSize_);
        for (; count > 0; count -= perPiece) {
            emit(std::string_view(fills,
                                  static_cast<std::size_t>(std::min(count, perPiece) * fillSize_)));
        }
    }

    // One part's text, written at the place given: the characters from
    // there to end(), with zeros() zeros after its first `zerosAt_`, the
    // digits a precision asks for beyond the last a float can have.
    class Part {
    public:
        // The longest part: a sign, 39 integer digits each with a
        // separator, a point and 149 decimals (fixed, where a float's
        // digits end).
        static constexpr std::size_t kCapacity = 232;

        explicit Part(char* text) : text_(text) {}
        void set(float value, const FormatOptions& options, int precision,
                 const std::locale* locale);
        char* end() const noexcept { return text_ + size_; }
        long zeros() const noexcept { return zeros_; }
        long length() const noexcept { return static_cast<long>(size_) + zeros_; }

        // Emits the part up to its zeros, the zeros, and the rest up to `last`.
        template <typename Emit>
        void write(Emit& emit, const char* last) const {
            emit(std::string_view(text_, zerosAt_));
            static constexpr char kZeros[] =
                "0000000000000000000000000000000000000000000000000000000000000000";
            for (long left = zeros_; left > 0; left -= 64) {
                emit(std::string_view(kZeros, static_cast<std::size_t>(std::min(left, 64L))));
            }
            emit(std::string_view(text_ + zerosAt_,
                                  static_cast<std::size_t>(last - (text_ + zerosAt_))));
        }

    private:
        void format(float magnitude, const FormatOptions& options, int precision);
        void insert(std::size_t at, char c);
        void localize(const std::locale& locale, std::size_t first);

        char* text_;
        std::size_t size_ = 0;
        std::size_t zerosAt_ = 0;
        long zeros_ = 0;
    };

    static constexpr bool isAlign(char c) { return c == '<' || c == '>' || c == '^'; }

    // Whether `bytes` are one code point in UTF-8: a lead byte that starts
    // that many bytes (not a continuation byte, nor past U+10FFFF), and
    // continuation bytes after it.
    static constexpr bool isCodePoint(const char* bytes, int size) {
        const auto lead = static_cast<unsigned char>(bytes[0]);
        if (size == 1) return lead < 0x80;
        if (lead < 0xc2 || lead > 0xf4) return false;
        for (int i = 1; i < size; ++i) {
            if ((static_cast<unsigned char>(bytes[i]) & 0xc0) != 0x80) return false;
        }
        return true;
    }

    // Digits, or {} or {n} naming an argument: stores the value or the
    // argument's number, and returns the position after it.
    template <typename ParseContext, typename It, typename Fail>
    static constexpr It count(ParseContext& context, It it, It end, int& value, int& argument,
                              Fail fail) {
        if (it != end && *it == '{') {
            ++it;
            if (it != end && *it == '}') {
                argument = static_cast<int>(context.next_arg_id());
            } else {
                argument = 0;
                if (*it == '0' && it + 1 != end && it[1] >= '0' && it[1] <= '9')
                    fail("CComplex: an argument number with a leading zero");
                for (; it != end && *it >= '0' && *it <= '9'; ++it) {
                    if (argument > 100'000) fail("CComplex: argument number too large");
                    argument = argument * 10 + (*it - '0');
                }
                if (it == end || *it != '}') fail("CComplex: bad argument number");
                context.check_arg_id(static_cast<decltype(context.next_arg_id())>(argument));
            }
            return ++it;
        }
        for (; it != end && *it >= '0' && *it <= '9'; ++it) {
            value = value * 10 + (*it - '0');  // at most 10^9 + 9: no overflow
            if (value > 100'000'000) fail("CComplex: width or precision too large");
        }
        return it;
    }

    char fill_[4] = {' '};
    int fillSize_ = 1;
    char align_ = '>';  // right, as << pads
    char sign_ = '-';
    char type_ = 0;
    bool alternate_ = false;
    bool localized_ = false;
    int width_ = 0;
    int precision_ = -1;  // none
    int widthArgument_ = kNoArgument;
    int precisionArgument_ = kNoArgument;
};

#if defined(__clang__)
#pragma clang diagnostic pop
#endif

inline void FormatOptions::Part::set(float value, const FormatOptions& options, int precision,
                                     const std::locale* locale) {
    size_ = 0;
    zeros_ = 0;
    const bool negative = std::signbit(value);
    if (negative || options.sign_ != '-') text_[size_++] = negative ? '-' : options.sign_;
    const std::size_t digits = size_;
    format(std::fabs(value), options, precision);
    if (options.type_ == 'A' || options.type_ == 'E' || options.type_ == 'F' ||
        options.type_ == 'G') {
        for (std::size_t i = digits; i < size_; ++i) {
            if (text_[i] >= 'a' && text_[i] <= 'z') text_[i] = static_cast<char>(text_[i] - 32);
        }
    }
    if (options.localized_ && locale != nullptr && std::isfinite(value)) localize(*locale, digits);
}

// The digits of `magnitude` as std::format writes a float with the part's
// type, precision and #, by std::to_chars: the shortest text that reads back
// with neither, the general form with a precision alone.
inline void FormatOptions::Part::format(float magnitude, const FormatOptions& options,
                                        int precision) {
    char* const first = text_ + size_;
    char* const last = text_ + kCapacity;
    const char type =
        options.type_ == 0 ? 0 : static_cast<char>(options.type_ | 0x20);  // lowercase
    if (!std::isfinite(magnitude)) {
        // As << writes them: a NaN's payload, which some libraries show
        // (nan(snan)), would not read back.
        const char* word = std::isnan(magnitude) ? "nan" : "inf";
        size_ = static_cast<std::size_t>(std::copy(word, word + 3, first) - text_);
        zerosAt_ = size_;
        return;
    }
    // Beyond these precisions a float has no nonzero digit: the rest are
    // zeros, counted rather than written.
    const int fixedDigits = 149, scientificDigits = 112, hexDigits = 6;
    std::chars_format format = std::chars_format::general;
    int limit = scientificDigits;
    if (type == 'a') {
        format = std::chars_format::hex;
        limit = hexDigits;
    } else if (type == 'e') {
        format = std::chars_format::scientific;
    } else if (type == 'f') {
        format = std::chars_format::fixed;
        limit = fixedDigits;
    }
    const bool general = format == std::chars_format::general;
    if (precision < 0 && type != 0) precision = type == 'a' ? -1 : 6;
    // '#' keeps trailing zeros for g alone; with no type it only adds the point.
    const bool keepZeros = type == 'g' && options.alternate_;
    if (general && precision >= 0 && keepZeros) {
        // The general form keeping its trailing zeros: fixed where the
        // exponent X of the scientific form lies in [-4, P), with P - 1 - X
        // decimals, else scientific with P - 1, as printf's %#g.
        const int p = precision == 0 ? 1 : precision;
        char scratch[160];
        const auto scientific =
            std::to_chars(scratch, scratch + sizeof scratch, magnitude,
                          std::chars_format::scientific, std::min(p - 1, scientificDigits));
        const char* e = std::find(scratch, scientific.ptr, 'e');
        int x = 0;
        std::from_chars(e + (e[1] == '+' ? 2 : 1), scientific.ptr, x);
        if (x >= -4 && x < p) {
            format = std::chars_format::fixed;
            precision = p - 1 - x;
            limit = fixedDigits;
        } else {
            format = std::chars_format::scientific;
            precision = p - 1;
        }
    }
    std::to_chars_result result;
    if (precision < 0) {
        result = type == 'a' ? std::to_chars(first, last, magnitude, format)
                             : std::to_chars(first, last, magnitude);
    } else {
        const bool padded = !general || keepZeros;  // general drops trailing zeros
        const int written = padded ? std::min(precision, limit) : std::min(precision, 120);
        result = std::to_chars(first, last, magnitude, format, written);
        if (padded) zeros_ = precision - written;
    }
    size_ = static_cast<std::size_t>(result.ptr - text_);
    zerosAt_ = size_;
    if (zeros_ == 0 && !options.alternate_) return;
    // The zeros, and the point # asks for, go before the exponent.
    std::size_t exponent = size_;
    for (std::size_t i = static_cast<std::size_t>(first - text_); i < size_; ++i) {
        if (text_[i] == 'e' || text_[i] == 'p') exponent = i;
    }
    if (options.alternate_ && std::find(first, text_ + exponent, '.') == text_ + exponent) {
        insert(exponent++, '.');
    }
    zerosAt_ = exponent;
}

inline void FormatOptions::Part::insert(std::size_t at, char c) {
    std::copy_backward(text_ + at, text_ + size_, text_ + size_ + 1);
    text_[at] = c;
    ++size_;
    if (zerosAt_ > at) ++zerosAt_;
}

// The locale's decimal point, and its thousands separator between groups of
// the integer digits from `first`, as its grouping says.
inline void FormatOptions::Part::localize(const std::locale& locale, std::size_t first) {
    const auto& punctuation = std::use_facet<std::numpunct<char>>(locale);
    std::size_t integerEnd = first;
    while (integerEnd < size_ && text_[integerEnd] >= '0' && text_[integerEnd] <= '9') ++integerEnd;
    if (integerEnd < size_ && text_[integerEnd] == '.')
        text_[integerEnd] = punctuation.decimal_point();
    const std::string grouping = punctuation.grouping();
    if (grouping.empty()) return;
    std::size_t group = 0, at = integerEnd;
    for (int size = grouping[0];;) {
        if (size <= 0 || size == CHAR_MAX || at - first <= static_cast<std::size_t>(size)) break;
        at -= static_cast<std::size_t>(size);
        insert(at, punctuation.thousands_sep());
        if (group + 1 < grouping.size()) size = grouping[++group];
    }
}

}  // namespace ccomplex_detail

#endif  // CCOMPLEX_FORMAT_OPTIONS_H
