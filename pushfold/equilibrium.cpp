/*
 * The equilibrium by fictitious play over class frequencies: each round
 * every decision takes its best response to the others' averages, and the
 * averages move toward it by 2 / (t + 2) (each round weighted by its
 * number). The round's best responses measure the averages'
 * exploitability, which stops the run.
 *
 * Contract: see equilibrium.h. Cost: the rounds (equilibrium_game.cpp) times
 * the iterations, plus one valuation per outcome of the table when opened,
 * and one more round on a second set of draws for the draws' error.
 */
#include "equilibrium.h"

#include <algorithm>
#include <cmath>

#include "equilibrium_game.h"
#include "range.h"

namespace ostrel
{
namespace
{

using namespace equilibrium_detail;

std::array<double, K> StartingGuess(NashAction action)
{
    // A first guess from the hands' strength: wide shoves, narrower calls.
    const double percent = action == NashAction::Shove ? 40.0 : action == NashAction::Call ? 20.0 : 8.0;
    const cards::Range range = cards::TopShare(percent);
    std::array<double, K> f{};
    for (int c = 0; c < cards::ComboCount; ++c)
        if (range.Weight[static_cast<size_t>(c)] > 0.0)
            f[static_cast<size_t>(cards::ClassOfCombo(c))] = 1.0;
    return f;
}

double ShareOf(const std::array<double, K> &f)
{
    double share = 0.0;
    for (int h = 0; h < K; ++h)
        share += f[static_cast<size_t>(h)] * cards::ComboCountOfClass(h);
    return share / cards::ComboCount;
}

double DefaultTolerance(const OutcomeBook &book, bool chipEv, double &pool)
{
    if (chipEv)
    {
        pool = 0.0;
        const HandField &hand = book.Hand();
        for (int64_t s : hand.Table.Stacks)
            pool += static_cast<double>(s);
        for (int64_t s : hand.Others)
            pool += static_cast<double>(s);
        return 0.01 * static_cast<double>(hand.Table.BigBlind);
    }
    pool = book.Pool();
    return 1e-4 * pool;
}

void FillSeats(const Game &game, const Game::Round &round, size_t seats, std::vector<double> &gain,
               std::vector<double> &ev)
{
    gain.assign(seats, 0.0);
    ev.assign(seats, 0.0);
    for (size_t x = 0; x < game.Players(); ++x)
    {
        gain[game.Seats()[x]] = round.Gain[x];
        ev[game.Seats()[x]] = round.Ev[x];
    }
}

} // namespace

Status SolveNash(const HandField &field, const FieldEquity &valuation, bool chipEv, const NashOptions &options,
                 NashAnswer &answer)
{
    if (!(options.Tolerance >= 0.0) || !std::isfinite(options.Tolerance))
        return Failure("the tolerance must be a number of 0 or more");
    if (options.MaxIterations == 0)
        return Failure("the iterations must be 1 or more");
    if (options.DrawsPerClass == 0)
        return Failure("the draws per class must be 1 or more");
    Game game;
    Status status = game.Open(field, valuation, chipEv, options);
    if (!status.Ok)
        return status;
    answer = NashAnswer();
    const double tolerance = DefaultTolerance(game.Book(), chipEv, answer.Pool);
    answer.Tolerance = options.Tolerance > 0.0 ? options.Tolerance : tolerance;
    const size_t N = game.Players();
    const uint32_t perClass = N >= 3 ? options.DrawsPerClass : 1;
    const std::vector<Draw> draws = N >= 3 ? MakeDraws(perClass, options.Seed) : std::vector<Draw>(K);
    answer.Draws = N >= 3 ? static_cast<uint64_t>(perClass) * K : 0;

    Game::Strategy average(game.Nodes().size());
    for (size_t n = 0; n < average.size(); ++n)
        average[n] = StartingGuess(game.Nodes()[n].Action);
    Game::Round round;
    uint64_t iteration = 0;
    for (;;)
    {
        game.Evaluate(average, draws, perClass, round);
        answer.Exploitability = *std::max_element(round.Gain.begin(), round.Gain.end());
        if (options.Progress != nullptr)
            options.Progress(options.ProgressContext, iteration, answer.Exploitability);
        if (answer.Exploitability < answer.Tolerance)
        {
            answer.Converged = true;
            // The averages keep a trace of the first rounds' best responses;
            // the same strategies rounded to pure ones are usually nearer the
            // equilibrium: taken when they are within the tolerance too.
            Game::Strategy pure = average;
            for (auto &node : pure)
                for (double &f : node)
                    f = f >= 0.5 ? 1.0 : 0.0;
            Game::Round rounded;
            game.Evaluate(pure, draws, perClass, rounded);
            const double worst = *std::max_element(rounded.Gain.begin(), rounded.Gain.end());
            if (worst < answer.Tolerance)
            {
                average = pure;
                round = rounded;
                answer.Exploitability = worst;
            }
            break;
        }
        if (iteration >= options.MaxIterations)
            break;
        ++iteration;
        // The averages move toward the best responses by 1 / (t + 1).
        const double step = 2.0 / static_cast<double>(iteration + 2);
        for (size_t n = 0; n < average.size(); ++n)
            for (size_t c = 0; c < static_cast<size_t>(K); ++c)
                average[n][c] += step * (round.Best[n][c] - average[n][c]);
    }
    answer.Iterations = iteration;
    const size_t seats = field.Table.Stacks.size();
    FillSeats(game, round, seats, answer.Gain, answer.EvEquilibrium);
    answer.EvBefore.assign(game.Book().Before(), game.Book().Before() + seats);
    answer.Order = game.Seats();
    for (size_t n = 0; n < average.size(); ++n)
    {
        const Node &node = game.Nodes()[n];
        NashDecision d;
        d.Seat = game.Seats()[node.Owner];
        d.Action = node.Action;
        if (node.Action != NashAction::Shove)
            d.Versus.push_back(game.Seats()[node.P]);
        if (node.Action == NashAction::Overcall)
            d.Versus.push_back(game.Seats()[node.Q]);
        d.Frequency = average[n];
        d.Share = ShareOf(average[n]);
        answer.Decisions.push_back(d);
    }
    if (answer.Draws > 0)
    {
        // The same strategies on an independent set of draws.
        const std::vector<Draw> other = MakeDraws(perClass, options.Seed + 0x5851f42d4c957f2du);
        Game::Round second;
        game.Evaluate(average, other, perClass, second);
        for (size_t x = 0; x < N; ++x)
            answer.DrawError = std::max({answer.DrawError, std::fabs(second.Ev[x] - round.Ev[x]),
                                         std::fabs(second.Gain[x] - round.Gain[x])});
    }
    return Status();
}

Status NashGains(const HandField &field, const FieldEquity &valuation, bool chipEv, const NashOptions &options,
                 const std::vector<NashDecision> &decisions, std::vector<double> &gain, std::vector<double> &ev)
{
    Game game;
    Status status = game.Open(field, valuation, chipEv, options);
    if (!status.Ok)
        return status;
    if (decisions.size() != game.Nodes().size())
        return Failure("the strategies do not match the table's decisions");
    const size_t N = game.Players();
    const uint32_t perClass = N >= 3 ? options.DrawsPerClass : 1;
    const std::vector<Draw> draws = N >= 3 ? MakeDraws(perClass, options.Seed) : std::vector<Draw>(K);
    Game::Strategy average(decisions.size());
    for (size_t n = 0; n < decisions.size(); ++n)
        average[n] = decisions[n].Frequency;
    Game::Round round;
    game.Evaluate(average, draws, perClass, round);
    FillSeats(game, round, field.Table.Stacks.size(), gain, ev);
    return Status();
}

} // namespace ostrel
