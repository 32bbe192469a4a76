/*
 * The quadrature method's nodes spread over threads, inside the library
 * (model/quadrature_*.cpp only).
 *
 * Contract: the totals get every node's terms in node order, whatever the
 * thread count, so the results are the same bits for any count; helpers that
 * cannot be started leave their share to the others.
 * Cost: the nodes' own cost divided among the threads, plus two barriers
 * per round of T nodes and an addition of every term by its player's thread.
 */
#ifndef OSTREL_MODEL_QUADRATURE_THREADS_H
#define OSTREL_MODEL_QUADRATURE_THREADS_H

#include <cstddef>
#include <vector>

#include "quadrature_options.h"
#include "quadrature_run.h"

namespace ostrel
{
namespace quadrature
{

struct Totals
{
    double *Equity;
    double *Finish;
    const size_t *Seat; // player -> seat
};

void ReportProgress(const QuadratureOptions &options, double done);

// The nodes a pass over the threads takes: First, First + Step, ... (Count
// of them), and the share of the run done before it, for the progress.
struct Schedule
{
    size_t First;
    size_t Step;
    size_t Count;
    double DoneBefore;
    double DoneTotal;

    size_t Node(size_t k) const
    {
        return First + k * Step;
    }

    double Done(size_t k) const
    {
        return (DoneBefore + static_cast<double>(k)) / DoneTotal;
    }
};

// Every node of `schedule` into the totals, on work.size() threads at most.
void RunAllThreads(const Run &run, std::vector<Workspace> &work, const Totals &totals,
                   const QuadratureOptions &options, const Schedule &schedule);

} // namespace quadrature
} // namespace ostrel

#endif
