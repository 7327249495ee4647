// The processing loop: source to plug-in to output, block by block, with the
// statistics, the meter readings and the progress bar along the way.
#pragma once

#include <atomic>
#include <cstdint>

#include "audioFile.h"
#include "effect.h"
#include "progressBar.h"
#include "statistics.h"

namespace render {

struct RenderTiming {
    double seconds = 0.0;  // wall time of the loop, file reading and writing included
};

// Renders everything the source holds. The effect must be started with the
// source's rate, channels and a block size of at least blockSize. Throws
// ToolError on a write failure and Interrupted when a stop was requested.
// framesDone, when given, counts the frames rendered (for a batch's progress,
// read by another thread). A key source (the side-chain's, at the source's
// rate) is read alongside and heard as silence after its end.
RenderTiming renderAll(Effect& effect, AudioSource& source, AudioFileWriter* writer,
                       int blockSize, RenderStatistics& statistics, ProgressBar& progress,
                       std::atomic<std::int64_t>* framesDone = nullptr, AudioSource* key = nullptr);

// Asked for by the interrupt signal handler; safe to call from it and from
// any thread.
void requestStop();
bool stopWasRequested();
// Throws Interrupted when a stop was requested (for the steps after the loop).
void checkStop();

struct Interrupted {};

}  // namespace render
