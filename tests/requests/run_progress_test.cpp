// Progress and stopping through the request layer's callbacks: the shares
// reported climb to exactly 1 over a run of many fields, a caller's "stop"
// ends a series of fields before the next one, a single field's run ends
// as it would have, and the equilibrium's rounds are reported in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bubble_request.h"
#include "deal_request.h"
#include "equity_request.h"
#include "nash_request.h"
#include "request_support.h"

namespace
{

using namespace ostrel;

const std::vector<double> Ladder = {50, 30, 20};

BubbleRequest GridOf(const std::vector<int64_t> &stacks, Method method)
{
    BubbleRequest request;
    request.Field = FieldOf(stacks, Ladder);
    request.Using = method;
    request.Threads = 1;
    return request;
}

// Fields one by one (the plain recursion) and rows in one pass each (the
// quadrature method): the shares never fall and end at 1.
TEST(RunProgress, SharesClimbToOne)
{
    const std::vector<int64_t> stacks = {5000, 3000, 2000, 1000, 800, 700};
    for (Method method : {Method::Plain, Method::Quadrature})
    {
        SCOPED_TRACE(MethodName(method));
        std::vector<double> shares;
        RunProgress progress;
        progress.Done = [&shares](double done) {
            shares.push_back(done);
            return true;
        };
        BubbleAnswer answer;
        ASSERT_TRUE(RunBubbleRequest(GridOf(stacks, method), progress, answer).Ok);
        ASSERT_FALSE(shares.empty());
        for (size_t i = 1; i < shares.size(); ++i)
        {
            EXPECT_LE(shares[i - 1], shares[i]) << i;
        }
        EXPECT_EQ(1.0, shares.back());
        EXPECT_LE(0.0, shares.front());
    }
}

// A stop asked halfway through a grid of 6 players (31 fields one by one)
// ends the run with Stopped() before it reaches the end.
TEST(RunProgress, StopEndsASeriesOfFields)
{
    const std::vector<int64_t> stacks = {5000, 3000, 2000, 1000, 800, 700};
    double last = 0.0;
    RunProgress progress;
    progress.Done = [&last](double done) {
        last = done;
        return done < 0.5;
    };
    BubbleAnswer answer;
    const Status status = RunBubbleRequest(GridOf(stacks, Method::Plain), progress, answer);
    EXPECT_FALSE(status.Ok);
    EXPECT_EQ(Stopped().Message, status.Message);
    EXPECT_LE(0.5, last);
    EXPECT_GT(1.0, last);
    EXPECT_TRUE(answer.Grid.Factor.empty() || answer.Seats.Stacks.empty());

    // By rows: the same.
    int calls = 0;
    RunProgress first;
    first.Done = [&calls](double) { return ++calls < 2; };
    const Status rows = RunBubbleRequest(GridOf(stacks, Method::Quadrature), first, answer);
    EXPECT_EQ(Stopped().Message, rows.Message);

    // A deal with an amount kept evaluates two fields: stopped after the first.
    DealRequest deal;
    deal.Field = FieldOf({5000, 3000, 2000}, Ladder);
    deal.Terms.Keep = 10;
    RunProgress once;
    once.Done = [](double) { return false; };
    DealAnswer dealt;
    EXPECT_EQ(Stopped().Message, RunDealRequest(deal, once, dealt).Message);
}

// One field is one step: a stop asked within it lets it end, with the same
// answer as a run nobody watched.
TEST(RunProgress, OneFieldEndsAsItWould)
{
    EquityRequest request;
    request.Field = FieldOf({5000, 3000, 2000, 1000}, Ladder);
    RunProgress stop;
    int calls = 0;
    stop.Done = [&calls](double) {
        ++calls;
        return false;
    };
    EquityAnswer watched, unwatched;
    ASSERT_TRUE(RunEquityRequest(request, stop, watched).Ok);
    ASSERT_TRUE(RunEquityRequest(request, RunProgress(), unwatched).Ok);
    EXPECT_LT(0, calls);
    EXPECT_EQ(unwatched.Run.Equity, watched.Run.Equity);
    EXPECT_EQ(WriteEquityAnswer(unwatched, Format::Json), WriteEquityAnswer(watched, Format::Json));
}

// The equilibrium's rounds arrive in order, each with the same estimate,
// and none after the answer's last.
TEST(RunProgress, EquilibriumRoundsInOrder)
{
    NashRequest request;
    request.Table = TableOf({2000, 1500, 1000}, Ladder, 0, 50, 100);
    request.Draws = 200;
    request.Threads = 1;
    std::vector<uint64_t> rounds;
    std::vector<double> estimates;
    RunProgress progress;
    progress.Rounds = [&rounds, &estimates](uint64_t made, double, double estimate) {
        rounds.push_back(made);
        estimates.push_back(estimate);
    };
    NashReply reply;
    ASSERT_TRUE(RunNashRequest(request, progress, reply).Ok);
    ASSERT_FALSE(rounds.empty());
    for (size_t i = 1; i < rounds.size(); ++i)
    {
        EXPECT_LT(rounds[i - 1], rounds[i]) << i;
        EXPECT_EQ(estimates[0], estimates[i]) << i;
    }
    EXPECT_LE(rounds.back(), reply.Answer.Iterations);
    EXPECT_LT(0.0, estimates[0]);
}

} // namespace
