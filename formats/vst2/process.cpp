// Rate, activation and the process calls of the VST 2.x effect: the host's
// pins and the negotiated layout choose the buffers, the compressor does the rest.
#include "AutoComp.h"

void AutoComp::setSampleRate(float rate) {
    AudioEffectX::setSampleRate(rate);
    setInitialDelay(0);
}

void AutoComp::resume() {
    char midiEvents[] = "receiveVstMidiEvent";
    if ((cEffect.flags & vst2::effFlagsIsSynth) || canHostDo(midiEvents) == 1) wantEvents(1);
    compressor.setSampleRate(getSampleRate());
    compressor.resume();
    // Every engine value again from the current program's values.
    setProgram(curProgram);
}

void AutoComp::suspend() { compressor.suspend(); }

template <typename Sample>
void AutoComp::processPins(Sample** inputs, Sample** outputs, int32 sampleFrames) {
    if (!inputs || !outputs || !inputs[0] || !outputs[0]) return;
    const bool inputPinConnected = isInputConnected(1);
    const bool outputPinConnected = isOutputConnected(1);
    const Sample* inL = inputs[0];
    Sample* outL = outputs[0];
    // Pin 1 is used only when the host connected it, the layout asked for it and
    // the buffer is really there; otherwise the left buffer stands in.
    const Sample* inR =
        inputPinConnected && isStereoInput() && inputs[1] ? inputs[1] : inputs[0];
    Sample* outR = outputPinConnected && isStereoOutput() && outputs[1] ? outputs[1] : outputs[0];
    compressor.process(inL, inR, outL, outR, sampleFrames);
}

void AutoComp::processReplacing(float** inputs, float** outputs, int32 sampleFrames) {
    processPins(inputs, outputs, sampleFrames);
}

void AutoComp::processDoubleReplacing(double** inputs, double** outputs, int32 sampleFrames) {
    processPins(inputs, outputs, sampleFrames);
}
