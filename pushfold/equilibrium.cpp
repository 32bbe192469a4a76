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
#include <limits>
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
    // Bounty money in play is played for as much as the prizes.
    pool = book.Worth(chipEv);
    return chipEv ? 0.01 * static_cast<double>(book.Hand().Table.BigBlind) : 1e-4 * pool;
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

namespace
{

// The three-way draws of a solve: the fixed uniform set (shovers' and
// callers' values) and each pot's overcall set, drawn from the ranges of a
// strategy with the same seed, so that anyone holding the strategies can
// draw them again.
struct DrawSets
{
    // Until the first full From, overcall sets of a quarter of the size, but
    // not below EarlyAtLeast a class (fewer can turn even aces' best
    // response): the early rounds' ranges are far from the answer, and
    // their sets are drawn again.
    static constexpr uint32_t EarlyAtLeast = 150;
    bool Early = true;
    uint32_t PerClass = 1, OverPerClass = 0, FullOverPerClass = 0;
    uint64_t Seed = 0;
    std::vector<Draw> Uniform;
    Game::PotDraws Over;
    std::vector<std::vector<double>> MadeFrom; // by set: the ranges it was drawn from

    DrawSets(const Game &game, const NashOptions &options, uint64_t seed) : Seed(seed)
    {
        if (game.Players() >= 3)
        {
            PerClass = options.DrawsPerClass;
            FullOverPerClass = std::max<uint32_t>(1, options.DrawsPerClass / 4);
            OverPerClass = std::max(FullOverPerClass / 4, std::min<uint32_t>(FullOverPerClass, EarlyAtLeast));
            Uniform = MakeDraws(game.Classes(), PerClass, seed);
        }
        else
            Uniform.resize(K);
    }
    // Every overcall set from the ranges of `strategy`, in full size unless
    // `early`; where a set was drawn from the same ranges it is kept.
    void From(const Game &game, const Game::Strategy &strategy, bool early = false)
    {
        if (!early && Early)
        {
            Early = false;
            OverPerClass = FullOverPerClass;
            MadeFrom.clear();
        }
        if (OverPerClass > 0)
            game.OvercallDraws(strategy, OverPerClass, Seed, nullptr, 0.0, Over, MadeFrom);
    }
    // The overcall sets whose effective size for `strategy` (ess, by pot)
    // fell below `below`, drawn again from its ranges at their present size.
    void Refresh(const Game &game, const Game::Strategy &strategy, const std::vector<double> &ess, double below)
    {
        if (OverPerClass > 0)
            game.OvercallDraws(strategy, OverPerClass, Seed, &ess, below, Over, MadeFrom);
    }
    void Evaluate(const Game &game, const Game::Strategy &strategy, Game::Round &round) const
    {
        game.Evaluate(strategy, Uniform, PerClass, Over, OverPerClass, round);
    }
};

double Largest(const std::vector<double> &gain)
{
    return *std::max_element(gain.begin(), gain.end());
}

// Every class to the action its average mostly takes.
Game::Strategy Rounded(Game::Strategy strategy)
{
    for (auto &frequencies : strategy)
        for (double &f : frequencies)
            f = f >= 0.5 ? 1.0 : 0.0;
    return strategy;
}

// The strategies cleaned of fictitious play's traces: a class mostly
// played (folded) whose action is worth more (less) than folding by over
// `band` is always played (folded); one that disagrees, or lies within the
// band, keeps its mix, in hundredths, pure below 0.02 and above 0.98; a class
// never reached rounds to the nearer pure action. No class changes its
// majority action: the cleaning never flips a range's border.
Game::Strategy Purified(const Game::Strategy &average, const Game::Round &round, double band)
{
    Game::Strategy pure = average;
    for (size_t n = 0; n < pure.size(); ++n)
        for (size_t c = 0; c < static_cast<size_t>(K); ++c)
        {
            double &f = pure[n][c];
            const double advantage = round.Advantage[n][c];
            if (std::isfinite(advantage) && std::fabs(advantage) > band && (advantage > 0.0) == (f >= 0.5))
                f = advantage > 0.0 ? 1.0 : 0.0;
            else if (!std::isfinite(advantage))
                f = f >= 0.5 ? 1.0 : 0.0;
            else if (f < 0.02 || f > 0.98)
                f = f > 0.5 ? 1.0 : 0.0;
            else
                f = std::round(f * 100.0) / 100.0; // as ranges print it: the text reads back the same
        }
    return pure;
}

// The largest loss of a hand against its better action, at the decisions
// reached with a chance of at least ReachedAtLeast: what a hand that
// follows the strategy gives up by the share it spends on the worse action.
struct HandLoss
{
    double Loss = 0.0;
    size_t Node = NoSeat;
    int Class = -1;
};

// What a hand loses by playing with `frequency` where playing is worth
// `advantage` more than folding.
double LossOf(double frequency, double advantage)
{
    return advantage > 0.0 ? (1.0 - frequency) * advantage : frequency * -advantage;
}

double ReachedChance(const Game::Round &round, size_t n)
{
    double reached = 0.0;
    for (int c = 0; c < K; ++c)
        reached += cards::ComboCountOfClass(c) * round.Reach[n][static_cast<size_t>(c)];
    return reached / cards::ComboCount;
}

HandLoss LargestHandLoss(const Game::Strategy &strategy, const Game::Round &round)
{
    HandLoss worst;
    for (size_t n = 0; n < strategy.size(); ++n)
    {
        if (ReachedChance(round, n) < ReachedAtLeast)
            continue;
        for (int c = 0; c < K; ++c)
        {
            const double f = strategy[n][static_cast<size_t>(c)];
            const double advantage = round.Advantage[n][static_cast<size_t>(c)];
            if (!std::isfinite(advantage))
                continue;
            const double loss = LossOf(f, advantage);
            if (loss > worst.Loss)
                worst = {loss, n, c};
        }
    }
    return worst;
}

// How far the hand-by-hand loss of `strategy` moves between two sets of
// draws: the largest change of a hand's loss at a decision reached often
// enough on either.
double LossNoise(const Game::Strategy &strategy, const Game::Round &one, const Game::Round &two)
{
    double noise = 0.0;
    for (size_t n = 0; n < strategy.size(); ++n)
    {
        if (ReachedChance(one, n) < ReachedAtLeast && ReachedChance(two, n) < ReachedAtLeast)
            continue;
        for (size_t c = 0; c < static_cast<size_t>(K); ++c)
        {
            const double f = strategy[n][c], a = one.Advantage[n][c], b = two.Advantage[n][c];
            if (!std::isfinite(a) || !std::isfinite(b))
                continue;
            noise = std::max(noise, std::fabs(LossOf(f, a) - LossOf(f, b)));
        }
    }
    return noise;
}

// Hand by hand after the run: fictitious play bounds what a player gains in
// all, so a hand at a border can still lose far more than the bound there.
// Each pass takes, at every decision reached often enough, the one class
// that loses the most (over half the bound and over PolishFocus of the
// largest loss anywhere) and moves it to its better action; a class whose
// better action turns moves back by half its last move (a bisection toward
// its point of indifference, in hundredths as the ranges print), so that
// mixes stay where the hand is close. One class a decision keeps the
// coupled decisions (a shove and the calls it meets) from swinging
// together. Every pass is measured again on the same draws; the strategy
// with the smallest loss is kept. Stops below 0.9 of the bound, when
// nothing moves, after PolishPasses, or after PolishPatience passes without
// a new smallest loss. Cost: a round a pass.
constexpr double PolishFocus = 0.3;
constexpr int PolishPasses = 60;
constexpr int PolishPatience = 15;
// From six players on, a pass costs a round of 0.1 to 1 s, and the overcall
// draws move a hand's loss by more than the bound (up to 0.7 of a 100 pool
// at ten), so that the polish, which holds on the draws at hand, does not
// survive drawing them again from its ranges.
constexpr size_t PolishPlayers = 5;

void Polish(const Game &game, const DrawSets &draws, Game::Strategy &strategy, Game::Round &round, double bound)
{
    const size_t nodes = strategy.size();
    std::vector<std::array<int, K>> step(nodes), turn(nodes);
    for (size_t n = 0; n < nodes; ++n)
    {
        step[n].fill(100);
        turn[n].fill(0);
    }
    Game::Strategy best = strategy;
    Game::Round bestRound = round;
    double smallest = LargestHandLoss(strategy, round).Loss;
    for (int pass = 0, since = 0; pass < PolishPasses && smallest > 0.9 * bound && since < PolishPatience; ++pass)
    {
        const double floor = std::max(0.5 * bound, PolishFocus * LargestHandLoss(strategy, round).Loss);
        bool moved = false;
        for (size_t n = 0; n < nodes; ++n)
        {
            if (ReachedChance(round, n) < ReachedAtLeast)
                continue;
            size_t worst = K;
            double most = floor;
            for (size_t c = 0; c < static_cast<size_t>(K); ++c)
            {
                const double advantage = round.Advantage[n][c];
                if (std::isfinite(advantage) && LossOf(strategy[n][c], advantage) > most)
                {
                    most = LossOf(strategy[n][c], advantage);
                    worst = c;
                }
            }
            if (worst == K)
                continue;
            const int direction = round.Advantage[n][worst] > 0.0 ? 1 : -1;
            if (turn[n][worst] != 0 && turn[n][worst] != direction)
                step[n][worst] = std::max(1, step[n][worst] / 2);
            turn[n][worst] = direction;
            double &f = strategy[n][worst];
            f = std::min(100.0, std::max(0.0, std::round(f * 100.0) + direction * step[n][worst])) / 100.0;
            moved = true;
        }
        if (!moved)
            break;
        draws.Evaluate(game, strategy, round);
        const double loss = LargestHandLoss(strategy, round).Loss;
        ++since;
        if (loss < smallest)
        {
            smallest = loss;
            best = strategy;
            bestRound = round;
            since = 0;
        }
    }
    strategy = std::move(best);
    round = std::move(bestRound);
}

} // namespace

Status SolveNash(const HandField &field, const FieldEquity &valuation, bool chipEv,
                 const NashOptions &options, NashAnswer &answer)
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
    DrawSets draws(game, options, options.Seed);
    answer.Draws = N >= 3 ? static_cast<uint64_t>(draws.PerClass + draws.FullOverPerClass) * K : 0;
    // Heads-up rounds cost some 0.1 ms: for up to HeadsUpRounds they go on
    // to a 500th of the tolerance, where the ranges settle at the
    // hands' thresholds.
    constexpr uint64_t HeadsUpRounds = 3000;
    double target = N == 2 ? answer.Tolerance / 500.0 : answer.Tolerance;

    Game::Strategy average(game.Nodes().size());
    for (size_t n = 0; n < average.size(); ++n)
        average[n] = StartingGuess(game.Nodes()[n].Action);
    draws.From(game, average, true);
    Game::Round round;
    uint64_t iteration = 0;
    int checks = 0;
    uint64_t nextCheck = 0;
    for (;;)
    {
        draws.Evaluate(game, average, round);
        answer.Exploitability = Largest(round.Gain);
        if (options.Progress != nullptr)
            options.Progress(options.ProgressContext, iteration, answer.Exploitability);
        if (options.Proceed != nullptr && !options.Proceed(options.ProgressContext))
            return Failure("stopped by the caller");
        if (N == 2 && iteration == HeadsUpRounds)
            target = std::max(target, answer.Tolerance);
        if (answer.Exploitability < target && iteration >= nextCheck)
        {
            // The strategies reported are measured on overcall draws made
            // from their own ranges: first the averages rounded to pure
            // strategies (ranges without mixes where the tolerance allows),
            // then the purified ones (twice: the second pass answers the
            // first's changes), else the averages.
            bool done = false;
            Game::Strategy candidate = Rounded(average);
            Game::Round measured = round;
            draws.From(game, candidate);
            draws.Evaluate(game, candidate, measured);
            const bool rounded = Largest(measured.Gain) < answer.Tolerance;
            if (rounded)
            {
                average = candidate;
                round = measured;
                done = true;
            }
            candidate = average;
            measured = round;
            for (int pass = 0; pass < 2 && !rounded; ++pass)
            {
                candidate = Purified(candidate, measured, 0.5 * target);
                draws.From(game, candidate);
                draws.Evaluate(game, candidate, measured);
                if (Largest(measured.Gain) >= answer.Tolerance)
                    break;
                average = candidate;
                round = measured;
                done = true;
            }
            if (!done)
            {
                // Only the traces: mixes in hundredths, pure past 0.02 and 0.98.
                candidate = Purified(average, round, std::numeric_limits<double>::infinity());
                draws.From(game, candidate);
                draws.Evaluate(game, candidate, measured);
                if (Largest(measured.Gain) < answer.Tolerance)
                {
                    average = candidate;
                    round = measured;
                    done = true;
                }
            }
            if (!done)
            {
                draws.From(game, average);
                draws.Evaluate(game, average, round);
                done = Largest(round.Gain) < answer.Tolerance;
            }
            answer.Exploitability = Largest(round.Gain);
            if (done)
            {
                answer.Converged = true;
                break;
            }
            // Within the tolerance on the old draws, not on their own: go
            // on as many rounds again before measuring again, a few times
            // (with few draws their noise alone can exceed the tolerance).
            if (++checks == 2)
                break;
            nextCheck = 2 * iteration + 1;
        }
        if (iteration >= options.MaxIterations)
        {
            // Report what the strategies' own draws measure.
            draws.From(game, average);
            draws.Evaluate(game, average, round);
            answer.Exploitability = Largest(round.Gain);
            break;
        }
        ++iteration;
        // The averages move toward the best responses by 2 / (t + 2).
        const double step = 2.0 / static_cast<double>(iteration + 2);
        for (size_t n = 0; n < average.size(); ++n)
            for (size_t c = 0; c < static_cast<size_t>(K); ++c)
                average[n][c] += step * (round.Best[n][c] - average[n][c]);
        // As the ranges settle, the pots whose overcall draws lost half
        // their effective size are drawn again from them (rounds 1, 2, 4
        // and 16; at round 8 every pot's, in full size; later the game
        // stays fixed so that the rounds converge on it, the final measure
        // aside).
        const bool redraw = (iteration & (iteration - 1)) == 0 && iteration <= 16 && checks == 0;
        if (redraw && iteration == 8)
            draws.From(game, average);
        else if (redraw)
            draws.Refresh(game, average, round.Ess, 0.5);
    }
    answer.HandBound = 2.0 * tolerance;
    if (answer.Converged && N > 2 && N <= PolishPlayers)
    {
        // Polished on the draws at hand, then measured on draws from the
        // polished ranges (their own, as any measure of the answer draws
        // them); kept where that lowers the loss within the tolerance, and
        // polished once more from there.
        double before = LargestHandLoss(average, round).Loss;
        Game::Strategy polished = average;
        Game::Round measured = round;
        for (int again = 0; again < 2 && before > answer.HandBound; ++again)
        {
            Polish(game, draws, polished, measured, answer.HandBound);
            draws.From(game, polished);
            draws.Evaluate(game, polished, measured);
            const double loss = LargestHandLoss(polished, measured).Loss;
            if (!(loss < before) || Largest(measured.Gain) >= answer.Tolerance)
                break;
            before = loss;
            average = polished;
            round = measured;
        }
        answer.Exploitability = Largest(round.Gain);
    }
    const HandLoss loss = LargestHandLoss(average, round);
    answer.MaxHandLoss = loss.Loss;
    answer.HandLossDecision = loss.Node;
    answer.HandLossClass = loss.Class;
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
        d.Advantage = round.Advantage[n];
        d.EvPlay = round.Play[n];
        d.EvFold = round.Fold[n];
        for (size_t c = 0; c < static_cast<size_t>(K); ++c)
            d.Reached += cards::ComboCountOfClass(static_cast<int>(c)) * round.Reach[n][c] / cards::ComboCount;
        d.Share = ShareOf(average[n]);
        answer.Decisions.push_back(d);
    }
    if (answer.Draws > 0)
    {
        // The same strategies on independent sets of draws.
        DrawSets other(game, options, options.Seed + 0x5851f42d4c957f2du);
        other.From(game, average);
        Game::Round second;
        other.Evaluate(game, average, second);
        for (size_t x = 0; x < N; ++x)
            answer.DrawError = std::max({answer.DrawError, std::fabs(second.Ev[x] - round.Ev[x]),
                                         std::fabs(second.Gain[x] - round.Gain[x])});
        answer.HandLossNoise = LossNoise(average, round, second);
    }
    return Status();
}

double EstimatedNashSeconds(size_t players, const NashOptions &options)
{
    if (players < 3)
        return 0.2;
    // Each pot (p, q) is passed once for the shover's and caller's values
    // and once for each of the players after q who may overcall.
    double pots = 0.0;
    for (size_t q = 1; q < players; ++q)
        pots += static_cast<double>(q) * static_cast<double>(players - q);
    const double rounds = 30.0 + (players <= PolishPlayers ? 2.0 * PolishPasses : 0.0);
    constexpr double SecondsPerDraw = 0.8e-6; // a class's draw through one pot's pass, in a round
    const double threads = std::max(1u, options.Threads);
    return 0.2 + rounds * SecondsPerDraw * options.DrawsPerClass * pots / (1.0 + 0.66 * (threads - 1.0));
}

Status NashGains(const HandField &field, const FieldEquity &valuation, bool chipEv,
                 const NashOptions &options, const std::vector<NashDecision> &decisions,
                 std::vector<double> &gain, std::vector<double> &ev)
{
    Game game;
    Status status = game.Open(field, valuation, chipEv, options);
    if (!status.Ok)
        return status;
    if (decisions.size() != game.Nodes().size())
        return Failure("the strategies do not match the table's decisions");
    Game::Strategy average(decisions.size());
    for (size_t n = 0; n < decisions.size(); ++n)
        average[n] = decisions[n].Frequency;
    DrawSets draws(game, options, options.Seed);
    draws.From(game, average);
    Game::Round round;
    draws.Evaluate(game, average, round);
    FillSeats(game, round, field.Table.Stacks.size(), gain, ev);
    return Status();
}

} // namespace ostrel
