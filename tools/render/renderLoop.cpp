#include "renderLoop.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <vector>

namespace render {

namespace {

// Lock-free, so the signal handler may set it; every worker of a batch reads it.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

void requestStop() { stopRequested.store(true); }

bool stopWasRequested() { return stopRequested.load(); }

void checkStop() {
    if (stopRequested.load()) throw Interrupted{};
}

RenderTiming renderAll(Effect& effect, AudioSource& source, AudioFileWriter* writer,
                       int blockSize, RenderStatistics& statistics, ProgressBar& progress,
                       std::atomic<std::int64_t>* framesDone, AudioSource* key) {
    const int channels = source.info().channels;
    const int keyChannels = key ? key->info().channels : 0;
    std::vector<double> keyFrames(static_cast<size_t>(blockSize) * keyChannels);
    std::vector<std::vector<double>> keyPlanes(keyChannels, std::vector<double>(blockSize));
    std::vector<const double*> keyPointers;
    for (auto& plane : keyPlanes) keyPointers.push_back(plane.data());
    std::vector<double> in(static_cast<size_t>(blockSize) * channels);
    std::vector<double> out(in.size());
    std::vector<std::vector<double>> inPlanes(channels, std::vector<double>(blockSize));
    std::vector<std::vector<double>> outPlanes(channels, std::vector<double>(blockSize));
    std::vector<const double*> inPointers;
    std::vector<double*> outPointers;
    for (int c = 0; c < channels; ++c) {
        inPointers.push_back(inPlanes[c].data());
        outPointers.push_back(outPlanes[c].data());
    }

    const auto start = std::chrono::steady_clock::now();
    std::int64_t done = 0;
    for (;;) {
        checkStop();
        const int frames = source.read(in.data(), blockSize);
        if (frames <= 0) break;
        for (int f = 0; f < frames; ++f)
            for (int c = 0; c < channels; ++c) inPlanes[c][f] = in[f * channels + c];
        if (key) {
            const int heard = std::max(0, key->read(keyFrames.data(), frames));
            for (int f = 0; f < frames; ++f)
                for (int c = 0; c < keyChannels; ++c) keyPlanes[c][f] = f < heard ? keyFrames[f * keyChannels + c] : 0.0;
        }
        effect.process(inPointers, outPointers, frames, key ? &keyPointers : nullptr);
        for (int f = 0; f < frames; ++f)
            for (int c = 0; c < channels; ++c) out[f * channels + c] = outPlanes[c][f];
        statistics.addBlock(in.data(), out.data(), frames, effect.meterReading());
        if (writer) writer->write(out.data(), frames);
        done += frames;
        progress.update(done);
        if (framesDone) framesDone->store(done, std::memory_order_relaxed);
    }
    progress.finish();
    RenderTiming timing;
    timing.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return timing;
}

}  // namespace render
