/*
 * The equilibrium by fictitious play over class frequencies.
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
#include "equilibrium.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

#include "evaluator.h"
#include "preflop.h"
#include "range.h"

namespace ostrel
{
namespace
{

constexpr int K = cards::ClassCount;
constexpr double LiveAfterFour = 1128.0; // C(48, 2)

struct Random // splitmix64: the same numbers on every platform
{
    uint64_t State;
    uint64_t Next()
    {
        State += 0x9e3779b97f4a7c15u;
        uint64_t z = State;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    uint64_t Below(uint64_t n) { return Next() % n; }
};

// One drawn three-way showdown: the valued player's combo (of the stratum's
// class), two more combos uniform over the cards left, and the dense ranks
// of the three hands on a board drawn from the rest (0 the best).
struct Draw
{
    uint16_t Hero, A, B;
    uint8_t ClassA, ClassB;
    uint8_t RankHero, RankA, RankB;
};

// Class tables every round reads: the chance of each class of the other
// player given one's own (exact card removal), and the heads-up results.
struct ClassTables
{
    std::vector<double> Given; // [h * K + a]: P(other holds a | own class h)
    std::vector<double> Win;   // [h * K + a]: h's chance to win outright
    std::vector<double> Tie;
    std::array<double, K> Share{}; // combos(h) / 1326
    std::array<uint8_t, cards::ComboCount> ClassOf{};
    std::array<std::array<uint8_t, 2>, cards::ComboCount> CardsOf{};
    std::vector<uint8_t> PairClass; // [c1 * 52 + c2]: the class of two distinct cards
};

ClassTables MakeTables()
{
    ClassTables t;
    t.Given.assign(K * K, 0.0);
    t.Win.assign(K * K, 0.0);
    t.Tie.assign(K * K, 0.0);
    for (int h = 0; h < K; ++h)
    {
        const double combos = cards::ComboCountOfClass(h);
        t.Share[static_cast<size_t>(h)] = combos / cards::ComboCount;
        for (int a = 0; a < K; ++a)
        {
            const cards::MatchupCounts m = cards::ClassVsClass(h, a);
            const size_t i = static_cast<size_t>(h * K + a);
            if (m.Showdowns == 0)
                continue;
            const double pairs = static_cast<double>(m.Showdowns / cards::PreflopBoards);
            t.Given[i] = pairs / (combos * 1225.0);
            t.Win[i] = static_cast<double>(m.Wins) / static_cast<double>(m.Showdowns);
            t.Tie[i] = static_cast<double>(m.Ties) / static_cast<double>(m.Showdowns);
        }
    }
    for (int c = 0; c < cards::ComboCount; ++c)
    {
        const cards::Combo two = cards::ComboCards(c);
        t.ClassOf[static_cast<size_t>(c)] = static_cast<uint8_t>(cards::ClassOfCombo(c));
        t.CardsOf[static_cast<size_t>(c)] = {two.High, two.Low};
    }
    t.PairClass.assign(52 * 52, 0);
    for (int x = 0; x < 52; ++x)
        for (int y = 0; y < 52; ++y)
            if (x != y)
                t.PairClass[static_cast<size_t>(x * 52 + y)] = static_cast<uint8_t>(cards::ClassOfCombo(
                    cards::ComboIndex(static_cast<cards::Card>(x), static_cast<cards::Card>(y))));
    return t;
}

std::vector<Draw> MakeDraws(uint32_t perClass, uint64_t seed)
{
    std::vector<Draw> draws;
    draws.reserve(static_cast<size_t>(perClass) * K);
    for (int h = 0; h < K; ++h)
    {
        int combos[cards::MaxClassCombos];
        const int count = cards::CombosOfClass(h, combos);
        Random random{seed * 0x100000001b3u + static_cast<uint64_t>(h) * 0x9e3779b97f4a7c15u};
        for (uint32_t n = 0; n < perClass; ++n)
        {
            Draw d{};
            const int hero = combos[random.Below(static_cast<uint64_t>(count))];
            cards::CardSet used = cards::ComboMask(hero);
            int picked[2] = {0, 0};
            for (int k = 0; k < 2; ++k)
                for (;;)
                {
                    const int c = static_cast<int>(random.Below(cards::ComboCount));
                    if ((cards::ComboMask(c) & used) == 0)
                    {
                        picked[k] = c;
                        used |= cards::ComboMask(c);
                        break;
                    }
                }
            cards::CardSet board = 0;
            for (int k = 0; k < 5;)
            {
                const cards::CardSet card = cards::CardSet{1} << random.Below(cards::CardCount);
                if ((card & (used | board)) == 0)
                {
                    board |= card;
                    ++k;
                }
            }
            const cards::HandValue vh = cards::EvaluateCards(board | cards::ComboMask(hero));
            const cards::HandValue va = cards::EvaluateCards(board | cards::ComboMask(picked[0]));
            const cards::HandValue vb = cards::EvaluateCards(board | cards::ComboMask(picked[1]));
            // Dense ranks: how many distinct values beat each hand.
            auto rank = [](cards::HandValue mine, cards::HandValue x, cards::HandValue y) {
                int above = (x > mine ? 1 : 0) + (y > mine ? 1 : 0);
                if (x > mine && y > mine && x == y)
                    above = 1;
                return static_cast<uint8_t>(above);
            };
            d.Hero = static_cast<uint16_t>(hero);
            d.A = static_cast<uint16_t>(picked[0]);
            d.B = static_cast<uint16_t>(picked[1]);
            d.ClassA = static_cast<uint8_t>(cards::ClassOfCombo(picked[0]));
            d.ClassB = static_cast<uint8_t>(cards::ClassOfCombo(picked[1]));
            d.RankHero = rank(vh, va, vb);
            d.RankA = rank(va, vh, vb);
            d.RankB = rank(vb, vh, va);
            draws.push_back(d);
        }
    }
    return draws;
}

// Finish index of FinishRanks for dense ranks of the pot's players in the
// order they went in.
struct FinishIndex
{
    uint8_t Three[27];
    uint8_t Two[9];
    FinishIndex()
    {
        for (size_t i = 0; i < 13; ++i)
        {
            uint8_t r[3];
            FinishRanks(3, i, r);
            Three[r[0] * 9 + r[1] * 3 + r[2]] = static_cast<uint8_t>(i);
        }
        for (size_t i = 0; i < 3; ++i)
        {
            uint8_t r[2];
            FinishRanks(2, i, r);
            Two[r[0] * 3 + r[1]] = static_cast<uint8_t>(i);
        }
    }
    size_t Of3(uint8_t a, uint8_t b, uint8_t c) const { return Three[a * 9 + b * 3 + c]; }
    // Two of a three-way ranking: compare them.
    size_t Of2(uint8_t a, uint8_t b) const { return Two[(a > b ? 3 : 0) + (a < b ? 1 : 0)]; }
};

// An overcalling strategy in the form card removal needs: the weight of
// each class, of all combos, and of the combos holding each card.
struct RemovalWeights
{
    const double *Class = nullptr;
    double Total = 0.0;
    std::array<double, cards::CardCount> Card{};
};

struct Node
{
    NashAction Action;
    size_t P, Q, R; // positions: the shover (or the one first in), the caller, the overcaller
    size_t Owner;
};

class Game
{
  public:
    Status Open(const HandField &field, const FieldEquity &valuation, bool chipEv, const NashOptions &options);
    size_t Players() const { return N; }
    const std::vector<Node> &Nodes() const { return List; }
    const std::vector<size_t> &Seats() const { return SeatOf; }
    const OutcomeBook &Book() const { return Money; }

    using Strategy = std::vector<std::array<double, K>>;
    struct Round
    {
        Strategy Best;            // by node
        std::vector<double> Gain; // by position
        std::vector<double> Ev;   // by position, at the averages
    };
    void Evaluate(const Strategy &average, const std::vector<Draw> &draws, uint32_t perClass, Round &round) const;

  private:
    size_t CallNode(size_t p, size_t q) const { return CallIndex[p * N + q]; }
    size_t OverNode(size_t p, size_t q, size_t r) const { return OverIndex[(p * N + q) * N + r]; }
    const double *V2(size_t p, size_t q, size_t f) const { return &Two[((p * N + q) * 3 + f) * N]; }
    const double *V3(size_t p, size_t q, size_t r, size_t f) const { return &Three[(((p * N + q) * N + r) * 13 + f) * N]; }

    struct PotSums
    {
        // By class of the shover (role P) or of the caller (role Q): the
        // heads-up masses by finish and the three-way masses by overcaller
        // and finish.
        std::vector<double> HuP, TwP, HuQ, TwQ;
        // Overcall decisions (by overcaller r > q): per class of r, the
        // chance of reaching it and the overcall's value; and the fold's
        // value to r, over the whole ranges.
        std::vector<double> Reach, Value, FoldNum, FoldDen;
    };
    void PotPass(size_t p, size_t q, const Strategy &avg, const std::vector<std::array<double, K>> &callChance,
                 const std::vector<RemovalWeights> &removal, const std::vector<Draw> &draws, uint32_t perClass,
                 PotSums &sums) const;
    double Overcalls(const RemovalWeights &w, int c1, int c2, int c3, int c4) const;

    ClassTables Tables;
    FinishIndex Finish;
    OutcomeBook Money;
    size_t N = 0;
    unsigned Threads = 1;
    std::vector<size_t> SeatOf;
    std::vector<Node> List;
    std::vector<size_t> CallIndex, OverIndex;
    std::vector<double> Walk, Steal, Two, Three;
};

Status Game::Open(const HandField &field, const FieldEquity &valuation, bool chipEv, const NashOptions &options)
{
    Status status = Money.Open(field, chipEv ? ChipValuation() : valuation, !chipEv);
    if (!status.Ok)
        return status;
    const Posting &post = Money.Posted();
    SeatOf = post.Order;
    N = SeatOf.size();
    Threads = std::max(1u, options.Threads);
    for (size_t seat : SeatOf)
        if (post.Behind[seat] == 0)
            return Failure("seat " + std::to_string(seat + 1) +
                           " is all in from the blinds or the ante: the equilibrium takes tables where every player "
                           "has chips behind");
    Tables = MakeTables();
    const size_t none = static_cast<size_t>(-1);
    CallIndex.assign(N * N, none);
    OverIndex.assign(N * N * N, none);
    for (size_t p = 0; p + 1 < N; ++p)
        List.push_back({NashAction::Shove, p, none, none, p});
    for (size_t p = 0; p < N; ++p)
        for (size_t q = p + 1; q < N; ++q)
        {
            CallIndex[p * N + q] = List.size();
            List.push_back({NashAction::Call, p, q, none, q});
        }
    for (size_t p = 0; p < N; ++p)
        for (size_t q = p + 1; q < N; ++q)
            for (size_t r = q + 1; r < N; ++r)
            {
                OverIndex[(p * N + q) * N + r] = List.size();
                List.push_back({NashAction::Overcall, p, q, r, r});
            }
    auto valued = [&](const Showdown &pot, double *into) {
        const double *values = nullptr;
        const Status s = Money.Values(pot, values);
        if (s.Ok)
            for (size_t x = 0; x < N; ++x)
                into[x] = values[SeatOf[x]];
        return s;
    };
    Walk.assign(N, 0.0);
    Steal.assign(N * N, 0.0);
    Two.assign(N * N * 3 * N, 0.0);
    Three.assign(N * N * N * 13 * N, 0.0);
    Showdown one;
    one.Count = 1;
    one.Seats[0] = SeatOf[N - 1];
    status = valued(one, Walk.data());
    for (size_t p = 0; p + 1 < N && status.Ok; ++p)
    {
        one.Seats[0] = SeatOf[p];
        status = valued(one, &Steal[p * N]);
    }
    for (size_t p = 0; p < N && status.Ok; ++p)
        for (size_t q = p + 1; q < N && status.Ok; ++q)
        {
            Showdown two;
            two.Count = 2;
            two.Seats[0] = SeatOf[p];
            two.Seats[1] = SeatOf[q];
            for (size_t f = 0; f < 3 && status.Ok; ++f)
            {
                FinishRanks(2, f, two.Rank);
                status = valued(two, &Two[((p * N + q) * 3 + f) * N]);
            }
            for (size_t r = q + 1; r < N && status.Ok; ++r)
            {
                Showdown three;
                three.Count = 3;
                three.Seats[0] = SeatOf[p];
                three.Seats[1] = SeatOf[q];
                three.Seats[2] = SeatOf[r];
                for (size_t f = 0; f < 13 && status.Ok; ++f)
                {
                    FinishRanks(3, f, three.Rank);
                    status = valued(three, &Three[(((p * N + q) * N + r) * 13 + f) * N]);
                }
            }
        }
    return status;
}

double Game::Overcalls(const RemovalWeights &w, int c1, int c2, int c3, int c4) const
{
    // Inclusion and exclusion over the four dead cards: every combo holding
    // two of them was taken away twice.
    const auto pair = [&](int x, int y) { return w.Class[Tables.PairClass[static_cast<size_t>(x * 52 + y)]]; };
    const double live = w.Total - w.Card[static_cast<size_t>(c1)] - w.Card[static_cast<size_t>(c2)] -
                        w.Card[static_cast<size_t>(c3)] - w.Card[static_cast<size_t>(c4)] + pair(c1, c2) +
                        pair(c1, c3) + pair(c1, c4) + pair(c2, c3) + pair(c2, c4) + pair(c3, c4);
    return std::max(0.0, live) / LiveAfterFour;
}

void Game::PotPass(size_t p, size_t q, const Strategy &avg, const std::vector<std::array<double, K>> &callChance,
                   const std::vector<RemovalWeights> &removal, const std::vector<Draw> &draws, uint32_t perClass,
                   PotSums &s) const
{
    const size_t M = N - 1 - q; // players who may overcall
    const std::array<double, K> &calls = avg[CallNode(p, q)];
    // The shover's weight for role Q: he shoves and the players between
    // him and the caller fold (his cards change their chances).
    std::array<double, K> shove{};
    for (int a = 0; a < K; ++a)
    {
        double w = avg[p][static_cast<size_t>(a)];
        for (size_t j = p + 1; j < q; ++j)
            w *= 1.0 - callChance[CallNode(p, j)][static_cast<size_t>(a)];
        shove[static_cast<size_t>(a)] = w;
    }
    s.HuP.assign(K * 3, 0.0);
    s.HuQ.assign(K * 3, 0.0);
    s.TwP.assign(K * M * 13, 0.0);
    s.TwQ.assign(K * M * 13, 0.0);
    s.Reach.assign(K * M, 0.0);
    s.Value.assign(K * M, 0.0);
    s.FoldNum.assign(M, 0.0);
    s.FoldDen.assign(M, 0.0);
    for (int h = 0; h < K; ++h)
    {
        double *hp = &s.HuP[static_cast<size_t>(h) * 3];
        double *hq = &s.HuQ[static_cast<size_t>(h) * 3];
        for (int a = 0; a < K; ++a)
        {
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
    const double unit = 1.0 / perClass;
    std::vector<double> live(M), over(M);
    for (int h = 0; h < K; ++h)
    {
        const double rangeWeight = Tables.Share[static_cast<size_t>(h)] * shove[static_cast<size_t>(h)];
        for (uint32_t n = 0; n < perClass; ++n)
        {
            const Draw &d = draws[static_cast<size_t>(h) * perClass + n];
            const double xp = calls[d.ClassA], xq = shove[d.ClassA];
            if (xp > 0.0 || xq > 0.0)
            {
                const auto &ch = Tables.CardsOf[d.Hero];
                const auto &ca = Tables.CardsOf[d.A];
                for (size_t m = 0; m < M; ++m)
                {
                    live[m] = 1.0 - Overcalls(removal[OverNode(p, q, q + 1 + m)], ch[0], ch[1], ca[0], ca[1]);
                    over[m] = avg[OverNode(p, q, q + 1 + m)][d.ClassB];
                }
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
                // those after him may overcall; valued to him.
                const double y = rangeWeight * xp * unit;
                if (y > 0.0)
                {
                    double before = 1.0;
                    for (size_t i = 0; i < M; ++i)
                    {
                        const size_t r = q + 1 + i;
                        double removed = y * (1.0 - before), after = before, num = 0.0;
                        for (size_t m = i + 1; m < M; ++m)
                        {
                            const double g = y * after * over[m];
                            num += g * V3(p, q, q + 1 + m, f3p)[r];
                            removed += g;
                            after *= live[m];
                        }
                        s.FoldNum[i] += num - removed * V2(p, q, f2p)[r];
                        s.FoldDen[i] -= removed;
                        before *= live[i];
                    }
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
    // B called.
    for (int h = 0; h < K; ++h)
        for (uint32_t n = 0; n < perClass; ++n)
        {
            const Draw &d = draws[static_cast<size_t>(h) * perClass + n];
            const double x = shove[d.ClassA] * calls[d.ClassB] * unit;
            if (x <= 0.0)
                continue;
            const auto &ca = Tables.CardsOf[d.A];
            const auto &cb = Tables.CardsOf[d.B];
            const size_t f3 = Finish.Of3(d.RankA, d.RankB, d.RankHero);
            double before = x;
            for (size_t i = 0; i < M; ++i)
            {
                const size_t r = q + 1 + i;
                s.Reach[static_cast<size_t>(h) * M + i] += before;
                s.Value[static_cast<size_t>(h) * M + i] += before * V3(p, q, r, f3)[r];
                if (i + 1 < M)
                    before *= 1.0 - Overcalls(removal[OverNode(p, q, r)], ca[0], ca[1], cb[0], cb[1]);
            }
        }
}

void Game::Evaluate(const Strategy &avg, const std::vector<Draw> &draws, uint32_t perClass, Round &round) const
{
    const size_t nodes = List.size();
    // The chance that the caller of each call node calls, by the shover's class.
    std::vector<std::array<double, K>> callChance(nodes);
    for (size_t p = 0; p < N; ++p)
        for (size_t q = p + 1; q < N; ++q)
        {
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
    // Every pot, by threads taking whole pots.
    std::vector<std::pair<size_t, size_t>> pots;
    for (size_t p = 0; p < N; ++p)
        for (size_t q = p + 1; q < N; ++q)
            pots.push_back({p, q});
    std::vector<PotSums> sums(pots.size());
    auto work = [&](size_t first, size_t step) {
        for (size_t i = first; i < pots.size(); i += step)
            PotPass(pots[i].first, pots[i].second, avg, callChance, removal, draws, perClass, sums[i]);
    };
    const size_t threads = std::min<size_t>(Threads, pots.size());
    if (threads <= 1)
        work(0, 1);
    else
    {
        std::vector<std::thread> pool;
        for (size_t t = 1; t < threads; ++t)
            pool.emplace_back(work, t, threads);
        work(0, threads);
        for (std::thread &t : pool)
            t.join();
    }
    auto potOf = [&](size_t p, size_t q) -> const PotSums & {
        return sums[p * N - p * (p + 1) / 2 + (q - p - 1)];
    };
    // The value of pot (p, k) to position x when p holds class a.
    auto potValue = [&](size_t p, size_t k, int a, size_t x) {
        const PotSums &s = potOf(p, k);
        const size_t M = N - 1 - k;
        double v = 0.0;
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
            v += none * potValue(p, k, a, x);
            none *= 1.0 - callChance[CallNode(p, k)][static_cast<size_t>(a)];
        }
        return v + none * Steal[p * N + x];
    };
    round.Best.assign(nodes, {});
    round.Gain.assign(N, 0.0);
    round.Ev.assign(N, 0.0);
    std::vector<double> shoveRate(N, 0.0), reachFirst(N, 0.0);
    double reach = 1.0;
    for (size_t p = 0; p < N; ++p)
    {
        reachFirst[p] = reach;
        if (p + 1 < N)
            for (int a = 0; a < K; ++a)
                shoveRate[p] += Tables.Share[static_cast<size_t>(a)] * avg[p][static_cast<size_t>(a)];
        reach *= 1.0 - shoveRate[p];
    }
    // The game's value to every position, from the last first-in decision back.
    std::vector<double> firstIn(N * N, 0.0); // [i * N + x]: the first-in decision at i is reached
    for (size_t x = 0; x < N; ++x)
        firstIn[(N - 1) * N + x] = Walk[x];
    for (size_t i = N - 1; i-- > 0;)
        for (size_t x = 0; x < N; ++x)
        {
            double shoved = 0.0;
            for (int a = 0; a < K; ++a)
            {
                const double w = Tables.Share[static_cast<size_t>(a)] * avg[i][static_cast<size_t>(a)];
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
                for (size_t f = 0; f < 3; ++f)
                {
                    mass += s.HuQ[c * 3 + f];
                    value += s.HuQ[c * 3 + f] * V2(p, q, f)[q];
                }
                for (size_t m = 0; m < M; ++m)
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
                double w = Tables.Share[static_cast<size_t>(a)] * avg[p][static_cast<size_t>(a)];
                for (size_t j = p + 1; j < q; ++j)
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
