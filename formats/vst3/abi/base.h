// The VST 3 interface as this plug-in speaks it, declared in the project's own
// headers from the facts sheet: the basic types, the result codes, the IDs and
// the root interface. Every interface is a chain of pure virtual methods with
// no data and no virtual destructor: only the slot positions matter to a host,
// and a destructor would shift every slot after it.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#define KVBR_VST3_CALL __stdcall
#else
#define KVBR_VST3_CALL
#endif

namespace vst3 {

using int16 = std::int16_t;
using int32 = std::int32_t;
using int64 = std::int64_t;
using uint32 = std::uint32_t;
using uint64 = std::uint64_t;
using tresult = std::int32_t;
// One byte, never bool: the host's bool may be another size.
using TBool = std::uint8_t;
using char16 = char16_t;
using String128 = char16[128];
using FIDString = const char*;
using ParamID = std::uint32_t;
using ParamValue = double;
using SpeakerArrangement = std::uint64_t;

// The result codes: COM's values on Windows, small numbers elsewhere. Success
// is 0 on both, so a result is never a boolean.
#if defined(_WIN32)
inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
inline constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
inline constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
inline constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
inline constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
inline constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kNoInterface = -1;
inline constexpr tresult kInvalidArgument = 2;
inline constexpr tresult kNotImplemented = 3;
inline constexpr tresult kInternalError = 4;
inline constexpr tresult kNotInitialized = 5;
inline constexpr tresult kOutOfMemory = 6;
#endif
inline constexpr tresult kResultTrue = kResultOk;

// An interface or class ID: 16 bytes, compared as bytes. IDs are written as
// four 32-bit words; Windows stores the first word and the two halves of the
// second little-endian (a COM GUID), Linux stores all of it big-endian.
struct Uid {
    std::uint8_t bytes[16];
};
static_assert(sizeof(Uid) == 16 && alignof(Uid) == 1);

constexpr Uid uidOf(std::uint32_t l1, std::uint32_t l2, std::uint32_t l3, std::uint32_t l4) {
    Uid id{};
    const std::uint32_t words[4] = {l1, l2, l3, l4};
    for (int w = 0; w < 4; ++w)
        for (int b = 0; b < 4; ++b)
            id.bytes[4 * w + b] = static_cast<std::uint8_t>(words[w] >> (24 - 8 * b));
#if defined(_WIN32)
    const Uid big = id;
    for (int b = 0; b < 4; ++b) id.bytes[b] = big.bytes[3 - b];
    id.bytes[4] = big.bytes[5];
    id.bytes[5] = big.bytes[4];
    id.bytes[6] = big.bytes[7];
    id.bytes[7] = big.bytes[6];
#endif
    return id;
}

inline bool sameUid(const Uid& a, const Uid& b) { return std::memcmp(a.bytes, b.bytes, 16) == 0; }

// Slots 0-2 of every interface.
class FUnknown {
public:
    // Success: *obj is the interface, counted once more. Failure: null and kNoInterface.
    virtual tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) = 0;
    // Both answer the new count; release deletes the object at 0.
    virtual uint32 KVBR_VST3_CALL addRef() = 0;
    virtual uint32 KVBR_VST3_CALL release() = 0;
    static constexpr Uid iid = uidOf(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

protected:
    ~FUnknown() = default;
};

// The base of the component and of the controller.
class IPluginBase : public FUnknown {
public:
    // context: the host application object (borrowed).
    virtual tresult KVBR_VST3_CALL initialize(FUnknown* context) = 0;
    virtual tresult KVBR_VST3_CALL terminate() = 0;
    static constexpr Uid iid = uidOf(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

protected:
    ~IPluginBase() = default;
};

// The host's state streams. read and write may move fewer bytes than asked:
// the count says how many.
class IBStream : public FUnknown {
public:
    enum SeekMode : int32 { kSeekSet = 0, kSeekCur = 1, kSeekEnd = 2 };
    virtual tresult KVBR_VST3_CALL read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
    virtual tresult KVBR_VST3_CALL write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
    virtual tresult KVBR_VST3_CALL seek(int64 pos, int32 mode, int64* result) = 0;
    virtual tresult KVBR_VST3_CALL tell(int64* pos) = 0;
    static constexpr Uid iid = uidOf(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

protected:
    ~IBStream() = default;
};

}  // namespace vst3
