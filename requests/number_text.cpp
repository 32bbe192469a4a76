/*
 * Text of numbers and of typed input. Cost: one pass over the text.
 */
#include "number_text.h"

#include <charconv>
#include <system_error>

namespace ostrel
{

std::string Escaped(const std::string &text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string shown;
    for (char c : text)
    {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\t')
            shown += "\\t";
        else if (c == '\n')
            shown += "\\n";
        else if (c == '\r')
            shown += "\\r";
        else if (byte < 0x20 || byte == 127 || byte >= 0x80)
            shown += std::string("\\x") + hex[byte >> 4] + hex[byte & 15];
        else
            shown += c;
    }
    return shown;
}

std::string Quoted(const std::string &text)
{
    return "\"" + Escaped(text.substr(0, 40)) + (text.size() > 40 ? "...\"" : "\"");
}

std::string StackText(int64_t chips, int32_t decimals)
{
    std::string digits = std::to_string(chips);
    if (decimals <= 0)
        return digits;
    const size_t places = static_cast<size_t>(decimals);
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');
    digits.insert(digits.size() - places, ".");
    while (digits.back() == '0')
        digits.pop_back();
    if (digits.back() == '.')
        digits.pop_back();
    return digits;
}

std::string ShortestText(double value)
{
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::string ReadCount(const std::string &option, const std::string &text, int64_t low, int64_t high,
                      const std::string &what, int64_t &value)
{
    const std::string range = what + (low == 0 ? "" : " from " + std::to_string(low)) +
                              (low == 0 ? " up to " : " to ") + std::to_string(high);
    const std::string typed = option + " " + Escaped(text) + ": ";
    int64_t read = 0;
    const std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), read);
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (!digits &&
        !(text.size() > 1 && text[0] == '-' && text.find_first_not_of("0123456789", 1) == std::string::npos))
        return typed + "not a whole number (" + range + ")";
    if (result.ec != std::errc() || read < low || read > high)
        return typed + "not " + range;
    value = read;
    return "";
}

} // namespace ostrel
