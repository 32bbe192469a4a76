/*
 * What a push-or-fold equilibrium is asked with: the actions a decision can
 * take and the solver's options. Apart from equilibrium.h so that the
 * solver's parts (equilibrium_game.h) need not include the interface they
 * serve.
 */
#ifndef OSTREL_PUSHFOLD_NASH_OPTIONS_H
#define OSTREL_PUSHFOLD_NASH_OPTIONS_H

#include <cstdint>

namespace ostrel
{

enum class NashAction
{
    Shove,
    Call,
    Overcall,
};

struct NashOptions
{
    double Tolerance = 0.0; // in the valuation's unit; 0: 0.01 % of the pool, or 0.01 big blind with chip EV
    uint64_t MaxIterations = 100000;
    unsigned Threads = 1;         // results identical for any count
    uint32_t DrawsPerClass = 2400; // three-way showdowns per class of the player valued
    uint64_t Seed = 1;
    // Called after each round with the rounds so far and the exploitability.
    void (*Progress)(void *context, uint64_t iterations, double exploitability) = nullptr;
    void *ProgressContext = nullptr;
    // Asked after each round (with ProgressContext): false stops the solver,
    // which then answers a failure; a caller's way to cancel a long run.
    bool (*Proceed)(void *context) = nullptr;
};

} // namespace ostrel

#endif
