/*
 * How every window judges the text of one of its entries and stores the
 * verdict in the tournament record: an accepted number becomes the stored
 * value, a rejected text only sets the entry's mark and keeps the last value.
 */
#ifndef OSTREL_ENTRY_CHECKS_H
#define OSTREL_ENTRY_CHECKS_H

#include <windows.h>

#include <cstdint>

#include "tournament_state.h"

// Reads at most 255 characters of the edit's text into `text`.
void ReadEntryText(HWND window, int id, char (&text)[EntryTextCapacity]);

// Each returns whether the entry is valid now.
bool JudgePayoutEntry(int32_t place, char *text);
bool JudgeChipEntry(int32_t seat, char *text);
// A count that must also lie in its range; `valid` is the entry's flag.
bool JudgeRangedCount(char *text, bool (*inRange)(int32_t), int32_t *stored, int32_t *valid);

#endif
