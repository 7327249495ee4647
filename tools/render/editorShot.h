// The picture of Korvane Brassel's editor at the end of a render: the state
// is read from the effect (built in, or the plug-in through its dispatcher),
// and the editor is drawn offscreen by its own code on the headless backend.
#pragma once

#include <string>

#include "effect.h"
#include "tools/editorPicture/editorPicture.h"

namespace render {

// The parameters, the program name and the meter reading of the effect now.
// Read it before the effect is stopped: stopping rests the meter.
editorpicture::EditorState editorStateOf(Effect& effect);

// Draws the editor in `state` into `path`; throws ToolError when it cannot.
void drawEditor(const editorpicture::EditorState& state, const std::string& path);

}  // namespace render
