#include "childProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace platform::linux_backend {

namespace {

// Output beyond this is not a path; it is read and dropped.
constexpr std::size_t kLargestOutput = 64 * 1024;

}  // namespace

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path || program.empty()) return false;
    std::string folders = path;
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        // An empty entry means the current folder.
        const std::string candidate =
            (end > start ? folders.substr(start, end - start) : std::string(".")) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

ChildOutcome runChild(const std::vector<std::string>& argv,
                      const std::function<void()>& whileWaiting) {
    ChildOutcome outcome;
    if (argv.empty()) return outcome;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return outcome;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return outcome;
    }
    outcome.started = true;

    bool open = true;
    for (;;) {
        if (open) {
            pollfd readable{pipeEnds[0], POLLIN, 0};
            if (poll(&readable, 1, 20) > 0) {
                char buffer[4096];
                const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
                if (n > 0 && outcome.output.size() < kLargestOutput)
                    outcome.output.append(buffer, static_cast<std::size_t>(n));
                else if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
                    open = false;
            }
        } else {
            poll(nullptr, 0, 20);
        }
        int status = 0;
        const pid_t reaped = waitpid(child, &status, WNOHANG);
        if (reaped == child) {
            outcome.statusKnown = true;
            outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            if (!open) break;
            // Take what is still in the pipe, without waiting for a program the
            // child may have left holding it open.
            fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
            for (;;) {
                char buffer[4096];
                const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
                if (n <= 0) break;
                if (outcome.output.size() < kLargestOutput)
                    outcome.output.append(buffer, static_cast<std::size_t>(n));
            }
            break;
        }
        if (reaped < 0 && errno == ECHILD) {
            // Someone else reaped it; the output tells what was chosen.
            if (!open) break;
        }
        if (whileWaiting) whileWaiting();
    }
    close(pipeEnds[0]);
    return outcome;
}

}  // namespace platform::linux_backend
