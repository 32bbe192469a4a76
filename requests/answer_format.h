/*
 * The formats an answer is written in. Every answer has a table for people
 * and CSV and JSON for programs; `nash` also draws SVG.
 */
#ifndef OSTREL_REQUESTS_ANSWER_FORMAT_H
#define OSTREL_REQUESTS_ANSWER_FORMAT_H

namespace ostrel
{

enum class Format
{
    Table,
    Csv,
    Json,
    Svg,
};

} // namespace ostrel

#endif
