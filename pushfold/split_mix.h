/*
 * The draws of the push/fold library: splitmix64, the same numbers on every
 * platform and build, so that a seed gives the same answer everywhere.
 */
#ifndef OSTREL_PUSHFOLD_SPLIT_MIX_H
#define OSTREL_PUSHFOLD_SPLIT_MIX_H

#include <cstdint>

namespace ostrel
{

// One step of splitmix64 on x: a well-mixed 64-bit value.
inline uint64_t Mix(uint64_t x)
{
    x += 0x9e3779b97f4a7c15u;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9u;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebu;
    return x ^ (x >> 31);
}

struct SplitMix
{
    uint64_t State;

    uint64_t Next()
    {
        const uint64_t value = Mix(State);
        State += 0x9e3779b97f4a7c15u;
        return value;
    }
    // Below n, with the tiny modulo bias of 2^64 % n that no answer here feels.
    uint64_t Below(uint64_t n) { return Next() % n; }
    // Below the combos of a class (4, 6 or 12): the same numbers as Below,
    // with the divisions by constants the compiler turns into products.
    uint64_t BelowClassCombos(uint64_t n)
    {
        const uint64_t x = Next();
        return n == 12 ? x % 12 : n == 6 ? x % 6 : n == 4 ? x % 4 : x % n;
    }
    // In [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
};

} // namespace ostrel

#endif
