/*
 * A name chosen from a few (a method, a split, a format), judged in the
 * command's words for every front end: the choices listed and the nearest
 * one suggested for a typo.
 */
#ifndef OSTREL_REQUESTS_CHOICE_TEXT_H
#define OSTREL_REQUESTS_CHOICE_TEXT_H

#include <string>
#include <vector>

namespace ostrel
{

// The nearest of `names` to `typed`, or "" when none is near.
std::string NearestName(const std::string &typed, const std::vector<std::string> &names);

// A value that must be one of `choices`: "" or the message, which names
// `option` as the command's option.
std::string CheckChoice(const std::string &option, const std::string &value,
                        const std::vector<std::string> &choices);

} // namespace ostrel

#endif
