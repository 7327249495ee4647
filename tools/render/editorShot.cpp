#include "editorShot.h"

#include <algorithm>

#include "toolError.h"

namespace render {

editorpicture::EditorState editorStateOf(PluginHost& host) {
    editorpicture::EditorState state;
    const int count = std::min<int>(host.numParams(), static_cast<int>(state.parameters.size()));
    for (int i = 0; i < count; ++i) state.parameters[i] = host.getParameter(i);
    state.programName = host.programName();
    state.meterReading = host.meterReading().value_or(1.0);
    return state;
}

void drawEditor(const editorpicture::EditorState& state, const std::string& path) {
    std::string error;
    if (!editorpicture::renderEditorPng(state, path, error))
        throw ToolError("cannot draw the editor: " + error);
}

}  // namespace render
