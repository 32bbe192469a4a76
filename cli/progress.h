/*
 * How far a long run has got, on standard error: only when that is a
 * terminal, never on a pipe or a file, and only once the run has taken more
 * than a second, so that quick answers never print anything there. The
 * request layer reports; this shows it.
 */
#ifndef OSTREL_CLI_PROGRESS_H
#define OSTREL_CLI_PROGRESS_H

#include <chrono>
#include <cstdio>

#include "run_progress.h"

namespace ostrel
{

struct ProgressDisplay
{
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point Last = Start;
    bool Terminal = false;
    bool Shown = false;
    int LastPercent = -1;
    int Width = 40; // of the line cleared at the end
};

bool IsTerminal(std::FILE *stream);

ProgressDisplay StartProgress();

// The share of the run done as a percentage, rewritten in place; the
// equilibrium's rounds and exploitability. The display outlives the run.
RunProgress ProgressOn(ProgressDisplay &display);

// The page's progress bar, in the WebAssembly build only (elsewhere it does
// nothing): `done` of the whole run (0..1, or -1 when unknown) and, for the
// equilibrium, its rounds and exploitability so far. Writes nothing.
void ReportProgressToPage(double done, double iterations, double exploitability);

// Clears the line, if anything was shown.
void EndProgress(ProgressDisplay &display);

} // namespace ostrel

#endif
