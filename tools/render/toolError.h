// The failures kvbr-render reports: one line to the user and a non-zero exit.
#pragma once

#include <stdexcept>
#include <string>

namespace render {

// Something in the world went wrong: a file, the plug-in, the disk.
struct ToolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The command line asked for something that cannot be done (exit status 2).
struct UsageError : ToolError {
    using ToolError::ToolError;
};

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

}  // namespace render
