/*
 * How far a long run has got, on standard error: only when that is a
 * terminal, never on a pipe or a file, and only once the run has taken more
 * than a second, so that quick answers never print anything there.
 */
#ifndef OSTREL_CLI_PROGRESS_H
#define OSTREL_CLI_PROGRESS_H

#include <chrono>
#include <cstddef>

namespace ostrel
{

struct ProgressDisplay
{
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    bool Terminal = false;
    bool Shown = false;
    int LastPercent = -1;
    size_t Steps = 1; // field evaluations the run makes
    size_t Done = 0;  // of them finished
};

ProgressDisplay StartProgress(size_t steps);

// A callback for the methods: `done` (0..1) of the current evaluation.
void ShowProgress(void *display, double done);

// One evaluation finished.
void StepDone(ProgressDisplay &display);

// Clears the line, if anything was shown.
void EndProgress(ProgressDisplay &display);

} // namespace ostrel

#endif
