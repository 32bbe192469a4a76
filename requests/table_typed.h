/*
 * The amounts of a push-or-fold table as typed (--blinds, --ante,
 * --bb-ante, --others), in whole chips and judged in the command's words,
 * for every front end that takes them as text.
 */
#ifndef OSTREL_REQUESTS_TABLE_TYPED_H
#define OSTREL_REQUESTS_TABLE_TYPED_H

#include <cstdint>
#include <string>
#include <vector>

#include "field.h"
#include "field_input.h"
#include "number_lists.h"

namespace ostrel
{

// The text without blanks and tabs at either end.
std::string TrimBlanks(const std::string &text);

// An ante typed after `option` (--ante or --bb-ante): whole chips, 0 or more.
Status ParseChips(const std::string &option, const std::string &text, int64_t &chips);

// --blinds SB,BB: two amounts in whole chips.
Status ParseBlinds(const std::string &text, int64_t &small, int64_t &big);

// Chips at the table are whole: the blinds and antes are counted in them.
// Sets `error` when the list has decimals; the chips, or none on an error.
std::vector<int64_t> WholeChips(const StackList &list, std::string &error);

// --others: the stacks at other tables, whole chips.
Status ReadOthersTyped(const std::string &text, std::vector<int64_t> &others);

// The stacks of a table not typed in big blinds are whole chips.
Status CheckWholeTableStacks(const FieldInput &stacks);

// At most one kind of ante: every player's or the big blind's.
Status CheckAnteKinds(bool ante, bool bigBlindAnte);

} // namespace ostrel

#endif
