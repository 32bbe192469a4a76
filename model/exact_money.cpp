/*
 * Schoolbook arithmetic on 32-bit limbs with 64-bit intermediates, so that a
 * 32-bit build computes the same. Quotients are estimated in doubles from the
 * leading limbs and then corrected exactly.
 */
#include "exact_money.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ostrel
{
namespace
{

constexpr double LimbBase = 4294967296.0;

void Trim(BigNumber &a)
{
    while (!a.Limbs.empty() && a.Limbs.back() == 0)
        a.Limbs.pop_back();
}

size_t BitLength(const BigNumber &a)
{
    if (a.Limbs.empty())
        return 0;
    size_t bits = 32 * (a.Limbs.size() - 1);
    for (uint32_t top = a.Limbs.back(); top != 0; top >>= 1)
        bits += 1;
    return bits;
}

// a * 2^-shift from its three leading limbs: within a few parts in 2^53.
double Approximate(const BigNumber &a, int shift)
{
    const size_t count = a.Limbs.size();
    const size_t from = count > 3 ? count - 3 : 0;
    double value = 0.0;
    for (size_t i = count; i > from; --i)
        value = value * LimbBase + static_cast<double>(a.Limbs[i - 1]);
    return std::ldexp(value, static_cast<int>(32 * from) - shift);
}

uint32_t DivideSmall(BigNumber &a, uint32_t divisor)
{
    uint64_t rest = 0;
    for (size_t i = a.Limbs.size(); i > 0; --i)
    {
        const uint64_t current = (rest << 32) | a.Limbs[i - 1];
        a.Limbs[i - 1] = static_cast<uint32_t>(current / divisor);
        rest = current % divisor;
    }
    Trim(a);
    return static_cast<uint32_t>(rest);
}

BigNumber MultiplySmall(const BigNumber &a, uint32_t factor)
{
    BigNumber product;
    uint64_t carry = 0;
    for (uint32_t limb : a.Limbs)
    {
        const uint64_t current = static_cast<uint64_t>(limb) * factor + carry;
        product.Limbs.push_back(static_cast<uint32_t>(current));
        carry = current >> 32;
    }
    if (carry != 0)
        product.Limbs.push_back(static_cast<uint32_t>(carry));
    Trim(product);
    return product;
}

BigNumber ShiftedUp32(const BigNumber &a)
{
    BigNumber shifted = a;
    if (!shifted.Limbs.empty())
        shifted.Limbs.insert(shifted.Limbs.begin(), 0u);
    return shifted;
}

BigNumber FromDigits(const char *begin, const char *end)
{
    BigNumber value;
    for (const char *c = begin; c != end; ++c)
        value = Add(MultiplySmall(value, 10u), BigOf(static_cast<uint64_t>(*c - '0')));
    return value;
}

} // namespace

BigNumber BigOf(uint64_t value)
{
    BigNumber a;
    a.Limbs = {static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
    Trim(a);
    return a;
}

bool IsZero(const BigNumber &a)
{
    return a.Limbs.empty();
}

int Compare(const BigNumber &a, const BigNumber &b)
{
    if (a.Limbs.size() != b.Limbs.size())
        return a.Limbs.size() < b.Limbs.size() ? -1 : 1;
    for (size_t i = a.Limbs.size(); i > 0; --i)
        if (a.Limbs[i - 1] != b.Limbs[i - 1])
            return a.Limbs[i - 1] < b.Limbs[i - 1] ? -1 : 1;
    return 0;
}

BigNumber Add(const BigNumber &a, const BigNumber &b)
{
    BigNumber sum;
    uint64_t carry = 0;
    for (size_t i = 0; i < std::max(a.Limbs.size(), b.Limbs.size()); ++i)
    {
        const uint64_t current = carry + (i < a.Limbs.size() ? a.Limbs[i] : 0u) + (i < b.Limbs.size() ? b.Limbs[i] : 0u);
        sum.Limbs.push_back(static_cast<uint32_t>(current));
        carry = current >> 32;
    }
    if (carry != 0)
        sum.Limbs.push_back(static_cast<uint32_t>(carry));
    return sum;
}

BigNumber Subtract(const BigNumber &a, const BigNumber &b)
{
    BigNumber difference;
    int64_t borrow = 0;
    for (size_t i = 0; i < a.Limbs.size(); ++i)
    {
        int64_t current = static_cast<int64_t>(a.Limbs[i]) - borrow - (i < b.Limbs.size() ? b.Limbs[i] : 0);
        borrow = current < 0 ? 1 : 0;
        current += borrow != 0 ? (int64_t{1} << 32) : 0;
        difference.Limbs.push_back(static_cast<uint32_t>(current));
    }
    Trim(difference);
    return difference;
}

BigNumber Multiply(const BigNumber &a, uint64_t factor)
{
    const BigNumber low = MultiplySmall(a, static_cast<uint32_t>(factor));
    const BigNumber high = MultiplySmall(a, static_cast<uint32_t>(factor >> 32));
    return Add(low, ShiftedUp32(high));
}

bool SmallQuotient(const BigNumber &a, const BigNumber &b, uint64_t &quotient, BigNumber &remainder)
{
    if (IsZero(b) || Compare(a, Multiply(b, uint64_t{1} << 63)) >= 0)
        return false;
    const size_t bits = BitLength(b);
    const int shift = bits > 64 ? static_cast<int>(bits - 64) : 0;
    const double divisor = Approximate(b, shift);
    double estimate = std::floor(Approximate(a, shift) / divisor);
    uint64_t q = estimate < 9.2e18 ? static_cast<uint64_t>(std::max(estimate, 0.0)) : (uint64_t{1} << 63) - 1;
    // Each correction moves q by the estimated error; two are almost always
    // enough, and the last ones step by one.
    for (;;)
    {
        const BigNumber product = Multiply(b, q);
        if (Compare(product, a) > 0)
        {
            const double over = std::ceil(Approximate(Subtract(product, a), shift) / divisor);
            q -= std::max<uint64_t>(1, std::min<uint64_t>(q, static_cast<uint64_t>(over)));
            continue;
        }
        BigNumber rest = Subtract(a, product);
        if (Compare(rest, b) < 0)
        {
            quotient = q;
            remainder = rest;
            return true;
        }
        const double under = std::floor(Approximate(rest, shift) / divisor);
        q += std::max<uint64_t>(1, static_cast<uint64_t>(under));
    }
}

DecimalAmount DecimalOf(double value)
{
    char text[64];
    const std::to_chars_result written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
    const char *end = written.ptr;
    const char *mark = std::find(static_cast<const char *>(text), end, 'e');
    std::string digits;
    int32_t fraction = 0;
    bool afterPoint = false;
    for (const char *c = text; c != mark; ++c)
        if (*c == '.')
            afterPoint = true;
        else
        {
            digits += *c;
            fraction += afterPoint ? 1 : 0;
        }
    int exponent = 0;
    std::from_chars(mark + (mark[1] == '+' ? 2 : 1), end, exponent);
    DecimalAmount amount;
    amount.Digits = FromDigits(digits.data(), digits.data() + digits.size());
    const int32_t power = static_cast<int32_t>(exponent) - fraction;
    for (int32_t i = 0; i < power; ++i)
        amount.Digits = MultiplySmall(amount.Digits, 10u);
    amount.Decimals = power < 0 ? -power : 0;
    return amount;
}

BigNumber ScaledTo(const DecimalAmount &amount, int32_t decimals)
{
    BigNumber scaled = amount.Digits;
    for (int32_t i = amount.Decimals; i < decimals; ++i)
        scaled = MultiplySmall(scaled, 10u);
    return scaled;
}

std::string DecimalText(const BigNumber &digits, int32_t decimals)
{
    std::string text;
    BigNumber rest = digits;
    while (!IsZero(rest))
    {
        const uint32_t chunk = DivideSmall(rest, 1000000000u);
        std::string part = std::to_string(chunk);
        if (!IsZero(rest))
            part.insert(0, 9 - part.size(), '0');
        text.insert(0, part);
    }
    if (text.empty())
        text = "0";
    const size_t places = static_cast<size_t>(decimals);
    if (text.size() <= places)
        text.insert(0, places + 1 - text.size(), '0');
    if (places > 0)
    {
        text.insert(text.size() - places, ".");
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

double NearestDouble(const BigNumber &digits, int32_t decimals)
{
    const std::string text = DecimalText(digits, decimals);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return value;
}

} // namespace ostrel
