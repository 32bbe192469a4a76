/*
 * Every seat's $EV (and on request the finish table) by a method of the
 * caller's choice or by the library's automatic choice, with the run's cost
 * estimated beforehand: the one entry point for programs that link
 * ostrel::model and want the command's choice of method for fields of any
 * size. (The command keeps one path of its own: fields the calculator's
 * window could hold go through the window's own computation, to its bits.)
 */
#ifndef OSTREL_MODEL_EQUITIES_H
#define OSTREL_MODEL_EQUITIES_H

#include <string>
#include <vector>

#include "field.h"
#include "quadrature_method.h"

namespace ostrel
{

enum class EquityMethod
{
    Automatic,
    Subsets,
    Quadrature,
};

struct EquityOptions
{
    unsigned Threads = 1;               // for the quadrature method on large fields; results do not depend on it
    size_t MemoryLimit = size_t{1} << 30; // bytes; a run that would need more is refused before it starts
    size_t FinishPlaces = 0;            // columns of the finish table when one is asked for
    double SecondsLimit = 0.0;          // refuse a run estimated above this; 0: no limit
    void (*Progress)(void *context, double done) = nullptr; // now and then, calling thread, 0..1
    void *ProgressContext = nullptr;
};

// The quadrature method's options for a run under `options`: threads only
// where the field is large enough to repay starting them.
QuadratureOptions QuadratureFor(const Field &field, const EquityOptions &options, size_t finishPlaces);

// The automatic choice for a field: the subset method while it is faster, as
// measured (docs/performance.md), else the quadrature method. Both keep every
// $EV within 1e-10 relative of the model (see quadrature_method.h for the
// exact statement). `finishPlaces` > 0 when a finish table is wanted.
EquityMethod ChooseEquityMethod(const Field &field, size_t finishPlaces);

// Seconds the method would take on this field on the reference machine of
// docs/performance.md (2 cores at 2.1 GHz, one thread), from its count of
// steps: 2^n n for the subset method, nodes n K for the quadrature method.
// Infinite where the method cannot take the field. Cost: O(n log n).
double EstimatedSeconds(const Field &field, EquityMethod method, size_t finishPlaces);

// Writes every seat's $EV into equities[0..field.Seats); with `finish` given,
// also the finish table of places 1..options.FinishPlaces (clamped to the
// players in play). `ran`, when given, receives the method that ran.
//
// Prizes so large that the method's products would overflow are scaled by a
// power of two for the run and the results scaled back, which changes no bit
// of any result that is representable; a result that is not is refused.
// Refuses, with a message, what CheckField refuses, a run over the memory
// limit, and one estimated above options.SecondsLimit (naming the estimate
// and the faster method).
Status ComputeEquities(const Field &field, EquityMethod method, const EquityOptions &options, double *equities,
                       FinishTable *finish = nullptr, EquityMethod *ran = nullptr);

// The power of two by which the prizes are multiplied for a run (1 when no
// scaling is needed); 0 when the prizes are too far apart to scale: a
// positive prize would become 0.
double PrizeScale(const Field &field);

// The field's prizes times PrizeScale(field), into `prizes`, and the scale;
// refuses prizes too far apart to scale.
Status ScaledPrizes(const Field &field, double &scale, std::vector<double> &prizes);

// "2.5 ms", "3.1 s", "12 minutes", "4.2 hours", "3.1e+09 years".
std::string DurationText(double seconds);

} // namespace ostrel

#endif
