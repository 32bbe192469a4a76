/*
 * The bubble factor of a field of equal stacks: with every opponent's stack
 * alike, each one finishing next leads to the same situation one place lower,
 * so the finishing-order model reduces to one chain of places.
 */
#ifndef OSTREL_MODEL_EQUAL_STACKS_H
#define OSTREL_MODEL_EQUAL_STACKS_H

#include "field.h"

namespace ostrel
{

// `Players` stacks of `Stack` chips, the hero holding `Held` of them; place
// m pays Prizes[m - 1] for m up to `Paid`.
struct EqualStacksField
{
    int64_t Players;
    int64_t Stack;
    int64_t Held;
    const double *Prizes;
    size_t Paid;
};

// The hero's expected prize once `depth` places have gone to opponents and
// `chipsInPlay` chips are left: at each depth d the hero takes place d + 1
// with chance Held * Stack / chips, else one of the Players - Held - d
// opponents does. Every operation rounds to double in one fixed order:
//   own = Stack * P[d] * Held / chips;  E(d) = E(d + 1) * Stack * (Players - Held - d) / chips + own,
// ending at the last paid place or where no chips are left. Cost: one step
// per place, no recursion, so any ladder length is safe. What is not a state
// of the chain (no prizes, depth outside the ladder, chips that are not a
// multiple of Stack or beyond 2^53, Held outside 1..Players) is worth 0.
double EqualStacksEquity(const EqualStacksField &field, int64_t chipsInPlay, int64_t depth);

struct EqualStacksBubble
{
    double EquityOneStack;
    double EquityTwoStacks;
    double BubbleFactor; // $EV(1) / ($EV(2) - $EV(1)); inf or NaN where nothing is gained
};

// Refuses fewer than 2 players, a stack below 1, a field whose chips
// (players * stack) are beyond 2^53, where counts would no longer be exact,
// a ladder CheckField refuses and an $EV beyond the largest double.
Status EqualStacksBubbleFactor(int64_t players, int64_t stack, const double *prizes, size_t paid,
                               EqualStacksBubble &result);

} // namespace ostrel

#endif
