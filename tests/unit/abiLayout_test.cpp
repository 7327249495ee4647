// The interface records must lie in memory exactly as hosts expect them.
#include <gtest/gtest.h>

#include <cstddef>

#include "formats/vst2/aeffect.h"

using namespace vst2;

TEST(AbiLayout, AEffectOffsets) {
    EXPECT_EQ(offsetof(AEffect, magic), 0u);
    EXPECT_EQ(offsetof(AEffect, dispatcher), 8u);
    EXPECT_EQ(offsetof(AEffect, process), 16u);
    EXPECT_EQ(offsetof(AEffect, setParameter), 24u);
    EXPECT_EQ(offsetof(AEffect, getParameter), 32u);
    EXPECT_EQ(offsetof(AEffect, numPrograms), 40u);
    EXPECT_EQ(offsetof(AEffect, numParams), 44u);
    EXPECT_EQ(offsetof(AEffect, numInputs), 48u);
    EXPECT_EQ(offsetof(AEffect, numOutputs), 52u);
    EXPECT_EQ(offsetof(AEffect, flags), 56u);
    EXPECT_EQ(offsetof(AEffect, resvd1), 64u);
    EXPECT_EQ(offsetof(AEffect, resvd2), 72u);
    EXPECT_EQ(offsetof(AEffect, initialDelay), 80u);
    EXPECT_EQ(offsetof(AEffect, realQualities), 84u);
    EXPECT_EQ(offsetof(AEffect, offQualities), 88u);
    EXPECT_EQ(offsetof(AEffect, ioRatio), 92u);
    EXPECT_EQ(offsetof(AEffect, object), 96u);
    EXPECT_EQ(offsetof(AEffect, user), 104u);
    EXPECT_EQ(offsetof(AEffect, uniqueID), 112u);
    EXPECT_EQ(offsetof(AEffect, version), 116u);
    EXPECT_EQ(offsetof(AEffect, processReplacing), 120u);
    EXPECT_EQ(offsetof(AEffect, processDoubleReplacing), 128u);
    EXPECT_EQ(offsetof(AEffect, future), 136u);
    EXPECT_EQ(sizeof(AEffect), 192u);
}

TEST(AbiLayout, SmallRecords) {
    EXPECT_EQ(offsetof(VstPinProperties, flags), 64u);
    EXPECT_EQ(offsetof(VstPinProperties, arrangementType), 68u);
    EXPECT_EQ(offsetof(VstPinProperties, shortLabel), 72u);
    EXPECT_EQ(sizeof(VstPinProperties), 128u);
    EXPECT_EQ(offsetof(VstSpeakerProperties, name), 16u);
    EXPECT_EQ(offsetof(VstSpeakerProperties, type), 80u);
    EXPECT_EQ(sizeof(VstSpeakerProperties), 112u);
    EXPECT_EQ(offsetof(VstSpeakerArrangement, numChannels), 4u);
    EXPECT_EQ(offsetof(VstSpeakerArrangement, speakers), 8u);
    EXPECT_EQ(offsetof(ERect, left), 2u);
    EXPECT_EQ(offsetof(ERect, right), 6u);
    EXPECT_EQ(fourCharCode('K', 'v', 'B', 'r'), 0x4B764272);
    EXPECT_EQ(kEffectMagic, 0x56737450);
}
