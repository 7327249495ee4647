// An in-process host callback that records what the effect tells the host, and
// a preset panel that records what the preset system shows.
#pragma once

#include <string>
#include <vector>

#include "formats/vst2/aeffect.h"
#include "editor/presetPanel.h"

struct RecordedCall {
    vst2::int32 opcode;
    vst2::int32 index;
    float opt;
};

inline std::vector<RecordedCall>& recordedCalls() {
    static std::vector<RecordedCall> calls;
    return calls;
}

inline vst2::intptr recordingHost(vst2::AEffect*, vst2::int32 opcode, vst2::int32 index,
                                  vst2::intptr, void*, float opt) {
    if (opcode == vst2::audioMasterVersion) return 2400;
    recordedCalls().push_back({opcode, index, opt});
    return 1;
}

inline int countRecorded(vst2::int32 opcode) {
    int n = 0;
    for (const auto& c : recordedCalls()) n += c.opcode == opcode;
    return n;
}

struct FakePresetPanel : CPresetPanel {
    std::vector<std::string> events;
    void displayPresetName(const char* name) override {
        events.push_back(std::string("display ") + name);
    }
    void setNameFieldText(const char* text) override {
        events.push_back(std::string("field ") + text);
    }
    void setMenuEntryText(int entry, const char* text) override {
        events.push_back("entry " + std::to_string(entry) + " " + text);
    }
    void selectMenuEntry(int slot) override { events.push_back("select " + std::to_string(slot)); }
};
