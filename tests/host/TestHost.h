// A small VST 2.x host for tests: loads the built plug-in with dlopen, answers
// the host callback and records every call the plug-in makes.
#pragma once

#include <string>
#include <vector>

#include "formats/vst2/aeffect.h"

struct HostCall {
    vst2::int32 opcode;
    vst2::int32 index;
    vst2::intptr value;
    float opt;
    std::string text;  // for calls that pass a text (canDo)
};

class TestHost {
public:
    explicit TestHost(std::string libraryPath = KVBR_PLUGIN_PATH);
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // Loads the library and calls the named entry point; null when it answers null.
    vst2::AEffect* open(const char* entryName = "VSTPluginMain");
    vst2::intptr dispatch(vst2::int32 opcode, vst2::int32 index = 0, vst2::intptr value = 0,
                          void* ptr = nullptr, float opt = 0.0f);
    // effClose; the record is gone afterwards.
    void close();
    std::string text(vst2::int32 opcode, vst2::int32 index = 0);
    int countCalls(vst2::int32 opcode) const;

    vst2::AEffect* effect = nullptr;
    std::vector<HostCall> calls;
    vst2::intptr versionAnswer = 2400;
    vst2::intptr pinConnectedAnswer = 0;  // 0 means connected
    vst2::intptr canDoAnswer = 0;

private:
    static vst2::intptr callback(vst2::AEffect* effect, vst2::int32 opcode, vst2::int32 index,
                                 vst2::intptr value, void* ptr, float opt);
    vst2::intptr answer(vst2::int32 opcode, vst2::int32 index, vst2::intptr value, void* ptr,
                        float opt);
    // KVBR_HOST_CALL_LOG: the calls of this host, appended to that file.
    void appendCallLog(const char* path) const;
    std::string path;
    void* library = nullptr;
};

// Points XDG_CONFIG_HOME at a fresh folder for the life of the object.
class ScratchConfigHome {
public:
    ScratchConfigHome();
    ~ScratchConfigHome();
    const std::string& path() const { return dir; }

private:
    std::string dir;
    std::string previous;
    bool hadPrevious = false;
};
