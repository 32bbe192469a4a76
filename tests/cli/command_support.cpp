/*
 * Processes through the C library's popen, the same way on Linux and under
 * Wine, where the command line goes through cmd; standard error is sent to a
 * file so that the two streams stay apart.
 */
#include "command_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#else
#include <sys/wait.h>
#endif

std::string CommandPath;

namespace
{

std::string TemporaryFolder()
{
#ifdef _WIN32
    const char *folder = std::getenv("TEMP");
    return std::string(folder != nullptr ? folder : ".") + "\\";
#else
    const char *folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/";
#endif
}

std::string FileText(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

std::string TemporaryFile(const std::string &name, const std::string &bytes)
{
    static int count = 0;
    const std::string path = TemporaryFolder() + "ostrel-icm-test-" + std::to_string(++count) + "-" + name;
    std::ofstream(path, std::ios::binary) << bytes;
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
    FILE *pipe = popen(line.c_str(), mode);
    if (pipe == nullptr)
        return run;
    char block[4096];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, pipe)) > 0)
        run.Out.append(block, got);
    const int status = pclose(pipe);
#ifdef _WIN32
    run.Status = status;
#else
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    run.Err = FileText(errors);
    std::remove(errors.c_str());
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
    CommandPath = argv[1];
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
