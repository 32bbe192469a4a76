/*
 * What the storage tests share: a scratch folder under the temporary folder
 * for one run of a test program, with a fresh file name for every use (the
 * profile functions cache files by name), removed with everything in it when
 * the program ends; and short ways to set up files and the record.
 */
#ifndef OSTREL_STORAGE_TEST_SUPPORT_H
#define OSTREL_STORAGE_TEST_SUPPORT_H

#include <cstdint>
#include <string>

// The folder, with its trailing backslash; made on first use.
const std::string &TestFolder();
// A path in the folder that no earlier call gave: "<n>-<name>".
std::string NewTestPath(const char *name);

// `start`, then random bytes from `seed` up to `size` bytes in all.
std::string JunkBytes(unsigned seed, size_t size, const std::string &start);

void WriteFileBytes(const std::string &path, const std::string &bytes);
// The file's bytes, or "(no file)" when it cannot be read.
std::string ReadFileBytes(const std::string &path);
bool PathExists(const std::string &path);

// Writes `text` into a new file and makes it the settings file; returns its path.
std::string UseSettingsText(const char *name, const std::string &text);
void UseSettingsPath(const std::string &path);
void SetPlace(int32_t place, double value, int32_t decimals);

#endif
