/*
 * A percentage rewritten in place with a carriage return, at most once per
 * whole percent.
 */
#include "progress.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define OSTREL_ISATTY _isatty
#define OSTREL_FILENO _fileno
#else
#include <unistd.h>
#define OSTREL_ISATTY isatty
#define OSTREL_FILENO fileno
#endif

namespace ostrel
{

ProgressDisplay StartProgress(size_t steps)
{
    ProgressDisplay display;
    display.Terminal = OSTREL_ISATTY(OSTREL_FILENO(stderr)) != 0;
    display.Steps = steps == 0 ? 1 : steps;
    return display;
}

void ShowProgress(void *context, double done)
{
    ProgressDisplay &display = *static_cast<ProgressDisplay *>(context);
    if (!display.Terminal)
        return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - display.Start).count();
    if (elapsed < 1.0)
        return;
    const double whole = (static_cast<double>(display.Done) + done) / static_cast<double>(display.Steps);
    const int percent = static_cast<int>(whole * 100.0);
    if (percent == display.LastPercent)
        return;
    display.LastPercent = percent;
    display.Shown = true;
    std::fprintf(stderr, "\rostrel-icm: %3d%% (%.0f s)", percent > 100 ? 100 : percent, elapsed);
    std::fflush(stderr);
}

void StepDone(ProgressDisplay &display)
{
    display.Done += 1;
    ShowProgress(&display, 0.0);
}

void EndProgress(ProgressDisplay &display)
{
    if (display.Shown)
        std::fprintf(stderr, "\r%40s\r", "");
}

} // namespace ostrel
