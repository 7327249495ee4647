#include "vst2Editor.h"

namespace {

gui::KeyCode keyOf(const vst2::VstKeyCode& key) { return {key.character, key.virt, key.modifier}; }

}  // namespace

bool Vst2Editor::getRect(vst2::ERect** rect) {
    gui::ERect* own = nullptr;
    if (!rect) return false;
    *rect = nullptr;
    if (!editor.getRect(&own) || !own) return false;
    shown = {own->top, own->left, own->bottom, own->right};
    *rect = &shown;
    return true;
}

bool Vst2Editor::open(void* ptr) {
    systemWindow = ptr;
    return editor.open(ptr);
}

void Vst2Editor::close() {
    editor.close();
    systemWindow = nullptr;
}

bool Vst2Editor::onKeyDown(vst2::VstKeyCode& keyCode) {
    gui::KeyCode key = keyOf(keyCode);
    return editor.onKeyDown(key);
}

bool Vst2Editor::onKeyUp(vst2::VstKeyCode& keyCode) {
    gui::KeyCode key = keyOf(keyCode);
    return editor.onKeyUp(key);
}
