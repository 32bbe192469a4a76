/*
 * The profile rules: a file is split into lines at '\n' (at '\r' when it has
 * no '\n'), each line trimmed; "[name]" opens a section, "name=value" is a
 * key. Lookups find the first section of a name and the first key in it, and
 * compare names as C strings without regard to letter case.
 */
#include "profile_text.h"

namespace ostrel
{
namespace
{

// Blanks as the profile reader trims them: the C whitespace characters and
// the old end-of-file mark, but not the no-break space.
bool IsProfileSpace(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u == ' ' || (u >= '\t' && u <= '\r') || u == 0x1A;
}

// Names and values end at a NUL, as the reader's C strings do.
std::string UpToNul(const std::string &text)
{
    return text.substr(0, text.find('\0'));
}

// A UTF-16 file read as text: its characters beyond ASCII can never form a
// name the files use nor a number, so each becomes one byte that is neither.
std::string FromUtf16(const std::string &bytes, size_t start, bool littleEndian)
{
    std::string text;
    for (size_t i = start; i + 1 < bytes.size(); i += 2)
    {
        const unsigned low = static_cast<unsigned char>(bytes[littleEndian ? i : i + 1]);
        const unsigned high = static_cast<unsigned char>(bytes[littleEndian ? i + 1 : i]);
        const unsigned unit = high << 8 | low;
        text += unit < 0x80 ? static_cast<char>(unit) : '\x7F';
    }
    return text;
}

std::string DecodedText(const std::string &bytes)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return bytes.substr(3);
    if (bytes.compare(0, 2, "\xFF\xFE") == 0)
        return FromUtf16(bytes, 2, true);
    if (bytes.compare(0, 2, "\xFE\xFF") == 0)
        return FromUtf16(bytes, 2, false);
    return bytes;
}

void Trim(const std::string &text, size_t &begin, size_t &end)
{
    while (begin < end && IsProfileSpace(text[begin]))
        begin += 1;
    while (end > begin && IsProfileSpace(text[end - 1]))
        end -= 1;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string &stored, const char *wanted)
{
    size_t i = 0;
    for (; i < stored.size() && wanted[i] != '\0'; ++i)
        if (Lower(stored[i]) != Lower(wanted[i]))
            return false;
    return i == stored.size() && wanted[i] == '\0';
}

const ProfileKey *FindKey(const ProfileText &profile, const char *section, const char *key)
{
    for (const ProfileSection &candidate : profile.Sections)
    {
        if (candidate.Name.empty() || !SameName(candidate.Name, section))
            continue;
        for (const ProfileKey &entry : candidate.Keys)
            if (SameName(entry.Name, key))
                return &entry;
        return nullptr;
    }
    return nullptr;
}

void AddLine(ProfileText &profile, const std::string &text, size_t begin, size_t end)
{
    if (text[begin] == '[')
    {
        size_t close = end - 1;
        while (close > begin && text[close] != ']')
            close -= 1;
        if (close > begin)
        {
            size_t nameBegin = begin + 1;
            size_t nameEnd = close;
            Trim(text, nameBegin, nameEnd);
            profile.Sections.push_back({UpToNul(text.substr(nameBegin, nameEnd - nameBegin)), {}});
            return;
        }
    }
    const size_t equals = text.find('=', begin);
    ProfileKey key = {};
    size_t nameEnd = end;
    if (equals != std::string::npos && equals < end)
    {
        nameEnd = equals;
        size_t valueBegin = equals + 1;
        size_t valueEnd = end;
        Trim(text, valueBegin, valueEnd);
        key.Value = UpToNul(text.substr(valueBegin, valueEnd - valueBegin));
        key.HasValue = true;
    }
    size_t nameBegin = begin;
    Trim(text, nameBegin, nameEnd);
    key.Name = UpToNul(text.substr(nameBegin, nameEnd - nameBegin));
    profile.Sections.back().Keys.push_back(key);
}

} // namespace

ProfileText ParseProfileText(const std::string &bytes)
{
    const std::string text = DecodedText(bytes);
    ProfileText profile;
    profile.Sections.push_back({"", {}}); // keys before any section; never found
    size_t start = 0;
    while (start < text.size())
    {
        size_t next = text.find('\n', start);
        if (next == std::string::npos)
            next = text.find('\r', start);
        next = next == std::string::npos ? text.size() : next + 1;
        size_t begin = start;
        size_t end = next;
        start = next;
        Trim(text, begin, end);
        if (begin < end)
            AddLine(profile, text, begin, end);
    }
    return profile;
}

/*
 * A value in matching quotes loses them; the closing one is dropped from the
 * copy as long as the value fits the buffer, even when the copy was cut.
 */
bool ProfileString(const ProfileText &profile, const char *section, const char *key, size_t capacity,
                   std::string &value)
{
    value.clear();
    const ProfileKey *found = FindKey(profile, section, key);
    if (found == nullptr || !found->HasValue || capacity == 0)
        return false;
    std::string text = found->Value;
    const bool quoted = text.size() > 1 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0];
    if (quoted)
        text.erase(0, 1);
    value = text.substr(0, capacity - 1);
    if (quoted && capacity >= text.size() && !value.empty())
        value.pop_back();
    return !value.empty();
}

/*
 * The text of at most 29 characters, blanks and controls skipped, an optional
 * sign, a "0x", "0o" or "0b" base, then digits of that base as far as they go,
 * gathered in 32 bits that wrap. An empty value gives the fallback.
 */
int32_t ProfileInteger(const ProfileText &profile, const char *section, const char *key, int32_t fallback)
{
    std::string text;
    if (!ProfileString(profile, section, key, 30, text))
        return fallback;
    size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ')
        at += 1;
    bool minus = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        minus = text[at++] == '-';
    uint32_t base = 10;
    if (at + 1 < text.size() && text[at] == '0')
    {
        const char mark = text[at + 1];
        base = mark == 'x' ? 16 : mark == 'o' ? 8 : mark == 'b' ? 2 : 10;
        at += base != 10 ? 2 : 0;
    }
    uint32_t total = 0;
    for (; at < text.size(); ++at)
    {
        const char c = text[at];
        uint32_t digit = 99;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'z')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return static_cast<int32_t>(minus ? 0u - total : total);
}

} // namespace ostrel
