// libFuzzer target for the entry rule: no crash or undefined behaviour on any
// bytes; the normalised text holds only digits and at most one point and is
// never longer than its input; an accepted prize survives formatting with its
// decimals and a second parse unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "number_entry.h"

static void Check(bool condition)
{
    if (!condition)
        std::abort();
}

static void CheckNormalised(const char *input)
{
    char output[256];
    int32_t decimals = -1;
    NormalizeNumber(output, input, &decimals);
    const size_t length = std::strlen(output);
    Check(length <= std::strlen(input));
    Check(decimals >= 0);
    int points = 0;
    for (size_t i = 0; i < length; ++i)
    {
        Check((output[i] >= '0' && output[i] <= '9') || output[i] == '.');
        points += output[i] == '.';
    }
    Check(points <= 1);
    Check(length == 0 || output[0] != '.');
}

static void CheckPrizeRoundTrip(const char *input)
{
    char text[256];
    std::memcpy(text, input, std::strlen(input) + 1);
    double value = 0;
    int32_t decimals = 0;
    if (!ParsePayoutText(text, &value, &decimals))
        return;
    Check(value >= 0 && decimals >= 0);
    char printed[FixedTextCapacity];
    FormatFixed(printed, sizeof printed, value, decimals);
    double again = -1;
    int32_t decimalsAgain = -1;
    Check(ParsePayoutText(printed, &again, &decimalsAgain));
    Check(again == value);
    Check(decimalsAgain == decimals);
}

static void CheckCount(const char *input)
{
    char text[256];
    std::memcpy(text, input, std::strlen(input) + 1);
    int32_t value = -1;
    if (ParseCountText(text, &value))
        Check(value >= 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Entries and file values are read into 256-byte buffers: at most 255 bytes.
    char input[256];
    const size_t length = size < 255 ? size : 255;
    std::memcpy(input, data, length);
    input[length] = '\0';
    CheckNormalised(input);
    CheckPrizeRoundTrip(input);
    CheckCount(input);
    return 0;
}
