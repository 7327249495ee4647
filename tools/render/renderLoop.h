// The processing loop: source to plug-in to output, block by block, with the
// statistics, the meter readings and the progress bar along the way.
#pragma once

#include "audioFile.h"
#include "pluginHost.h"
#include "progressBar.h"
#include "statistics.h"

namespace render {

struct RenderTiming {
    double seconds = 0.0;  // wall time of the loop, file reading and writing included
};

// Renders everything the source holds. The host must be started with the
// source's rate, channels and a block size of at least blockSize. Throws
// ToolError on a write failure and Interrupted when a stop was requested.
RenderTiming renderAll(PluginHost& host, AudioSource& source, AudioFileWriter* writer,
                       int blockSize, RenderStatistics& statistics, ProgressBar& progress);

// Asked for by the interrupt signal handler; safe to call from it.
void requestStop();
// Throws Interrupted when a stop was requested (for the steps after the loop).
void checkStop();

struct Interrupted {};

}  // namespace render
