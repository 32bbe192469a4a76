/*
 * A small pass over the arguments with CLI11's own table of options: the
 * parser then only stores values, and its messages are never shown.
 */
#include "arguments.h"

#include <algorithm>
#include <charconv>

#include "choice_text.h"
#include "number_lists.h"

namespace ostrel
{
namespace
{

struct OptionName
{
    const CLI::Option *Option;
    std::string Name; // "--stacks"
    bool Flag;
    bool Repeatable; // a list option may be given again: --range 1=AA --range 2=KK
};

std::vector<OptionName> NamesOf(const CLI::App &command)
{
    std::vector<OptionName> known;
    for (const CLI::Option *option : command.get_options())
    {
        const bool flag = option->get_expected_min() == 0;
        const bool repeatable = !flag && option->get_expected_max() > 1;
        for (const std::string &name : option->get_lnames())
            known.push_back({option, "--" + name, flag, repeatable});
        for (const std::string &name : option->get_snames())
            known.push_back({option, "-" + name, flag, repeatable});
    }
    return known;
}

const OptionName *Find(const std::vector<OptionName> &known, const std::string &name)
{
    for (const OptionName &named : known)
        if (named.Name == name)
            return &named;
    return nullptr;
}

std::string LongName(const CLI::Option *option)
{
    return option->get_lnames().empty() ? "-" + option->get_snames()[0] : "--" + option->get_lnames()[0];
}

// What an option takes, from its help text: "chips of each seat, ...".
std::string Expected(const CLI::Option *option)
{
    std::string description = option->get_description();
    if (!description.empty() && description[0] >= 'A' && description[0] <= 'Z')
        description[0] = static_cast<char>(description[0] - 'A' + 'a');
    return description;
}

bool LooksLikeOption(const std::string &argument)
{
    if (argument.size() < 2 || argument[0] != '-')
        return false;
    const char next = argument[1];
    return !(next >= '0' && next <= '9') && next != '.';
}

std::string UnknownOption(const CLI::App &program, const CLI::App &command, const std::vector<OptionName> &known,
                          const std::string &name)
{
    std::vector<std::string> names;
    for (const OptionName &named : known)
        if (named.Name.size() > 2)
            names.push_back(named.Name);
    std::string message = "unknown option " + Quoted(name) + " for " + command.get_name();
    const std::string nearest = NearestName(name, names);
    if (!nearest.empty())
        return message + ": did you mean " + nearest + "?";
    // Every command that has it, so that a reader does not take the first
    // for the only one.
    std::vector<std::string> others;
    for (const CLI::App *other : program.get_subcommands({}))
        if (other != &command && Find(NamesOf(*other), name) != nullptr)
            others.push_back(other->get_name());
    if (!others.empty())
    {
        std::string listed;
        for (size_t i = 0; i < others.size(); ++i)
            listed += (i == 0 ? "" : i + 1 == others.size() ? " and " : ", ") + others[i];
        return message + ": " + name + " is an option of " + listed;
    }
    return message + " (see ostrel-icm help " + command.get_name() + ")";
}

// Values typed apart after an option, in the order typed.
std::string Unexpected(const std::vector<std::string> &strays, const std::string &after,
                       const std::string &value)
{
    std::string listed;
    for (size_t i = 0; i < strays.size(); ++i)
        listed += (i == 0 ? "" : i + 1 == strays.size() ? " and " : ", ") + Quoted(strays[i]);
    if (after.empty())
        return "unexpected " + listed + ": every value follows its option's name (--stacks 5000,3000)";
    // "5000, 3000, 2000" comes apart as "5000," "3000," "2000": a comma
    // already at a word's end is not doubled.
    std::string joined = value;
    for (const std::string &stray : strays)
        joined += (!joined.empty() && joined.back() == ',' ? "" : ",") + stray;
    return "unexpected " + listed + " after " + after + " " + Escaped(value) +
           ": separate the values with commas, without spaces (" + after + " " + Escaped(joined) + ")";
}

} // namespace

std::string CheckArguments(const CLI::App &program, const CLI::App &command,
                           const std::vector<std::string> &arguments, std::vector<std::string> &written)
{
    const std::vector<OptionName> known = NamesOf(command);
    const std::vector<const CLI::Option *> positionals =
        command.get_options([](const CLI::Option *option) { return !option->nonpositional(); });
    std::vector<const CLI::Option *> seen;
    std::vector<std::string> seenValues;
    std::string lastOption;
    std::string lastValue;
    written.clear();
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string &argument = arguments[i];
        if (!LooksLikeOption(argument) && !positionals.empty())
        {
            // The command's own values (the ranges of allin), in the order typed.
            written.push_back(argument);
            lastOption.clear();
            continue;
        }
        if (!LooksLikeOption(argument))
        {
            std::vector<std::string> strays;
            while (i < arguments.size() && !LooksLikeOption(arguments[i]))
                strays.push_back(arguments[i++]);
            return Unexpected(strays, lastOption, lastValue);
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionName *named = Find(known, name);
        if (named == nullptr)
            return UnknownOption(program, command, known, name);
        const std::string shown = LongName(named->Option);
        const auto before = std::find(seen.begin(), seen.end(), named->Option);
        if (named->Flag)
        {
            if (equals != std::string::npos)
                return shown + " takes no value";
            if (before != seen.end())
                return shown + " is given twice: give each option once";
            seen.push_back(named->Option);
            seenValues.emplace_back();
            written.push_back(shown);
            lastOption.clear();
            continue;
        }
        std::string value;
        if (equals != std::string::npos)
            value = argument.substr(equals + 1);
        else if (i + 1 < arguments.size() &&
                 !(LooksLikeOption(arguments[i + 1]) && arguments[i + 1][1] == '-'))
            value = arguments[++i];
        else
            return shown + " needs a value: " + Expected(named->Option);
        if (before != seen.end() && !named->Repeatable)
            return shown + " is given twice (" +
                   Quoted(seenValues[static_cast<size_t>(before - seen.begin())]) + " and " + Quoted(value) +
                   "): give each option once";
        seen.push_back(named->Option);
        seenValues.push_back(value);
        if (value.empty())
        {
            written.push_back(shown);
            written.push_back(value);
        }
        else
            written.push_back(shown + "=" + value);
        lastOption = shown;
        lastValue = value;
    }
    return "";
}

} // namespace ostrel
