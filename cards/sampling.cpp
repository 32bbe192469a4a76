/*
 * The generator's seeding and the alias table's construction (sampling.h).
 * Vose's order: columns below the mean (small) are each filled up from one
 * above it (large), which gives up what it lent; the last columns keep
 * everything. The subtraction is written as (large + small) - 1 so that the
 * rounding does not pile up in one column.
 */
#include "sampling.h"

namespace ostrel
{
namespace cards
{

Random::Random(uint64_t seed)
{
    for (uint64_t &word : State)
    {
        seed += 0x9e3779b97f4a7c15u;
        uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        word = z ^ (z >> 31);
    }
}

uint64_t Random::Redrawn(uint64_t product, uint32_t n)
{
    const uint32_t threshold = (0u - n) % n;
    while (static_cast<uint32_t>(product) < threshold)
        product = (Next() >> 32) * n;
    return product;
}

AliasTable::AliasTable(const std::vector<double> &weights)
    : Keep(weights.size(), 1.0), Alias(weights.size(), 0)
{
    const size_t n = weights.size();
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i)
    {
        sum += weights[i];
        Alias[i] = static_cast<uint32_t>(i);
        Uniform = Uniform && weights[i] == weights[0];
    }
    if (Uniform || n == 0)
        return;
    std::vector<double> scaled(n);
    std::vector<uint32_t> small;
    std::vector<uint32_t> large;
    for (size_t i = 0; i < n; ++i)
    {
        scaled[i] = weights[i] * static_cast<double>(n) / sum;
        (scaled[i] < 1.0 ? small : large).push_back(static_cast<uint32_t>(i));
    }
    while (!small.empty() && !large.empty())
    {
        const uint32_t less = small.back();
        small.pop_back();
        const uint32_t more = large.back();
        large.pop_back();
        Keep[less] = scaled[less];
        Alias[less] = more;
        scaled[more] = (scaled[more] + scaled[less]) - 1.0;
        (scaled[more] < 1.0 ? small : large).push_back(more);
    }
    // What is left keeps its own column (1 up to rounding).
}

std::vector<double> AliasTable::Chances() const
{
    const size_t n = Keep.size();
    std::vector<double> chances(n, 0.0);
    for (size_t i = 0; i < n; ++i)
    {
        const double keep = Uniform ? 1.0 : Keep[i];
        chances[i] += keep / static_cast<double>(n);
        chances[Alias[i]] += (1.0 - keep) / static_cast<double>(n);
    }
    return chances;
}

} // namespace cards
} // namespace ostrel
