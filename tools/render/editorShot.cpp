#include "editorShot.h"

#include <algorithm>

#include "toolError.h"

namespace render {

editorpicture::EditorState editorStateOf(Effect& effect) {
    editorpicture::EditorState state;
    const int count = std::min<int>(effect.numParams(), static_cast<int>(state.parameters.size()));
    for (int i = 0; i < count; ++i) state.parameters[i] = effect.getParameter(i);
    state.programName = effect.programName();
    state.meterReading = effect.meterReading().value_or(1.0);
    return state;
}

void drawEditor(const editorpicture::EditorState& state, const std::string& path) {
    std::string error;
    if (!editorpicture::renderEditorPng(state, path, error))
        throw ToolError("cannot draw the editor: " + error);
}

}  // namespace render
