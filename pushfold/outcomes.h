/*
 * The money of a hand's outcomes: each outcome leaves a stack for every
 * player of the field (the table's seats, then the players at other tables,
 * who do not play this hand), and the field is valued by a function the
 * caller gives: the finishing-order model by whichever method the caller
 * chooses, or the chips themselves. Each distinct stack vector is valued
 * once and kept, so one book serves every hand class, every seat and every
 * decision of the same table.
 */
#ifndef OSTREL_PUSHFOLD_OUTCOMES_H
#define OSTREL_PUSHFOLD_OUTCOMES_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "bounties.h"
#include "decisions.h"
#include "pots.h"
#include "table.h"

namespace ostrel
{

// The whole field of a hand: the table and the players elsewhere.
struct HandField
{
    TableSetup Table;
    std::vector<int64_t> Others;
    std::vector<double> Prizes;
    Bounties Bounty; // none unless money is in play
};

// Values chips as chips: each player's stack, as a double.
FieldEquity ChipValuation();

/*
 * Every outcome of the hand that the decisions reach, valued on demand and
 * kept. Not for use by two threads at once; a copy is independent.
 * Values(...) points at Seats() doubles: the table's seats, then the others.
 */
class OutcomeBook
{
  public:
    // Posts the blinds and values the field before the hand. Refuses what
    // PostBlinds refuses, a field the valuation refuses, and stacks whose sum
    // the field cannot hold. With `bustedPlaces`, players the hand busts
    // take the last places of the field as it stood (the one who started
    // the hand with more chips the higher place, equal stacks sharing their
    // places' prizes), and the valuation values the survivors on places
    // 1 to n - busted; without it (chips) a busted player is worth 0.
    Status Open(const HandField &field, const FieldEquity &valuation, bool bustedPlaces);

    const Posting &Posted() const { return Post; }
    const HandField &Hand() const { return Field_; }
    size_t Seats() const { return Field_.Table.Stacks.size() + Field_.Others.size(); }
    size_t TableSeats() const { return Field_.Table.Stacks.size(); }
    double Pool() const { return PrizePool_; }

    // All the value in play: the prize pool (with chipEv every chip), plus
    // the bounty money in play times the bounties' scale.
    double Worth(bool chipEv) const;

    // Before anyone posts: the field as it stands.
    const double *Before() const { return BeforeValues.data(); }

    // After a showdown (one player in it: he takes the pot uncontested).
    // With bounties, each value adds (times the bounties' scale) the cash
    // the player wins in it and his share of the bounty money left in play.
    Status Values(const Showdown &showdown, const double *&values);

    // The bounty cash each of the whole field wins in the showdown, in the
    // prize unit (all 0 without bounties).
    std::vector<double> CashAfterShowdown(const Showdown &showdown) const;

    // The stacks of the whole field after a showdown.
    std::vector<int64_t> StacksAfterShowdown(const Showdown &showdown) const;

    // Distinct fields valued so far.
    size_t Valued() const { return Kept.size(); }

  private:
    Status Value(const std::vector<int64_t> &stacks, const double *&values);
    void PayBusted(const std::vector<int64_t> &stacks, std::vector<double> &values) const;
    Status AddBounties(const std::vector<int64_t> &stacks, const std::vector<double> &cash,
                       std::vector<double> &values) const;

    HandField Field_;
    FieldEquity Valuation;
    Posting Post;
    double PrizePool_ = 0.0;
    bool BustedPlaces = true;
    std::vector<int64_t> StacksBefore;
    size_t PlayersBefore = 0;
    std::vector<double> BeforeValues;
    std::map<std::vector<int64_t>, std::vector<double>> Kept;
    std::map<std::vector<int64_t>, std::vector<double>> KeptWithBounties; // by showdown
};

} // namespace ostrel

#endif
