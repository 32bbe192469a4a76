/*
 * The one rule by which typed or stored text becomes a chip count or a prize:
 * trim blanks and tabs, normalise digit grouping and the decimal separator,
 * convert with the standard library and accept only a whole, non-negative
 * number. Also the fixed-decimals output that shows a prize as it was typed.
 */
#ifndef OSTREL_NUMBER_ENTRY_H
#define OSTREL_NUMBER_ENTRY_H

#include <cstddef>
#include <cstdint>

enum
{
    TrimLeading = 1,
    TrimTrailing = 2,
    TrimBoth = 3,
    // Longest FormatFixed text: sign, 309 integer digits of DBL_MAX, the point,
    // up to 253 decimals of a 255-character entry, terminator; rounded up.
    FixedTextCapacity = 640,
};

int32_t TrimBlanks(char *text, int32_t flags);

// Writes the normalised text (digits and at most one point) to `output`, which
// may be `input` itself, and stores the count of digits after the point.
// A rejected text leaves `output` empty and still returns the count written
// before the offending character.
int32_t NormalizeNumber(char *output, const char *input, int32_t *decimals);

double ConvertReal(const char *text, int32_t *consumed);
// strtol held to the signed 32-bit range; digits beyond it still count as consumed.
int32_t ConvertInteger(const char *text, int base, int32_t *consumed);

// Both parse rules trim and normalise `text` in place.
bool ParsePayoutText(char *text, double *value, int32_t *decimals);
bool ParseCountText(char *text, int32_t *value);

bool CheckBubblePlayers(int32_t value);
bool CheckBubbleChips(int32_t value);

extern char FixedFormatTemplate[6];

// `value` in fixed notation with exactly `decimals` digits after the point,
// into `buffer`; a negative count (the rejected-entry mark) gives the empty
// text, so such a place is never taken for a number. Returns `buffer`.
const char *FormatFixed(char *buffer, size_t size, double value, int32_t decimals);

#endif
