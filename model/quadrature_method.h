/*
 * The quadrature method: the model written as an integral over the time at
 * which independent exponential clocks ring, taken numerically. It handles
 * fields of up to a million players, with every seat's $EV and, on request,
 * the finish table, in one pass over the nodes.
 */
#ifndef OSTREL_MODEL_QUADRATURE_METHOD_H
#define OSTREL_MODEL_QUADRATURE_METHOD_H

#include "field.h"

namespace ostrel
{

constexpr size_t QuadratureMaxPlayers = 1000000;

struct QuadratureOptions
{
    unsigned Threads = 1;            // 0 or 1: the calling thread only; results identical for any count
    size_t FinishPlaces = 0;         // columns of the finish table (places 1..FinishPlaces, at most the
                                     // players in play)
    size_t MemoryLimit = 256u << 20; // bytes; a run that would need more is refused before it starts
    void (*Progress)(void *context, double done) = nullptr; // now and then, calling thread, 0..1
    void *ProgressContext = nullptr;
};

// Bytes the run would take: its workspace, its results and the finish table
// when `finish` is set. Helper threads that would take the run over
// options.MemoryLimit are not started (the results do not depend on them);
// the figure is for the threads that would run, or for one thread when even
// that is over the limit.
size_t QuadratureMemory(const Field &field, const QuadratureOptions &options, bool finish);

// Writes every seat's $EV into equities[0..field.Seats), 0 for an empty seat.
// With `finish` given, also fills it with places 1..options.FinishPlaces
// (clamped to the players in play) for every seat.
//
// Accuracy: each $EV and each chance within about 1e-13 relative of the
// model (measured: random fields with stacks 1 to 1e9 or 1e15 apart, every
// kind of ladder); the rounding of the sums over the players grows with
// their count, to about 1e-12 at a million.
//
// Cost: O(n * K) per node for n players in play and K = the larger of the
// paid places and the finish table's columns, plus O(n * F^2 / 2) per node
// for a finish table of F columns. Nodes: about 60 to 200 when K is small,
// growing with sqrt(K) and with the log of the stacks' spread (about 300 for
// 10,000 players and 1,500 places). Memory: O(n + sqrt(n) * K) doubles per
// thread, plus the finish table.
//
// Refuses, with a message, more than QuadratureMaxPlayers players in play or
// a run over options.MemoryLimit.
Status QuadratureEquities(const Field &field, const QuadratureOptions &options, double *equities,
                          FinishTable *finish);

} // namespace ostrel

#endif
