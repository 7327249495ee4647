// What a command-line tool needs to know about the process it runs in.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// The folder holding the running executable, or empty when it cannot be told.
std::string executableFolder();
// Whether the stream writes to an interactive terminal.
bool isTerminal(std::FILE* stream);
// The width of the terminal behind the stream, or 80 when unknown.
int terminalColumns(std::FILE* stream);
// The value of an environment variable; empty when it is unset.
std::string environmentVariable(const char* name);

}  // namespace platform
