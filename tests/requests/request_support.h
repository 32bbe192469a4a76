/*
 * Requests built directly in C++ for the request layer's tests: a field
 * from its stacks and prizes, a push-or-fold table from its stacks, button
 * and blinds.
 */
#ifndef OSTREL_REQUEST_SUPPORT_H
#define OSTREL_REQUEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "field_input.h"
#include "outcomes.h"

// Standard error as lines ending in LF: Windows writes it in text mode.
inline std::string Lines(std::string text)
{
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    return text;
}

inline ostrel::FieldInput FieldOf(const std::vector<int64_t> &stacks, const std::vector<double> &prizes,
                                  int32_t stackDecimals = 0)
{
    ostrel::FieldInput field;
    field.Stacks = stacks;
    field.Prizes = prizes;
    field.StackDecimals = stackDecimals;
    return field;
}

// `button` is 0-based, as the library counts seats.
inline ostrel::HandField TableOf(const std::vector<int64_t> &stacks, const std::vector<double> &prizes,
                                 size_t button, int64_t small, int64_t big, int64_t ante = 0)
{
    ostrel::HandField field;
    field.Table.Stacks = stacks;
    field.Table.Button = button;
    field.Table.SmallBlind = small;
    field.Table.BigBlind = big;
    field.Table.Ante = ante;
    field.Prizes = prizes;
    return field;
}

#endif
