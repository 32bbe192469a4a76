/*
 * The formats an answer is written in. Every answer has a table for people
 * and CSV and JSON for programs; `nash` also draws SVG.
 */
#ifndef OSTREL_REQUESTS_ANSWER_FORMAT_H
#define OSTREL_REQUESTS_ANSWER_FORMAT_H

#include <string>

namespace ostrel
{

enum class Format
{
    Table,
    Csv,
    Json,
    Svg,
};

// The format a front end names: table, csv, json or svg; false for any
// other name (`format` then unchanged).
inline bool FormatNamed(const std::string &name, Format &format)
{
    const char *const names[] = {"table", "csv", "json", "svg"};
    for (int i = 0; i < 4; ++i)
        if (name == names[i])
        {
            format = static_cast<Format>(i);
            return true;
        }
    return false;
}

} // namespace ostrel

#endif
