/*
 * The storage tests' scratch folder and set-up helpers. Removal goes through the wide
 * functions with the \\?\ prefix, since a test builds paths beyond 260
 * characters, and clears read-only marks first.
 */
#include <windows.h>

#include "storage_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "path_text.h"
#include "tournament_state.h"

namespace
{

std::wstring Widen(const std::string &text)
{
    return std::wstring(text.begin(), text.end());
}

void RemoveTree(const std::wstring &folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

class TestFolderCleanup : public ::testing::Environment
{
  public:
    void TearDown() override
    {
        std::string folder = TestFolder();
        folder.pop_back();
        RemoveTree(L"\\\\?\\" + Widen(folder));
    }
};

[[maybe_unused]] ::testing::Environment *const Cleanup = ::testing::AddGlobalTestEnvironment(new TestFolderCleanup);

} // namespace

const std::string &TestFolder()
{
    static const std::string folder = [] {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        std::ostringstream name;
        name << temp << "ostrel-storage-" << GetCurrentProcessId() << "-" << GetTickCount() << "\\";
        CreateDirectoryA(name.str().c_str(), nullptr);
        return name.str();
    }();
    return folder;
}

std::string NewTestPath(const char *name)
{
    static int uses = 0;
    return TestFolder() + std::to_string(++uses) + "-" + name;
}

void WriteFileBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "(no file)";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool PathExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void UseSettingsPath(const std::string &path)
{
    CopyString(TournamentState.SettingsPath, path.c_str());
}

std::string UseSettingsText(const char *name, const std::string &text)
{
    const std::string path = NewTestPath(name);
    WriteFileBytes(path, text);
    UseSettingsPath(path);
    return path;
}

void SetPlace(int32_t place, double value, int32_t decimals)
{
    TournamentState.Payouts[place - 1] = value;
    TournamentState.PayoutDecimals[place - 1] = decimals;
}

std::string JunkBytes(unsigned seed, size_t size, const std::string &start)
{
    std::mt19937 random(seed);
    std::string bytes = start;
    while (bytes.size() < size)
        bytes += static_cast<char>(random() & 0xFF);
    return bytes;
}
