/*
 * ostrel-icm: the calculator's numbers from a command. Standard output
 * carries only the answer; any error is one line on standard error with exit
 * status 2, and then nothing at all is written to standard output.
 */
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "command_input.h"
#include "exact_money.h"
#include "field_methods.h"
#include "report.h"

#ifndef OSTREL_VERSION
#define OSTREL_VERSION "0"
#endif

namespace
{

constexpr int ErrorStatus = 2;
constexpr size_t BubbleGridPlayers = 100;
constexpr size_t BubbleRowPlayers = 1000;
// Memory the answer's text takes per number while it is built: up to 25
// characters held in a string that may grow to twice its length and is
// copied once, or a table cell's string and its share of the aligned text.
constexpr size_t OutputBytesPerNumber = 80;

int Fail(const std::string &message)
{
    std::string line = message;
    for (char &c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    std::fprintf(stderr, "ostrel-icm: error: %s\n", line.c_str());
    return ErrorStatus;
}

int Answer(const std::string &text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : Fail("could not write the answer");
}

struct Options
{
    ostrel::InputOptions Input;
    std::string Format = "table";
    std::string Method = "auto";
    std::string Split = "icm";
    std::string Keep = "0";
    std::string Round;
    int64_t Seat = 0;
    int64_t Players = 0;
    int64_t Chips = 0;
    unsigned Threads = 1;
    size_t Places = 0;
    CLI::Option *Given[5] = {};
    CLI::Option *PlacesGiven = nullptr;
    CLI::Option *RoundGiven = nullptr;
    CLI::Option *SeatGiven = nullptr;
    CLI::Option *PlayersGiven = nullptr;
    CLI::Option *ChipsGiven = nullptr;
};

// Which sources were given, so that an empty list is told from none.
void NoteGivenSources(Options &options)
{
    ostrel::InputOptions &input = options.Input;
    bool *flags[5] = {&input.HasStacks, &input.HasStacksFile, &input.HasPrizes, &input.HasPayoutFile,
                      &input.HasSettingsFile};
    for (int i = 0; i < 5; ++i)
        *flags[i] = options.Given[i]->count() > 0;
}

void AddInputOptions(CLI::App &command, Options &options)
{
    ostrel::InputOptions &input = options.Input;
    options.Given[0] =
        command.add_option("--stacks", input.Stacks, "Chips of each seat, comma-separated (0 = empty seat)");
    options.Given[1] =
        command.add_option("--stacks-file", input.StacksFile, "One stack per line ('-' reads standard input)");
    options.Given[2] = command.add_option("--prizes", input.Prizes, "Prize of each place from 1st, comma-separated");
    options.Given[3] = command.add_option("--pos", input.PayoutFile, "The prizes from a payout structure file (.pos)");
    options.Given[4] =
        command.add_option("--settings", input.SettingsFile, "Stacks and prizes from the calculator's settings file");
    command.add_option("--method", options.Method, "auto, plain, subsets or quadrature")
        ->check(CLI::IsMember({"auto", "plain", "subsets", "quadrature"}))
        ->default_str("auto");
    const unsigned cores = std::thread::hardware_concurrency();
    options.Threads = cores == 0 ? 1 : cores;
    command.add_option("--threads", options.Threads, "Threads for the quadrature method (default: the cores)")
        ->check(CLI::Range(1u, 256u))
        ->default_str(std::to_string(options.Threads));
    command.add_option("--format", options.Format, "Output: table, csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}))
        ->default_str("table");
}

ostrel::Format FormatNamed(const std::string &name)
{
    return name == "json" ? ostrel::Format::Json : name == "csv" ? ostrel::Format::Csv : ostrel::Format::Table;
}

ostrel::Method MethodNamed(const std::string &name)
{
    return name == "plain"        ? ostrel::Method::Plain
           : name == "subsets"    ? ostrel::Method::Subsets
           : name == "quadrature" ? ostrel::Method::Quadrature
                                  : ostrel::Method::Automatic;
}

ostrel::RunOptions RunOptionsOf(const Options &options, ostrel::ProgressDisplay &progress)
{
    ostrel::RunOptions run;
    run.Threads = options.Threads;
    run.Progress = ostrel::ShowProgress;
    run.ProgressContext = &progress;
    return run;
}

// Finish tables of large fields show the paid places unless asked otherwise.
size_t FinishPlaces(const Options &options, const ostrel::Field &field)
{
    const size_t players = ostrel::PlayersInPlay(field);
    if (options.PlacesGiven != nullptr && options.PlacesGiven->count() > 0)
        return std::min(options.Places, players);
    return players > 100 ? std::max<size_t>(ostrel::PaidPlaces(field, players), 1) : players;
}

int RunEquityCommand(Options &options, bool finish)
{
    NoteGivenSources(options);
    ostrel::FieldInput input;
    const ostrel::Status read = ostrel::ReadFieldInput(options.Input, input);
    if (!read.Ok)
        return Fail(read.Message);
    const ostrel::Field field = input.View();
    ostrel::ProgressDisplay progress = ostrel::StartProgress(1);
    ostrel::RunOptions runOptions = RunOptionsOf(options, progress);
    const size_t places = finish ? FinishPlaces(options, field) : 0;
    // The answer's text is held whole before it is written: it counts against the memory limit.
    runOptions.OutputBytes = static_cast<size_t>(std::min(
        static_cast<double>(SIZE_MAX), static_cast<double>(field.Seats) * static_cast<double>(finish ? places : 5) *
                                            static_cast<double>(OutputBytesPerNumber)));
    const ostrel::FieldRun run = finish ? ostrel::RunFinish(field, MethodNamed(options.Method), places, runOptions)
                                        : ostrel::RunEquity(field, MethodNamed(options.Method), runOptions);
    ostrel::EndProgress(progress);
    if (!run.Outcome.Ok)
        return Fail(run.Outcome.Message);
    ostrel::EquityReport report;
    report.Stacks = input.Stacks;
    report.PrizePool = ostrel::PrizePool(field, ostrel::PlayersInPlay(field));
    report.Run = &run;
    const ostrel::Format format = FormatNamed(options.Format);
    return Answer(finish ? ostrel::FormatFinish(report, format) : ostrel::FormatEquity(report, format));
}

// A rounding unit as typed, kept in decimal so that payments come out exact.
ostrel::Status ParseRoundingUnit(const std::string &text, ostrel::MoneyUnit &unit)
{
    double value = 0.0;
    const std::string problem = ostrel::ParsePrize(text, value);
    if (!problem.empty() || !(value > 0.0))
        return ostrel::Failure("--round: the unit must be an amount above 0" + (problem.empty() ? "" : ": " + problem));
    std::string digits;
    int32_t decimals = 0;
    bool afterPoint = false;
    for (char c : text)
        if (c == '.')
            afterPoint = true;
        else if (c >= '0' && c <= '9')
        {
            digits += c;
            decimals += afterPoint ? 1 : 0;
        }
    while (decimals > 0 && digits.back() == '0')
    {
        digits.pop_back();
        decimals -= 1;
    }
    const size_t first = digits.find_first_not_of('0');
    if (digits.size() - first > 15 || decimals > 15)
        return ostrel::Failure("--round: the unit has more than 15 significant digits");
    unit.Count = std::stoll(digits.substr(first));
    unit.Decimals = decimals;
    return ostrel::Status();
}

// An amount as typed, in the form DecimalText writes: no leading zeros
// before the units, no trailing zeros after the point.
std::string PlainDecimal(std::string text)
{
    text.erase(0, text.find_first_not_of(" \t\r"));
    text.erase(text.find_last_not_of(" \t\r") + 1);
    if (text.find('.') != std::string::npos)
    {
        text.erase(text.find_last_not_of('0') + 1);
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    text.erase(0, std::min(text.find_first_not_of('0'), text.size()));
    if (text.empty() || text[0] == '.')
        text.insert(0, "0");
    return text;
}

// A rounded deal decides in exact decimals on the amounts the computation
// holds: each typed amount must be the shortest decimal of its double.
ostrel::Status ExactAmount(const std::string &what, const std::string &typed, double value)
{
    const ostrel::DecimalAmount held = ostrel::DecimalOf(value);
    const std::string kept = ostrel::DecimalText(held.Digits, held.Decimals);
    if (PlainDecimal(typed) == kept)
        return ostrel::Status();
    return ostrel::Failure(what + " \"" + typed + "\" has more digits than a double keeps (it is held as " + kept +
                           "): a rounded deal needs every amount exactly");
}

ostrel::Status CheckExactAmounts(const Options &options, const ostrel::FieldInput &input)
{
    double keep = 0.0;
    ostrel::ParsePrize(options.Keep, keep);
    ostrel::Status status = ExactAmount("--keep:", options.Keep, keep);
    if (!status.Ok || !options.Input.HasPrizes)
        return status;
    size_t start = 0;
    for (size_t place = 0; place < input.Prizes.size() && status.Ok; ++place)
    {
        const size_t comma = options.Input.Prizes.find(',', start);
        status = ExactAmount("--prizes: prize " + std::to_string(place + 1) + ":",
                             options.Input.Prizes.substr(start, comma - start), input.Prizes[place]);
        start = comma + 1;
    }
    return status;
}

int RunDealCommand(Options &options)
{
    NoteGivenSources(options);
    ostrel::DealTerms terms;
    terms.Split = options.Split == "chip" ? ostrel::DealSplit::Chip
                  : options.Split == "even" ? ostrel::DealSplit::Even
                                            : ostrel::DealSplit::Icm;
    const std::string keepProblem = ostrel::ParsePrize(options.Keep, terms.Keep);
    if (!keepProblem.empty())
        return Fail("--keep: " + keepProblem);
    if (options.RoundGiven->count() > 0)
    {
        const ostrel::Status unit = ParseRoundingUnit(options.Round, terms.Round);
        if (!unit.Ok)
            return Fail(unit.Message);
    }
    ostrel::FieldInput input;
    const ostrel::Status read = ostrel::ReadFieldInput(options.Input, input);
    if (!read.Ok)
        return Fail(read.Message);
    if (terms.Keep > input.Prizes[0])
        return Fail("--keep: " + options.Keep + " is above the first prize");
    if (options.RoundGiven->count() > 0)
    {
        const ostrel::Status exact = CheckExactAmounts(options, input);
        if (!exact.Ok)
            return Fail(exact.Message);
    }
    ostrel::MethodLog log;
    ostrel::Deal deal;
    ostrel::ProgressDisplay progress = ostrel::StartProgress(2);
    const ostrel::RunOptions runOptions = RunOptionsOf(options, progress);
    const ostrel::Status affordable =
        ostrel::CheckRunTime(input.View(), MethodNamed(options.Method), 0, 2.0, runOptions);
    if (!affordable.Ok)
        return Fail(affordable.Message);
    const ostrel::Status dealt =
        ostrel::ComputeDeal(input.View(), terms, ostrel::EquityBy(MethodNamed(options.Method), runOptions, log, &progress),
                            deal);
    ostrel::EndProgress(progress);
    if (!dealt.Ok)
        return Fail(dealt.Message);
    ostrel::DealReport report;
    report.Stacks = input.Stacks;
    report.Split = options.Split;
    report.Methods = log.Names();
    report.Kept = terms.Keep;
    report.Result = &deal;
    return Answer(ostrel::FormatDeal(report, FormatNamed(options.Format)));
}

int RunEqualStacksBubble(Options &options)
{
    if (options.Input.HasStacks || options.Input.HasStacksFile || options.Input.HasSettingsFile)
        return Fail("--players and --chips describe the field: they take no --stacks, --stacks-file or --settings");
    if (options.PlayersGiven->count() == 0 || options.ChipsGiven->count() == 0)
        return Fail("--players and --chips go together");
    if (options.SeatGiven->count() > 0)
        return Fail("--seat needs --stacks: equal stacks have one bubble factor");
    std::vector<double> prizes;
    const ostrel::Status read = ostrel::ReadPrizeInput(options.Input, prizes);
    if (!read.Ok)
        return Fail(read.Message);
    ostrel::EqualStacksBubble result = {};
    const ostrel::Field ladder = {nullptr, 0, prizes.data(), prizes.size()};
    const ostrel::Status computed = ostrel::EqualStacksBubbleFactor(
        options.Players, options.Chips, ladder.Prizes, ostrel::PaidPlaces(ladder, ladder.Places), result);
    if (!computed.Ok)
        return Fail(computed.Message);
    return Answer(ostrel::FormatEqualStacks(result, FormatNamed(options.Format)));
}

int RunBubbleCommand(Options &options)
{
    NoteGivenSources(options);
    if (options.PlayersGiven->count() > 0 || options.ChipsGiven->count() > 0)
        return RunEqualStacksBubble(options);
    ostrel::FieldInput input;
    const ostrel::Status read = ostrel::ReadFieldInput(options.Input, input);
    if (!read.Ok)
        return Fail(read.Message);
    size_t seat = 0;
    const bool oneRow = options.SeatGiven->count() > 0;
    if (oneRow)
    {
        if (options.Seat < 1 || static_cast<size_t>(options.Seat) > input.Stacks.size() ||
            input.Stacks[static_cast<size_t>(options.Seat - 1)] == 0)
            return Fail("--seat " + std::to_string(options.Seat) + ": no player in play in that seat");
        seat = static_cast<size_t>(options.Seat - 1);
    }
    const size_t players = ostrel::PlayersInPlay(input.View());
    if (players > (oneRow ? BubbleRowPlayers : BubbleGridPlayers))
        return Fail(oneRow ? "bubble --seat takes at most 1000 players in play; this field has " + std::to_string(players)
                           : "the whole bubble grid takes at most 100 players in play (--seat N gives one row of up "
                             "to 1000); this field has " + std::to_string(players));
    ostrel::MethodLog log;
    ostrel::BubbleGrid grid;
    const ostrel::Field field = input.View();
    const ostrel::Method method = MethodNamed(options.Method);
    ostrel::HeroHands hands;
    ostrel::ProgressDisplay progress = ostrel::StartProgress(0);
    const ostrel::RunOptions runOptions = RunOptionsOf(options, progress);
    const size_t rows = oneRow ? 1 : players;
    const bool byRows = ostrel::HeroHandsBy(method, field, rows, runOptions, log, &progress, hands);
    const ostrel::Status affordable =
        byRows ? ostrel::CheckRunTime(field, ostrel::Method::Quadrature, 0,
                                      static_cast<double>(rows) * ostrel::RowCostOverField, runOptions)
               : ostrel::CheckRunTime(field, method, 0, ostrel::BubbleFields(players, rows), runOptions);
    if (!affordable.Ok)
        return Fail(affordable.Message);
    // By rows, one step a row; by fields, one step a field.
    progress.Steps = byRows ? rows : static_cast<size_t>(ostrel::BubbleFields(players, rows));
    const ostrel::Status computed =
        ostrel::ComputeBubbleGrid(field, oneRow ? &seat : nullptr, ostrel::EquityBy(method, runOptions, log, &progress),
                                  grid, byRows ? &hands : nullptr);
    ostrel::EndProgress(progress);
    if (!computed.Ok)
        return Fail(computed.Message);
    ostrel::BubbleReport report;
    report.Methods = log.Names();
    report.OnlySeat = oneRow ? &seat : nullptr;
    report.Grid = &grid;
    return Answer(ostrel::FormatBubbleGrid(report, FormatNamed(options.Format)));
}

const char *const CommandNames[] = {"equity", "finish", "deal", "bubble"};

int Run(int argc, char **argv)
{
    CLI::App app("Tournament equity under the chip-proportional finishing-order model.\n\n"
                 "Examples:\n"
                 "  ostrel-icm equity --stacks 5000,3000,2000 --prizes 50,30,20\n"
                 "  ostrel-icm finish --stacks 5000,3000,2000 --prizes 50,30,20 --format csv\n"
                 "  ostrel-icm deal --stacks 5000,3000,2000 --prizes 50,30,20 --split chip --round 1\n"
                 "  ostrel-icm bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20 --seat 4\n"
                 "  ostrel-icm equity --settings ostrel.ini --format json\n",
                 "ostrel-icm");
    app.set_version_flag("--version", OSTREL_VERSION);
    app.require_subcommand(1);
    Options options[4];
    const char *descriptions[] = {"Each seat's money expectation ($EV)",
                                  "Each player's chance of finishing in each place",
                                  "Split the money now: by $EV (icm), by chips or evenly",
                                  "Bubble factors and risk premiums between the real stacks"};
    CLI::App *commands[4] = {};
    for (int i = 0; i < 4; ++i)
    {
        commands[i] = app.add_subcommand(CommandNames[i], descriptions[i]);
        AddInputOptions(*commands[i], options[i]);
    }
    CLI::App &deal = *commands[2];
    deal.add_option("--split", options[2].Split, "icm (default), chip or even")
        ->check(CLI::IsMember({"icm", "chip", "even"}));
    deal.add_option("--keep", options[2].Keep, "Amount left on the table for the winner, off the first prize");
    options[1].PlacesGiven = commands[1]->add_option("--places", options[1].Places,
                                                     "Places 1 to M only (default: all, or the paid places above "
                                                     "100 players)")
                                 ->check(CLI::PositiveNumber);
    options[2].RoundGiven = deal.add_option("--round", options[2].Round, "Pay in multiples of this unit");
    CLI::App &bubble = *commands[3];
    options[3].SeatGiven = bubble.add_option("--seat", options[3].Seat, "Only this seat's row");
    options[3].PlayersGiven = bubble.add_option("--players", options[3].Players, "Equal stacks: number of players");
    options[3].ChipsGiven = bubble.add_option("--chips", options[3].Chips, "Equal stacks: chips of each");

    const std::string first = argc > 1 ? argv[1] : "-";
    if (first[0] != '-' && std::find(std::begin(CommandNames), std::end(CommandNames), first) == std::end(CommandNames))
        return Fail("unknown command \"" + first + "\" (commands: equity, finish, deal, bubble)");
    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::CallForHelp &)
    {
        return Answer(app.help());
    }
    catch (const CLI::CallForAllHelp &)
    {
        return Answer(app.help("", CLI::AppFormatMode::All));
    }
    catch (const CLI::CallForVersion &)
    {
        return Answer(std::string(OSTREL_VERSION) + "\n");
    }
    catch (const CLI::ParseError &error)
    {
        return Fail(error.what());
    }
    if (commands[0]->parsed())
        return RunEquityCommand(options[0], false);
    if (commands[1]->parsed())
        return RunEquityCommand(options[1], true);
    if (commands[2]->parsed())
        return RunDealCommand(options[2]);
    return RunBubbleCommand(options[3]);
}

} // namespace

int main(int argc, char **argv)
{
#ifdef _WIN32
    // The same bytes as on every other system: lines end in LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    try
    {
        return Run(argc, argv);
    }
    catch (const std::exception &error)
    {
        return Fail(error.what());
    }
}
