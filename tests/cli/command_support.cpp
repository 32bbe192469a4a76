/*
 * Processes through the C library's popen, the same way on Linux and under
 * Wine, where the command line goes through cmd; standard error is sent to a
 * file so that the two streams stay apart. Command lines and file names are
 * UTF-8 here; on Windows they go to the system as UTF-16 (_wpopen, _wfopen),
 * as a console hands what a person types, whatever the ANSI code page of
 * this program (the window's, which some of its tests compare with).
 */
#include "command_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

std::string CommandPath;

namespace
{

#ifdef _WIN32
std::wstring Wide(const std::string &text, UINT page = CP_UTF8)
{
    const int count = MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), &wide[0], count);
    return wide;
}

std::string Utf8(const std::wstring &wide)
{
    const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string text(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], count, nullptr, nullptr);
    return text;
}
#endif

std::string TemporaryFolder()
{
#ifdef _WIN32
    const wchar_t *folder = _wgetenv(L"TEMP");
    return (folder != nullptr ? Utf8(folder) : std::string(".")) + "\\";
#else
    const char *folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/";
#endif
}

std::string FileText(const std::string &path)
{
#ifdef _WIN32
    FILE *file = _wfopen(Wide(path).c_str(), L"rb");
#else
    FILE *file = std::fopen(path.c_str(), "rb");
#endif
    std::string text;
    if (file == nullptr)
        return text;
    char block[4096];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        text.append(block, got);
    std::fclose(file);
    return text;
}

void RemoveFile(const std::string &path)
{
#ifdef _WIN32
    _wremove(Wide(path).c_str());
#else
    std::remove(path.c_str());
#endif
}

} // namespace

std::string TemporaryFile(const std::string &name, const std::string &bytes)
{
    // The process id too: CTest runs the test programs that share this file
    // side by side, and their counts start alike.
#ifdef _WIN32
    const long process = static_cast<long>(_getpid());
#else
    const long process = static_cast<long>(getpid());
#endif
    static int count = 0;
    const std::string path = TemporaryFolder() + "ostrel-icm-test-" + std::to_string(process) + "-" +
                             std::to_string(++count) + "-" + name;
#ifdef _WIN32
    FILE *file = _wfopen(Wide(path).c_str(), L"wb");
#else
    FILE *file = std::fopen(path.c_str(), "wb");
#endif
    if (file != nullptr)
    {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return path;
}

namespace
{

CommandRun RunOnce(const std::string &arguments)
{
    const std::string errors = TemporaryFile("stderr.txt", "");
    std::string line = "\"" + CommandPath + "\" " + arguments + " 2>\"" + errors + "\"";
#ifdef _WIN32
    line = "\"" + line + "\""; // cmd /c drops the outer pair of quotes
    const char *mode = "rb";
#else
    const char *mode = "r";
#endif
    CommandRun run = {-1, "", ""};
#ifdef _WIN32
    FILE *pipe = _wpopen(Wide(line).c_str(), Wide(mode).c_str());
#else
    FILE *pipe = popen(line.c_str(), mode);
#endif
    if (pipe == nullptr)
        return run;
    char block[4096];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, pipe)) > 0)
        run.Out.append(block, got);
#ifdef _WIN32
    const int status = _pclose(pipe);
#else
    const int status = pclose(pipe);
#endif
#ifdef _WIN32
    run.Status = status;
#else
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    run.Err = FileText(errors);
    RemoveFile(errors);
    return run;
}

bool NotStarted(const CommandRun &run)
{
    if (!run.Out.empty())
        return false;
    return (run.Status == -1 && run.Err.empty()) ||
           (run.Status == 9009 && run.Err.rfind("Can't recognize", 0) == 0);
}

} // namespace

// Under Wine, popen now and then fails to start cmd (status -1, nothing
// written), or cmd fails to start the program it was given (status 9009,
// "Can't recognize ..." on standard error, under load); such a run is made
// again, a few times at most. The command itself exits with 0, 1 or 2.
CommandRun RunCommand(const std::string &arguments)
{
    CommandRun run = RunOnce(arguments);
    for (int again = 0; again < 3 && NotStarted(run); ++again)
        run = RunOnce(arguments);
    return run;
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s PATH-OF-OSTREL-ICM\n", argv[0]);
        return 2;
    }
#ifdef _WIN32
    CommandPath = Utf8(Wide(argv[1], CP_ACP)); // the program's argument, in its ANSI code page
#else
    CommandPath = argv[1];
#endif
    return RUN_ALL_TESTS();
}

void ExpectRefused(const std::string &arguments, const std::string &says)
{
    SCOPED_TRACE(arguments);
    const CommandRun run = RunCommand(arguments);
    EXPECT_EQ(2, run.Status);
    EXPECT_EQ("", run.Out);
    EXPECT_EQ(0u, run.Err.find("ostrel-icm: error: ")) << run.Err;
    EXPECT_EQ(1, std::count(run.Err.begin(), run.Err.end(), '\n')) << run.Err;
    EXPECT_NE(std::string::npos, run.Err.find(says)) << run.Err;
}
