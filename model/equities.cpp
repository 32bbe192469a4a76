/*
 * The automatic choice, the cost estimates and the scaling of prizes, over
 * the subset and quadrature methods.
 */
#include "equities.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "quadrature_method.h"
#include "subset_method.h"

namespace ostrel
{
namespace
{

/*
 * Seconds per step on the reference machine, measured on runs of 0.01 to 2
 * seconds (docs/performance.md): the subset method's inner step (one player
 * placed from one set) and the quadrature method's (one player, one node,
 * one place). Within a factor of 2 of every run measured, mostly above.
 */
constexpr double SubsetStepSeconds = 3.7e-9;
constexpr double QuadratureStepSeconds = 0.6e-9;

// Starting threads costs more than a small field's whole run; the results do
// not depend on the count.
constexpr double ThreadedSteps = 200000.0;

// Prizes up to 2^600 leave every product of the methods (a prize times a
// chance, a weight or a stack of up to 10^18) far below the largest double.
constexpr int LargestUnscaledExponent = 600;

bool SubsetsFaster(size_t players, size_t places, bool finish)
{
    if (players < 12)
        return true;
    return !finish && players < 17 && players + places < 20;
}

const char *NameOf(EquityMethod method)
{
    return method == EquityMethod::Subsets ? "the subset method" : "the quadrature method";
}

// Keeps the first `places` columns of every row.
void KeepColumns(FinishTable &finish, size_t places)
{
    const size_t all = finish.Places;
    if (places >= all)
        return;
    for (size_t seat = 0; seat < finish.Seats; ++seat)
        std::copy_n(finish.Chance.begin() + static_cast<long>(seat * all), places,
                    finish.Chance.begin() + static_cast<long>(seat * places));
    finish.Chance.resize(finish.Seats * places);
    finish.Places = places;
}

Status RunMethod(const Field &field, EquityMethod method, const EquityOptions &options, double *equities,
                 FinishTable *finish)
{
    if (method == EquityMethod::Subsets)
    {
        SubsetProgress progress;
        progress.Report = options.Progress;
        progress.Context = options.ProgressContext;
        const Status status = SubsetEquities(field, equities, finish, progress);
        if (status.Ok && finish != nullptr)
            KeepColumns(*finish, options.FinishPlaces);
        if (status.Ok && options.Progress != nullptr)
            options.Progress(options.ProgressContext, 1.0);
        return status;
    }
    const size_t columns = finish != nullptr ? options.FinishPlaces : 0;
    return QuadratureEquities(field, QuadratureFor(field, options, columns), equities, finish);
}

} // namespace

QuadratureOptions QuadratureFor(const Field &field, const EquityOptions &options, size_t finishPlaces)
{
    QuadratureOptions quadrature;
    const size_t players = PlayersInPlay(field);
    const size_t places = std::max(PaidPlaces(field, players), finishPlaces);
    const bool large =
        static_cast<double>(players) * static_cast<double>(std::max<size_t>(places, 1)) >= ThreadedSteps;
    quadrature.Threads = large ? options.Threads : 1;
    quadrature.FinishPlaces = finishPlaces;
    quadrature.MemoryLimit = options.MemoryLimit;
    quadrature.Progress = options.Progress;
    quadrature.ProgressContext = options.ProgressContext;
    return quadrature;
}

EquityMethod ChooseEquityMethod(const Field &field, size_t finishPlaces)
{
    const size_t players = PlayersInPlay(field);
    return SubsetsFaster(players, PaidPlaces(field, players), finishPlaces > 0) ? EquityMethod::Subsets
                                                                                 : EquityMethod::Quadrature;
}

double EstimatedSeconds(const Field &field, EquityMethod method, size_t finishPlaces)
{
    if (method == EquityMethod::Automatic)
        method = ChooseEquityMethod(field, finishPlaces);
    if (method == EquityMethod::Subsets)
        return SubsetSteps(field, finishPlaces > 0) * SubsetStepSeconds;
    return QuadratureSteps(field, finishPlaces) * QuadratureStepSeconds;
}

double PrizeScale(const Field &field)
{
    double largest = 0.0;
    for (size_t place = 0; place < field.Places && field.Prizes != nullptr; ++place)
        largest = std::max(largest, field.Prizes[place]);
    int exponent = 0;
    std::frexp(largest, &exponent);
    if (!(largest > 0.0) || exponent <= LargestUnscaledExponent)
        return 1.0;
    const double scale = std::ldexp(1.0, LargestUnscaledExponent - exponent);
    for (size_t place = 0; place < field.Places; ++place)
        if (field.Prizes[place] > 0.0 && field.Prizes[place] * scale == 0.0)
            return 0.0;
    return scale;
}

Status ScaledPrizes(const Field &field, double &scale, std::vector<double> &prizes)
{
    scale = PrizeScale(field);
    if (scale == 0.0)
        return Failure("the prizes are too far apart to compute together (over 2^1600 times)");
    prizes.assign(field.Prizes, field.Prizes + field.Places);
    for (double &prize : prizes)
        prize *= scale;
    return Status();
}

std::string DurationText(double seconds)
{
    char text[64];
    if (!std::isfinite(seconds))
        return "forever";
    if (seconds < 1.0)
        std::snprintf(text, sizeof text, "%.2g ms", seconds * 1000.0);
    else if (seconds < 120.0)
        std::snprintf(text, sizeof text, "%.2g s", seconds);
    else if (seconds < 7200.0)
        std::snprintf(text, sizeof text, "%.0f minutes", seconds / 60.0);
    else if (seconds < 2.0 * 86400.0)
        std::snprintf(text, sizeof text, "%.1f hours", seconds / 3600.0);
    else if (seconds < 2.0 * 365.25 * 86400.0)
        std::snprintf(text, sizeof text, "%.0f days", seconds / 86400.0);
    else
        std::snprintf(text, sizeof text, "%.2g years", seconds / (365.25 * 86400.0));
    return text;
}

Status ComputeEquities(const Field &field, EquityMethod method, const EquityOptions &options, double *equities,
                       FinishTable *finish, EquityMethod *ran)
{
    const Status checked = CheckField(field);
    if (!checked.Ok)
        return checked;
    if (equities == nullptr && field.Seats > 0)
        return Failure("no room given for the results");
    if (method != EquityMethod::Automatic && method != EquityMethod::Subsets && method != EquityMethod::Quadrature)
        return Failure("no such method");
    const size_t finishPlaces = finish != nullptr ? std::min(options.FinishPlaces, PlayersInPlay(field)) : 0;
    const EquityMethod chosen = method == EquityMethod::Automatic ? ChooseEquityMethod(field, finish != nullptr)
                                                                  : method;
    if (options.SecondsLimit > 0.0)
    {
        const double seconds = EstimatedSeconds(field, chosen, finishPlaces);
        if (seconds > options.SecondsLimit && !std::isinf(seconds))
        {
            const EquityMethod other =
                chosen == EquityMethod::Subsets ? EquityMethod::Quadrature : EquityMethod::Subsets;
            const double otherSeconds = EstimatedSeconds(field, other, finishPlaces);
            return Failure(std::string(NameOf(chosen)) + " would take about " + DurationText(seconds) +
                           " on this field" +
                           (otherSeconds < seconds ? std::string("; ") + NameOf(other) + " takes about " +
                                                         DurationText(otherSeconds)
                                                   : std::string()));
        }
    }
    double scale = 1.0;
    std::vector<double> scaled;
    const Status scaling = ScaledPrizes(field, scale, scaled);
    if (!scaling.Ok)
        return scaling;
    const Field run = {field.Stacks, field.Seats, scaled.data(), scaled.size()};
    EquityOptions runOptions = options;
    runOptions.FinishPlaces = finishPlaces;
    const Status status = RunMethod(scale == 1.0 ? field : run, chosen, runOptions, equities, finish);
    if (!status.Ok)
        return status;
    for (size_t seat = 0; seat < field.Seats; ++seat)
    {
        equities[seat] /= scale;
        if (!std::isfinite(equities[seat]))
            return Failure("seat " + std::to_string(seat + 1) + ": the $EV passes the largest number a double holds");
    }
    if (ran != nullptr)
        *ran = chosen;
    return Status();
}

} // namespace ostrel
