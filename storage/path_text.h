/*
 * Single-byte text routines for paths, and the rule that places the settings
 * file beside the program. Pure and null-safe: no Windows headers, so the
 * native build tests them as well as the Windows one.
 */
#ifndef OSTREL_PATH_TEXT_H
#define OSTREL_PATH_TEXT_H

#include <cstdint>

#include "tournament_state.h"

// Length of a terminated text, but at most `maximum`; 0 for a null text or a
// maximum of 0 or less.
int32_t BoundedLength(const char *text, int32_t maximum);

// Index of the last `character` in `text`; -1 when it does not occur or the
// text is null or empty.
int32_t ReverseFind(const char *text, char character);

// Copies `source` with its terminator and returns its length. A null
// destination copies nothing; a null source leaves the destination empty.
int32_t CopyString(char *destination, const char *source);

// Puts `extension` in place of everything from the last `.` on, or after the
// text when it holds no `.`, and returns the new length. The caller makes
// sure there is room.
int32_t ReplaceExtension(char *path, const char *extension);

// The settings file of a program file: the extension of the file name (not
// of a folder) becomes ".ini", or ".ini" is appended to a name without one.
// `settingsPath` (PathCapacity bytes) stays empty when the module name is
// empty or the result would not fit.
void SettingsPathForModule(const char *moduleName, char *settingsPath);

// The folder part of `path` with its last backslash; empty without one.
// `directory` holds DirectoryCapacity bytes.
void SplitDirectory(const char *path, char *directory);

#endif
