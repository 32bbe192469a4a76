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

#include "allin_command.h"
#include "arguments.h"
#include "nash_command.h"
#include "spot_command.h"
#include "bubble_request.h"
#include "command_input.h"
#include "deal_amounts.h"
#include "deal_request.h"
#include "equity_request.h"
#include "number_lists.h"
#include "progress.h"

#ifndef OSTREL_VERSION
#define OSTREL_VERSION "0"
#endif

namespace
{

constexpr int ErrorStatus = 2;

int Fail(const std::string &message)
{
    std::fprintf(stderr, "ostrel-icm: error: %s\n", ostrel::Escaped(message).c_str());
    return ErrorStatus;
}

// What a successful run says besides its answer: warnings before it, the
// time after it, both on standard error.
struct Remarks
{
    std::string Warnings;
    bool ShowTime = false;
    double Seconds = 0.0;
};

int Answer(const std::string &text, const Remarks &remarks = Remarks())
{
    std::fputs(remarks.Warnings.c_str(), stderr);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0)
        return Fail("could not write the answer");
    if (remarks.ShowTime)
        std::fprintf(stderr, "ostrel-icm: time: %.3f ms\n", remarks.Seconds * 1000.0);
    return 0;
}

struct Options
{
    ostrel::InputOptions Input;
    std::string Format = "table";
    std::string Method = "auto";
    std::string Split = "icm";
    std::string Keep = "0";
    std::string Round;
    std::string Seat, Players, Chips, Threads, Places;
    bool Separators = false; // money in tables with thousands separators
    std::string Bounties, BountyPool;
    bool DealBounties = false;
    CLI::Option *BountiesGiven = nullptr;
    CLI::Option *BountyPoolGiven = nullptr;
    CLI::Option *Given[8] = {};
    CLI::Option *PlacesGiven = nullptr;
    CLI::Option *RoundGiven = nullptr;
    CLI::Option *SeatGiven = nullptr;
    CLI::Option *PlayersGiven = nullptr;
    CLI::Option *ChipsGiven = nullptr;
    CLI::Option *ThreadsGiven = nullptr;
    CLI::Option *TimeGiven = nullptr;
};

// Which sources were given, so that an empty list is told from none.
void NoteGivenSources(Options &options)
{
    ostrel::InputOptions &input = options.Input;
    bool *flags[8] = {&input.HasStacks,       &input.HasStacksFile, &input.HasPrizes, &input.HasPayoutFile,
                      &input.HasSettingsFile, &input.HasPrizesFile, &input.HasPool,   &input.HasNames};
    for (int i = 0; i < 8; ++i)
        *flags[i] = options.Given[i]->count() > 0;
}

void AddInputOptions(CLI::App &command, Options &options)
{
    ostrel::InputOptions &input = options.Input;
    options.Given[0] = command
                           .add_option("--stacks", input.Stacks,
                                       "Chips of each seat, comma-separated (0 = empty seat; 24.5 and 2.45M "
                                       "are read too)")
                           ->type_name("LIST");
    options.Given[1] =
        command
            .add_option("--stacks-file", input.StacksFile,
                        "One seat per line: stack, seat,stack or name,stack ('-' reads standard "
                        "input)")
            ->type_name("FILE");
    options.Given[7] = command.add_option("--names", input.Names, ostrel::NamesHelp)->type_name("LIST");
    options.Given[2] =
        command.add_option("--prizes", input.Prizes, "Prize of each place from 1st, comma-separated")
            ->type_name("LIST");
    options.Given[5] = command
                           .add_option("--prizes-file", input.PrizesFile,
                                       "The prizes from a file: one per line or comma-separated, # comments "
                                       "('-' reads standard input)")
                           ->type_name("FILE");
    options.Given[6] = command
                           .add_option("--pool", input.Pool,
                                       "The prize pool, when the prizes are percentages of it (25%,15%,...)")
                           ->type_name("AMOUNT");
    options.Given[3] =
        command.add_option("--pos", input.PayoutFile, "The prizes from a payout structure file (.pos)")
            ->type_name("FILE");
    options.Given[4] = command
                           .add_option("--settings", input.SettingsFile,
                                       "Stacks and prizes from the calculator's settings file")
                           ->type_name("FILE");
    command.add_option("--method", options.Method, "auto (the default), plain, subsets or quadrature")
        ->type_name("NAME");
    const unsigned cores = std::thread::hardware_concurrency();
    options.ThreadsGiven =
        command
            .add_option("--threads", options.Threads,
                        "Threads for the quadrature method, 1 to 256 (default: the cores, " +
                            std::to_string(cores == 0 ? 1 : cores) + " here)")
            ->type_name("N");
    command.add_option("--format", options.Format, "Output: table (the default), csv or json")
        ->type_name("NAME");
    options.TimeGiven =
        command.add_flag("--time", "Also say on standard error how long the computation took");
}

// Names judged by CheckChoice before they are read.
ostrel::Format FormatNamed(const std::string &name)
{
    ostrel::Format format = ostrel::Format::Table;
    ostrel::FormatNamed(name, format);
    return format;
}

ostrel::Method MethodNamed(const std::string &name)
{
    ostrel::Method method = ostrel::Method::Automatic;
    ostrel::MethodNamed(name, method);
    return method;
}

// The options every command shares, judged before anything is read;
// `threads` stays 0 (one per core) unless given.
std::string CheckCommonOptions(Options &options, unsigned &threads)
{
    std::string problem =
        ostrel::CheckChoice("--method", options.Method, {"auto", "plain", "subsets", "quadrature"});
    if (problem.empty())
        problem = ostrel::CheckChoice("--format", options.Format, {"table", "csv", "json"});
    if (problem.empty() && options.ThreadsGiven->count() > 0)
    {
        int64_t count = 0;
        problem = ostrel::ReadCount("--threads", options.Threads, 1, 256, "a thread count", count);
        threads = static_cast<unsigned>(count);
    }
    return problem;
}

Remarks RemarksOf(const Options &options, const ostrel::RunNotes &notes)
{
    Remarks remarks;
    for (const std::string &warning : notes.Warnings)
        remarks.Warnings += "ostrel-icm: warning: " + warning + "\n";
    remarks.ShowTime = options.TimeGiven->count() > 0;
    remarks.Seconds = notes.Seconds;
    return remarks;
}

// A question's run with its progress on the terminal, and its answer or
// its one error line.
template <typename Request, typename Answered, typename Run, typename Write>
int Ask(const Options &options, const Request &request, Run run, Write write)
{
    ostrel::ProgressDisplay display = ostrel::StartProgress();
    Answered answer;
    const ostrel::Status status = run(request, ostrel::ProgressOn(display), answer);
    ostrel::EndProgress(display);
    if (!status.Ok)
        return Fail(status.Message);
    return Answer(write(answer, FormatNamed(options.Format)), RemarksOf(options, answer.Notes));
}

// --bounties and --bounty-pool as typed, each amount judged.
std::string ReadBountyOptions(const Options &options, ostrel::BountyInput &bounty)
{
    ostrel::BountyTyped typed;
    if (options.BountiesGiven != nullptr && options.BountiesGiven->count() > 0)
        typed.OnHead = options.Bounties;
    if (options.BountyPoolGiven != nullptr && options.BountyPoolGiven->count() > 0)
        typed.Pool = options.BountyPool;
    return ostrel::ReadBountyTyped(typed, bounty).Message;
}

int RunEquityCommand(Options &options, bool finish)
{
    NoteGivenSources(options);
    ostrel::EquityRequest request;
    std::string problem = CheckCommonOptions(options, request.Threads);
    if (!problem.empty())
        return Fail(problem);
    const ostrel::Status read = ostrel::ReadFieldInput(options.Input, request.Field);
    if (!read.Ok)
        return Fail(read.Message);
    problem = ReadBountyOptions(options, request.Bounty);
    if (!problem.empty())
        return Fail(problem);
    if (finish && options.PlacesGiven->count() > 0)
    {
        int64_t count = 0;
        problem = ostrel::ReadCount("--places", options.Places, 1, ostrel::MaxPlayers, "a number of places", count);
        if (!problem.empty())
            return Fail(problem);
        request.Places = static_cast<size_t>(count);
    }
    request.Using = MethodNamed(options.Method);
    request.Finish = finish;
    request.Separators = options.Separators;
    return Ask<ostrel::EquityRequest, ostrel::EquityAnswer>(options, request, ostrel::RunEquityRequest,
                                                           ostrel::WriteEquityAnswer);
}

int RunDealCommand(Options &options)
{
    NoteGivenSources(options);
    ostrel::DealRequest request;
    std::string problem = CheckCommonOptions(options, request.Threads);
    if (problem.empty())
        problem = ostrel::CheckChoice("--split", options.Split, {"icm", "chip", "even"});
    if (!problem.empty())
        return Fail(problem);
    ostrel::DealTerms &terms = request.Terms;
    terms.Split = options.Split == "chip"   ? ostrel::DealSplit::Chip
                  : options.Split == "even" ? ostrel::DealSplit::Even
                                            : ostrel::DealSplit::Icm;
    const std::string keepProblem = ostrel::ParsePrize(options.Keep, terms.Keep);
    if (!keepProblem.empty())
        return Fail("--keep: " + keepProblem);
    request.KeepTyped = options.Keep;
    if (options.RoundGiven->count() > 0)
    {
        const ostrel::Status unit = ostrel::ParseRoundingUnit(options.Round, terms.Round);
        if (!unit.Ok)
            return Fail(unit.Message);
    }
    ostrel::Status status = ostrel::ReadFieldInput(options.Input, request.Field);
    problem = ReadBountyOptions(options, request.Bounty);
    if (status.Ok && !problem.empty())
        status = ostrel::Failure(problem);
    request.DealBounties = options.DealBounties;
    if (status.Ok)
        status = ostrel::CheckDealRequest(request);
    if (status.Ok && options.RoundGiven->count() > 0)
        status = ostrel::CheckExactAmounts(options.Keep, options.Input.HasPrizes, options.Input.Prizes,
                                           options.Input.HasPool ? options.Input.Pool : "", request.Field.Prizes);
    if (!status.Ok)
        return Fail(status.Message);
    request.Using = MethodNamed(options.Method);
    request.Separators = options.Separators;
    return Ask<ostrel::DealRequest, ostrel::DealAnswer>(options, request, ostrel::RunDealRequest,
                                                       ostrel::WriteDealAnswer);
}

int RunEqualStacksBubble(Options &options)
{
    if (options.Input.HasStacks || options.Input.HasStacksFile || options.Input.HasSettingsFile ||
        options.Input.HasNames)
        return Fail(
            "--players and --chips describe the field: they take no --stacks, --stacks-file, --names or "
            "--settings");
    if (options.PlayersGiven->count() == 0 || options.ChipsGiven->count() == 0)
        return Fail("--players and --chips go together");
    if (options.SeatGiven->count() > 0)
        return Fail("--seat needs --stacks: equal stacks have one bubble factor");
    ostrel::EqualStacksRequest request;
    std::string problem = ostrel::ReadCount("--players", options.Players, 0, int64_t{1} << 53,
                                            "a number of players", request.Players);
    if (problem.empty())
        problem = ostrel::ReadCount("--chips", options.Chips, 0, int64_t{1} << 53, "a number of chips",
                                    request.Chips);
    if (!problem.empty())
        return Fail(problem);
    const ostrel::Status read = ostrel::ReadPrizeInput(options.Input, request.Prizes);
    if (!read.Ok)
        return Fail(read.Message);
    const auto run = [](const ostrel::EqualStacksRequest &asked, const ostrel::RunProgress &,
                        ostrel::EqualStacksAnswer &answer) { return ostrel::RunEqualStacksRequest(asked, answer); };
    return Ask<ostrel::EqualStacksRequest, ostrel::EqualStacksAnswer>(options, request, run,
                                                                     ostrel::WriteEqualStacksAnswer);
}

int RunBubbleCommand(Options &options)
{
    NoteGivenSources(options);
    ostrel::BubbleRequest request;
    const std::string problem = CheckCommonOptions(options, request.Threads);
    if (!problem.empty())
        return Fail(problem);
    if (options.PlayersGiven->count() > 0 || options.ChipsGiven->count() > 0)
        return RunEqualStacksBubble(options);
    const ostrel::Status read = ostrel::ReadFieldInput(options.Input, request.Field);
    if (!read.Ok)
        return Fail(read.Message);
    request.OneRow = options.SeatGiven->count() > 0;
    if (request.OneRow)
    {
        int64_t number = 0;
        const std::string seatProblem = ostrel::ReadCount(
            "--seat", options.Seat, 1, static_cast<int64_t>(request.Field.Stacks.size()), "a seat number", number);
        if (!seatProblem.empty())
            return Fail(seatProblem);
        request.Seat = static_cast<size_t>(number - 1);
        request.SeatTyped = options.Seat;
    }
    request.Using = MethodNamed(options.Method);
    return Ask<ostrel::BubbleRequest, ostrel::BubbleAnswer>(options, request, ostrel::RunBubbleRequest,
                                                           ostrel::WriteBubbleAnswer);
}

const std::vector<std::string> CommandNames = {"equity", "finish", "deal", "bubble", "allin", "spot", "nash"};

const char *const Summary =
    "Tournament equity under the chip-proportional finishing-order model.\n\n"
    "Examples:\n"
    "  ostrel-icm equity --stacks 5000,3000,2000 --prizes 50,30,20\n"
    "  ostrel-icm finish --stacks 5000,3000,2000 --prizes 50,30,20 --format csv\n"
    "  ostrel-icm deal --stacks 5000,3000,2000 --prizes 50,30,20 --split chip --round 1\n"
    "  ostrel-icm bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20 --seat 4\n"
    "  ostrel-icm equity --settings ostrel.ini --format json\n"
    "  ostrel-icm allin AdAc KhKs\n"
    "  ostrel-icm spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --hero 2 "
    "--range 3=QQ+,AK\n"
    "  ostrel-icm nash --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200\n"
    "  ostrel-icm help equity\n";

int Run(int argc, char **argv)
{
    CLI::App app(Summary, "ostrel-icm");
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app.get_formatter()->label("Subcommands", "Commands");
    app.get_formatter()->column_width(24);
    app.set_version_flag("--version", "ostrel-icm " OSTREL_VERSION, "Print the version and exit");
    app.set_help_flag("-h,--help", "Print this help and exit");
    app.require_subcommand(1);
    Options options[4];
    const char *descriptions[] = {"Each seat's money expectation ($EV)",
                                  "Each player's chance of finishing in each place",
                                  "Split the money now: by $EV (icm), by chips or evenly",
                                  "Bubble factors and risk premiums between the real stacks"};
    CLI::App *commands[4] = {};
    for (size_t i = 0; i < 4; ++i)
    {
        commands[i] = app.add_subcommand(CommandNames[i], descriptions[i]);
        commands[i]->group("Commands");
        commands[i]->set_help_flag("-h,--help", "Print this help and exit");
        AddInputOptions(*commands[i], options[i]);
    }
    CLI::App &deal = *commands[2];
    deal.add_option("--split", options[2].Split, "icm (the default), chip or even")->type_name("NAME");
    deal.add_option("--keep", options[2].Keep,
                    "Amount left on the table for the winner, off the first prize (default: 0)")
        ->type_name("AMOUNT");
    options[1].PlacesGiven = commands[1]
                                 ->add_option("--places", options[1].Places,
                                              "Places 1 to M only (default: all, or the paid places above "
                                              "100 players)")
                                 ->type_name("M");
    options[2].RoundGiven =
        deal.add_option("--round", options[2].Round, "Pay in multiples of this unit (default: no rounding)")
            ->type_name("UNIT");
    for (size_t i : {0, 2})
    {
        commands[i]->add_flag("--separators", options[i].Separators,
                              "Money in tables with thousands separators (12,345.67)");
        options[i].BountiesGiven =
            commands[i]
                ->add_option("--bounties", options[i].Bounties,
                             "The bounty on each seat's head, in the prize unit (or a stacks file's third column)")
                ->type_name("LIST");
        options[i].BountyPoolGiven =
            commands[i]
                ->add_option("--bounty-pool", options[i].BountyPool,
                             "All bounty money in play, when players' bounties are not all given")
                ->type_name("AMOUNT");
    }
    deal.add_flag("--deal-bounties", options[2].DealBounties,
                  "Deal the bounty money too: each player gets his share of it by his chips");
    CLI::App &bubble = *commands[3];
    options[3].SeatGiven =
        bubble.add_option("--seat", options[3].Seat, "Only this seat's row")->type_name("N");
    options[3].PlayersGiven =
        bubble.add_option("--players", options[3].Players, "Equal stacks: number of players")->type_name("N");
    options[3].ChipsGiven =
        bubble.add_option("--chips", options[3].Chips, "Equal stacks: chips of each")->type_name("N");
    ostrel::AllinOptions allinOptions;
    CLI::App *allin = ostrel::AddAllinCommand(app, allinOptions);
    ostrel::SpotOptions spotOptions;
    CLI::App *spot = ostrel::AddSpotCommand(app, spotOptions);
    ostrel::NashCommandOptions nashOptions;
    CLI::App *nash = ostrel::AddNashCommand(app, nashOptions);
    CLI::App *const everyCommand[] = {commands[0], commands[1], commands[2], commands[3], allin, spot, nash};
    for (CLI::App *command : {allin, spot, nash})
    {
        command->group("Commands");
        command->set_help_flag("-h,--help", "Print this help and exit");
    }

    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    if (arguments.empty())
    {
        std::fputs(app.help().c_str(), stderr);
        return Fail("no command given: ostrel-icm equity, finish, deal, bubble, allin, spot or nash (ostrel-icm help "
                    "COMMAND tells more)");
    }
    const std::string first = arguments[0];
    if (first == "--help" || first == "-h" || (first == "help" && arguments.size() == 1))
        return Answer(app.help());
    if (first == "--version")
        return arguments.size() == 1 ? Answer("ostrel-icm " OSTREL_VERSION "\n")
                                     : Fail("--version takes nothing else");
    const std::string named = first == "help" ? arguments[1] : first;
    const auto command = std::find(CommandNames.begin(), CommandNames.end(), named);
    if (command == CommandNames.end())
    {
        if (named.size() > 1 && named[0] == '-')
            return Fail(
                "give a command before the options: ostrel-icm equity, finish, deal, bubble, allin, spot or nash, then " +
                named);
        const std::string nearest = ostrel::NearestName(named, CommandNames);
        return Fail("unknown command " + ostrel::Quoted(named) + " (" +
                    (nearest.empty() ? std::string("commands: equity, finish, deal, bubble, allin, spot, nash")
                                     : "did you mean " + nearest + "?") +
                    ")");
    }
    CLI::App &chosen = *everyCommand[command - CommandNames.begin()];
    if (first == "help")
        return arguments.size() == 2 ? Answer(chosen.help("ostrel-icm"))
                                     : Fail("help takes one command name");
    std::vector<std::string> written;
    const std::string problem = ostrel::CheckArguments(
        app, chosen, std::vector<std::string>(arguments.begin() + 1, arguments.end()), written);
    if (!problem.empty())
        return Fail(problem);
    written.insert(written.begin(), first);
    std::reverse(written.begin(), written.end()); // CLI11 reads a vector from its end
    try
    {
        app.parse(written);
    }
    catch (const CLI::CallForHelp &)
    {
        return Answer(chosen.help("ostrel-icm"));
    }
    catch (const CLI::ParseError &error)
    {
        return Fail(std::string("the command line could not be read: ") + error.what());
    }
    const size_t index = static_cast<size_t>(command - CommandNames.begin());
    if (index == 0 || index == 1)
        return RunEquityCommand(options[index], index == 1);
    if (index == 2)
        return RunDealCommand(options[2]);
    if (index == 4)
    {
        std::string answer;
        const ostrel::Status status = ostrel::RunAllinCommand(allinOptions, answer);
        return status.Ok ? Answer(answer) : Fail(status.Message);
    }
    if (index == 5)
    {
        std::string answer, warning;
        const ostrel::Status status = ostrel::RunSpotCommand(spotOptions, answer, warning);
        if (status.Ok && !warning.empty())
            std::fputs(warning.c_str(), stderr);
        return status.Ok ? Answer(answer) : Fail(status.Message);
    }
    if (index == 6)
    {
        std::string answer, warning;
        const ostrel::Status status = ostrel::RunNashCommand(nashOptions, answer, warning);
        if (status.Ok && !warning.empty())
            std::fputs(warning.c_str(), stderr);
        return status.Ok ? Answer(answer) : Fail(status.Message);
    }
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
