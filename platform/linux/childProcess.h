// Running a helper program (a dialog tool) and reading what it prints, while
// the editor keeps repainting.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform::linux_backend {

struct ChildOutcome {
    bool started = false;
    // False when the exit status could not be learnt (a host that reaps every
    // child itself, or ignores SIGCHLD).
    bool statusKnown = false;
    int exitCode = -1;
    std::string output;  // standard output
};

// Starts argv[0], found on $PATH, with standard input from /dev/null, standard
// output captured and standard error discarded, and waits for it, calling
// `whileWaiting` about every 20 ms.
ChildOutcome runChild(const std::vector<std::string>& argv,
                      const std::function<void()>& whileWaiting);

// True when `program` is an executable file in a folder of $PATH.
bool onPath(const std::string& program);

}  // namespace platform::linux_backend
