/*
 * Random draws for sampled equities, the same numbers on every platform:
 * xoshiro256** (Blackman and Vigna) seeded by splitmix64; whole numbers below
 * n, exactly uniform, from the 32-bit halves of its words (multiply, keep the
 * high half, redraw the rare low halves below 2^32 mod n); and an index by
 * weight in constant time (an alias table: Walker's method, built in Vose's
 * order). Cost: about a nanosecond a draw; an alias table of n weights
 * builds in O(n). Accuracy: Below is exact; an alias draw has the weights'
 * proportions up to the rounding of doubles (some 1e-16 of each).
 */
#ifndef OSTREL_CARDS_SAMPLING_H
#define OSTREL_CARDS_SAMPLING_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrel
{
namespace cards
{

class Random
{
  public:
    explicit Random(uint64_t seed);

    uint64_t Next()
    {
        const uint64_t result = Rotl(State[1] * 5, 7) * 9;
        const uint64_t t = State[1] << 17;
        State[2] ^= State[0];
        State[3] ^= State[1];
        State[1] ^= State[2];
        State[0] ^= State[3];
        State[2] ^= t;
        State[3] = Rotl(State[3], 45);
        return result;
    }

    // Uniform in [0, 1), 53 bits of a word of its own.
    double Unit()
    {
        return static_cast<double>(Next() >> 11) * 0x1.0p-53;
    }

    // Uniform in [0, n) for 0 < n < 2^32: the high half x of a word gives
    // x * n >> 32, redrawn while x * n mod 2^32 is below 2^32 mod n (then
    // every result has the same number of x).
    uint32_t Below(uint32_t n)
    {
        return Below(static_cast<uint32_t>(Next() >> 32), n);
    }
    // The same from a given half word x, the rare redraws from new words:
    // the two halves of one word make two draws.
    uint32_t Below(uint32_t x, uint32_t n)
    {
        uint64_t product = uint64_t{x} * n;
        if (static_cast<uint32_t>(product) < n)
            product = Redrawn(product, n);
        return static_cast<uint32_t>(product >> 32);
    }

  private:
    // The rare case of Below, out of line so that Below is inlined.
    uint64_t Redrawn(uint64_t product, uint32_t n);
    static uint64_t Rotl(uint64_t x, int k)
    {
        return (x << k) | (x >> (64 - k));
    }
    uint64_t State[4];
};

// Index i with probability Weights[i] / their sum; the weights are positive.
class AliasTable
{
  public:
    explicit AliasTable(const std::vector<double> &weights);

    size_t Draw(Random &random) const
    {
        const uint32_t i = random.Below(static_cast<uint32_t>(Keep.size()));
        if (Uniform)
            return i;
        return random.Unit() < Keep[i] ? i : Alias[i];
    }
    size_t Size() const
    {
        return Keep.size();
    }
    // Whether every weight is the same: Draw is then Below(Size()).
    bool IsUniform() const
    {
        return Uniform;
    }
    // The chance of each index that Draw gives, from the columns: each
    // column is drawn with 1 / Size(). Cost: O(Size()).
    std::vector<double> Chances() const;

  private:
    std::vector<double> Keep;    // the chance that column i gives i
    std::vector<uint32_t> Alias; // what it gives otherwise
    bool Uniform = true;
};

} // namespace cards
} // namespace ostrel

#endif
