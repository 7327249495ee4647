// The engine quantities derived from each stored value.
#include <gtest/gtest.h>

#include <cmath>

#include "core/parameters.h"

namespace {

// The parameters with the engine values the audio thread would derive from them.
struct DerivingParameters {
    Parameters parameters;
    void setParameter(int index, float value) { parameters.set(index, value); }
    float getParameter(int index) const { return parameters.get(index); }
    int getProcessMode() const { return parameters.engineValues().processMode; }
    int getRatioStep() const { return parameters.engineValues().ratioStep; }
    double getTimeFactor() const { return parameters.engineValues().timeFactor; }
    double getCompressionGain() const { return parameters.engineValues().compressionGain; }
    double getOutputGain() const { return parameters.engineValues().outputGain; }
};

}  // namespace

struct EngineQuantities : ::testing::Test {
    DerivingParameters effect;
};

TEST_F(EngineQuantities, ProcessAndRatioSteps) {
    effect.setParameter(0, 0.24f);
    EXPECT_EQ(effect.getProcessMode(), 0);
    effect.setParameter(0, 0.25f);
    EXPECT_EQ(effect.getProcessMode(), 1);
    effect.setParameter(0, 0.75f);
    EXPECT_EQ(effect.getProcessMode(), 2);
    for (int k = 0; k < 7; ++k) {
        // The first float at or above (2k - 1) / 12.
        const double exact = k == 0 ? 0.0 : (2 * k - 1) / 12.0;
        float start = static_cast<float>(exact);
        if (static_cast<double>(start) < exact) start = std::nextafter(start, 1.0f);
        effect.setParameter(2, start);
        EXPECT_EQ(effect.getRatioStep(), k) << "start of step " << k;
        if (k > 0) {
            effect.setParameter(2, std::nextafter(start, 0.0f));
            EXPECT_EQ(effect.getRatioStep(), k - 1) << "just below step " << k;
        }
    }
    effect.setParameter(2, 1.0f / 6.0f);  // the factory value for 1.5:1
    EXPECT_EQ(effect.getRatioStep(), 1);
}

TEST_F(EngineQuantities, TimeCompressionAndOutput) {
    effect.setParameter(4, 0.5f);
    EXPECT_DOUBLE_EQ(effect.getTimeFactor(), 0.05);
    effect.setParameter(4, 0.0f);
    EXPECT_DOUBLE_EQ(effect.getTimeFactor(), 0.005);
    effect.setParameter(4, 1.0f);
    EXPECT_DOUBLE_EQ(effect.getTimeFactor(), 0.5);

    effect.setParameter(5, 0.5f);  // step 25
    EXPECT_DOUBLE_EQ(effect.getCompressionGain(), 0.125 * std::pow(2.0, 6.25));
    EXPECT_NEAR(effect.getCompressionGain(), 9.5137, 1e-4);
    effect.setParameter(5, 0.375f);  // step 20
    EXPECT_DOUBLE_EQ(effect.getCompressionGain(), 4.0);
    effect.setParameter(5, 0.0f);
    EXPECT_EQ(effect.getCompressionGain(), 0.125);
    effect.setParameter(5, 1.0f);
    EXPECT_EQ(effect.getCompressionGain(), 128.0);

    effect.setParameter(6, 1.5f);
    EXPECT_EQ(effect.getParameter(6), 1.0f);
    EXPECT_EQ(effect.getOutputGain(), 31.622776601683793);
    effect.setParameter(6, -0.2f);
    EXPECT_EQ(effect.getOutputGain(), 1.0);
    effect.setParameter(6, 0.15f);  // step 9: 4.5 dB
    EXPECT_NEAR(20.0 * std::log10(effect.getOutputGain()), 4.5, 1e-12);
}

TEST_F(EngineQuantities, CompressionStepBoundaries) {
    // Step k starts at ((k - 0.5) / 40)^(1 / 0.7071).
    for (int k = 1; k <= 40; ++k) {
        double start = std::pow((k - 0.5) / 40.0, 1.0 / 0.7071);
        float above = static_cast<float>(start * (1.0 + 1e-5));
        float below = static_cast<float>(start * (1.0 - 1e-5));
        effect.setParameter(5, above);
        EXPECT_DOUBLE_EQ(effect.getCompressionGain(), 0.125 * std::pow(1024.0, k / 40.0)) << k;
        effect.setParameter(5, below);
        EXPECT_DOUBLE_EQ(effect.getCompressionGain(), 0.125 * std::pow(1024.0, (k - 1) / 40.0))
            << k;
    }
}

TEST_F(EngineQuantities, UnnamedParametersOnlyStore) {
    effect.setParameter(5, 0.5f);
    const double drive = effect.getCompressionGain();
    for (int i : {1, 3, 7, 8, 9, 10, 11}) {
        effect.setParameter(i, 0.7f);
        EXPECT_EQ(effect.getParameter(i), 0.7f);
    }
    EXPECT_EQ(effect.getCompressionGain(), drive);
}
