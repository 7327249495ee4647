// What the CLAP suites share: the two plug-ins' ids, the parameter calls and
// state streams a host makes, and a check that no call broke a thread rule.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "clapTestHost.h"

inline constexpr const char* kStereoId = "com.korvane.brassel";
inline constexpr const char* kMonoId = "com.korvane.brassel.mono";
// The parameter ids, which never change.
enum ParamId : clapabi::Id {
    kProcess = 0, kRatio = 2, kTime = 4, kCompression = 5, kOutput = 6,
    kOversampling = 1003, kMix = 1004, kSidechainFilter = 1005, kKey = 1006
};

// The embedded editor's window system here.
inline const char* nativeEditorApi() {
#if defined(_WIN32)
    return clapabi::kWindowApiWin32;
#else
    return clapabi::kWindowApiX11;
#endif
}

inline const clapabi::PluginParams& paramsOf(TestClapHost& host) {
    return *host.extension<clapabi::PluginParams>(clapabi::kExtParams);
}

inline double valueOf(TestClapHost& host, clapabi::Id id) {
    double value = -1.0;
    EXPECT_TRUE(paramsOf(host).getValue(host.plugin, id, &value)) << id;
    return value;
}

// Values sent the way an inactive host sends them: flush on the main thread.
inline void flushValues(TestClapHost& host, const std::vector<std::pair<clapabi::Id, double>>& values,
                        OutputEventList* out = nullptr) {
    InputEventList in;
    for (const auto& [id, value] : values) in.add(0, id, value);
    OutputEventList ignored;
    paramsOf(host).flush(host.plugin, in.list(), (out ? out : &ignored)->list());
}

// Streams that move at most `chunk` bytes a call, and fail (-1) after
// `failAfter` bytes if that is not negative.
struct ByteStream {
    std::vector<unsigned char> bytes;
    std::size_t position = 0;
    std::size_t chunk = 1 << 20;
    long failAfter = -1;
    bool overReport = false;  // claims one byte more than it moved
    clapabi::InputStream in{this, read};
    clapabi::OutputStream out{this, write};

    static std::int64_t read(const clapabi::InputStream* s, void* buffer, std::uint64_t size) {
        auto* self = static_cast<ByteStream*>(s->ctx);
        if (self->failAfter >= 0 && self->position >= static_cast<std::size_t>(self->failAfter)) return -1;
        std::size_t n = std::min<std::size_t>({static_cast<std::size_t>(size), self->chunk,
                                               self->bytes.size() - self->position});
        if (n == 0) return 0;
        std::memcpy(buffer, self->bytes.data() + self->position, n);
        self->position += n;
        return static_cast<std::int64_t>(n) + (self->overReport && n ? 1 : 0);
    }
    static std::int64_t write(const clapabi::OutputStream* s, const void* buffer, std::uint64_t size) {
        auto* self = static_cast<ByteStream*>(s->ctx);
        if (self->failAfter >= 0 && self->bytes.size() >= static_cast<std::size_t>(self->failAfter)) return -1;
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), self->chunk);
        const auto* from = static_cast<const unsigned char*>(buffer);
        self->bytes.insert(self->bytes.end(), from, from + n);
        return static_cast<std::int64_t>(n);
    }
};

inline const clapabi::PluginState& stateOf(TestClapHost& host) {
    return *host.extension<clapabi::PluginState>(clapabi::kExtState);
}

inline std::vector<unsigned char> savedState(TestClapHost& host) {
    ByteStream stream;
    EXPECT_TRUE(stateOf(host).save(host.plugin, &stream.out));
    return stream.bytes;
}

inline bool loadState(TestClapHost& host, const std::vector<unsigned char>& bytes, std::size_t chunk = 1 << 20) {
    ByteStream stream;
    stream.bytes = bytes;
    stream.chunk = chunk;
    return stateOf(host).load(host.plugin, &stream.in);
}

// Every suite ends with this: the plug-in called nothing from a forbidden thread.
#define EXPECT_NO_THREAD_VIOLATIONS(host) \
    EXPECT_EQ((host).violations(), std::vector<std::string>{}) << "thread rules broken"
