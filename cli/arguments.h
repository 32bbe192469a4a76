/*
 * The command line judged before CLI11 reads it, so that every refusal
 * speaks the command's language: it names the option, says what was
 * expected, suggests the nearest name for a typo and quotes what was typed
 * in the order it was typed.
 */
#ifndef OSTREL_CLI_ARGUMENTS_H
#define OSTREL_CLI_ARGUMENTS_H

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "choice_text.h"
#include "number_text.h"

namespace ostrel
{

// The arguments after the command's name, against `command`'s options: ""
// when each option is known, given once and has its value, with `written`
// then holding them as "--name=value" for CLI11; else the message.
std::string CheckArguments(const CLI::App &program, const CLI::App &command,
                           const std::vector<std::string> &arguments, std::vector<std::string> &written);


} // namespace ostrel

#endif
