#include "bench/process_pool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

extern char** environ;

namespace vimbrel::bench {
namespace {

std::vector<char*> argvOf(const std::vector<std::string>& argv)
{
    std::vector<char*> pointers;
    for (const std::string& arg : argv) {
        pointers.push_back(const_cast<char*>(arg.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Starts `argv` with standard error (and, without `outFd`, standard output)
// on /dev/null. Returns the pid or -1.
pid_t spawn(const std::vector<std::string>& argv, int outFd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    std::vector<char*> pointers = argvOf(argv);
    if (posix_spawnp(&pid, pointers[0], &actions, nullptr, pointers.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

ChildResult runChild(const std::vector<std::string>& argv)
{
    ChildResult result;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return result;
    }
    const pid_t pid = spawn(argv, pipeFds[1]);
    ::close(pipeFds[1]);
    char buffer[4096];
    ssize_t read = 0;
    while ((read = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        result.output.append(buffer, static_cast<size_t>(read));
    }
    ::close(pipeFds[0]);
    if (pid < 0) {
        return result;
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peakKilobytes = usage.ru_maxrss;
    return result;
}

double runAll(const std::vector<std::vector<std::string>>& commands, int parallel)
{
    const auto start = std::chrono::steady_clock::now();
    size_t next = 0;
    int running = 0;
    bool failed = false;
    while (next < commands.size() || running > 0) {
        while (running < parallel && next < commands.size()) {
            if (spawn(commands[next++], -1) < 0) {
                failed = true;
                continue;
            }
            ++running;
        }
        int status = 0;
        if (::wait(&status) > 0) {
            --running;
            failed = failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        } else {
            break;
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return failed ? -1 : elapsed.count();
}

bool onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (::access((folder + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace vimbrel::bench
