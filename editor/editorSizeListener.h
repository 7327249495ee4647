// Told when the open editor's window changed size, in device pixels: its
// strip opened or closed. Each format passes it on to its host, on the host's
// GUI thread.
#pragma once

class EditorSizeListener {
public:
    virtual void editorResized(int width, int height) = 0;

protected:
    ~EditorSizeListener() = default;
};
