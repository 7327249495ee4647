// The CLAP 1.2 binary interface, part three: the extensions this plug-in
// offers (audio ports, parameters, state, editor, timer and descriptor
// support, preset loading, the gain meter draft) and the host's that it uses.
// A plug-in extension's functions take the plug-in first, a host's the host.
#pragma once

#include <cstdint>

#include "clapCore.h"
#include "clapEvents.h"

namespace clapabi {

// ------------------------------------------------------------ audio ports

inline constexpr const char* kExtAudioPorts = "clap.audio-ports";

enum AudioPortFlags : std::uint32_t {
    kAudioPortIsMain = 1,
    kAudioPortSupports64Bits = 2,
    kAudioPortPrefers64Bits = 4,
    kAudioPortRequiresCommonSampleSize = 8,
};

inline constexpr const char* kPortStereo = "stereo";
inline constexpr const char* kPortMono = "mono";

struct AudioPortInfo {
    Id id;
    char name[kNameSize];
    std::uint32_t flags;
    std::uint32_t channelCount;
    const char* portType;
    Id inPlacePair;  // the opposite port sharing buffers, or kInvalidId
};

struct PluginAudioPorts {
    std::uint32_t (*count)(const Plugin* plugin, bool isInput);
    bool (*get)(const Plugin* plugin, std::uint32_t index, bool isInput, AudioPortInfo* info);
};

// ------------------------------------------------------------- parameters

inline constexpr const char* kExtParams = "clap.params";

enum ParamFlags : std::uint32_t {
    kParamIsStepped = 0x1,
    kParamIsPeriodic = 0x2,
    kParamIsHidden = 0x4,
    kParamIsReadonly = 0x8,
    kParamIsBypass = 0x10,
    kParamIsAutomatable = 0x20,
    kParamIsModulatable = 0x400,
    kParamRequiresProcess = 0x8000,
    kParamIsEnum = 0x10000,
};

enum ParamRescanFlags : std::uint32_t {
    kParamRescanValues = 1,
    kParamRescanText = 2,
    kParamRescanInfo = 4,
    kParamRescanAll = 8,
};

struct ParamInfo {
    Id id;
    std::uint32_t flags;
    void* cookie;
    char name[kNameSize];
    char module[kPathSize];
    double minValue;
    double maxValue;
    double defaultValue;
};

struct PluginParams {
    std::uint32_t (*count)(const Plugin* plugin);
    bool (*getInfo)(const Plugin* plugin, std::uint32_t index, ParamInfo* info);
    bool (*getValue)(const Plugin* plugin, Id paramId, double* value);
    bool (*valueToText)(const Plugin* plugin, Id paramId, double value, char* text,
                        std::uint32_t capacity);
    bool (*textToValue)(const Plugin* plugin, Id paramId, const char* text, double* value);
    // The audio thread while active, else the main thread; never beside process.
    void (*flush)(const Plugin* plugin, const InputEvents* in, const OutputEvents* out);
};

struct HostParams {
    void (*rescan)(const Host* host, std::uint32_t flags);
    void (*clear)(const Host* host, Id paramId, std::uint32_t flags);
    // Thread-safe, but never from the audio thread.
    void (*requestFlush)(const Host* host);
};

// ------------------------------------------------------------------ state

inline constexpr const char* kExtState = "clap.state";

struct OutputStream {
    void* ctx;
    // Bytes written, possibly fewer than asked; -1 on error.
    std::int64_t (*write)(const OutputStream* stream, const void* buffer, std::uint64_t size);
};

struct InputStream {
    void* ctx;
    // Bytes read, possibly fewer than asked; 0 at the end, -1 on error.
    std::int64_t (*read)(const InputStream* stream, void* buffer, std::uint64_t size);
};

struct PluginState {
    bool (*save)(const Plugin* plugin, const OutputStream* stream);
    bool (*load)(const Plugin* plugin, const InputStream* stream);
};

struct HostState {
    void (*markDirty)(const Host* host);
};

// ----------------------------------------------------------------- editor

inline constexpr const char* kExtGui = "clap.gui";
inline constexpr const char* kWindowApiX11 = "x11";
inline constexpr const char* kWindowApiWin32 = "win32";

struct Window {
    const char* api;
    union {
        void* cocoa;
        unsigned long x11;  // 8 bytes on Linux; never read on Windows
        void* win32;
        void* ptr;
    };
};

struct GuiResizeHints {
    bool canResizeHorizontally;
    bool canResizeVertically;
    bool preserveAspectRatio;
    std::uint32_t aspectRatioWidth;
    std::uint32_t aspectRatioHeight;
};

// All on the main thread; sizes in physical pixels for x11 and win32.
struct PluginGui {
    bool (*isApiSupported)(const Plugin* plugin, const char* api, bool isFloating);
    bool (*getPreferredApi)(const Plugin* plugin, const char** api, bool* isFloating);
    bool (*create)(const Plugin* plugin, const char* api, bool isFloating);
    void (*destroy)(const Plugin* plugin);
    bool (*setScale)(const Plugin* plugin, double scale);
    bool (*getSize)(const Plugin* plugin, std::uint32_t* width, std::uint32_t* height);
    bool (*canResize)(const Plugin* plugin);
    bool (*getResizeHints)(const Plugin* plugin, GuiResizeHints* hints);
    bool (*adjustSize)(const Plugin* plugin, std::uint32_t* width, std::uint32_t* height);
    bool (*setSize)(const Plugin* plugin, std::uint32_t width, std::uint32_t height);
    bool (*setParent)(const Plugin* plugin, const Window* window);
    bool (*setTransient)(const Plugin* plugin, const Window* window);
    void (*suggestTitle)(const Plugin* plugin, const char* title);
    bool (*show)(const Plugin* plugin);
    bool (*hide)(const Plugin* plugin);
};

struct HostGui {
    void (*resizeHintsChanged)(const Host* host);
    bool (*requestResize)(const Host* host, std::uint32_t width, std::uint32_t height);
    bool (*requestShow)(const Host* host);
    bool (*requestHide)(const Host* host);
    void (*closed)(const Host* host, bool wasDestroyed);
};

// ------------------------------------------ timers and file descriptors

inline constexpr const char* kExtTimerSupport = "clap.timer-support";
inline constexpr const char* kExtPosixFdSupport = "clap.posix-fd-support";

struct PluginTimerSupport {
    void (*onTimer)(const Plugin* plugin, Id timerId);
};

struct HostTimerSupport {
    bool (*registerTimer)(const Host* host, std::uint32_t periodMs, Id* timerId);
    bool (*unregisterTimer)(const Host* host, Id timerId);
};

enum PosixFdFlags : std::uint32_t {
    kFdRead = 1,
    kFdWrite = 2,
    kFdError = 4,
};

// Level-triggered: on_fd repeats while the condition holds.
struct PluginPosixFdSupport {
    void (*onFd)(const Plugin* plugin, int fd, std::uint32_t flags);
};

struct HostPosixFdSupport {
    bool (*registerFd)(const Host* host, int fd, std::uint32_t flags);
    bool (*modifyFd)(const Host* host, int fd, std::uint32_t flags);
    bool (*unregisterFd)(const Host* host, int fd);
};

// -------------------------------------------- thread check and the log

inline constexpr const char* kExtThreadCheck = "clap.thread-check";
inline constexpr const char* kExtLog = "clap.log";

struct HostThreadCheck {
    bool (*isMainThread)(const Host* host);
    bool (*isAudioThread)(const Host* host);
};

enum LogSeverity : std::int32_t {
    kLogDebug = 0,
    kLogInfo = 1,
    kLogWarning = 2,
    kLogError = 3,
    kLogFatal = 4,
    kLogHostMisbehaving = 5,
    kLogPluginMisbehaving = 6,
};

// Thread-safe, yet not real-time safe.
struct HostLog {
    void (*log)(const Host* host, std::int32_t severity, const char* message);
};

// ------------------------------------------------------ the meter (draft)

inline constexpr const char* kExtGainAdjustmentMetering = "clap.gain-adjustment-metering/0";

struct PluginGainAdjustmentMetering {
    // Audio thread: the gain change in dB at the end of the last block, <= 0.
    double (*get)(const Plugin* plugin);
};

// ---------------------------------------------------------- preset load

inline constexpr const char* kExtPresetLoad = "clap.preset-load/2";
inline constexpr const char* kExtPresetLoadCompat = "clap.preset-load.draft/2";

struct PluginPresetLoad {
    bool (*fromLocation)(const Plugin* plugin, std::uint32_t locationKind, const char* location,
                         const char* loadKey);
};

struct HostPresetLoad {
    void (*onError)(const Host* host, std::uint32_t locationKind, const char* location,
                    const char* loadKey, std::int32_t osError, const char* message);
    void (*loaded)(const Host* host, std::uint32_t locationKind, const char* location,
                   const char* loadKey);
};

}  // namespace clapabi
