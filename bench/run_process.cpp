#include "run_process.h"

#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

void RunProcesses(benchmark::State &state, std::vector<std::string> arguments)
{
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1 /* O_WRONLY */, 0);
    for (auto _ : state)
    {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
            waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        {
            state.SkipWithError("ostrel-icm did not run");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}
