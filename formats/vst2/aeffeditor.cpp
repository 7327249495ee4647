#include "aeffeditor.h"

#include "audioeffect.h"

namespace vst2 {

AEffEditor::AEffEditor(AudioEffect* effect) : effect(effect) {
    if (effect) effect->setEditor(this);
}

AEffEditor::~AEffEditor() {
    if (effect && effect->getEditor() == this) effect->setEditor(nullptr);
}

bool AEffEditor::getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return false;
}

bool AEffEditor::open(void* ptr) {
    systemWindow = ptr;
    return false;
}

void AEffEditor::close() { systemWindow = nullptr; }
void AEffEditor::idle() {}
bool AEffEditor::onKeyDown(VstKeyCode&) { return false; }
bool AEffEditor::onKeyUp(VstKeyCode&) { return false; }
bool AEffEditor::setKnobMode(int32) { return false; }
bool AEffEditor::onWheel(float) { return false; }

}  // namespace vst2
