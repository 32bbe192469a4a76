/*
 * `spot --ranges nash` and `nash` on the same table: the spot takes the very
 * equilibrium `nash` answers: the outcomes valued the same way, so the same
 * rounds and the same ranges to the bit. (That its values at a decision of
 * the equilibrium are the equilibrium's is the pushfold library's test.)
 */
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "nash_request.h"
#include "request_support.h"
#include "spot_request.h"

namespace
{

using namespace ostrel;

struct SpotNashRow
{
    std::string Name;
    std::string Hero;
    SpotAction Action;
    std::string Shover, Caller;
};

// Every range of `nash` (by situation) is the spot's to the bit.
template <class Key>
size_t SameRanges(const std::map<Key, cards::Range> &spot, const std::map<Key, cards::Range> &nash)
{
    for (const auto &entry : nash)
    {
        const auto found = spot.find(entry.first);
        EXPECT_TRUE(found != spot.end() && found->second.Weight == entry.second.Weight)
            << "the range of seat " << entry.first[0] + 1 << " against " << entry.first[1] + 1;
    }
    return nash.size();
}

TEST(SpotNash, TheSpotTakesNashsOwnEquilibrium)
{
    // Seats whose value before the hand the window's recursion and the
    // subsets give apart in the last bit (the button, UTG and HJ here).
    const HandField six = TableOf({5000, 3000, 2000, 1500, 1000, 800}, {40, 25, 15, 10, 6, 4}, 1, 100, 200, 20);
    const std::vector<SpotNashRow> rows = {
        {"the button first in", "BTN", SpotAction::FirstIn, "", ""},
        {"the hijack facing UTG", "HJ", SpotAction::Call, "UTG", ""},
        {"the button facing UTG and the hijack", "BTN", SpotAction::Overcall, "UTG", "HJ"},
    };
    NashRequest nash;
    nash.Table = six;
    nash.Threads = 2;
    NashReply equilibrium;
    ASSERT_TRUE(RunNashRequest(nash, RunProgress(), equilibrium).Ok);
    for (const SpotNashRow &row : rows)
    {
        SCOPED_TRACE(row.Name);
        SpotRequest spot;
        spot.Table = six;
        spot.Hero = row.Hero;
        spot.Action = row.Action;
        if (!row.Shover.empty())
            spot.Shover = row.Shover;
        if (!row.Caller.empty())
            spot.Caller = row.Caller;
        spot.NashRanges = true;
        spot.Threads = 2;
        SpotReply reply;
        const Status status = RunSpotRequest(spot, RunProgress(), reply);
        ASSERT_TRUE(status.Ok) << status.Message;

        SpotQuestion expected = reply.Question;
        expected.Calls.clear();
        expected.OvercallsAfter.clear();
        expected.Shoves.assign(expected.Shoves.size(), std::nullopt);
        TakeNashRanges(equilibrium.Table, equilibrium.Answer, expected);
        size_t compared = SameRanges(reply.Question.Calls, expected.Calls) +
                          SameRanges(reply.Question.OvercallsAfter, expected.OvercallsAfter);
        for (size_t seat = 0; seat < expected.Shoves.size(); ++seat)
            if (expected.Shoves[seat])
            {
                ASSERT_TRUE(reply.Question.Shoves[seat].has_value()) << "shove of seat " << seat + 1;
                EXPECT_TRUE(reply.Question.Shoves[seat]->Weight == expected.Shoves[seat]->Weight)
                    << "shove of seat " << seat + 1;
                compared += 1;
            }
        EXPECT_GT(compared, 5u);

        // Both value the fields the same way: the same value before the hand.
        EXPECT_EQ(reply.Answer.EvBefore, equilibrium.Answer.EvBefore[reply.Question.Hero]);
    }
}

} // namespace
