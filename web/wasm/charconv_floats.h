/*
 * std::to_chars and std::from_chars for doubles, which the C++ library of
 * Debian's emscripten (3.1.6) lacks: the page's module is built with this
 * header forced into every unit (cmake/emscripten.cmake), so the libraries
 * and the command compile unchanged and write the bytes the native builds
 * write. Written on the C library's exact printf and correctly rounded
 * strtod; tests/web/charconv_test.cpp compares it with the native library
 * (there the std overloads stay out, the native library having its own).
 */
#ifndef OSTREL_WEB_CHARCONV_FLOATS_H
#define OSTREL_WEB_CHARCONV_FLOATS_H
#ifdef __cplusplus

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace ostrel_web
{

// The digits of `precision` that read back to `value` (> 0, finite), if
// any: the nearest of that length, or at a power of two (where the doubles
// below are twice as close) its neighbour above or below.
inline bool DigitsThatRead(double value, int precision, std::string &digits, int &exponent)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.*e", precision - 1, value);
    char *mark = std::strchr(text, 'e');
    std::string found;
    for (char *c = text; c != mark; ++c)
        if (*c != '.')
            found += *c;
    const int power = std::atoi(mark + 1);
    bool reads = std::strtod(text, nullptr) == value;
    for (int step = -1; !reads && step <= 1; step += 2)
    {
        uint64_t number = std::strtoull(found.c_str(), nullptr, 10);
        if (step < 0 && number == 0)
            continue;
        number = step < 0 ? number - 1 : number + 1;
        std::string other = std::to_string(number);
        if (other.size() != found.size())
            continue;
        std::string candidate = other.substr(0, 1) + "." + other.substr(1) + "e" + std::to_string(power);
        if (std::strtod(candidate.c_str(), nullptr) == value)
        {
            found = other;
            reads = true;
        }
    }
    if (!reads)
        return false;
    while (found.size() > 1 && found.back() == '0')
        found.pop_back();
    digits = found;
    exponent = power;
    return true;
}

// The shortest digits that read back to `value` (> 0, finite), the nearest
// to it among those of that length, and the decimal exponent of the first.
// Whatever reads back at one length does at the next (the same number with
// a zero, or the nearest, or its neighbour between the two), so the length
// may be searched in any order (C's printf and strtod work in software
// long doubles here, so every try counts). A computed double mostly needs 16
// or 17 digits: 16 and 15 are tried first (two or three calls in all), and
// below 15 the length is searched by halves.
inline void ShortestDigits(double value, std::string &digits, int &exponent)
{
    int low = 1;   // lengths below `low` do not read back
    int high = 17; // 17 digits always read back
    DigitsThatRead(value, high, digits, exponent);
    for (int length = 16; length >= 15 && low < high; --length)
    {
        std::string found;
        int power = 0;
        if (!DigitsThatRead(value, length, found, power))
        {
            low = length + 1;
            break;
        }
        high = length;
        digits = found;
        exponent = power;
    }
    while (low < high)
    {
        const int middle = (low + high) / 2;
        std::string found;
        int power = 0;
        if (DigitsThatRead(value, middle, found, power))
        {
            high = middle;
            digits = found;
            exponent = power;
        }
        else
            low = middle + 1;
    }
}

inline std::string ScientificText(const std::string &digits, int exponent)
{
    std::string text = digits.substr(0, 1);
    if (digits.size() > 1)
        text += "." + digits.substr(1);
    const int magnitude = exponent < 0 ? -exponent : exponent;
    text += exponent < 0 ? "e-" : "e+";
    if (magnitude < 10)
        text += "0";
    return text + std::to_string(magnitude);
}

inline std::string FixedText(const std::string &digits, int exponent)
{
    const int count = static_cast<int>(digits.size());
    if (exponent >= count - 1)
        return digits + std::string(static_cast<size_t>(exponent - count + 1), '0');
    if (exponent >= 0)
        return digits.substr(0, static_cast<size_t>(exponent + 1)) + "." +
               digits.substr(static_cast<size_t>(exponent + 1));
    return "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
}

// `general` is the shortest of the fixed and scientific forms, fixed on a tie.
inline std::to_chars_result WriteDouble(char *first, char *last, double value, int form)
{
    std::string text;
    if (std::signbit(value))
        text = "-";
    const double magnitude = std::fabs(value);
    if (std::isnan(value))
        text += "nan";
    else if (std::isinf(value))
        text += "inf";
    else if (magnitude == 0.0)
        text += form == 1 ? "0e+00" : "0";
    else
    {
        std::string digits;
        int exponent = 0;
        ShortestDigits(magnitude, digits, exponent);
        const std::string scientific = ScientificText(digits, exponent);
        std::string fixed = FixedText(digits, exponent);
        // Where the fixed form pads the digits with zeros, the native
        // libraries write the double's exact integer instead (of the same
        // length): 2^55 is 36028797018963968, not 36028797018963970.
        if (exponent > static_cast<int>(digits.size()) - 1)
        {
            char exact[400];
            std::snprintf(exact, sizeof exact, "%.0f", magnitude);
            fixed = exact;
        }
        text += form == 1 ? scientific : form == 2 ? fixed : fixed.size() <= scientific.size() ? fixed : scientific;
    }
    if (static_cast<size_t>(last - first) < text.size())
        return {last, std::errc::value_too_large};
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), std::errc()};
}

// The decimal pattern of `form` (exponent required, allowed or not read),
// read by strtod; out of range where the double would be infinite or zero.
inline std::from_chars_result ReadDouble(const char *first, const char *last, double &value, int form)
{
    const char *c = first;
    if (c != last && *c == '-')
        ++c;
    const char *digitsStart = c;
    size_t digits = 0;
    while (c != last && *c >= '0' && *c <= '9')
        ++c, ++digits;
    if (c != last && *c == '.')
    {
        ++c;
        while (c != last && *c >= '0' && *c <= '9')
            ++c, ++digits;
    }
    if (digits == 0)
    {
        // inf, infinity and nan, in any case
        std::string rest(digitsStart, static_cast<size_t>(last - digitsStart));
        for (char &letter : rest)
            letter = static_cast<char>(letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
        const bool negative = digitsStart != first;
        if (rest.compare(0, 8, "infinity") == 0 || rest.compare(0, 3, "inf") == 0)
        {
            value = negative ? -HUGE_VAL : HUGE_VAL;
            return {digitsStart + (rest.compare(0, 8, "infinity") == 0 ? 8 : 3), std::errc()};
        }
        if (rest.compare(0, 3, "nan") == 0)
        {
            value = negative ? -std::nan("") : std::nan("");
            return {digitsStart + 3, std::errc()};
        }
        return {first, std::errc::invalid_argument};
    }
    if (form != 2 && c != last && (*c == 'e' || *c == 'E'))
    {
        const char *e = c + 1;
        if (e != last && (*e == '+' || *e == '-'))
            ++e;
        if (e != last && *e >= '0' && *e <= '9')
        {
            while (e != last && *e >= '0' && *e <= '9')
                ++e;
            c = e;
        }
        else if (form == 1)
            return {first, std::errc::invalid_argument};
    }
    else if (form == 1)
        return {first, std::errc::invalid_argument};
    const std::string text(first, static_cast<size_t>(c - first));
    errno = 0;
    const double read = std::strtod(text.c_str(), nullptr);
    if (std::isinf(read) || (read == 0.0 && errno == ERANGE))
        return {c, std::errc::result_out_of_range};
    value = read;
    return {c, std::errc()};
}

} // namespace ostrel_web

#ifdef __EMSCRIPTEN__
namespace std
{

inline to_chars_result to_chars(char *first, char *last, double value)
{
    return ostrel_web::WriteDouble(first, last, value, 0);
}

inline to_chars_result to_chars(char *first, char *last, double value, chars_format format)
{
    return ostrel_web::WriteDouble(first, last, value,
                                   format == chars_format::scientific ? 1 : format == chars_format::fixed ? 2 : 0);
}

inline from_chars_result from_chars(const char *first, const char *last, double &value,
                                    chars_format format = chars_format::general)
{
    return ostrel_web::ReadDouble(first, last, value,
                                  format == chars_format::scientific ? 1 : format == chars_format::fixed ? 2 : 0);
}

} // namespace std
#endif

#endif
#endif
