/*
 * A run's workspace size, its empty terms and its clocks at a node.
 */
#include "quadrature_run.h"

#include <cmath>

namespace ostrel
{
namespace quadrature
{

double WorkspaceDoubles(const Run &run, double n, bool buffered)
{
    const double block = static_cast<double>(run.Block);
    const double stored = static_cast<double>(Stride(run) + run.Columns);
    const double buffers = buffered ? n * (1.0 + static_cast<double>(run.Outputs)) : 0.0;
    const double windowed = run.Pass != QuadraturePass::FullBand
                                ? 2.0 * (n + 1.0) + 4.0 * std::ceil(n / block) + 4.0 * stored
                                : 0.0;
    const double tree = run.Pass == QuadraturePass::ProductTree
                            ? n + ProductTree::Doubles(n, static_cast<double>(run.Paid))
                            : 0.0;
    return 2.0 * n + (std::ceil(n / block) + block + 1.0) * stored + 2.0 * static_cast<double>(run.Places) +
           buffers + windowed + tree;
}

void PutNothing(const Run &run, const Sink &sink, size_t player)
{
    const size_t row = sink.Index != nullptr ? sink.Index[player] : player;
    if (run.Paid > 0)
        sink.Put(&sink.Equity[row], 0.0);
    for (size_t place = 0; place < run.Outputs; ++place)
        sink.Put(&sink.Finish[row * run.Outputs + place], 0.0);
}

double ClockChances(const Run &run, Workspace &work, double time)
{
    const std::vector<double> &stack = run.InPlay->Stack;
    double mu = 0.0;
    for (size_t j = 0; j < stack.size(); ++j)
    {
        Clock(stack[j] * time, work.A[j], work.B[j]);
        mu += work.B[j];
    }
    return mu;
}

} // namespace quadrature
} // namespace ostrel
