// A file button of the preset panel: a press runs its file operation (a
// modal dialog) at once and the button shows its pressed picture until the
// mouse button is released. Pictures of 14 pixels, one above the other:
// normal, hovered, pressed.
#pragma once

#include "CPresetSystemListener.h"
#include "gui/CKickButton.h"

class CSaveLoadButton : public gui::CKickButton {
public:
    enum Kind { kLoadBank = 0, kSaveBank = 1, kLoadPreset = 2, kSavePreset = 3 };

    CSaveLoadButton(const gui::CRect& size, gui::CControlListener* listener, int tag,
                    int heightOfOneImage, gui::CBitmap* strip, const gui::CPoint& offset,
                    int kind, CPresetSystemListener* presetListener);
    ~CSaveLoadButton() override;

    void draw(gui::CDrawContext* context) override;
    void mouse(gui::CDrawContext* context, gui::CPoint& where, int buttons = -1) override;

    // Set by the panel's idle pass; redraws when it changes.
    virtual void setHover(bool on);

    bool isHovered() const { return hover; }
    int getKind() const { return kind; }
    int frameIndex() const;

protected:
    bool hover = false;
    int kind;
    CPresetSystemListener* presetListener;
};
