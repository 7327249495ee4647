#include "TestHost.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {
// The host in charge of an effect that has not handed out its record yet.
thread_local TestHost* openingHost = nullptr;
}  // namespace

TestHost::TestHost(std::string libraryPath) : path(std::move(libraryPath)) {}

TestHost::~TestHost() {
    close();
    if (library) dlclose(library);
    if (const char* log = getenv("KVBR_HOST_CALL_LOG")) appendCallLog(log);
}

vst2::AEffect* TestHost::open(const char* entryName) {
    if (!library) library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) throw std::runtime_error(std::string("dlopen failed: ") + dlerror());
    using Entry = vst2::AEffect* (*)(vst2::audioMasterCallback);
    auto entry = reinterpret_cast<Entry>(dlsym(library, entryName));
    if (!entry) throw std::runtime_error(std::string("no entry point ") + entryName);
    openingHost = this;
    effect = entry(&TestHost::callback);
    openingHost = nullptr;
    if (effect) effect->user = this;
    return effect;
}

vst2::intptr TestHost::dispatch(vst2::int32 opcode, vst2::int32 index, vst2::intptr value,
                                void* ptr, float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void TestHost::close() {
    if (!effect) return;
    effect->dispatcher(effect, vst2::effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
}

std::string TestHost::text(vst2::int32 opcode, vst2::int32 index) {
    char buffer[256];
    std::memset(buffer, 0x7F, sizeof(buffer));
    buffer[sizeof(buffer) - 1] = 0;
    dispatch(opcode, index, 0, buffer, 0.0f);
    return buffer;
}

int TestHost::countCalls(vst2::int32 opcode) const {
    int n = 0;
    for (const auto& c : calls) n += c.opcode == opcode;
    return n;
}

vst2::intptr TestHost::callback(vst2::AEffect* effect, vst2::int32 opcode, vst2::int32 index,
                                vst2::intptr value, void* ptr, float opt) {
    TestHost* host = effect && effect->user ? static_cast<TestHost*>(effect->user) : openingHost;
    return host ? host->answer(opcode, index, value, ptr, opt) : 0;
}

vst2::intptr TestHost::answer(vst2::int32 opcode, vst2::int32 index, vst2::intptr value, void* ptr,
                              float opt) {
    HostCall call{opcode, index, value, opt, {}};
    if (opcode == vst2::audioMasterCanDo && ptr) call.text = static_cast<const char*>(ptr);
    calls.push_back(call);
    switch (opcode) {
        case vst2::audioMasterVersion: return versionAnswer;
        case vst2::audioMasterPinConnected: return pinConnectedAnswer;
        case vst2::audioMasterCanDo: return canDoAnswer;
        case vst2::audioMasterAutomate:
        case vst2::audioMasterBeginEdit:
        case vst2::audioMasterEndEdit:
        case vst2::audioMasterUpdateDisplay:
        case vst2::audioMasterIdle: return 1;
        default: return 0;
    }
}

ScratchConfigHome::ScratchConfigHome() {
    char tmpl[] = "/tmp/kvbr-config-XXXXXX";
    if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp failed");
    dir = tmpl;
    if (const char* old = getenv("XDG_CONFIG_HOME")) {
        previous = old;
        hadPrevious = true;
    }
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
}

ScratchConfigHome::~ScratchConfigHome() {
    if (hadPrevious)
        setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void TestHost::appendCallLog(const char* path) const {
    // The calls an editor session makes with their timing taken out: no idle
    // requests, automation without its values, repeats folded into one line.
    std::ofstream out(path, std::ios::app);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    out << "test " << (test ? std::string(test->test_suite_name()) + "." + test->name() : "?") << "\n";
    std::string previous;
    for (const HostCall& c : calls) {
        if (c.opcode == vst2::audioMasterIdle) continue;
        std::string line = std::to_string(c.opcode) + " " + std::to_string(c.index);
        if (c.opcode != vst2::audioMasterAutomate) {
            // Appended piece by piece: one chain of + makes gcc 12 warn of an overlap that is none.
            line += ' ';
            line += std::to_string(c.value);
            line += ' ';
            line += c.text;
        }
        if (line != previous) out << line << "\n";
        previous = line;
    }
}
