/*
 * Reading the window's settings and payout structure files without the
 * platform's profile functions, by the rules those functions follow as
 * measured here: byte-order marks, blanks around names and values, names in
 * any letter case, the first of duplicated sections and keys, quotes around a
 * value, values cut to the reader's buffer, integers that wrap at 32 bits.
 */
#ifndef OSTREL_CLI_PROFILE_TEXT_H
#define OSTREL_CLI_PROFILE_TEXT_H

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel
{

struct ProfileKey
{
    std::string Name;
    std::string Value;
    bool HasValue;
};

struct ProfileSection
{
    std::string Name;
    std::vector<ProfileKey> Keys;
};

struct ProfileText
{
    std::vector<ProfileSection> Sections;
};

ProfileText ParseProfileText(const std::string &bytes);

// What GetPrivateProfileString gives with the empty default and a buffer of
// `capacity` characters; false when the key is missing or has no value.
bool ProfileString(const ProfileText &profile, const char *section, const char *key, size_t capacity,
                   std::string &value);

// What GetPrivateProfileInt gives.
int32_t ProfileInteger(const ProfileText &profile, const char *section, const char *key, int32_t fallback);

} // namespace ostrel

#endif
