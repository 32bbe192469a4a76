/*
 * Money in exact decimal arithmetic, for deals paid in whole units: amounts
 * as unsigned integers of any size scaled by a power of ten, so that sums,
 * multiples and remainders are decided without rounding.
 *
 * An amount given as a double is taken as the shortest decimal that reads
 * back to that double, which is the text typed for any amount of up to 15
 * significant digits (and for most of 16 or 17).
 *
 * Cost: O(L) per addition or comparison and per product with a 64-bit
 * number, O(L) per quotient below 2^63, for L = 32-bit limbs of the larger
 * operand (about 35 for an amount of 10^308 with 30 decimals).
 */
#ifndef OSTREL_MODEL_EXACT_MONEY_H
#define OSTREL_MODEL_EXACT_MONEY_H

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel
{

// A non-negative integer; Limbs[0] is the lowest 32 bits, no leading zero limb.
struct BigNumber
{
    std::vector<uint32_t> Limbs;
};

BigNumber BigOf(uint64_t value);
bool IsZero(const BigNumber &a);
int Compare(const BigNumber &a, const BigNumber &b); // -1, 0 or 1
BigNumber Add(const BigNumber &a, const BigNumber &b);
BigNumber Subtract(const BigNumber &a, const BigNumber &b); // a >= b
BigNumber Multiply(const BigNumber &a, uint64_t factor);

// Whether a < b * 2^63, and then the exact quotient and remainder of a / b
// (b not zero). Returns false, leaving both untouched, for a larger quotient.
bool SmallQuotient(const BigNumber &a, const BigNumber &b, uint64_t &quotient, BigNumber &remainder);

// An amount of Digits / 10^Decimals.
struct DecimalAmount
{
    BigNumber Digits;
    int32_t Decimals = 0;
};

// The shortest decimal that reads back to `value` (finite, not negative).
DecimalAmount DecimalOf(double value);

// Digits scaled to `decimals` (at least amount.Decimals).
BigNumber ScaledTo(const DecimalAmount &amount, int32_t decimals);

// Digits / 10^decimals as plain decimal text, no exponent, no trailing zeros
// after the point: "80", "1234567.89".
std::string DecimalText(const BigNumber &digits, int32_t decimals);

// The double nearest to digits / 10^decimals, rounded once.
double NearestDouble(const BigNumber &digits, int32_t decimals);

} // namespace ostrel

#endif
