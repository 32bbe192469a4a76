/*
 * ostrel-icm: the calculator's numbers from a command. Standard output
 * carries only the answer; any error is one line on standard error with exit
 * status 2, and then nothing at all is written to standard output.
 */
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "command_input.h"
#include "field_methods.h"
#include "report.h"

#ifndef OSTREL_VERSION
#define OSTREL_VERSION "0"
#endif

namespace
{

constexpr int ErrorStatus = 2;

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
    CLI::Option *Given[5] = {};
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
    command.add_option("--format", options.Format, "Output: table, csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}))
        ->default_str("table");
}

ostrel::Format FormatNamed(const std::string &name)
{
    return name == "json" ? ostrel::Format::Json : name == "csv" ? ostrel::Format::Csv : ostrel::Format::Table;
}

int RunEquityCommand(Options &options, bool finish)
{
    NoteGivenSources(options);
    ostrel::FieldInput input;
    const ostrel::Status read = ostrel::ReadFieldInput(options.Input, input);
    if (!read.Ok)
        return Fail(read.Message);
    const ostrel::Field field = input.View();
    const ostrel::FieldRun run = finish ? ostrel::RunFinish(field) : ostrel::RunEquity(field, ostrel::Method::Automatic);
    if (!run.Outcome.Ok)
        return Fail(run.Outcome.Message);
    ostrel::EquityReport report;
    report.Stacks = input.Stacks;
    report.PrizePool = ostrel::PrizePool(field, ostrel::PlayersInPlay(field));
    report.Run = &run;
    const ostrel::Format format = FormatNamed(options.Format);
    return Answer(finish ? ostrel::FormatFinish(report, format) : ostrel::FormatEquity(report, format));
}

int Run(int argc, char **argv)
{
    CLI::App app("Tournament equity under the chip-proportional finishing-order model.\n\n"
                 "Examples:\n"
                 "  ostrel-icm equity --stacks 5000,3000,2000 --prizes 50,30,20\n"
                 "  ostrel-icm finish --stacks 5000,3000,2000 --prizes 50,30,20 --format csv\n"
                 "  ostrel-icm equity --settings ostrel.ini --format json\n",
                 "ostrel-icm");
    app.set_version_flag("--version", OSTREL_VERSION);
    app.require_subcommand(1);
    Options equityOptions;
    CLI::App *equity = app.add_subcommand("equity", "Each seat's money expectation ($EV)");
    AddInputOptions(*equity, equityOptions);
    Options finishOptions;
    CLI::App *finish = app.add_subcommand("finish", "Each player's chance of finishing in each place");
    AddInputOptions(*finish, finishOptions);
    const std::string first = argc > 1 ? argv[1] : "-";
    if (first[0] != '-' && first != "equity" && first != "finish")
        return Fail(std::string("unknown command \"") + argv[1] + "\" (commands: equity, finish)");
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
    if (equity->parsed())
        return RunEquityCommand(equityOptions, false);
    return RunEquityCommand(finishOptions, true);
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
