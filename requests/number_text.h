/*
 * Numbers and typed text as every answer and message writes them: the
 * shortest text of a double (what JSON and CSV write), a stack in the units
 * it was typed in, and typed text made safe to show in a one-line message.
 */
#ifndef OSTREL_REQUESTS_NUMBER_TEXT_H
#define OSTREL_REQUESTS_NUMBER_TEXT_H

#include <cstdint>
#include <string>

namespace ostrel
{

// Typed text as a message can show it: printable ASCII as it is, any other
// byte escaped (\t, \xEF). Quoted also adds quotes and cuts long texts.
std::string Escaped(const std::string &text);
std::string Quoted(const std::string &text);

// A stack of `chips` units of 10^-decimals as a person writes it: "24.5".
std::string StackText(int64_t chips, int32_t decimals);

// The shortest text that reads back to the same double (to_chars, which
// writes the same bytes on every platform).
std::string ShortestText(double value);

// A whole number typed for an option, from `low` to `high`: "" or the message,
// which names the text as typed (and says "up to `high`" where `low` is 0,
// leaving smaller counts to be judged with their own reason).
std::string ReadCount(const std::string &option, const std::string &text, int64_t low, int64_t high,
                      const std::string &what, int64_t &value);

} // namespace ostrel

#endif
