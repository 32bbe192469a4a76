/*
 * Number entry: trimming, normalising and converting typed or stored text,
 * and fixed-decimals formatting. Conversions run in the classic locale: the
 * program never changes the C runtime's locale, so the point is always the
 * decimal separator, whatever the user's regional settings.
 */
#include "number_entry.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char FixedFormatTemplate[6] = "%0.0f";

static bool IsBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

int32_t TrimBlanks(char *text, int32_t flags)
{
    if (text == nullptr || (flags & TrimBoth) == 0)
        return 0;
    size_t start = 0;
    if (flags & TrimLeading)
    {
        while (IsBlankOrTab(text[start]))
            ++start;
    }
    size_t length = std::strlen(text + start);
    if (start > 0)
        std::memmove(text, text + start, length + 1);
    if (flags & TrimTrailing)
    {
        while (length > 0 && IsBlankOrTab(text[length - 1]))
            --length;
        text[length] = '\0';
    }
    return static_cast<int32_t>(length);
}

static int32_t RejectNumber(char *output, int32_t written, int32_t *decimals)
{
    output[0] = '\0';
    if (decimals != nullptr)
        *decimals = 0;
    return written;
}

/*
 * One pass, writing behind the read position, so in-place use is safe. A
 * single blank between digits groups them and is dropped; a blank directly
 * after the separator is dropped as well, since the blank count stays 0 there.
 */
int32_t NormalizeNumber(char *output, const char *input, int32_t *decimals)
{
    if (output == nullptr)
    {
        if (decimals != nullptr)
            *decimals = 0;
        return 0;
    }
    if (input == nullptr)
        return RejectNumber(output, 0, decimals);
    bool digitSeen = false;
    int32_t blanks = 0;
    int32_t pointAt = 0;
    int32_t written = 0;
    for (const char *p = input;; ++p)
    {
        const char c = *p;
        if (c == '\0')
            break;
        if (c == ' ')
        {
            if (!digitSeen)
                return RejectNumber(output, written, decimals);
            ++blanks;
        }
        else if (c == '.' || c == ',')
        {
            if (!digitSeen || blanks != 0 || pointAt != 0)
                return RejectNumber(output, written, decimals);
            pointAt = written;
            output[written++] = '.';
        }
        else if (c >= '0' && c <= '9')
        {
            if (blanks >= 2)
                return RejectNumber(output, written, decimals);
            digitSeen = true;
            blanks = 0;
            output[written++] = c;
        }
        else
        {
            return RejectNumber(output, written, decimals);
        }
    }
    output[written] = '\0';
    if (decimals != nullptr)
        *decimals = pointAt == 0 ? 0 : written - pointAt - 1;
    return written;
}

double ConvertReal(const char *text, int32_t *consumed)
{
    char *end = nullptr;
    const double value = std::strtod(text, &end);
    if (consumed != nullptr)
        *consumed = static_cast<int32_t>(end - text);
    return value;
}

int32_t ConvertInteger(const char *text, int base, int32_t *consumed)
{
    char *end = nullptr;
    // long is 32 bits on Windows and 64 on Linux; held to 32 bits on both.
    const long long value = std::strtol(text, &end, base);
    if (consumed != nullptr)
        *consumed = static_cast<int32_t>(end - text);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool ParsePayoutText(char *text, double *value, int32_t *decimals)
{
    int32_t places = 0;
    TrimBlanks(text, TrimBoth);
    const int32_t length = NormalizeNumber(text, text, &places);
    int32_t consumed = 0;
    const double number = ConvertReal(text, &consumed);
    const bool accepted = length > 0 && consumed == length && number >= 0.0;
    if (value != nullptr)
        *value = number;
    if (decimals != nullptr)
        *decimals = places;
    return accepted;
}

bool ParseCountText(char *text, int32_t *value)
{
    TrimBlanks(text, TrimBoth);
    const int32_t length = NormalizeNumber(text, text, nullptr);
    int32_t consumed = 0;
    const int32_t number = ConvertInteger(text, 10, &consumed);
    const bool accepted = length > 0 && consumed == length && number >= 0;
    if (value != nullptr)
        *value = number;
    return accepted;
}

bool CheckBubblePlayers(int32_t value)
{
    return value >= 2 && value <= 1000;
}

bool CheckBubbleChips(int32_t value)
{
    return value >= 10 && value <= 100000;
}

/*
 * The template's precision digit holds 0 to 9; a count of ten or more (a
 * prize typed with that many decimals) goes through "%.*f" instead, which
 * prints exactly that many digits, where a single digit would break the
 * format.
 */
const char *FormatFixed(char *buffer, size_t size, double value, int32_t decimals)
{
    if (buffer == nullptr || size == 0)
        return buffer;
    buffer[0] = '\0';
    if (decimals < 0)
        return buffer;
    if (decimals <= 9)
    {
        FixedFormatTemplate[3] = static_cast<char>('0' + decimals);
        // The template is the format by design; it only ever holds "%0.Nf".
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        std::snprintf(buffer, size, FixedFormatTemplate, value);
#pragma GCC diagnostic pop
    }
    else
    {
        std::snprintf(buffer, size, "%.*f", static_cast<int>(decimals), value);
    }
    return buffer;
}
