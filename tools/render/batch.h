// Several files in one command: each through its own instance of the
// effect, several at once on the machine's cores, one progress bar for the
// batch and one line per file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "options.h"

namespace render {

// Where each input's output goes: DIR/<input's name> with --out-dir, else
// beside the input with "-brassel" before the extension.
std::vector<std::string> batchOutputs(const Options& options);

// Renders options.files into batchOutputs(options) with options.jobs workers
// (0: one per core), through the plug-in at pluginPath or, without one, the
// built-in compressor. Settings and the effect are checked once before any
// file is touched (UsageError, ToolError); after that a file that fails is
// reported on standard error and the others still complete. Every output is
// staged and renamed when complete, so a failed file, an interrupted batch
// (Ctrl+C) or a full disk leaves no partial file. Answers the exit status: 0,
// 1 when any file failed, kExitInterrupted when interrupted.
int runBatch(const Options& options, const std::optional<std::string>& pluginPath);

// The output's name for an input rendered on its own or beside itself.
std::string defaultOutputFor(const std::string& input);

}  // namespace render
