// What a host sees when it loads the plug-in and asks who it is.
#include <gtest/gtest.h>

#include <cstring>

#include "TestHost.h"

using namespace vst2;

namespace {

struct LoadedEffect : ::testing::Test {
    ScratchConfigHome config;
    TestHost host;
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }
};

VstSpeakerArrangement arrangement(int channels) {
    VstSpeakerArrangement a;
    std::memset(&a, 0, sizeof(a));
    a.numChannels = channels;
    return a;
}

}  // namespace

TEST(Entry, HostWithoutVersionGetsNoEffect) {
    ScratchConfigHome config;
    TestHost host;
    host.versionAnswer = 0;
    EXPECT_EQ(host.open(), nullptr);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].opcode, audioMasterVersion);
}

TEST(Entry, BothEntryNamesGiveTheSameEffect) {
    ScratchConfigHome config;
    for (const char* name : {"VSTPluginMain", "main"}) {
        TestHost host;
        AEffect* e = host.open(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(host.calls.front().opcode, audioMasterVersion) << "version is asked first";
        EXPECT_EQ(e->magic, kEffectMagic);
        EXPECT_EQ(e->uniqueID, 0x4B764272);
        EXPECT_EQ(std::memcmp(&e->uniqueID, "rBvK", 4), 0);
    }
}

TEST_F(LoadedEffect, RecordHoldsTheIdentity) {
    AEffect* e = host.effect;
    EXPECT_EQ(e->flags, 0x1011) << "has editor, can replace, can replace doubles; nothing else";
    EXPECT_EQ(e->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanDoubleReplacing);
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, 12);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->version, 1);
    EXPECT_FLOAT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->realQualities, 0);
    EXPECT_EQ(e->offQualities, 0);
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->processDoubleReplacing, nullptr);
}

TEST_F(LoadedEffect, NamesVendorAndVersions) {
    EXPECT_EQ(host.text(effGetEffectName), "Korvane Brassel");
    EXPECT_EQ(host.text(effGetProductString), "Korvane Brassel - opto compressor");
    EXPECT_EQ(host.text(effGetVendorString), "korvane.com");
    EXPECT_EQ(host.dispatch(effGetVendorVersion), 1100);
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), kPlugCategMastering);
    EXPECT_EQ(host.dispatch(effIdentify), 0x4E764566);
    char buffer[64];
    EXPECT_EQ(host.dispatch(effGetEffectName, 0, 0, buffer), 1);
}

TEST_F(LoadedEffect, CanDoMatchesExactlyAndNeverSaysNo) {
    for (const char* yes : {"offline", "plugAsChannelInsert", "mixDryWet", "1in1out", "1in2out",
                            "2in2out"}) {
        char text[64];
        std::strcpy(text, yes);
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, text), 1) << yes;
    }
    for (const char* no : {"2IN2OUT", "2in2out ", "receiveVstMidiEvent", "", "2in"}) {
        char text[64];
        std::strcpy(text, no);
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, text), 0) << '"' << no << '"';
    }
}

TEST_F(LoadedEffect, PinProperties) {
    VstPinProperties p;
    std::memset(&p, 0xAB, sizeof(p));
    EXPECT_EQ(host.dispatch(effGetInputProperties, 3, 0, &p), 1);
    EXPECT_STREQ(p.label, "Korvane Brassel 4 In");
    EXPECT_EQ(p.flags, kVstPinIsActive | kVstPinIsStereo);
    EXPECT_EQ(static_cast<unsigned char>(p.shortLabel[0]), 0xAB) << "other fields untouched";

    EXPECT_EQ(host.dispatch(effGetInputProperties, 0, 0, &p), 1);
    EXPECT_STREQ(p.label, "Korvane Brassel 1 In");
    EXPECT_EQ(host.dispatch(effGetOutputProperties, 1, 0, &p), 1);
    EXPECT_STREQ(p.label, "Korvane Brassel 2 Out");

    std::memset(&p, 0xCD, sizeof(p));
    EXPECT_EQ(host.dispatch(effGetInputProperties, 4, 0, &p), 0);
    EXPECT_EQ(host.dispatch(effGetInputProperties, -1, 0, &p), 0);
    EXPECT_EQ(host.dispatch(effGetOutputProperties, 2, 0, &p), 0);
    EXPECT_EQ(static_cast<unsigned char>(p.label[0]), 0xCD) << "refused pins write nothing";
}

TEST_F(LoadedEffect, SpeakerArrangementsSetTheChannelFlags) {
    auto in1 = arrangement(1), in2 = arrangement(2), out1 = arrangement(1), out2 = arrangement(2);
    EXPECT_EQ(host.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr>(&in1), &out2), 1);
    EXPECT_EQ(host.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr>(&in2), &out1), 0);
    EXPECT_EQ(host.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr>(&in1), &out1), 1);
    EXPECT_EQ(host.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr>(&in2), &out2), 1);
    auto in6 = arrangement(6);
    EXPECT_EQ(host.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr>(&in6), &out2), 0);
    EXPECT_EQ(host.effect->numInputs, 2) << "the declared counts never change";
    EXPECT_EQ(host.effect->numOutputs, 2);

    VstSpeakerArrangement* a = reinterpret_cast<VstSpeakerArrangement*>(1);
    VstSpeakerArrangement* b = reinterpret_cast<VstSpeakerArrangement*>(1);
    EXPECT_EQ(host.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr>(&a), &b), 0);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
}

TEST_F(LoadedEffect, ProgramOpcodesShowOneProgram) {
    for (intptr v : {1, -1, 5, 1000}) {
        host.dispatch(effSetProgram, 0, v);
        EXPECT_EQ(host.dispatch(effGetProgram), 0);
    }
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
}

TEST_F(LoadedEffect, DefaultAnswersOfTheDispatcher) {
    void* chunk = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(host.dispatch(effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(chunk, reinterpret_cast<void*>(0x1234)) << "chunk pointer left untouched";
    EXPECT_EQ(host.dispatch(effGetChunk, 1, 0, &chunk), 0);
    char data[16] = {};
    EXPECT_EQ(host.dispatch(effSetChunk, 0, 16, data), 0);
    EXPECT_EQ(host.dispatch(effCanBeAutomated, 0), 1);
    EXPECT_EQ(host.dispatch(effCanBeAutomated, 11), 1);
    EXPECT_EQ(host.dispatch(effString2Parameter, 0, 0, data), 0);
    EXPECT_EQ(host.dispatch(effGetParameterProperties, 0, 0, data), 0);
    EXPECT_EQ(host.dispatch(effGetTailSize), 0);
    EXPECT_EQ(host.dispatch(effSetBypass, 0, 1), 0);
    EXPECT_EQ(host.dispatch(effSetProcessPrecision, 0, 1), 0);
    EXPECT_EQ(host.dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(host.dispatch(effSetTotalSampleToProcess, 0, 4711), 4711);
    EXPECT_EQ(host.dispatch(effGetNumMidiInputChannels), 0);
    EXPECT_EQ(host.dispatch(effStartProcess), 0);
    EXPECT_EQ(host.dispatch(effSetBlockSize, 0, 512), 0);
    EXPECT_EQ(host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(host.dispatch(effMainsChanged, 0, 1), 0);
    EXPECT_EQ(host.dispatch(effMainsChanged, 0, 0), 0);
    EXPECT_EQ(host.dispatch(200), 0);
    EXPECT_EQ(host.dispatch(-3), 0);
}

TEST_F(LoadedEffect, NullPointersAreRefused) {
    for (int32 op : {effGetProgramName, effSetProgramName, effGetParamLabel, effGetParamDisplay,
                     effGetParamName, effGetEffectName, effGetVendorString, effGetProductString,
                     effCanDo, effGetInputProperties, effGetOutputProperties, effEditGetRect,
                     effGetProgramNameIndexed, effSetSpeakerArrangement, effGetSpeakerArrangement,
                     effGetChunk, effSetChunk})
        EXPECT_EQ(host.dispatch(op, 0, 0, nullptr), 0) << "opcode " << op;
}

TEST(Entry, CloseDeletesTheEffect) {
    ScratchConfigHome config;
    TestHost host;
    ASSERT_NE(host.open(), nullptr);
    EXPECT_EQ(host.effect->dispatcher(host.effect, effClose, 0, 0, nullptr, 0.0f), 1);
    host.effect = nullptr;  // gone; AddressSanitizer would catch a leak or a second delete
}
