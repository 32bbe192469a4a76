// libFuzzer target for what ostrel-icm reads: stack and prize lists, stack
// files, player names, and the window's settings and payout structure files. No crash or
// undefined behaviour on any bytes; an accepted list prints as the command
// writes numbers and reads back to the same numbers.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "number_lists.h"
#include "window_files.h"

static void Check(bool condition)
{
    if (!condition)
        std::abort();
}

static void CheckStacks(const std::vector<int64_t> &stacks, const std::string &error)
{
    Check(error.empty() || stacks.empty());
    std::string printed;
    for (int64_t stack : stacks)
    {
        Check(stack >= 0 && stack <= ostrel::MaxStack);
        printed += (printed.empty() ? "" : ",") + std::to_string(stack);
    }
    if (stacks.empty())
        return;
    std::string again;
    Check(ostrel::ParseStackList(printed, again) == stacks && again.empty());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    std::string error;
    CheckStacks(ostrel::ParseStackList(bytes, error), error);
    CheckStacks(ostrel::ParseStackLines(bytes, error), error);

    const std::vector<double> prizes = ostrel::ParsePrizeList(bytes, error);
    std::string printed;
    for (double prize : prizes)
    {
        Check(std::isfinite(prize) && prize >= 0.0);
        std::string text = ostrel::ShortestText(prize);
        const size_t exponent = text.find('e');
        if (exponent != std::string::npos) // the list takes no exponent: write the digits out
        {
            char fixed[400];
            std::snprintf(fixed, sizeof fixed, "%.340f", prize);
            text = fixed;
        }
        printed += (printed.empty() ? "" : ",") + text;
    }
    if (!prizes.empty())
        Check(ostrel::ParsePrizeList(printed, error) == prizes && error.empty());

    // Names read from a list are whole, judged and distinct; joined again
    // they read back the same, and a stacks file naming its seats with them
    // gives the same names (digits alone or a leading '#' mean a seat number
    // or a comment there).
    const std::vector<std::string> names = ostrel::ReadNameList(bytes, error);
    Check(error.empty() == !names.empty());
    std::string joined, lines;
    bool fileCanHold = true;
    for (const std::string &name : names)
    {
        Check(!name.empty() && name.find(',') == std::string::npos && ostrel::NameProblem(name).empty());
        Check(std::count(names.begin(), names.end(), name) == 1);
        joined += (joined.empty() ? "" : ",") + name;
        lines += name + ",1\n";
        fileCanHold =
            fileCanHold && name[0] != '#' && name.find_first_not_of("0123456789") != std::string::npos;
    }
    if (!names.empty())
    {
        Check(ostrel::ReadNameList(joined, error) == names && error.empty());
        if (fileCanHold)
            Check(ostrel::ReadStackLines(lines, error).Names == names && error.empty());
    }

    std::vector<double> ladder;
    if (ostrel::ReadPayoutStructure(bytes, ladder).Ok)
        for (double prize : ladder)
            Check(prize > 0.0);
    ostrel::WindowSettings settings;
    if (ostrel::ReadSettings(bytes, settings).Ok)
        Check(settings.Stacks.size() == 10 || settings.Stacks.size() == 18);
    return 0;
}
