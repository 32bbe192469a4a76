/*
 * The parts of the equilibrium solver: the class tables and the fixed
 * three-way draws (equilibrium_draws.cpp), and the game of one table with
 * its round of best responses (equilibrium_game.cpp). Internal to the
 * pushfold library; SolveNash (equilibrium.h) is the interface.
 */
#ifndef OSTREL_PUSHFOLD_EQUILIBRIUM_GAME_H
#define OSTREL_PUSHFOLD_EQUILIBRIUM_GAME_H

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "hand_class.h"
#include "nash_options.h"
#include "outcomes.h"

namespace ostrel
{
namespace equilibrium_detail
{

constexpr int K = cards::ClassCount;

// One drawn three-way showdown: the valued player's combo (of the stratum's
// class), two more combos, and the dense ranks of the three hands on a board
// drawn from the rest (0 the best). Weight: the draw's importance weight,
// the chance of the two combos dealt uniformly over the cards left divided
// by their chance under the proposal they were drawn from (1 for uniform
// draws), so that weighted means estimate the uniform ones.
struct Draw
{
    double Weight;
    uint16_t Hero, A, B;
    uint8_t ClassA, ClassB;
    uint8_t RankHero, RankA, RankB;
    // The classes of the four pairs of one card from each of the two hands
    // whose cards the players after them cannot hold (the valued player's
    // and A's in the uniform set, A's and B's in an overcall set): first
    // hand's high card with the second's high and low, then its low card.
    uint8_t Cross[4];
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
    std::array<cards::CardSet, cards::ComboCount> MaskOf{};
    std::vector<uint8_t> PairClass; // [c1 * 52 + c2]: the class of two distinct cards
};

// The tables, from the preflop table's class counts. Cost: 169^2 lookups.
ClassTables MakeTables();

// perClass draws for each class, from `seed` (splitmix64, one stream per
// class). Cost: 169 * perClass draws of three hands and a board, three
// evaluations each (some 0.2 s for 2,400 a class). Memory: 12 bytes a draw.
std::vector<Draw> MakeDraws(const ClassTables &tables, uint32_t perClass, uint64_t seed);

// perClass draws for each class of the valued player whose opponents A and B
// come from defensive mixtures: with chance Mix from the class weights
// `a` (then `b`), else uniform, over the cards left; each draw carries its
// importance weight (bounded by 1 / (1 - Mix) per opponent over a range's
// share). Same numbers on every platform (splitmix64, fixed order).
// Cost: as MakeDraws, plus a few card sums per draw.
constexpr double ProposalMix = 0.75;
std::vector<Draw> MakeWeightedDraws(const ClassTables &tables, uint32_t perClass, uint64_t seed,
                                    const std::array<double, K> &a, const std::array<double, K> &b);

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
    // The position of a player all in from his blind or ante (none: past N).
    size_t ForcedPosition() const { return Forced; }
    const std::vector<Node> &Nodes() const { return List; }
    const ClassTables &Classes() const { return Tables; }
    const std::vector<size_t> &Seats() const { return SeatOf; }
    const OutcomeBook &Book() const { return Money; }

    using Strategy = std::vector<std::array<double, K>>;
    // The overcall draws of each pot (shover, caller) in the order
    // (0, 1), (0, 2), ..., (1, 2), ...; empty where nobody can overcall.
    // With a player all in from posting, the draws of each pot's shover
    // (the caller's hand from his range, the forced player's any hand),
    // then those of each pot's caller (the shover's from his).
    using PotDraws = std::vector<std::vector<Draw>>;
    struct Round
    {
        Strategy Best;            // by node
        Strategy Advantage;       // by node: playing's value minus folding's per class (NaN: never reached)
        Strategy Play, Fold;      // by node: the values themselves (NaN: never reached)
        Strategy Reach;           // by node: the chance of reaching it with each class
        std::vector<double> Gain; // by position
        std::vector<double> Ev;   // by position, at the averages
        std::vector<double> Ess;  // by pot: effective size of the overcall draws over their count (1: none)
    };
    // Draws the overcall sets of the pots whose Ess (null: every pot) is
    // below `below`, the shover and the caller from their ranges in
    // `average` (MakeWeightedDraws). A pot whose two ranges equal those in
    // madeFrom (what its set was last drawn from, with the same perClass
    // and seed) keeps its set: drawing it again gives the same draws.
    // Pots in parallel; bytes independent of the thread count.
    void OvercallDraws(const Strategy &average, uint32_t perClass, uint64_t seed, const std::vector<double> *ess,
                       double below, PotDraws &over, std::vector<std::vector<double>> &madeFrom) const;
    void Evaluate(const Strategy &average, const std::vector<Draw> &draws, uint32_t perClass, const PotDraws &over,
                  uint32_t overPerClass, Round &round) const;

  private:
    // The pots that hold a player all in from posting.
    Status OpenForced();
    // Every finish of a showdown of the players at `positions` (in that
    // order), valued to every position: into[finish * N + position].
    Status ValueFinishes(std::initializer_list<size_t> positions, double *into);
    size_t ShoveNode(size_t p) const { return ShoveIndex[p]; }
    size_t CallNode(size_t p, size_t q) const { return CallIndex[p * N + q]; }
    size_t OverNode(size_t p, size_t q, size_t r) const { return OverIndex[(p * N + q) * N + r]; }
    const double *V2(size_t p, size_t q, size_t f) const { return &Two[((p * N + q) * 3 + f) * N]; }
    const double *V3(size_t p, size_t q, size_t r, size_t f) const { return &Three[(((p * N + q) * N + r) * 13 + f) * N]; }
    // With a player all in from posting: the pot (p, q, forced) by finish of
    // the three in that order, and (p, forced) by finish of the two.
    const double *F3(size_t p, size_t q, size_t f) const { return &ThreeForced[((p * N + q) * 13 + f) * N]; }
    const double *F2(size_t p, size_t f) const { return &TwoForced[(p * 3 + f) * N]; }
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
        double Ess = 1.0;
    };
    void PotPass(size_t p, size_t q, const Strategy &avg, const std::vector<std::array<double, K>> &callChance,
                 const std::vector<RemovalWeights> &removal, const std::vector<Draw> &draws,
                 const std::vector<uint8_t> &drawClasses, uint32_t perClass,
                 const std::vector<Draw> &over, uint32_t overPerClass, PotSums &sums) const;
    void ForcedPotPass(size_t p, size_t q, const Strategy &avg, const std::vector<std::array<double, K>> &callChance,
                       const std::vector<Draw> &shover, const std::vector<Draw> &caller, uint32_t perClass,
                       PotSums &sums) const;
    std::vector<std::array<double, K>> CallChances(const Strategy &avg) const;
    // The shover's weight by class for a caller at q: he shoves and the
    // players between them fold.
    std::array<double, K> ShoverWeights(size_t p, size_t q, const Strategy &avg,
                                        const std::vector<std::array<double, K>> &callChance) const;
    template <class Work> void ForPots(size_t count, const Work &work) const;
    // Four dead cards with the classes of their six pairs, found once for
    // every overcall range they meet.
    struct DeadFour
    {
        uint8_t Card[4];
        uint8_t PairClass[6];
    };
    DeadFour Dead(int first, int second, uint8_t firstClass, uint8_t secondClass, const uint8_t *cross) const;

    ClassTables Tables;
    FinishIndex Finish;
    OutcomeBook Money;
    size_t N = 0;
    unsigned Threads = 1;
    std::vector<size_t> SeatOf;
    std::vector<Node> List;
    std::vector<size_t> ShoveIndex, CallIndex, OverIndex;
    std::vector<double> Walk, Steal, Two, Three;
    size_t Forced = static_cast<size_t>(-1);
    std::vector<double> ThreeForced, TwoForced;
    // By class: its heads-up finish chances (win, lose, tie) against a hand
    // dealt at random from the cards left.
    std::vector<double> AgainstAny;
};

} // namespace equilibrium_detail
} // namespace ostrel

#endif
