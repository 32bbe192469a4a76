/*
 * Which method computes a field, and running it: the window's own choice for
 * every field the window can take, so that its results are the window's to
 * the last bit; beyond it the subset method while it is exact and faster,
 * else the quadrature method. The window's computation writes the window's
 * one tournament record: such fields are computed one run at a time in a
 * process (the library's methods are reentrant).
 */
#ifndef OSTREL_REQUESTS_FIELD_METHODS_H
#define OSTREL_REQUESTS_FIELD_METHODS_H

#include <string>
#include <vector>

#include "decisions.h"
#include "field.h"
#include "run_progress.h"

namespace ostrel
{

enum class Method
{
    Automatic,
    Plain,
    Subsets,
    Quadrature,
};

// How a run may use the machine, and whom it tells how far it has got.
struct RunOptions
{
    unsigned Threads = 1;
    size_t MemoryLimit = size_t{1} << 30; // for the computation and the answer's text together
    size_t OutputBytes = 0;               // the answer's text, as estimated before the run
    double SecondsLimit = 600.0;          // refuse a run estimated above this; 0: no limit
    void (*Progress)(void *context, double done) = nullptr;
    void *ProgressContext = nullptr;
};

struct FieldRun
{
    Status Outcome;
    Method Ran = Method::Plain;
    std::vector<double> Equity; // per seat
    FinishTable Finish;         // when asked for
    double Seconds = 0.0;
};

const char *MethodName(Method method);

// The method a front end names: auto, plain, subsets or quadrature; false
// for any other name (`method` then unchanged).
bool MethodNamed(const std::string &name, Method &method);

// Whether the window could hold this field: at most 18 seats, every stack a
// 32-bit chip count (the paid places beyond the players never count).
bool WindowTakesField(const Field &field);

// Beyond the window's fields: the method `Automatic` takes, the library's
// choice (ChooseEquityMethod); `finish` with a finish table of every place.
Method ChosenMethod(const Field &field, bool finish);

// Seconds one field would take by `method` (the window's own choice for
// `Automatic` on a window field), on the reference machine.
double EstimatedFieldSeconds(const Field &field, Method method, size_t finishPlaces);

// Refuses a run of `fields` fields like this one by `method` estimated above
// options.SecondsLimit, naming the estimate and the fastest method.
Status CheckRunTime(const Field &field, Method method, size_t finishPlaces, double fields,
                    const RunOptions &options);

// $EV of every seat by `method`.
FieldRun RunEquity(const Field &field, Method method, const RunOptions &options);

// The finish table of places 1..places (clamped to the players in play), and
// the $EV, by the subset or the quadrature method. A table that stops short
// of the paid places costs work in proportion to its places and leaves the
// $EV at 0.
FieldRun RunFinish(const Field &field, Method method, size_t places, const RunOptions &options);

// The methods that ran over a series of fields, named as in `method` fields:
// one name, or several joined by '+' when the fields took different ones.
struct MethodLog
{
    bool Ran[4] = {};
    std::string Names() const;
};

// Each field by RunEquity with `method`, noting in `log` what ran; when
// `progress` is given, each field is one of its steps, and a stop asked
// through it refuses the next field with Stopped().
FieldEquity EquityBy(Method method, const RunOptions &options, MethodLog &log, ProgressSteps *progress);

// Fields a bubble computation evaluates one by one: 2n - 1 for one row,
// n(n - 1) + 1 for the grid.
double BubbleFields(size_t players, size_t rows);

// A hero's row in one pass costs up to twice his field's pass (measured 1.3
// to 2 times, quadrature_method.h).
constexpr double RowCostOverField = 1.6;

// Seconds for `rows` rows in one pass each by the quadrature method.
double BubbleRowSeconds(const Field &field, size_t rows);

// Whole bubble rows in one pass each by the quadrature method, by `method`,
// or by `auto` where that is estimated faster than the fields one by one
// (the bubble grid is not the window's: no bits need keeping, and the
// quadrature method keeps the accuracy promise); false where each field is
// evaluated on its own. `rows`: 1 or the players in play. Notes in `log`
// what ran; each row is a step of `progress`, as in EquityBy.
bool HeroHandsBy(Method method, const Field &field, size_t rows, const RunOptions &options, MethodLog &log,
                 ProgressSteps *progress, HeroHands &hands);

} // namespace ostrel

#endif
