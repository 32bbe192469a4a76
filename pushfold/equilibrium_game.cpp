/*
 * One round of the equilibrium: best responses and gains against averages.
 *
 * Contract: see equilibrium.h. Positions 0..N-1 are the seats in play in
 * the order they act (the big blind last). A round evaluates every decision
 * against the current averages: per pot (shover p, caller q) one pass over
 * the heads-up class pairs (exact) and, when later players may overcall, one
 * pass over the fixed draws; then each decision's EV of playing and folding
 * per class, the best responses, and each player's gain. Pots are
 * independent, so threads take whole pots and each pot's sums run in one
 * fixed order: the bytes do not depend on the thread count.
 *
 * Accuracy: heads-up pots exact; three-way pots are sample means over the
 * fixed draws (the error is measured on a second set, see SolveNash).
 * Cost per round: O(N^2 * 169^2) for the heads-up pairs, plus
 * O(N^2 * 169 * DrawsPerClass * N^2) for the draws when N >= 3.
 */
#include "equilibrium_game.h"

#include <algorithm>
#include <initializer_list>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>
#include <thread>

#include "split_mix.h"

namespace ostrel
{
namespace equilibrium_detail
{
namespace
{

constexpr double LiveAfterFour = 1128.0; // C(48, 2)

} // namespace

Status Game::Open(const HandField &field, const FieldEquity &valuation, bool chipEv, const NashOptions &options)
{
    Status status = Money.Open(field, chipEv ? ChipValuation() : valuation, !chipEv);
    if (!status.Ok)
        return status;
    const Posting &post = Money.Posted();
    SeatOf = post.Order;
    N = SeatOf.size();
    Threads = std::max(1u, options.Threads);
    const size_t none = static_cast<size_t>(-1);
    // A player all in from posting is in the pot with any hand and has no
    // decision; with him in, a pot takes one caller more and no overcall.
    Forced = none;
    for (size_t x = 0; x < N; ++x)
        if (post.Behind[SeatOf[x]] == 0)
        {
            if (Forced != none)
                return Failure("seats " + std::to_string(SeatOf[Forced] + 1) + " and " +
                               std::to_string(SeatOf[x] + 1) +
                               " are both all in from the blinds or the ante: a pot could hold four players, and "
                               "the equilibrium takes at most one player all in from posting");
            Forced = x;
        }
    const bool forced = Forced != none;
    if (forced && N == 2 && Forced == 0)
        return Failure("seat " + std::to_string(SeatOf[0] + 1) +
                       " is all in from posting and the big blind has no decision: nobody has one");
    Tables = MakeTables();
    ShoveIndex.assign(N, none);
    CallIndex.assign(N * N, none);
    OverIndex.assign(N * N * N, none);
    for (size_t p = 0; p + 1 < N; ++p)
        if (p != Forced)
        {
            ShoveIndex[p] = List.size();
            List.push_back({NashAction::Shove, p, none, none, p});
        }
    for (size_t p = 0; p < N; ++p)
        for (size_t q = p + 1; q < N; ++q)
            if (p != Forced && q != Forced)
            {
                CallIndex[p * N + q] = List.size();
                List.push_back({NashAction::Call, p, q, none, q});
            }
    for (size_t p = 0; p < N && !forced; ++p)
        for (size_t q = p + 1; q < N; ++q)
            for (size_t r = q + 1; r < N; ++r)
            {
                OverIndex[(p * N + q) * N + r] = List.size();
                List.push_back({NashAction::Overcall, p, q, r, r});
            }
    AgainstAny.assign(K * 3, 0.0);
    for (int h = 0; h < K; ++h)
        for (int a = 0; a < K; ++a)
        {
            const size_t i = static_cast<size_t>(h * K + a);
            AgainstAny[static_cast<size_t>(h) * 3 + 0] += Tables.Given[i] * Tables.Win[i];
            AgainstAny[static_cast<size_t>(h) * 3 + 1] += Tables.Given[i] * (1.0 - Tables.Win[i] - Tables.Tie[i]);
            AgainstAny[static_cast<size_t>(h) * 3 + 2] += Tables.Given[i] * Tables.Tie[i];
        }
    Walk.assign(N, 0.0);
    Steal.assign(N * N, 0.0);
    Two.assign(N * N * 3 * N, 0.0);
    Three.assign(N * N * N * 13 * N, 0.0);
    const size_t last = N - 1;
    status = ValueFinishes({last}, Walk.data());
    for (size_t p = 0; p + 1 < N && status.Ok; ++p)
        status = ValueFinishes({p}, &Steal[p * N]);
    for (size_t p = 0; p < N && status.Ok; ++p)
        for (size_t q = p + 1; q < N && status.Ok; ++q)
        {
            status = ValueFinishes({p, q}, &Two[(p * N + q) * 3 * N]);
            for (size_t r = q + 1; r < N && status.Ok; ++r)
                status = ValueFinishes({p, q, r}, &Three[((p * N + q) * N + r) * 13 * N]);
        }
    if (forced && status.Ok)
        status = OpenForced();
    return status;
}

Status Game::ValueFinishes(std::initializer_list<size_t> positions, double *into)
{
    Showdown pot;
    for (size_t x : positions)
        pot.Seats[pot.Count++] = SeatOf[x];
    Status status;
    for (size_t f = 0; f < FinishCount(pot.Count) && status.Ok; ++f)
    {
        FinishRanks(pot.Count, f, pot.Rank);
        const double *values = nullptr;
        status = Money.Values(pot, values);
        for (size_t x = 0; x < N && status.Ok; ++x)
            into[f * N + x] = values[SeatOf[x]];
    }
    return status;
}

Status Game::OpenForced()
{
    ThreeForced.assign(N * N * 13 * N, 0.0);
    TwoForced.assign(N * 3 * N, 0.0);
    Status status;
    for (size_t p = 0; p < N && status.Ok; ++p)
    {
        if (p == Forced)
            continue;
        status = ValueFinishes({p, Forced}, &TwoForced[p * 3 * N]);
        for (size_t q = p + 1; q < N && status.Ok; ++q)
            if (q != Forced)
                status = ValueFinishes({p, q, Forced}, &ThreeForced[(p * N + q) * 13 * N]);
    }
    // Nobody shoves: the big blind takes the pot, or shows down any hand
    // against the player all in from posting.
    if (status.Ok && Forced + 1 < N)
    {
        std::vector<double> any(3, 0.0);
        for (int h = 0; h < K; ++h)
            for (size_t f = 0; f < 3; ++f)
                any[f] += Tables.Share[static_cast<size_t>(h)] * AgainstAny[static_cast<size_t>(h) * 3 + f];
        for (size_t x = 0; x < N; ++x)
        {
            Walk[x] = 0.0;
            for (size_t f = 0; f < 3; ++f)
                Walk[x] += any[f] * V2(Forced, N - 1, f)[x];
        }
    }
    return status;
}

Game::DeadFour Game::Dead(int first, int second, uint8_t firstClass, uint8_t secondClass,
                          const uint8_t *cross) const
{
    const auto &x = Tables.CardsOf[static_cast<size_t>(first)];
    const auto &y = Tables.CardsOf[static_cast<size_t>(second)];
    return {{x[0], x[1], y[0], y[1]}, {firstClass, cross[0], cross[1], cross[2], cross[3], secondClass}};
}

std::array<double, K> Game::ShoverWeights(size_t p, size_t q, const Strategy &avg,
                                          const std::vector<std::array<double, K>> &callChance) const
{
    // His cards change the chances of the players between him and the caller.
    std::array<double, K> shove{};
    for (int a = 0; a < K; ++a)
    {
        double w = avg[ShoveNode(p)][static_cast<size_t>(a)];
        for (size_t j = p + 1; j < q; ++j)
            if (j != Forced)
                w *= 1.0 - callChance[CallNode(p, j)][static_cast<size_t>(a)];
        shove[static_cast<size_t>(a)] = w;
    }
    return shove;
}

std::vector<std::array<double, K>> Game::CallChances(const Strategy &avg) const
{
    std::vector<std::array<double, K>> callChance(List.size());
    for (size_t p = 0; p < N; ++p)
        for (size_t q = p + 1; q < N; ++q)
        {
            if (p == Forced || q == Forced)
                continue;
            const std::array<double, K> &calls = avg[CallNode(p, q)];
            std::array<double, K> &chance = callChance[CallNode(p, q)];
            for (int a = 0; a < K; ++a)
            {
                double sum = 0.0;
                for (int b = 0; b < K; ++b)
                    sum += Tables.Given[static_cast<size_t>(a * K + b)] * calls[static_cast<size_t>(b)];
                chance[static_cast<size_t>(a)] = sum;
            }
        }
    return callChance;
}

// Runs work(i) for every pot i, threads taking whole pots.
template <class Work> void Game::ForPots(size_t count, const Work &work) const
{
    auto some = [&](size_t first, size_t step) {
        for (size_t i = first; i < count; i += step)
            work(i);
    };
    const size_t threads = std::min<size_t>(Threads, count);
    if (threads <= 1)
    {
        some(0, 1);
        return;
    }
    std::vector<std::thread> pool;
    size_t started = 1;
    for (; started < threads; ++started)
    {
        try
        {
            pool.emplace_back(some, started, threads);
        }
        catch (const std::system_error &)
        {
            break; // where threads cannot start (a module on one thread), this one takes their pots
        }
    }
    for (size_t t = started; t < threads; ++t)
        some(t, threads);
    some(0, threads);
    for (std::thread &t : pool)
        t.join();
}

void Game::OvercallDraws(const Strategy &avg, uint32_t perClass, uint64_t seed, const std::vector<double> *ess,
                         double below, PotDraws &over, std::vector<std::vector<double>> &madeFrom) const
{
    const std::vector<std::array<double, K>> callChance = CallChances(avg);
    std::vector<std::pair<size_t, size_t>> pots;
    for (size_t p = 0; p < N; ++p)
        for (size_t q = p + 1; q < N; ++q)
            pots.push_back({p, q});
    const size_t sets = Forced < N ? 2 * pots.size() : pots.size();
    over.resize(sets);
    madeFrom.resize(sets);
    // A set from the two ranges, unless it was last drawn from them.
    const auto draw = [&](size_t j, const std::array<double, K> &a, const std::array<double, K> &b) {
        std::vector<double> ranges(a.begin(), a.end());
        ranges.insert(ranges.end(), b.begin(), b.end());
        // Bit for bit: -0.0 and 0.0 are not taken for the same weight.
        if (!over[j].empty() && ranges.size() == madeFrom[j].size() &&
            std::memcmp(ranges.data(), madeFrom[j].data(), ranges.size() * sizeof(double)) == 0)
            return;
        over[j] = MakeWeightedDraws(Tables, perClass, Mix(seed ^ Mix(j)), a, b);
        madeFrom[j] = std::move(ranges);
    };
    if (Forced < N)
    {
        // Each role's other hand from its range, the forced player's any hand.
        std::array<double, K> any;
        any.fill(1.0);
        ForPots(sets, [&](size_t j) {
            const size_t i = j % pots.size(), p = pots[i].first, q = pots[i].second;
            if (p == Forced || q == Forced || (ess != nullptr && (*ess)[i] >= below))
                return;
            draw(j, j < pots.size() ? avg[CallNode(p, q)] : ShoverWeights(p, q, avg, callChance), any);
        });
        return;
    }
    ForPots(sets, [&](size_t i) {
        const size_t p = pots[i].first, q = pots[i].second;
        if (q + 1 >= N || (ess != nullptr && (*ess)[i] >= below))
            return;
        draw(i, ShoverWeights(p, q, avg, callChance), avg[CallNode(p, q)]);
    });
}

void Game::PotPass(size_t p, size_t q, const Strategy &avg, const std::vector<std::array<double, K>> &callChance,
                   const std::vector<RemovalWeights> &removal, const std::vector<Draw> &draws,
                   const std::vector<uint8_t> &drawClasses, uint32_t perClass,
                   const std::vector<Draw> &overDraws, uint32_t overPerClass, PotSums &s) const
{
    const size_t M = N - 1 - q; // players who may overcall
    const std::array<double, K> &calls = avg[CallNode(p, q)];
    const std::array<double, K> shove = ShoverWeights(p, q, avg, callChance);
    s.HuP.assign(K * 3, 0.0);
    s.HuQ.assign(K * 3, 0.0);
    s.TwP.assign(K * M * 13, 0.0);
    s.TwQ.assign(K * M * 13, 0.0);
    s.Reach.assign(K * M, 0.0);
    s.Value.assign(K * M, 0.0);
    s.FoldNum.assign(M, 0.0);
    s.FoldDen.assign(M, 0.0);
    // The other's classes that play (the rest add nothing).
    int playing[K];
    int count = 0;
    for (int a = 0; a < K; ++a)
        if (calls[static_cast<size_t>(a)] > 0.0 || shove[static_cast<size_t>(a)] > 0.0)
            playing[count++] = a;
    for (int h = 0; h < K; ++h)
    {
        double *hp = &s.HuP[static_cast<size_t>(h) * 3];
        double *hq = &s.HuQ[static_cast<size_t>(h) * 3];
        for (int j = 0; j < count; ++j)
        {
            const int a = playing[j];
            const size_t i = static_cast<size_t>(h * K + a);
            const double given = Tables.Given[i];
            if (given == 0.0)
                continue;
            const double win = Tables.Win[i], tie = Tables.Tie[i], lose = 1.0 - win - tie;
            const double wp = given * calls[static_cast<size_t>(a)];
            hp[0] += wp * win;
            hp[1] += wp * lose;
            hp[2] += wp * tie;
            const double wq = given * shove[static_cast<size_t>(a)];
            hq[0] += wq * lose;
            hq[1] += wq * win;
            hq[2] += wq * tie;
        }
    }
    if (M == 0)
        return;
    // The folds' heads-up part, over the shover's range.
    std::array<double, 3> foldHu{};
    for (int h = 0; h < K; ++h)
        for (size_t f = 0; f < 3; ++f)
            foldHu[f] += Tables.Share[static_cast<size_t>(h)] * shove[static_cast<size_t>(h)] *
                         s.HuP[static_cast<size_t>(h) * 3 + f];
    // The overcallers' removal weights side by side (one row of M per card
    // and per class), so that one draw's M live chances are read in rows;
    // and the values each fold and overcall branch reads, by finish.
    std::vector<double> total(M), cardRows(cards::CardCount * M), classRows(K * M);
    for (size_t m = 0; m < M; ++m)
    {
        const RemovalWeights &w = removal[OverNode(p, q, q + 1 + m)];
        total[m] = w.Total;
        for (size_t c = 0; c < static_cast<size_t>(cards::CardCount); ++c)
            cardRows[c * M + m] = w.Card[c];
        for (size_t c = 0; c < static_cast<size_t>(K); ++c)
            classRows[c * M + m] = w.Class[c];
    }
    // The chances that the first `need` overcallers pass (the last one's
    // is never read: nobody after him waits on his fold).
    const auto liveRow = [&](const DeadFour &d, size_t need, double *into) {
        const double *c0 = &cardRows[d.Card[0] * M], *c1 = &cardRows[d.Card[1] * M];
        const double *c2 = &cardRows[d.Card[2] * M], *c3 = &cardRows[d.Card[3] * M];
        const double *k0 = &classRows[d.PairClass[0] * M], *k1 = &classRows[d.PairClass[1] * M];
        const double *k2 = &classRows[d.PairClass[2] * M], *k3 = &classRows[d.PairClass[3] * M];
        const double *k4 = &classRows[d.PairClass[4] * M], *k5 = &classRows[d.PairClass[5] * M];
        for (size_t m = 0; m < need; ++m)
        {
            // Inclusion and exclusion over the four dead cards: every combo
            // holding two of them was taken away twice.
            const double w = total[m] - c0[m] - c1[m] - c2[m] - c3[m] + k0[m] + k1[m] + k2[m] + k3[m] + k4[m] + k5[m];
            into[m] = 1.0 - std::max(0.0, w) / LiveAfterFour;
        }
    };
    std::vector<double> threeTo(13 * M * M), twoTo(3 * M);
    for (size_t f = 0; f < 13; ++f)
        for (size_t m = 0; m < M; ++m)
            for (size_t i = 0; i < M; ++i)
                threeTo[(f * M + m) * M + i] = V3(p, q, q + 1 + m, f)[q + 1 + i];
    for (size_t f = 0; f < 3; ++f)
        for (size_t i = 0; i < M; ++i)
            twoTo[f * M + i] = V2(p, q, f)[q + 1 + i];
    // Whether anyone after the caller overcalls with each class.
    std::array<bool, K> overcalled{};
    for (size_t c = 0; c < static_cast<size_t>(K); ++c)
        for (size_t m = 0; m < M; ++m)
            overcalled[c] = overcalled[c] || classRows[c * M + m] > 0.0;
    const double unit = 1.0 / perClass;
    std::vector<double> live(M), over(M);
    // The draws of a class that add something, found first without
    // branches: which ones do is a coin toss a branch would mostly miss.
    std::vector<uint32_t> chosen(std::max(perClass, overPerClass));
    for (int h = 0; h < K; ++h)
    {
        const double rangeWeight = Tables.Share[static_cast<size_t>(h)] * shove[static_cast<size_t>(h)];
        // A draw adds nothing where neither role plays A's class, or where
        // nobody overcalls with B's class and the shover's folds take
        // nothing: by A's class, whether it plays, and whether its folds
        // take something.
        std::array<uint8_t, K> plays, folds;
        for (size_t a = 0; a < static_cast<size_t>(K); ++a)
        {
            plays[a] = static_cast<uint8_t>(calls[a] > 0.0 || shove[a] > 0.0);
            folds[a] = static_cast<uint8_t>(rangeWeight * calls[a] * unit > 0.0);
        }
        const Draw *first = &draws[static_cast<size_t>(h) * perClass];
        const uint8_t *pairs = &drawClasses[static_cast<size_t>(h) * perClass * 2];
        uint32_t adding = 0;
        for (uint32_t n = 0; n < perClass; ++n)
        {
            const uint8_t a = pairs[2 * n], b = pairs[2 * n + 1];
            chosen[adding] = n;
            adding += static_cast<uint32_t>(plays[a] & (static_cast<uint8_t>(overcalled[b]) | folds[a]));
        }
        for (uint32_t j = 0; j < adding; ++j)
        {
#if defined(__GNUC__)
            // The draws read are scattered once the others are passed over.
            if (j + 8 < adding)
                __builtin_prefetch(&first[chosen[j + 8]]);
#endif
            const Draw &d = first[chosen[j]];
            const double xp = calls[d.ClassA], xq = shove[d.ClassA];
            // Without the folds' part, only the chances before the last
            // player who overcalls with B's class are read (past him the
            // overcalls add nothing, whatever the chances).
            size_t need = 0;
            for (size_t m = 0; m < M; ++m)
            {
                over[m] = classRows[d.ClassB * M + m];
                need = over[m] > 0.0 ? m : need;
            }
            if (rangeWeight * xp * unit > 0.0)
                need = M - 1;
            if (need > 0)
                liveRow(Dead(d.Hero, d.A, static_cast<uint8_t>(h), d.ClassA, d.Cross), need, live.data());
            // Role P: the valued player shoved, A called.
            const size_t f3p = Finish.Of3(d.RankHero, d.RankA, d.RankB), f2p = Finish.Of2(d.RankHero, d.RankA);
            const size_t f3q = Finish.Of3(d.RankA, d.RankHero, d.RankB), f2q = Finish.Of2(d.RankA, d.RankHero);
            double gone = 1.0, removedP = 0.0, removedQ = 0.0;
            for (size_t m = 0; m < M; ++m)
            {
                const double g = gone * over[m] * unit;
                s.TwP[(static_cast<size_t>(h) * M + m) * 13 + f3p] += xp * g;
                s.TwQ[(static_cast<size_t>(h) * M + m) * 13 + f3q] += xq * g;
                removedP += xp * g;
                removedQ += xq * g;
                gone *= live[m];
            }
            s.HuP[static_cast<size_t>(h) * 3 + f2p] -= removedP;
            s.HuQ[static_cast<size_t>(h) * 3 + f2q] -= removedQ;
            // The fold of overcaller i: the players before him fold,
            // those after him may overcall; valued to him. The exact
            // heads-up mass (foldHu) is corrected by each draw: the
            // part where an earlier player overcalls leaves the branch
            // (numerator and normaliser), the part where a later one
            // overcalls stays in it, valued three-way instead of
            // heads-up (numerator only).
            const double y = rangeWeight * xp * unit;
            if (y > 0.0)
            {
                double before = 1.0;
                const double *three = &threeTo[f3p * M * M];
                for (size_t i = 0; i < M; ++i)
                {
                    const double left = y * (1.0 - before);
                    double moved = 0.0, after = before, num = 0.0;
                    for (size_t m = i + 1; m < M; ++m)
                    {
                        const double g = y * after * over[m];
                        num += g * three[m * M + i];
                        moved += g;
                        after *= live[m];
                    }
                    s.FoldNum[i] += num - (left + moved) * twoTo[f2p * M + i];
                    s.FoldDen[i] -= left;
                    before *= live[i];
                }
            }
        }
    }
    for (size_t i = 0; i < M; ++i)
    {
        const size_t r = q + 1 + i;
        for (size_t f = 0; f < 3; ++f)
        {
            s.FoldNum[i] += foldHu[f] * V2(p, q, f)[r];
            s.FoldDen[i] += foldHu[f];
        }
    }
    // Overcall decisions: the valued player is the overcaller; A shoved,
    // B called, drawn from their ranges.
    const double overUnit = 1.0 / overPerClass;
    double ess = 0.0;
    int reached = 0;
    for (int h = 0; h < K; ++h)
    {
        double sum = 0.0, squares = 0.0;
        const Draw *first = overDraws.data() + static_cast<size_t>(h) * overPerClass;
        uint32_t adding = 0;
        for (uint32_t n = 0; n < overPerClass; ++n)
        {
            const Draw &d = first[n];
            chosen[adding] = n;
            adding += static_cast<uint32_t>(!(shove[d.ClassA] * calls[d.ClassB] * d.Weight * overUnit <= 0.0));
        }
        for (uint32_t j = 0; j < adding; ++j)
        {
            const Draw &d = first[chosen[j]];
            const double x = shove[d.ClassA] * calls[d.ClassB] * d.Weight * overUnit;
            sum += x;
            squares += x * x;
            const size_t f3 = Finish.Of3(d.RankA, d.RankB, d.RankHero);
            if (M > 1)
                liveRow(Dead(d.A, d.B, d.ClassA, d.ClassB, d.Cross), M - 1, live.data());
            double before = x;
            for (size_t i = 0; i < M; ++i)
            {
                s.Reach[static_cast<size_t>(h) * M + i] += before;
                s.Value[static_cast<size_t>(h) * M + i] += before * threeTo[(f3 * M + i) * M + i];
                before *= live[i];
            }
        }
        if (sum > 0.0)
        {
            ess += sum * sum / (squares * overPerClass);
            ++reached;
        }
    }
    s.Ess = reached > 0 ? ess / reached : 1.0;
}

void Game::ForcedPotPass(size_t p, size_t q, const Strategy &avg,
                         const std::vector<std::array<double, K>> &callChance, const std::vector<Draw> &shover,
                         const std::vector<Draw> &caller, uint32_t perClass, PotSums &s) const
{
    // Every pot holds the player all in from posting (the draw's third
    // hand, any hand): three-way once q calls. Each role's draws deal the
    // other's hand from his range (weighted back to uniform) and the forced
    // player's from the cards left; the order the three act in does not
    // change the chances, the forced player's hand being any.
    const std::array<double, K> &calls = avg[CallNode(p, q)];
    const std::array<double, K> shove = ShoverWeights(p, q, avg, callChance);
    s.TwP.assign(K * 13, 0.0);
    s.TwQ.assign(K * 13, 0.0);
    const double unit = 1.0 / perClass;
    double ess = 0.0;
    int reached = 0;
    for (int h = 0; h < K; ++h)
        for (int role = 0; role < 2; ++role)
        {
            const std::vector<Draw> &draws = role == 0 ? shover : caller;
            const std::array<double, K> &weight = role == 0 ? calls : shove;
            double *into = &(role == 0 ? s.TwP : s.TwQ)[static_cast<size_t>(h) * 13];
            double sum = 0.0, squares = 0.0;
            for (size_t n = 0; n < perClass && !draws.empty(); ++n)
            {
                const Draw &d = draws[static_cast<size_t>(h) * perClass + n];
                const double x = weight[d.ClassA] * d.Weight * unit;
                if (x <= 0.0)
                    continue;
                into[role == 0 ? Finish.Of3(d.RankHero, d.RankA, d.RankB) : Finish.Of3(d.RankA, d.RankHero, d.RankB)] +=
                    x;
                sum += x;
                squares += x * x;
            }
            if (sum > 0.0)
            {
                ess += sum * sum / (squares * perClass);
                ++reached;
            }
        }
    s.Ess = reached > 0 ? ess / reached : 1.0;
    // The draws tell how the pot ends; how often it is played (the call's
    // chance, the shove's weight) is exact from the class tables.
    for (int h = 0; h < K; ++h)
    {
        double exactP = 0.0, exactQ = 0.0, drawnP = 0.0, drawnQ = 0.0;
        for (int a = 0; a < K; ++a)
        {
            const double given = Tables.Given[static_cast<size_t>(h * K + a)];
            exactP += given * calls[static_cast<size_t>(a)];
            exactQ += given * shove[static_cast<size_t>(a)];
        }
        double *tp = &s.TwP[static_cast<size_t>(h) * 13];
        double *tq = &s.TwQ[static_cast<size_t>(h) * 13];
        for (size_t f = 0; f < 13; ++f)
        {
            drawnP += tp[f];
            drawnQ += tq[f];
        }
        for (size_t f = 0; f < 13; ++f)
        {
            tp[f] = drawnP > 0.0 ? tp[f] * (exactP / drawnP) : 0.0;
            tq[f] = drawnQ > 0.0 ? tq[f] * (exactQ / drawnQ) : 0.0;
        }
    }
}

void Game::Evaluate(const Strategy &avg, const std::vector<Draw> &draws, uint32_t perClass, const PotDraws &over,
                    uint32_t overPerClass, Round &round) const
{
    const size_t nodes = List.size();
    // The chance that the caller of each call node calls, by the shover's class.
    const std::vector<std::array<double, K>> callChance = CallChances(avg);
    std::vector<RemovalWeights> removal(nodes);
    for (size_t n = 0; n < nodes; ++n)
    {
        if (List[n].Action != NashAction::Overcall)
            continue;
        RemovalWeights &w = removal[n];
        w.Class = avg[n].data();
        for (int c = 0; c < cards::ComboCount; ++c)
        {
            const double weight = avg[n][Tables.ClassOf[static_cast<size_t>(c)]];
            w.Total += weight;
            w.Card[Tables.CardsOf[static_cast<size_t>(c)][0]] += weight;
            w.Card[Tables.CardsOf[static_cast<size_t>(c)][1]] += weight;
        }
    }
    // The uniform draws' classes side by side (A, B), which every pot reads
    // to pass over the draws that add nothing to it.
    std::vector<uint8_t> drawClasses(draws.size() * 2);
    for (size_t n = 0; n < draws.size(); ++n)
    {
        drawClasses[2 * n] = draws[n].ClassA;
        drawClasses[2 * n + 1] = draws[n].ClassB;
    }
    // Every pot, by threads taking whole pots.
    std::vector<std::pair<size_t, size_t>> pots;
    for (size_t p = 0; p < N; ++p)
        for (size_t q = p + 1; q < N; ++q)
            pots.push_back({p, q});
    std::vector<PotSums> sums(pots.size());
    const std::vector<Draw> noDraws;
    ForPots(pots.size(), [&](size_t i) {
        const size_t p = pots[i].first, q = pots[i].second;
        if (Forced >= N)
            PotPass(p, q, avg, callChance, removal, draws, drawClasses, perClass, i < over.size() ? over[i] : noDraws,
                    overPerClass, sums[i]);
        else if (p != Forced && q != Forced)
            ForcedPotPass(p, q, avg, callChance, over[i], over[pots.size() + i], overPerClass, sums[i]);
    });
    round.Ess.assign(pots.size(), 1.0);
    for (size_t i = 0; i < pots.size(); ++i)
        round.Ess[i] = sums[i].Ess;
    auto potOf = [&](size_t p, size_t q) -> const PotSums & {
        return sums[p * N - p * (p + 1) / 2 + (q - p - 1)];
    };
    // The value of pot (p, k) to position x when p holds class a.
    auto potValue = [&](size_t p, size_t k, int a, size_t x) {
        const PotSums &s = potOf(p, k);
        double v = 0.0;
        if (Forced < N)
        {
            for (size_t f = 0; f < 13; ++f)
                v += s.TwP[static_cast<size_t>(a) * 13 + f] * F3(p, k, f)[x];
            return v;
        }
        const size_t M = N - 1 - k;
        for (size_t f = 0; f < 3; ++f)
            v += s.HuP[static_cast<size_t>(a) * 3 + f] * V2(p, k, f)[x];
        for (size_t m = 0; m < M; ++m)
            for (size_t f = 0; f < 13; ++f)
            {
                const double t = s.TwP[(static_cast<size_t>(a) * M + m) * 13 + f];
                if (t != 0.0)
                    v += t * V3(p, k, k + 1 + m, f)[x];
            }
        return v;
    };
    // The shove line of p from caller `from` on, to x, when p holds a:
    // callers before `from` are taken to have folded.
    auto lineValue = [&](size_t p, size_t from, int a, size_t x) {
        double none = 1.0, v = 0.0;
        for (size_t k = from; k < N; ++k)
        {
            if (k == Forced)
                continue;
            v += none * potValue(p, k, a, x);
            none *= 1.0 - callChance[CallNode(p, k)][static_cast<size_t>(a)];
        }
        if (Forced >= N)
            return v + none * Steal[p * N + x];
        double alone = 0.0; // nobody calls: the shove against the forced player's hand
        for (size_t f = 0; f < 3; ++f)
            alone += AgainstAny[static_cast<size_t>(a) * 3 + f] * F2(p, f)[x];
        return v + none * alone;
    };
    round.Best.assign(nodes, {});
    round.Advantage.assign(nodes, {});
    round.Play.assign(nodes, {});
    round.Fold.assign(nodes, {});
    round.Reach.assign(nodes, {});
    round.Gain.assign(N, 0.0);
    round.Ev.assign(N, 0.0);
    std::vector<double> shoveRate(N, 0.0), reachFirst(N, 0.0);
    double reach = 1.0;
    for (size_t p = 0; p < N; ++p)
    {
        reachFirst[p] = reach;
        if (p + 1 < N && p != Forced)
            for (int a = 0; a < K; ++a)
                shoveRate[p] += Tables.Share[static_cast<size_t>(a)] * avg[ShoveNode(p)][static_cast<size_t>(a)];
        reach *= 1.0 - shoveRate[p];
    }
    // The game's value to every position, from the last first-in decision back.
    std::vector<double> firstIn(N * N, 0.0); // [i * N + x]: the first-in decision at i is reached
    for (size_t x = 0; x < N; ++x)
        firstIn[(N - 1) * N + x] = Walk[x];
    for (size_t i = N - 1; i-- > 0;)
        for (size_t x = 0; x < N; ++x)
        {
            if (i == Forced)
            {
                firstIn[i * N + x] = firstIn[(i + 1) * N + x];
                continue;
            }
            double shoved = 0.0;
            for (int a = 0; a < K; ++a)
            {
                const double w = Tables.Share[static_cast<size_t>(a)] * avg[ShoveNode(i)][static_cast<size_t>(a)];
                if (w > 0.0)
                    shoved += w * lineValue(i, i + 1, a, x);
            }
            firstIn[i * N + x] = shoved + (1.0 - shoveRate[i]) * firstIn[(i + 1) * N + x];
        }
    for (size_t x = 0; x < N; ++x)
        round.Ev[x] = firstIn[x];
    auto decide = [&](size_t node, size_t owner, double reachAll, const std::array<double, K> &reachOf,
                      const std::array<double, K> &play, double fold) {
        double gain = 0.0;
        for (int h = 0; h < K; ++h)
        {
            const size_t c = static_cast<size_t>(h);
            const bool known = reachOf[c] > 0.0 && std::isfinite(play[c]);
            const double best = known && play[c] > fold ? 1.0 : 0.0;
            round.Best[node][c] = best;
            round.Advantage[node][c] = known ? play[c] - fold : std::numeric_limits<double>::quiet_NaN();
            round.Play[node][c] = known ? play[c] : std::numeric_limits<double>::quiet_NaN();
            round.Fold[node][c] = known ? fold : std::numeric_limits<double>::quiet_NaN();
            round.Reach[node][c] = reachAll * reachOf[c];
            if (!known)
                continue;
            const double now = avg[node][c] * play[c] + (1.0 - avg[node][c]) * fold;
            gain += Tables.Share[c] * reachOf[c] * (std::max(play[c], fold) - now);
        }
        round.Gain[owner] += reachAll * gain;
    };
    std::array<double, K> ones;
    ones.fill(1.0);
    for (size_t n = 0; n < nodes; ++n)
    {
        const Node &node = List[n];
        std::array<double, K> play{}, reachOf{};
        if (node.Action == NashAction::Shove)
        {
            for (int h = 0; h < K; ++h)
                play[static_cast<size_t>(h)] = lineValue(node.P, node.P + 1, h, node.P);
            decide(n, node.P, reachFirst[node.P], ones, play, firstIn[(node.P + 1) * N + node.P]);
        }
        else if (node.Action == NashAction::Call)
        {
            const size_t p = node.P, q = node.Q;
            const PotSums &s = potOf(p, q);
            const size_t M = N - 1 - q;
            for (int h = 0; h < K; ++h)
            {
                const size_t c = static_cast<size_t>(h);
                double mass = 0.0, value = 0.0;
                for (size_t f = 0; f < 13 && Forced < N; ++f)
                {
                    mass += s.TwQ[c * 13 + f];
                    value += s.TwQ[c * 13 + f] * F3(p, q, f)[q];
                }
                for (size_t f = 0; f < 3 && Forced >= N; ++f)
                {
                    mass += s.HuQ[c * 3 + f];
                    value += s.HuQ[c * 3 + f] * V2(p, q, f)[q];
                }
                for (size_t m = 0; m < M && Forced >= N; ++m)
                    for (size_t f = 0; f < 13; ++f)
                    {
                        const double t = s.TwQ[(c * M + m) * 13 + f];
                        mass += t;
                        value += t * V3(p, q, q + 1 + m, f)[q];
                    }
                reachOf[c] = mass;
                play[c] = mass > 0.0 ? value / mass : std::numeric_limits<double>::quiet_NaN();
            }
            // Folding: the shove goes on to the players after him.
            double num = 0.0, den = 0.0;
            for (int a = 0; a < K; ++a)
            {
                double w = Tables.Share[static_cast<size_t>(a)] * avg[ShoveNode(p)][static_cast<size_t>(a)];
                for (size_t j = p + 1; j < q; ++j)
                    if (j != Forced)
                        w *= 1.0 - callChance[CallNode(p, j)][static_cast<size_t>(a)];
                if (w <= 0.0)
                    continue;
                num += w * lineValue(p, q + 1, a, q);
                den += w;
            }
            const double fold = den > 0.0 ? num / den : Steal[p * N + q];
            decide(n, q, reachFirst[p], reachOf, play, fold);
        }
        else
        {
            const size_t p = node.P, q = node.Q, r = node.R, i = r - q - 1, M = N - 1 - q;
            const PotSums &s = potOf(p, q);
            for (int h = 0; h < K; ++h)
            {
                const size_t c = static_cast<size_t>(h);
                const double mass = s.Reach[c * M + i];
                reachOf[c] = mass;
                play[c] = mass > 0.0 ? s.Value[c * M + i] / mass : std::numeric_limits<double>::quiet_NaN();
            }
            const double fold = s.FoldDen[i] > 0.0 ? s.FoldNum[i] / s.FoldDen[i] : V2(p, q, 0)[r];
            decide(n, r, reachFirst[p], reachOf, play, fold);
        }
    }
}

} // namespace equilibrium_detail
} // namespace ostrel
