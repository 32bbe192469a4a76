/*
 * Answers four questions through the installed libraries alone and prints
 * every number as the command's JSON does (the shortest text that reads
 * back to the same double), one "name value" line each, so that
 * run_package_test.cmake can hold them against ostrel-icm's answers to the
 * same questions, bit for bit. The questions are those of its table.
 */
#include <ostrel/equities.h>
#include <ostrel/equity.h>
#include <ostrel/range.h>
#include <ostrel/spot.h>

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

void Print(const std::string &name, double value)
{
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    std::printf("%s %.*s\n", name.c_str(), static_cast<int>(written.ptr - text), text);
}

bool Failed(const ostrel::Status &status, const char *what)
{
    if (!status.Ok)
        std::fprintf(stderr, "%s: %s\n", what, status.Message.c_str());
    return !status.Ok;
}

// equity --stacks ... --prizes ... --method subsets|quadrature
bool FieldEquities(const char *name, const std::vector<int64_t> &stacks, const std::vector<double> &prizes,
                   ostrel::EquityMethod method)
{
    const ostrel::Field field{stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    std::vector<double> equities(stacks.size());
    if (Failed(ostrel::ComputeEquities(field, method, ostrel::EquityOptions(), equities.data()), name))
        return false;
    for (size_t seat = 0; seat < stacks.size(); ++seat)
        Print(std::string(name) + "." + std::to_string(seat + 1), equities[seat]);
    return true;
}

// allin RANGE RANGE ... --board CARDS
bool AllIn(const char *name, const std::vector<const char *> &ranges, const char *board)
{
    ostrel::cards::EquityRequest request;
    request.Players.resize(ranges.size());
    for (size_t p = 0; p < ranges.size(); ++p)
        if (Failed(ostrel::cards::ParseRange(ranges[p], request.Players[p]), name))
            return false;
    ostrel::cards::EquityResult result;
    if (Failed(ostrel::cards::ParseCards(board, request.Board), name) ||
        Failed(ostrel::cards::AllInEquity(request, result), name))
        return false;
    for (size_t p = 0; p < result.Players.size(); ++p)
        Print(std::string(name) + "." + std::to_string(p + 1), result.Players[p].Equity);
    return true;
}

// spot --stacks 5000000000,3000000000,2000000000 --prizes 50,30,20 --button 1
//      --blinds 100000000,200000000 --ante 20000000 --hero BTN
//      --range SB=QQ+,AK --range BB=JJ+,AQs+ --overcall BB=KK+
// Stacks above 2^31 keep the field from the window's own computation, so the
// command values it by the model library's automatic choice, as here.
bool PushSpot()
{
    ostrel::HandField field;
    field.Table.Stacks = {5000000000, 3000000000, 2000000000};
    field.Table.Button = 0;
    field.Table.SmallBlind = 100000000;
    field.Table.BigBlind = 200000000;
    field.Table.Ante = 20000000;
    field.Prizes = {50, 30, 20};
    ostrel::SpotQuestion question;
    question.Hero = 0;
    question.Action = ostrel::SpotAction::FirstIn;
    question.Ranges.assign(3, std::nullopt);
    question.Overcalls.assign(3, std::nullopt);
    question.Shoves.assign(3, std::nullopt);
    ostrel::cards::Range range;
    if (Failed(ostrel::cards::ParseRange("QQ+,AK", range), "spot"))
        return false;
    question.Ranges[1] = range;
    if (Failed(ostrel::cards::ParseRange("JJ+,AQs+", range), "spot"))
        return false;
    question.Ranges[2] = range;
    if (Failed(ostrel::cards::ParseRange("KK+", range), "spot"))
        return false;
    question.Overcalls[2] = range;
    const ostrel::FieldEquity model = [](const ostrel::Field &f, double *equities) {
        return ostrel::ComputeEquities(f, ostrel::EquityMethod::Automatic, ostrel::EquityOptions(), equities);
    };
    ostrel::SpotSolver solver;
    ostrel::SpotAnswer answer;
    if (Failed(solver.Open(field, model, false, question), "spot") || Failed(solver.Solve(answer), "spot"))
        return false;
    for (int c = 0; c < ostrel::cards::ClassCount; ++c)
    {
        const ostrel::SpotClass &one = answer.Classes[static_cast<size_t>(c)];
        Print("spot." + ostrel::cards::ClassName(c) + ".fold", one.EvFold);
        Print("spot." + ostrel::cards::ClassName(c) + ".play", one.EvPlay);
    }
    return true;
}

} // namespace

int main()
{
    std::vector<int64_t> large;
    for (int64_t stack = 1000; stack <= 25000; stack += 1000)
        large.push_back(stack);
    const bool ok =
        FieldEquities("subsets", {5000, 3000, 2000, 1500, 900}, {50, 30, 20}, ostrel::EquityMethod::Subsets) &&
        FieldEquities("quadrature", large, {40, 25, 15, 10, 6, 4}, ostrel::EquityMethod::Quadrature) &&
        AllIn("allin", {"AhKh", "QQ+", "JTs"}, "Qs9h2c") && AllIn("headsup", {"AKo", "22"}, "") && PushSpot();
    return ok ? 0 : 1;
}
