/*
 * Names judged against their choices. Cost: the edit distance to each
 * choice, quadratic in the names' lengths.
 */
#include "choice_text.h"

#include <algorithm>

#include "number_text.h"

namespace ostrel
{
namespace
{

size_t EditDistance(const std::string &a, const std::string &b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
    {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j)
        {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::string NearestName(const std::string &typed, const std::vector<std::string> &names)
{
    std::string nearest;
    size_t best = std::max<size_t>(2, typed.size() / 3) + 1;
    for (const std::string &name : names)
    {
        const size_t distance = EditDistance(typed, name);
        const bool prefix = typed.size() >= 3 && name.compare(0, typed.size(), typed) == 0;
        if (distance < best || (prefix && best > 1))
        {
            best = prefix ? 1 : distance;
            nearest = name;
        }
    }
    return nearest;
}

std::string CheckChoice(const std::string &option, const std::string &value,
                        const std::vector<std::string> &choices)
{
    if (std::find(choices.begin(), choices.end(), value) != choices.end())
        return "";
    std::string listed;
    for (size_t i = 0; i < choices.size(); ++i)
        listed += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + choices[i];
    const std::string nearest = NearestName(value, choices);
    return option + ": " + Quoted(value) + " is not one of " + listed +
           (nearest.empty() ? "" : " (did you mean " + nearest + "?)");
}

} // namespace ostrel
