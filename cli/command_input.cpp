/*
 * Gathering the field from the options. Files are read whole and judged as a
 * whole before anything is computed; every message names the option, the
 * file and, where there is one, the line or the item.
 */
#include "command_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "number_lists.h"
#include "window_files.h"

namespace ostrel
{
namespace
{

std::string SizeText(size_t bytes)
{
    return bytes % (size_t{1} << 20) == 0 ? std::to_string(bytes >> 20) + " MiB" : std::to_string(bytes) + " bytes";
}

Status FromFile(const std::string &option, const std::string &path, const std::string &problem)
{
    return Failure(option + " " + path + ": " + problem);
}

Status ReadStacks(const InputOptions &options, FieldInput &input)
{
    std::string error;
    if (options.HasStacks)
    {
        const Status stacks = ReadStacksTyped(options.Stacks, input);
        return stacks.Ok && options.HasNames ? ReadNamesTyped(options.Names, input) : stacks;
    }
    std::string bytes;
    const Status read = ReadWholeFile(options.StacksFile, MaxStacksFileBytes, bytes);
    if (!read.Ok)
        return FromFile("--stacks-file", options.StacksFile, read.Message);
    // Judge the count of seats before holding them: lines that are neither
    // blank nor comments are seats.
    size_t seats = 0;
    for (size_t start = 0; start < bytes.size();)
    {
        size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end;
        const size_t first = bytes.find_first_not_of(" \t\r", start);
        seats += first < end && bytes[first] != '#' ? 1 : 0;
        start = end + 1;
    }
    if (seats > MaxSeats)
        return FromFile("--stacks-file", options.StacksFile,
                        "the field has " + std::to_string(seats) + " seats; at most " + std::to_string(MaxSeats) +
                            " are taken, empty seats included");
    const StackList list = ReadStackLines(bytes, error);
    input.Stacks = list.Chips;
    input.StackDecimals = list.Decimals;
    input.Names = list.Names;
    input.Bounties = list.Bounties;
    if (!error.empty())
        return FromFile("--stacks-file", options.StacksFile, error);
    if (input.Stacks.empty())
        return FromFile("--stacks-file", options.StacksFile, "no stack in the file");
    return Status();
}

Status ReadPrizes(const InputOptions &options, FieldInput &input)
{
    double pool = 0.0;
    const std::string poolProblem = options.HasPool ? ParsePrize(options.Pool, pool) : "";
    if (!poolProblem.empty())
        return Failure("--pool: " + poolProblem);
    if (options.HasPrizes)
        return ReadPrizesTyped(options.Prizes, options.HasPool ? options.Pool : "", input);
    if (options.HasPrizesFile)
    {
        std::string bytes;
        const Status read = ReadWholeFile(options.PrizesFile, MaxStacksFileBytes, bytes);
        if (!read.Ok)
            return FromFile("--prizes-file", options.PrizesFile, read.Message);
        std::string error;
        input.Prizes = ReadPrizeLines(bytes, options.HasPool ? options.Pool : "", error);
        if (!error.empty())
            return FromFile("--prizes-file", options.PrizesFile, error);
        if (input.Prizes.empty())
            return FromFile("--prizes-file", options.PrizesFile, "no prize in the file");
        return Status();
    }
    std::string bytes;
    Status read = ReadWholeFile(options.PayoutFile, MaxWindowFileBytes, bytes);
    if (read.Ok)
        read = ReadPayoutStructure(bytes, input.Prizes);
    if (!read.Ok)
        return FromFile("--pos", options.PayoutFile, read.Message);
    if (input.Prizes.empty())
        return FromFile("--pos", options.PayoutFile,
                        "the ladder has no paid place (place 1 is 0 or unreadable)");
    return Status();
}

Status ReadSettingsFile(const InputOptions &options, FieldInput &input)
{
    std::string bytes;
    Status read = ReadWholeFile(options.SettingsFile, MaxWindowFileBytes, bytes);
    WindowSettings settings;
    if (read.Ok)
        read = ReadSettings(bytes, settings);
    if (!read.Ok)
        return FromFile("--settings", options.SettingsFile, read.Message);
    if (settings.Prizes.empty())
        return FromFile("--settings", options.SettingsFile, "the ladder has no paid place");
    input.Stacks = settings.Stacks;
    input.Prizes = settings.Prizes;
    return Status();
}

Status CheckPrizeSources(const InputOptions &options, int prizeSources, const char *sources)
{
    if (prizeSources > 1)
        return Failure("two sources for the prizes: give one of --prizes, --prizes-file or --pos");
    if (prizeSources == 0)
        return Failure(std::string("no prizes: give ") + sources);
    if (options.HasPool && !options.HasPrizes && !options.HasPrizesFile)
        return Failure("--pool goes with percentages in --prizes or --prizes-file");
    return Status();
}

Status CheckSources(const InputOptions &options)
{
    const int stackSources = options.HasStacks + options.HasStacksFile + options.HasSettingsFile;
    const int prizeSources =
        options.HasPrizes + options.HasPrizesFile + options.HasPayoutFile + options.HasSettingsFile;
    if (options.HasSettingsFile && (stackSources > 1 || prizeSources > 1))
        return Failure(
            "--settings gives both the stacks and the prizes; it takes no --stacks, --stacks-file, "
            "--prizes, --prizes-file or --pos");
    if (stackSources > 1)
        return Failure("two sources for the stacks: give --stacks or --stacks-file, not both");
    if (stackSources == 0 && prizeSources <= 1)
        return Failure("no stacks: give --stacks, --stacks-file or --settings");
    if (options.HasNames && options.HasStacksFile)
        return Failure("--names goes with --stacks, not --stacks-file: a stacks file gives the names on its "
                       "lines (name,stack)");
    if (options.HasNames && options.HasSettingsFile)
        return Failure("--names goes with --stacks, not --settings: give the stacks with --stacks");
    return CheckPrizeSources(options, prizeSources, "--prizes, --prizes-file, --pos or --settings");
}

} // namespace

Status ReadWholeFile(const std::string &path, size_t limit, std::string &bytes)
{
    bytes.clear();
    const bool standardInput = path == "-";
    std::unique_ptr<FILE, int (*)(FILE *)> file(standardInput ? stdin : std::fopen(path.c_str(), "rb"),
                                                standardInput ? +[](FILE *) { return 0; } : &std::fclose);
    if (file == nullptr)
        return Failure(std::string("cannot open: ") + std::strerror(errno));
    char block[65536];
    for (;;)
    {
        const size_t got = std::fread(block, 1, sizeof block, file.get());
        bytes.append(block, got);
        if (bytes.size() > limit)
        {
            bytes.clear();
            bytes.shrink_to_fit();
            return Failure("the file is larger than " + SizeText(limit) + ", the most read from it");
        }
        if (got < sizeof block)
            break;
    }
    if (std::ferror(file.get()))
        return Failure(std::string("cannot read: ") + std::strerror(errno));
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    return Status();
}

Status ReadPrizeInput(const InputOptions &options, std::vector<double> &prizes)
{
    const Status sources =
        CheckPrizeSources(options, options.HasPrizes + options.HasPrizesFile + options.HasPayoutFile,
                          "--prizes, --prizes-file or --pos");
    if (!sources.Ok)
        return sources;
    FieldInput input;
    const Status status = ReadPrizes(options, input);
    prizes = input.Prizes;
    return status;
}

Status ReadFieldInput(const InputOptions &options, FieldInput &input)
{
    Status status = CheckSources(options);
    if (status.Ok)
        status = options.HasSettingsFile ? ReadSettingsFile(options, input) : ReadStacks(options, input);
    if (status.Ok && !options.HasSettingsFile)
        status = ReadPrizes(options, input);
    return status.Ok ? CheckFieldInput(input) : status;
}

} // namespace ostrel
