/*
 * Path text routines and the settings path rule. Every routine bounds its
 * work by PathCapacity or by a terminator, never by trust in a caller's
 * buffer beyond what the header states.
 */
#include "path_text.h"

#include <cstring>

int32_t BoundedLength(const char *text, int32_t maximum)
{
    if (text == nullptr || maximum <= 0)
        return 0;
    int32_t length = 0;
    while (length < maximum && text[length] != '\0')
        ++length;
    return length;
}

int32_t ReverseFind(const char *text, char character)
{
    if (text == nullptr)
        return -1;
    int32_t found = -1;
    for (int32_t index = 0; text[index] != '\0'; ++index)
    {
        if (text[index] == character)
            found = index;
    }
    return found;
}

int32_t CopyString(char *destination, const char *source)
{
    if (destination == nullptr)
        return 0;
    int32_t length = 0;
    if (source != nullptr)
    {
        for (; source[length] != '\0'; ++length)
            destination[length] = source[length];
    }
    destination[length] = '\0';
    return length;
}

int32_t ReplaceExtension(char *path, const char *extension)
{
    if (path == nullptr)
        return 0;
    int32_t stem = ReverseFind(path, '.');
    if (stem < 0)
        stem = static_cast<int32_t>(std::strlen(path));
    return stem + CopyString(path + stem, extension);
}

/*
 * Only the file name's own extension is replaced: a dot in a folder name
 * (D:\calc.v2\calc) must not cut the path and put the settings in another
 * folder. A module name that fills PathCapacity was cut by the platform, and
 * ".ini" may lengthen a short extension past it; in both cases the program
 * keeps no settings rather than writing to a wrong or cut path.
 */
void SettingsPathForModule(const char *moduleName, char *settingsPath)
{
    static const char SettingsExtension[] = ".ini";
    if (settingsPath == nullptr)
        return;
    settingsPath[0] = '\0';
    const int32_t length = BoundedLength(moduleName, PathCapacity);
    if (length == 0 || length >= PathCapacity)
        return;
    const int32_t nameStart = ReverseFind(moduleName, '\\') + 1;
    const int32_t dot = ReverseFind(moduleName + nameStart, '.');
    const int32_t stem = dot < 0 ? length : nameStart + dot;
    if (stem + static_cast<int32_t>(sizeof SettingsExtension) > PathCapacity)
        return;
    CopyString(settingsPath, moduleName);
    ReplaceExtension(settingsPath + nameStart, SettingsExtension);
}

void SplitDirectory(const char *path, char *directory)
{
    if (directory == nullptr)
        return;
    directory[0] = '\0';
    const int32_t kept = ReverseFind(path, '\\') + 1;
    if (kept == 0 || kept >= DirectoryCapacity)
        return;
    std::memcpy(directory, path, static_cast<size_t>(kept));
    directory[kept] = '\0';
}
