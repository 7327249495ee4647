// winhost: a small Windows console host for the plug-in DLL. It loads the DLL
// with LoadLibraryA as a host does, takes both entry names, checks identity and
// dispatcher answers, finds the meter preferences in the registry and replays
// the reference run, comparing the output with the Linux build's.
//
//   winhost.exe korvane-brassel.dll linux-reference.bin
//
// With --editor it opens the editor instead (winhostEditor.cpp); with --bench
// it times the DLL's processing (winhostBench.cpp):
//
//   winhost.exe --bench korvane-brassel.dll [passes]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostChecks.h"
#include "tools/referenceRun.h"

using namespace vst2;

namespace {

using hostchecks::check;
using hostchecks::checkText;

intptr refusingHost(AEffect*, int32, int32, intptr, void*, float) { return 0; }

std::string text(AEffect* e, int32 opcode, int32 index = 0) {
    char buffer[256];
    std::memset(buffer, 0x7F, sizeof(buffer));
    buffer[sizeof(buffer) - 1] = 0;
    e->dispatcher(e, opcode, index, 0, buffer, 0.0f);
    return buffer;
}

intptr dispatch(AEffect* e, int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr) {
    return e->dispatcher(e, opcode, index, value, ptr, 0.0f);
}

void checkIdentity(AEffect* e) {
    check(e->magic == kEffectMagic, "magic");
    check(e->uniqueID == 0x4B764272, "unique ID KvBr");
    check(e->flags == (effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanDoubleReplacing),
          "flags " + std::to_string(e->flags));
    check(e->numPrograms == 1 && e->numParams == 12, "1 program, 12 parameters");
    check(e->numInputs == 2 && e->numOutputs == 2, "2 inputs, 2 outputs");
    check(e->initialDelay == 0 && e->version == 1 && e->ioRatio == 1.0f, "delay, version, ratio");
    checkText(text(e, effGetEffectName), "Korvane Brassel", "effect name");
    checkText(text(e, effGetProductString), "Korvane Brassel - opto compressor", "product");
    check(!text(e, effGetVendorString).empty(), "vendor string");
    check(dispatch(e, effGetVendorVersion) == 1100, "vendor version");
    check(dispatch(e, effGetVstVersion) == 2400, "VST version");
    check(dispatch(e, effGetPlugCategory) == kPlugCategMastering, "category");
    check(dispatch(e, effIdentify) == 0x4E764566, "identify");
    check(dispatch(e, effGetProgram) == 0, "program 0");
    check(dispatch(e, effCanBeAutomated, 5) == 1, "automatable");
    void* chunk = &chunk;
    check(dispatch(e, effGetChunk, 0, 0, &chunk) == 0 && chunk == &chunk, "no chunks");
    check(dispatch(e, effGetCurrentMidiProgram) == -1, "no MIDI program");
}

void checkCanDo(AEffect* e) {
    for (const char* yes : {"offline", "plugAsChannelInsert", "mixDryWet", "1in1out", "1in2out",
                            "2in2out"}) {
        char buffer[64];
        std::strcpy(buffer, yes);
        check(dispatch(e, effCanDo, 0, 0, buffer) == 1, std::string("canDo ") + yes);
    }
    for (const char* no : {"2IN2OUT", "2in2out ", "receiveVstMidiEvent", ""}) {
        char buffer[64];
        std::strcpy(buffer, no);
        check(dispatch(e, effCanDo, 0, 0, buffer) == 0, std::string("canDo \"") + no + "\" is 0");
    }
}

void checkPins(AEffect* e) {
    for (int32 i = 0; i < 5; ++i) {
        VstPinProperties p;
        std::memset(&p, 0, sizeof(p));
        const bool answered = dispatch(e, effGetInputProperties, i, 0, &p) == 1;
        check(answered == (i < 4), "input pin " + std::to_string(i) + " answered");
        if (answered) {
            checkText(p.label, "Korvane Brassel " + std::to_string(i + 1) + " In", "input label");
            check(p.flags == (kVstPinIsActive | kVstPinIsStereo), "input pin flags");
        }
    }
    for (int32 i = 0; i < 3; ++i) {
        VstPinProperties p;
        std::memset(&p, 0, sizeof(p));
        const bool answered = dispatch(e, effGetOutputProperties, i, 0, &p) == 1;
        check(answered == (i < 2), "output pin " + std::to_string(i) + " answered");
        if (answered)
            checkText(p.label, "Korvane Brassel " + std::to_string(i + 1) + " Out", "output label");
    }
}

void checkParameters(AEffect* e) {
    const char* names[13] = {"Process", " ", "Ratio", " ", "Time", "Compression", "Output",
                             " ",       " ", " ",     " ", " ",    " "};
    for (int32 i = 0; i < 13; ++i) {
        checkText(text(e, effGetParamName, i), names[i], "name of " + std::to_string(i));
        checkText(text(e, effGetParamLabel, i), " ", "label of " + std::to_string(i));
    }
    struct Display {
        int32 index;
        float value;
        const char* text;
    };
    // Quantisation edges and the two-decimal form, which must not depend on
    // how the C library rounds.
    const Display displays[] = {
        {0, 0.24f, "Off"},    {0, 0.25f, "Clear"},  {0, 0.75f, "Valve"},   {2, 0.08f, "1.2:1"},
        {2, 0.25f, "2:1"},    {2, 0.5f, "3:1"},     {2, 1.0f, "10:1"},     {4, 0.5f, "5.00"},
        {4, 0.0f, "0.00"},    {4, 1.0f, "10.00"},   {4, 0.025f, "0.50"},   {5, 0.5f, "5.00"},
        {5, 0.375f, "3.75"},  {5, 0.0625f, "0.75"}, {5, 0.3f, "3.00"},     {6, 1.5f, "30.00"},
        {6, -0.2f, "0.00"},   {6, 0.5f, "15.00"},   {6, 1.0f / 60, "0.50"}, {1, 0.7f, " "},
    };
    for (const Display& d : displays) {
        e->setParameter(e, d.index, d.value);
        checkText(text(e, effGetParamDisplay, d.index), d.text,
                  "display of " + std::to_string(d.index) + " at " + std::to_string(d.value));
    }
    e->setParameter(e, 6, -0.2f);
    check(e->getParameter(e, 6) == 0.0f, "value below 0 stored as 0");
    e->setParameter(e, 6, 1.5f);
    check(e->getParameter(e, 6) == 1.0f, "value above 1 stored as 1");
    check(e->getParameter(e, 1) == 0.7f, "unnamed parameter stores its value");
    e->setParameter(e, 12, 0.5f);
    check(e->getParameter(e, 12) == 0.0f, "index 12 ignored");
}

const char* kPreferencesKey = "SOFTWARE\\Korvane\\KVBRS1\\Preferences";

void checkPreferences() {
    struct Expected {
        const char* name;
        float value;
    };
    const Expected expected[] = {
        {"VUreference", -14.0f}, {"VUtimeConst", 0.6f}, {"PPMrelease", 0.6f}, {"PPMhold", 1.0f}};
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPreferencesKey, 0, KEY_QUERY_VALUE, &key);
    check(status == ERROR_SUCCESS, "meter preferences key created under HKEY_LOCAL_MACHINE");
    if (status != ERROR_SUCCESS) return;
    for (const Expected& x : expected) {
        float value = 0.0f;
        DWORD type = 0, size = sizeof(value);
        status = RegQueryValueExA(key, x.name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                  &size);
        check(status == ERROR_SUCCESS && type == REG_BINARY && size == 4 && value == x.value,
              std::string("preference ") + x.name + " is a 4-byte REG_BINARY float " +
                  std::to_string(x.value));
    }
    RegCloseKey(key);
}

void compareWithLinux(reference::Entry entry, const char* referencePath) {
    reference::Recording recorded;
    if (!reference::load(referencePath, recorded)) {
        check(false, std::string("read the Linux reference ") + referencePath);
        return;
    }
    const double tolerance = 1e-9;
    for (int i = 0; i < reference::kNumCases; ++i) {
        const reference::Case& c = reference::kCases[i];
        const reference::Output& expected = recorded.outputs[static_cast<size_t>(i)];
        reference::Output got;
        if (!reference::run(entry, c, recorded.inLeft, recorded.inRight, got)) {
            check(false, std::string("run ") + c.name);
            continue;
        }
        const double floatDiff =
            std::fmax(reference::maxRelativeDifference(got.floatLeft, expected.floatLeft),
                      reference::maxRelativeDifference(got.floatRight, expected.floatRight));
        const double doubleDiff =
            std::fmax(reference::maxRelativeDifference(got.doubleLeft, expected.doubleLeft),
                      reference::maxRelativeDifference(got.doubleRight, expected.doubleRight));
        std::printf("%-20s largest relative difference to Linux: 32-bit %.3g, 64-bit %.3g\n",
                    c.name, floatDiff, doubleDiff);
        check(floatDiff <= tolerance, std::string(c.name) + " 32-bit output matches Linux");
        check(doubleDiff <= tolerance, std::string(c.name) + " 64-bit output matches Linux");
    }
}

template <typename Function>
Function entryPoint(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

// `scale` is the factor the editor must open at on this display.
int runEditorSession(const char* dllPath, const std::string& outputDir, double scale);
int runBench(const char* dllPath, int runs);

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--editor") == 0)
        return runEditorSession(argv[2], argv[3], 1.0);
    if (argc == 6 && std::strcmp(argv[1], "--editor") == 0 && std::strcmp(argv[4], "--scale") == 0)
        return runEditorSession(argv[2], argv[3], std::atof(argv[5]));
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--bench") == 0)
        return runBench(argv[2], argc == 4 ? std::max(1, std::atoi(argv[3])) : 7);
    if (argc != 3) {
        std::printf("usage: winhost PLUGIN.dll LINUX-REFERENCE\n"
                    "       winhost --editor PLUGIN.dll OUTPUT-FOLDER [--scale S]   (needs a display)\n"
                    "       winhost --bench PLUGIN.dll [PASSES]\n");
        return 2;
    }
    // The meter preferences must be created by the plug-in itself.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPreferencesKey);

    HMODULE library = LoadLibraryA(argv[1]);
    if (!library) {
        std::printf("FAILED: LoadLibraryA(%s), error %lu\n", argv[1], GetLastError());
        return 1;
    }
    auto pluginMain = entryPoint<reference::Entry>(library, "VSTPluginMain");
    auto oldMain = entryPoint<reference::Entry>(library, "main");
    check(pluginMain != nullptr, "VSTPluginMain exported");
    check(oldMain != nullptr, "main exported");
    if (!pluginMain || !oldMain) return 1;
    check(pluginMain == oldMain, "both names lead to the same function");

    check(pluginMain(refusingHost) == nullptr, "a host without a version gets no effect");
    AEffect* viaMain = oldMain(reference::host);
    check(viaMain && viaMain->uniqueID == 0x4B764272, "main gives the effect too");
    if (viaMain) dispatch(viaMain, effClose);

    AEffect* e = pluginMain(reference::host);
    check(e != nullptr, "VSTPluginMain gives an effect");
    if (e) {
        checkIdentity(e);
        checkCanDo(e);
        checkPins(e);
        checkParameters(e);
        dispatch(e, effClose);
    }
    checkPreferences();
    compareWithLinux(pluginMain, argv[2]);

    FreeLibrary(library);
    return hostchecks::summary();
}
