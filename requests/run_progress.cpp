/*
 * Progress in shares of the whole run. Cost: one division a report.
 */
#include "run_progress.h"

namespace ostrel
{

Status Stopped()
{
    return Failure("stopped before the end, as asked");
}

void ProgressSteps::Within(double done)
{
    if (Progress == nullptr || !Progress->Done)
        return;
    const double whole = (static_cast<double>(Finished) + done) / static_cast<double>(Steps == 0 ? 1 : Steps);
    if (!Progress->Done(whole))
        StopAsked = true;
}

void ProgressSteps::StepDone()
{
    Finished += 1;
    Within(0.0);
}

void StepProgress(void *steps, double done)
{
    static_cast<ProgressSteps *>(steps)->Within(done);
}

} // namespace ostrel
