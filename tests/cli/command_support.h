/*
 * Running the real ostrel-icm in its own process, as a script would: its
 * exit status, standard output and standard error.
 */
#ifndef OSTREL_COMMAND_SUPPORT_H
#define OSTREL_COMMAND_SUPPORT_H

#include <string>

struct CommandRun
{
    int Status;
    std::string Out;
    std::string Err;
};

// The command's path, from the test program's first argument.
extern std::string CommandPath;

// Runs the command with `arguments` (already quoted for the shell).
CommandRun RunCommand(const std::string &arguments);

// Expects the command to refuse `arguments` as every refusal must: exit
// status 2, nothing on standard output, one line on standard error that
// starts "ostrel-icm: error: " and holds `says`.
void ExpectRefused(const std::string &arguments, const std::string &says);

// A file in the temporary folder holding `bytes`; returns its path.
std::string TemporaryFile(const std::string &name, const std::string &bytes);

#endif
