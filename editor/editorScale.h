// The factor the editor is drawn at, decided from the user's override, the
// host's request and the desktop, in that order (gui/scale.h).
#pragma once

// The per-machine override beside the meter preferences; 0 or absent is automatic.
constexpr const char* kEditorScalePreference = "EditorScale";

// The scale for an editor opening in `parent` (null when the host only asks for
// the size), given the host's request (0 for none). KVBR_EDITOR_SCALE stands
// above the stored override.
double decideEditorScale(double hostRequest, void* parent);
