// The path text routines and the settings path rule, as tables: null and
// empty texts, the last of several matches, a dot in a folder name, and
// module names at and beyond the path capacity.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "path_text.h"

namespace
{

TEST(PathText, BoundedLengthStopsAtTerminatorOrMaximum)
{
    EXPECT_EQ(0, BoundedLength(nullptr, 10));
    EXPECT_EQ(0, BoundedLength("abc", 0));
    EXPECT_EQ(0, BoundedLength("abc", -1));
    EXPECT_EQ(0, BoundedLength("", 10));
    EXPECT_EQ(3, BoundedLength("abc", 10));
    EXPECT_EQ(3, BoundedLength("abc", 3));
    EXPECT_EQ(2, BoundedLength("abc", 2));
    const char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(4, BoundedLength(unterminated, 4)) << "never reads past the maximum";
}

TEST(PathText, ReverseFindGivesTheLastMatch)
{
    EXPECT_EQ(-1, ReverseFind(nullptr, '.'));
    EXPECT_EQ(-1, ReverseFind("", '.'));
    EXPECT_EQ(-1, ReverseFind("abc", '.'));
    EXPECT_EQ(0, ReverseFind(".abc", '.'));
    EXPECT_EQ(7, ReverseFind("a.b.tar.gz", '.'));
    EXPECT_EQ(3, ReverseFind("abc.", '.'));
}

TEST(PathText, CopyStringCopiesTerminatorAndCountsCharacters)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(3, CopyString(buffer, "abc"));
    EXPECT_EQ(0, std::memcmp(buffer, "abc\0xxxx", 8)) << "nothing written past the terminator";
    EXPECT_EQ(0, CopyString(buffer, nullptr));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0, CopyString(nullptr, "abc"));
    EXPECT_EQ(0, CopyString(buffer, ""));
    EXPECT_STREQ("", buffer);
}

TEST(PathText, ReplaceExtensionTable)
{
    struct Row
    {
        const char *Path;
        const char *Extension;
        const char *Result;
    };
    const Row rows[] = {
        {"calc.exe", ".ini", "calc.ini"},
        {"calc.e", ".ini", "calc.ini"},
        {"calc.longer", ".ini", "calc.ini"},
        {"a.b.exe", ".pos", "a.b.pos"},
        {"calc", ".ini", "calc.ini"},
        {"calc.", ".ini", "calc.ini"},
        {"calc.exe", "", "calc"},
        {"calc.exe", nullptr, "calc"},
        {"", ".ini", ".ini"},
    };
    for (const Row &row : rows)
    {
        char path[32];
        std::strcpy(path, row.Path);
        EXPECT_EQ(static_cast<int32_t>(std::strlen(row.Result)), ReplaceExtension(path, row.Extension))
            << row.Path;
        EXPECT_STREQ(row.Result, path) << row.Path;
    }
    EXPECT_EQ(0, ReplaceExtension(nullptr, ".ini"));
}

// A module name of exactly `length` characters: a folder of x's and the
// file name at the end.
std::string NameOfLength(size_t length, const std::string &fileName)
{
    const std::string folder = "C:\\";
    return folder + std::string(length - folder.size() - fileName.size() - 1, 'x') + "\\" + fileName;
}

TEST(PathText, SettingsPathForModuleTable)
{
    struct Row
    {
        std::string Module;
        std::string Settings;
    };
    const std::string longest = NameOfLength(PathCapacity - 1, "calc.exe");
    // ".ini" lengthens ".e" by two characters and ".ex" by one.
    const std::string shortJustFits = NameOfLength(PathCapacity - 3, "calc.e");
    const std::string shortTooLong = NameOfLength(PathCapacity - 2, "calc.e");
    const std::string shorterJustFits = NameOfLength(PathCapacity - 2, "calc.ex");
    const Row rows[] = {
        {"D:\\Tools\\calc.exe", "D:\\Tools\\calc.ini"},
        {"D:\\Tools\\calc.v2.exe", "D:\\Tools\\calc.v2.ini"},
        {"D:\\calc.v2\\calc", "D:\\calc.v2\\calc.ini"},
        {"D:\\Tools\\calc", "D:\\Tools\\calc.ini"},
        {"calc.exe", "calc.ini"},
        {"D:\\Tools\\calc.e", "D:\\Tools\\calc.ini"},
        {"", ""},
        {longest, longest.substr(0, longest.size() - 3) + "ini"},
        {longest + "x", ""},
        {std::string(1000, 'y'), ""},
        {shortJustFits, shortJustFits.substr(0, shortJustFits.size() - 1) + "ini"},
        {shortTooLong, ""},
        {shorterJustFits, shorterJustFits.substr(0, shorterJustFits.size() - 2) + "ini"},
        {NameOfLength(PathCapacity - 4, "calc"), ""},
        {NameOfLength(PathCapacity - 5, "calc"), NameOfLength(PathCapacity - 5, "calc") + ".ini"},
    };
    for (const Row &row : rows)
    {
        char path[PathCapacity + 16];
        std::memset(path, 'z', sizeof path);
        SettingsPathForModule(row.Module.c_str(), path);
        EXPECT_EQ(row.Settings, path) << row.Module.size() << " characters: " << row.Module;
        EXPECT_LT(std::strlen(path), static_cast<size_t>(PathCapacity));
        EXPECT_EQ('z', path[PathCapacity]) << "wrote beyond the path capacity";
    }
    char path[PathCapacity] = "old";
    SettingsPathForModule(nullptr, path);
    EXPECT_STREQ("", path);
    SettingsPathForModule("D:\\calc.exe", nullptr);
}

TEST(PathText, SplitDirectoryKeepsTheLastBackslash)
{
    struct Row
    {
        const char *Path;
        const char *Directory;
    };
    const Row rows[] = {
        {"D:\\Tools\\calc.ini", "D:\\Tools\\"},
        {"D:\\calc.ini", "D:\\"},
        {"\\\\server\\share\\calc.ini", "\\\\server\\share\\"},
        {"D:\\Tools\\", "D:\\Tools\\"},
        {"calc.ini", ""},
        {"", ""},
        {nullptr, ""},
    };
    for (const Row &row : rows)
    {
        char directory[DirectoryCapacity] = "old";
        SplitDirectory(row.Path, directory);
        EXPECT_STREQ(row.Directory, directory) << (row.Path ? row.Path : "(null)");
    }
    SplitDirectory("D:\\calc.ini", nullptr);
}

} // namespace
