/*
 * A percentage rewritten in place with a carriage return, at most once per
 * whole percent; the equilibrium's rounds at most five times a second.
 */
#include "progress.h"

#include <algorithm>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// The page's worker throttles these reports and posts them to the page.
EM_JS(void, ostrel_page_progress, (double done, double rounds, double exploitability), {
    if (Module.ostrelProgress)
        Module.ostrelProgress(done, rounds, exploitability);
});
#endif

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
namespace
{

void ShowShare(ProgressDisplay &display, double whole)
{
    if (!display.Terminal)
        return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - display.Start).count();
    if (elapsed < 1.0)
        return;
    const int percent = static_cast<int>(whole * 100.0);
    if (percent == display.LastPercent)
        return;
    display.LastPercent = percent;
    display.Shown = true;
    std::fprintf(stderr, "\rostrel-icm: %3d%% (%.0f s)", percent > 100 ? 100 : percent, elapsed);
    std::fflush(stderr);
}

void ShowRounds(ProgressDisplay &display, uint64_t rounds, double exploitability, double estimate)
{
    if (!display.Terminal)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - display.Start < std::chrono::seconds(1) || now - display.Last < std::chrono::milliseconds(200))
        return;
    display.Last = now;
    display.Shown = true;
    display.Width = 70;
    const double seconds = std::chrono::duration<double>(now - display.Start).count();
    char of[48] = "";
    if (estimate > seconds)
        std::snprintf(of, sizeof of, " of about %.0f s", estimate);
    std::fprintf(stderr, "\rostrel-icm: iteration %llu, exploitability %.6g (%.0f s%s)   ",
                 static_cast<unsigned long long>(rounds), exploitability, seconds, of);
    std::fflush(stderr);
}

} // namespace

bool IsTerminal(std::FILE *stream)
{
    return OSTREL_ISATTY(OSTREL_FILENO(stream)) != 0;
}

ProgressDisplay StartProgress()
{
    ProgressDisplay display;
    display.Terminal = IsTerminal(stderr);
    return display;
}

RunProgress ProgressOn(ProgressDisplay &display)
{
    RunProgress progress;
    progress.Done = [&display](double whole) {
        ReportProgressToPage(whole, 0.0, 0.0);
        ShowShare(display, whole);
        return true;
    };
    progress.Rounds = [&display](uint64_t rounds, double exploitability, double estimate) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - display.Start).count();
        ReportProgressToPage(estimate > 0.0 ? std::min(seconds / estimate, 0.99) : -1.0,
                             static_cast<double>(rounds), exploitability);
        ShowRounds(display, rounds, exploitability, estimate);
    };
    return progress;
}

void ReportProgressToPage(double done, double rounds, double exploitability)
{
#ifdef __EMSCRIPTEN__
    ostrel_page_progress(done, rounds, exploitability);
#else
    (void)done, (void)rounds, (void)exploitability;
#endif
}

void EndProgress(ProgressDisplay &display)
{
    if (display.Shown)
        std::fprintf(stderr, "\r%*s\r", display.Width, "");
}

} // namespace ostrel
