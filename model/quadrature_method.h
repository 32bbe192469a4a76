/*
 * The quadrature method: the model as an integral over the times at which
 * the players' clocks ring, taken numerically, for fields of up to a million
 * players; every seat's $EV and, on request, the finish table in one pass.
 */
#ifndef OSTREL_MODEL_QUADRATURE_METHOD_H
#define OSTREL_MODEL_QUADRATURE_METHOD_H

#include "field.h"
#include "quadrature_options.h"

namespace ostrel
{

constexpr size_t QuadratureMaxPlayers = 1000000;

// Bytes the run would take: its workspace, its results and the finish table
// when `finish` is set. Helper threads that would take the run over
// options.MemoryLimit are not started (the results do not depend on them);
// the figure is for the threads that would run, or for one thread when even
// that is over the limit.
size_t QuadratureMemory(const Field &field, const QuadratureOptions &options, bool finish);

// The steps a run would make, as planned: nodes * n * (50 + K + F^2 / 2) for
// n players in play, K places and a finish table of F columns; 0 for a field
// with nothing to compute, infinite for one the method refuses. The nodes of
// nested levels are those of the finest level, an upper bound (about twice
// what a run that stops at level 1 takes). Cost: the planning alone,
// O(n log n).
double QuadratureSteps(const Field &field, size_t finishPlaces);

// Writes every seat's $EV into equities[0..field.Seats), 0 for an empty seat.
// With `finish` given, also fills it with places 1..options.FinishPlaces
// (clamped to the players in play) for every seat.
//
// Accuracy, the promise: every $EV within 1e-10 of itself, or within 1e-30
// of the prize pool where that is larger, and every chance of the finish
// table within 1e-10 of itself or 1e-30. The absolute part matters only for
// values below about 1e-20 of the pool, where the players' clocks e^(-s t)
// pass below the smallest double (a big stack that must outlast many small
// ones). Tested against the subset method on random fields with stacks 1 to
// 1e15 apart and on ladders that pay deep places only or a single place, and
// against closed forms up to a million players; typically 1e-13 relative
// (4e-13 at a million players, from rounding). The product tree and the
// windowed pass agree with the full band within 6e-15 (fields of up to
// 10,000 players, 1/10 to all paid, stacks up to 1e6 apart, falling, jumpy
// and last-place ladders); the tree refuses any node where its rounding
// could pass 1e-12 of a sum, and the windowed pass takes it.
//
// Cost: O(n * K) per node for n players in play and K = the larger of the
// paid places and the finish table's columns, plus O(n * F^2 / 2) per node
// for a finish table of F columns; by the product tree O(n log^2 n) per
// node (options.Pass). Nodes: about 60 to 180 when K is small (more as the
// stacks spread), growing with sqrt(K): 100 at 1,000 players with 100 paid,
// 318 at 10,000 with 1,500; the step is also planned from the deepest place
// K, about 0.75 / sqrt(K) in ln t for a long ladder, or from the clocks'
// sharpness where the stacks are too close for a player's own clock to
// sharpen a term that much (1,190 nodes at 10,000 with all paid, stacks
// 1,500 to 10,500, instead of 1,538). The window ends where fewer than
// n - K clocks are left unrung but for e^-80 (313 nodes instead of 435 at
// 1,600 with 1,500 paid; the nodes cut added only zeros).
//
// Nested levels (options.Nested, the $EV without a finish table, a ladder
// that falls at every place, where level 1 would save a tenth of the nodes
// or more): the $EV are integrated at steps 16, 8, 4, 2 and 1 times a
// nested plan's, each level adding only its new nodes, and the run stops at
// the first level L <= 2 whose change from level L + 1 is under 1e-13 of
// every $EV (or 1e-33 of the pool) after a change under 1e-5 before it.
// A nested plan takes a finer step before the field's clocks ring and, when
// K < n, a quarter of the planned step where the count meets the last paid
// place, so that level 2 is as fine as the plan there; with every place
// paid, twice the planned step late, where the bound on W over the rest of
// the window allows it. Measured: smooth ladders stop at level 1, on 0.40
// to 0.82 of the plan's nodes (177 instead of 342 at 1,000 with all paid,
// 481 instead of 1,190 at 10,000, 369 instead of 593 at 5,000 with 4,800
// paid); a ladder with a cliff goes down to level 0, on 0.8 to 1.03 times
// the plan's nodes with every place paid, up to 1.6 times with K < n.
// Memory: about
// 2 n + 2 sqrt(n) * K doubles per thread, plus the finish table (or 3 per
// seat for the nested levels' sums); n doubles
// more per thread (n * (1 + F) with a table) when more than one thread
// runs; the windowed pass about 3 sqrt(n) more per place, the product tree
// about 2 n log2(n / 15) + 30 K more.
//
// Refuses, with a message, more than QuadratureMaxPlayers players in play or
// a run over options.MemoryLimit.
Status QuadratureEquities(const Field &field, const QuadratureOptions &options, double *equities,
                          FinishTable *finish);

// One row of the bubble grid: the $EV of the player in seat `hero` now, and
// for every other seat j in play won[j] after he takes r = min(s_hero, s_j)
// from j, lost[j] after j takes r from him (the prize of place n, or 0 past
// the ladder, when that busts him). A busted opponent takes place n. won and
// lost hold field.Seats entries; those of the hero and of empty seats are 0.
// options.FinishPlaces is not read.
//
// Cost: one pass over the players per node for all 2(n - 1) fields at once:
// per opponent two dot products over the band instead of one, and one
// exponential. Measured: 1.3 to 1.6 times QuadratureEquities on the field
// from 400 to 10,000 players, 2 times at 100 players with 15 paid. The
// nodes suit every field of the row, so they may be a few more than the
// field's own. Memory: QuadratureEquities' plus about 6 n doubles.
// Accuracy: as QuadratureEquities; every entry within 4e-15 of it field by
// field, and of the subset method on small fields, in the measurements.
Status QuadratureHeroHands(const Field &field, size_t hero, const QuadratureOptions &options, double &now,
                           double *won, double *lost);

} // namespace ostrel

#endif
