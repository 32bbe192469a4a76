/*
 * How far a long run has got, told to whoever asked the question, and how
 * that caller stops it: plain callbacks, no I/O. A front end shows them (a
 * line on a terminal, a bar on a page) or leaves them empty.
 */
#ifndef OSTREL_REQUESTS_RUN_PROGRESS_H
#define OSTREL_REQUESTS_RUN_PROGRESS_H

#include <cstddef>
#include <cstdint>
#include <functional>

#include "field.h"

namespace ostrel
{

struct RunProgress
{
    // The share of the whole run done, 0 to 1, called as the methods report
    // it. Returning false asks the run to stop: it stops before the next
    // field it evaluates (a deal's, a bubble grid's, a bubble row's) and
    // answers Stopped(); a single field's run ends first.
    std::function<bool(double done)> Done;
    // nash: after each round, the rounds so far, the exploitability reached
    // and the seconds the whole run was estimated at before it began.
    std::function<void(uint64_t rounds, double exploitability, double estimatedSeconds)> Rounds;
    // nash: asked after each round; false stops the run there, with Stopped().
    std::function<bool()> Proceed;
};

// What a run stopped by its caller answers.
Status Stopped();

// The steps of one run, each a field evaluation, turned into the share of
// the whole run: the methods report the share of the current evaluation.
struct ProgressSteps
{
    const RunProgress *Progress = nullptr;
    size_t Steps = 1;
    size_t Finished = 0;
    bool StopAsked = false;

    // `done` (0..1) of the current step.
    void Within(double done);
    void StepDone();
};

// The library's progress callback over a ProgressSteps context.
void StepProgress(void *steps, double done);

} // namespace ostrel

#endif
