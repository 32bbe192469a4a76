// ostrel-icm allin through its own process: the published AdAc-KhKs counts in
// every format, sampling's fields and seed, and the error table.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <string>

#include "command_support.h"

namespace
{

using nlohmann::json;

json JsonOf(const std::string &arguments)
{
    const CommandRun run = RunCommand(arguments);
    EXPECT_EQ(0, run.Status) << arguments << "\n" << run.Err;
    EXPECT_EQ("", run.Err) << arguments;
    return json::parse(run.Out, nullptr, false);
}

// Published: over the 1,712,304 boards AdAc wins 1,388,072 times, KhKs
// 317,694 times, and they tie 6,538 times.
TEST(AllinCommand, AcesAgainstKingsInEveryFormat)
{
    const double boards = 1712304.0;
    const json answer = JsonOf("allin AdAc KhKs --format json");
    ASSERT_TRUE(answer.is_object());
    EXPECT_EQ(true, answer["exact"]);
    EXPECT_EQ(1712304, answer["boards"]);
    ASSERT_EQ(2u, answer["players"].size());
    const json &aces = answer["players"][0];
    const json &kings = answer["players"][1];
    EXPECT_EQ("AdAc", aces["range"]);
    EXPECT_EQ(1, aces["combos"]);
    EXPECT_EQ((1388072.0 + 6538.0 / 2) / boards, aces["equity"].get<double>());
    EXPECT_EQ(1388072.0 / boards, aces["win"].get<double>());
    EXPECT_EQ(6538.0 / boards, aces["tie"].get<double>());
    EXPECT_EQ(317694.0 / boards, kings["win"].get<double>());
    EXPECT_EQ(6538.0 / boards, kings["tie"].get<double>());
    EXPECT_EQ(3u, answer.size()) << "exact, boards, players and nothing else: " << answer.dump();

    const std::string csv = RunCommand("allin AdAc KhKs --format csv").Out;
    EXPECT_EQ(0u, csv.find("player,range,combos,equity,win,tie\n1,AdAc,1,")) << csv;
    EXPECT_NE(std::string::npos, csv.find("\n2,KhKs,1,")) << csv;

    const std::string table = RunCommand("allin AdAc KhKs").Out;
    // 1,391,341 / 1,712,304 = 81.2554...%; 317,694 / 1,712,304 = 18.5536...%
    for (const char *text : {"81.255%", "81.065%", "0.382%", "18.554%", "1712304"})
        EXPECT_NE(std::string::npos, table.find(text)) << text << " in\n" << table;
}

// AA against KK over all their combos: 81.946 %; the range as typed comes
// back as typed, commas quoted in CSV.
TEST(AllinCommand, RangesAsGiven)
{
    const json answer = JsonOf("allin AA \"KK, QQ:0.5\" --format json");
    EXPECT_EQ("KK, QQ:0.5", answer["players"][1]["range"]);
    EXPECT_EQ(12, answer["players"][1]["combos"]);
    const json aa = JsonOf("allin AA KK --format json");
    EXPECT_NEAR(0.81946, aa["players"][0]["equity"].get<double>(), 5e-6);
    const std::string csv = RunCommand("allin AA \"KK, QQ\" --format csv").Out;
    EXPECT_NE(std::string::npos, csv.find("\n2,\"KK, QQ\",12,")) << csv;
    // The board and dead cards take combos away.
    const json removed = JsonOf("allin AA KK --board Ah7c2d --dead Kd --format json");
    EXPECT_EQ(3, removed["players"][0]["combos"]);
    EXPECT_EQ(3, removed["players"][1]["combos"]);
    EXPECT_EQ(946, removed["boards"]) << "C(52 - 3 - 1 - 4, 2)";
}

// "vs" between the players' ranges, as a word or inside one: the same
// answer as the ranges typed as words.
TEST(AllinCommand, VersusBetweenRanges)
{
    const std::string plain = RunCommand("allin AKo 22 --format json").Out;
    for (const std::string typed : {"allin \"AKo vs 22\"", "allin AKo vs 22", "allin AKo VS 22", "allin \"AKo  vs  22\""})
    {
        const CommandRun run = RunCommand(typed + " --format json");
        EXPECT_EQ(0, run.Status) << typed << "\n" << run.Err;
        EXPECT_EQ(plain, run.Out) << typed;
    }
    const json three = JsonOf("allin \"AKo vs 22, 33 vs QQ+\" --format json");
    ASSERT_EQ(3u, three["players"].size());
    EXPECT_EQ("22, 33", three["players"][1]["range"]);
    EXPECT_EQ(12, three["players"][1]["combos"]);
}

TEST(AllinCommand, SampledAnswers)
{
    const std::string arguments = "allin \"22+, AK\" random 76s --samples 200000 --seed 5 --format json";
    const json sampled = JsonOf(arguments);
    EXPECT_EQ(false, sampled["exact"]);
    EXPECT_EQ(200000, sampled["samples"]);
    EXPECT_TRUE(sampled.contains("standard_error"));
    EXPECT_FALSE(sampled.contains("boards"));
    EXPECT_EQ(RunCommand(arguments).Out, RunCommand(arguments).Out) << "the same seed, the same answer";
    EXPECT_NE(RunCommand(arguments).Out,
              RunCommand("allin \"22+, AK\" random 76s --samples 200000 --seed 6 --format json").Out);
    const json exact = JsonOf("allin \"22+, AK\" random 76s --board 2c7h9dKs --exact --format json");
    const json nearby = JsonOf("allin \"22+, AK\" random 76s --board 2c7h9dKs --samples 200000 --format json");
    double sum = 0.0;
    for (size_t p = 0; p < 3; ++p)
    {
        EXPECT_LE(std::fabs(exact["players"][p]["equity"].get<double>() - nearby["players"][p]["equity"].get<double>()),
                  4.0 * nearby["standard_error"].get<double>());
        sum += exact["players"][p]["equity"].get<double>();
    }
    EXPECT_NEAR(1.0, sum, 1e-12);
}

TEST(AllinCommand, ErrorTable)
{
    struct Row
    {
        const char *Arguments;
        const char *Says;
    };
    const Row rows[] = {
        {"allin AA KK --board AsKsQs --dead As", "As is given twice"},
        {"allin AA KK --board AsKsAs", "--board: As is given twice"},
        {"allin AsKs KK --board As7c2d", "player 1's range is empty"},
        {"allin AA KK QQ JJ TT 99 88", "at most 6 players"},
        {"allin AA KK --board As", "a board has 0, 3, 4 or 5 cards, not 1"},
        {"allin AA KK --board AsKd", "not 2"},
        {"allin AA KK --board AsKdQh2c3c4c", "not 6"},
        {"allin AA KX", "range 2: \"KX\" is not a hand"},
        {"allin \"AA, KK, QQx\" KK", "\"QQx\""},
        {"allin AA KK --board AsXd7c", "--board: \"Xd7c\" is not a card"},
        {"allin AA", "at least 2 ranges"},
        {"allin AKo,22", "an all-in needs at least 2 ranges, and \"AKo,22\" is one: give each player's range as a "
                         "word of its own (allin AKo 22) or put vs between them (allin AKo vs 22)"},
        {"allin \"AKo vs\"", "an all-in needs at least 2 ranges"},
        {"allin AsKs AsKh", "card in common"},
        {"allin AA KK --exact --samples 100", "--exact"},
        {"allin AA KK --seed 3", "--seed"},
        {"allin AA KK --samples 0", "--samples"},
        {"allin AA KK --format xml", "--format"},
        {"allin random random random --exact", "sample instead"},
        {"allin AA:2 KK", "from 0 to 1"},
        {"allin \"\" QQ", "player 1's range is empty: no hand has a weight above 0"},
        {"allin AA KK --samples 1", "--samples 1: one showdown gives no estimate of the standard error"},
        {"allin AhKh QsQd --dead 2c2d2h2s3c3d3h3s4c4d4h4s5c5d5h5s6c6d6h6s7c7d7h7s8c8d8h8s9c9d9h9sTcTdThTsJcJdJhJsQcQhKcKd",
         "leave 8 cards, too few for 2 players' hole cards and 5 more board cards"},
        {"allin AhKh QsQd --samples 10 --dead "
         "2c2d2h2s3c3d3h3s4c4d4h4s5c5d5h5s6c6d6h6s7c7d7h7s8c8d8h8s9c9d9h9sTcTdThTsJcJdJhJsQcQhKcKd",
         "leave 8 cards"},
        {"allin AhKh QsQd JcTc 9d8d 7s6s 5h4h --dead "
         "2c2d2h2s3c3d3h3s4c4d4s5c5dKd5s6c6d6h7c7d7h8c8h8s9c9h9sTdThTsJdJhJsQcQhKc",
         "leave 16 cards, too few for 6 players"},
        {"allin AhKh QsQd JcTc 9d8d 7s6s 5h4h --samples 10 --dead "
         "2c2d2h2s3c3d3h3s4c4d4s5c5dKd5s6c6d6h7c7d7h8c8h8s9c9h9sTdThTsJdJhJsQcQhKc",
         "leave 16 cards"},
    };
    for (const Row &row : rows)
    {
        const CommandRun run = RunCommand(row.Arguments);
        SCOPED_TRACE(std::string(row.Arguments) + "\n" + run.Err);
        EXPECT_EQ(2, run.Status);
        EXPECT_EQ("", run.Out);
        EXPECT_EQ(0u, run.Err.find("ostrel-icm: error: "));
        EXPECT_EQ(run.Err.size() - 1, run.Err.find('\n')) << "one line";
        EXPECT_NE(std::string::npos, run.Err.find(row.Says));
    }
}

// Weights of 1e-200 are the hands at weight 1: the products of the weights
// are scaled, not left to underflow to 0.
TEST(AllinCommand, TinyWeights)
{
    for (const char *format : {"json", "csv"})
    {
        std::string tiny = RunCommand(std::string("allin AhKh:1e-200 QsQd:1e-200 --format ") + format).Out;
        for (size_t at; (at = tiny.find(":1e-200")) != std::string::npos;)
            tiny.erase(at, 7);
        const CommandRun plain = RunCommand(std::string("allin AhKh QsQd --format ") + format);
        EXPECT_EQ(0, plain.Status);
        EXPECT_EQ(plain.Out, tiny) << format;
    }
}

TEST(AllinCommand, HelpShowsExamples)
{
    const CommandRun run = RunCommand("allin --help");
    EXPECT_EQ(0, run.Status);
    for (const char *text : {"ostrel-icm allin AdAc KhKs", "--board", "--dead", "--exact", "--samples", "--seed"})
        EXPECT_NE(std::string::npos, run.Out.find(text)) << text << "\n" << run.Out;
}

} // namespace
