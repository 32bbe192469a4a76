/*
 * The subset method: the model evaluated exactly over the sets of players
 * that can fill the top places, for fields of up to SubsetMaxPlayers players
 * in play.
 */
#ifndef OSTREL_MODEL_SUBSET_METHOD_H
#define OSTREL_MODEL_SUBSET_METHOD_H

#include "field.h"

namespace ostrel
{

// Players in play the subset method takes: it holds 2^n doubles, 128 MiB at 24.
constexpr size_t SubsetMaxPlayers = 24;

// Writes every seat's $EV into equities[0..field.Seats), 0 for an empty seat.
// With `finish` given, also fills it with places 1..n for the n players in
// play (all sets are then visited, not only those above the paid places).
//
// Cost: about 2^m * n steps, m = the paid places (every place with a finish
// table), and 2^n doubles of memory for the length of the call. Each result
// agrees with the plain recursion to within a few units in the last place.
// Refuses a field of more than SubsetMaxPlayers players, or memory it cannot
// get, with a message.
Status SubsetEquities(const Field &field, double *equities, FinishTable *finish);

// The same, telling `progress` (when not null) now and then how far it has
// got, 0..1, on the calling thread.
struct SubsetProgress
{
    void (*Report)(void *context, double done) = nullptr;
    void *Context = nullptr;
};
Status SubsetEquities(const Field &field, double *equities, FinishTable *finish, const SubsetProgress &progress);

// Steps a run would make: 5 * 2^n for clearing and sweeping the sets, plus
// n - i for each set of i players, i below the places handed out (every place
// when `finish`). Infinite beyond SubsetMaxPlayers.
double SubsetSteps(const Field &field, bool finish);

} // namespace ostrel

#endif
