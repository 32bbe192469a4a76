/*
 * The nested levels of the quadrature method, inside the library
 * (model/quadrature_*.cpp only): for the $EV of a ladder that falls at every
 * paid place, nodes at 16, 8, 4, 2 and 1 times the planned step, stopped
 * where two successive levels agree.
 *
 * Contract, cost and accuracy: as below; a run that stops at level L takes
 * about 2^-L of the finest level's nodes, and the stop is judged on sums
 * that are the same for any thread count.
 *
 * Nested levels. The planned step is made for the sharpest integrand any
 * ladder could give at the field's clocks (a ladder of random jumps, or the
 * drop to 0 after the last paid place); a smooth ladder over every place
 * keeps the promise with steps several times coarser. So the $EV are taken
 * on the nodes u = First + k 2^L first, L = Top, then L = Top - 1, ... down
 * to 0, whose step keeps the plan's rules (the planned step wherever W may
 * pass (StepScale / NestedCoarseStep)^2, StepScale / sqrt(W) before, and
 * finer at the edge): each level adds the odd multiples of 2^L, so the
 * levels nest and none is evaluated twice, and the window of u is the same
 * at every level (the plan is extended at its start, where every term is
 * below e^-38 of its $EV, so that its length is a multiple of 2^Top).
 *
 * The stop. For an analytic integrand the trapezoid error falls at least
 * geometrically with the step, E(h/2) ~ E(h)^2 / E(0): once the change from
 * level L + 1 to L (about E at L + 1) is under LevelsAgree of every $EV, the
 * error at L is far below it. Two guards against coarse levels that miss a
 * sharp feature alike: the coarsest level, at least 16 nodes, is never
 * accepted; and level L is accepted only if the change before it, from
 * L + 2 to L + 1, was already under LevelsConverging, so two successive
 * changes agree on the convergence for every player (one cancelling alias
 * can hide a change, not two at steps a factor 2 apart). Where they do not,
 * the run goes on to level 0 (within 5e-15 of the plan's answer where
 * measured). Each level's terms are added in node order, and the test is on
 * those sums: the same for any thread count.
 */
#ifndef OSTREL_MODEL_QUADRATURE_LEVELS_H
#define OSTREL_MODEL_QUADRATURE_LEVELS_H

#include <cstddef>
#include <vector>

#include "field.h"
#include "quadrature_options.h"
#include "quadrature_plan.h"
#include "quadrature_run.h"
#include "quadrature_threads.h"

namespace ostrel
{
namespace quadrature
{

/*
 * Levels are tried where the measurements found them stopping early: a
 * ladder that falls at every paid place. Ties (tiers, the last place alone)
 * and rises (random jumps) are as sharp at their steps as W says, and take
 * the plan as made. Where K < n the nested plan samples the drop to 0 after
 * place K more finely (PlanLevels).
 */
bool TriesLevels(const Field &field, size_t players, size_t paid);

// The coarsest level for the plan, 0 for none; a nested plan's mapping, and
// extended at its start so that Count - 1 is a multiple of 2^level.
unsigned PlanLevels(NodePlan &plan, const std::vector<StackBin> &bins, size_t players, size_t paid);

// The levels from `top` down, into totals.Equity (every player's seat); the
// report gets each level's change and the level accepted.
void RunLevels(const Run &run, std::vector<Workspace> &work, const Totals &totals, size_t seats,
               const QuadratureOptions &options, unsigned top, double pool, QuadratureReport &report);

} // namespace quadrature
} // namespace ostrel

#endif
