// The plug-in's editor: a 400 x 309 layout with the process switch, the four
// film-strip knobs, the needle meter and the about screen over the panel
// picture, and the preset panel of its base along the bottom edge. Controls
// send their changes to the model as automated parameter changes; changes
// made elsewhere are found at the next idle. The window is the layout times
// the scale decided when it opens (editorScale.h).
#pragma once

#include <atomic>
#include <cstdint>

#include "CPresetSystemEditor.h"

namespace gui {
class CBitmap;
class CHorizontalSwitch;
}  // namespace gui

class CAbout;
class CAnimKnob3;
class CBrasselVuMeter2;

class ADEditor : public CPresetSystemEditor {
public:
    // Sizes itself from the panel picture; the model outlives it.
    explicit ADEditor(EditorModel& model);
    ~ADEditor() override;

    // Host's GUI thread: builds the window and every control from the model's
    // current values; false without a parent window, or when a knob's picture
    // is missing (nothing is left open then).
    bool open(void* ptr) override;
    // Host's GUI thread: destroys the window and all controls.
    void close() override;
    // Host's GUI thread (effEditGetRect): the window's size at the scale it has,
    // or, while closed, at the scale it would open at now.
    bool getRect(gui::ERect** rect) override;
    // Any thread: the host's factor for the next opening (0 withdraws it). The
    // VST 2.x host's vendor-specific call lands here, and so can another
    // format's host option.
    void setHostScale(double factor) { hostScale.store(factor); }
    // Host's GUI thread, while closed: the next getRect decides the scale
    // afresh, for hosts whose request changed after they asked for the size.
    void redecideScale() {
        if (!frame) scaleDecided = false;
    }
    // The factor the open editor is drawn at (1 while closed).
    double getScale() const;
    // Host's GUI thread: shows parameters changed elsewhere, redraws what
    // changed, moves the hover pictures and feeds the meter with 1 - the
    // engine's meter reading.
    void idle() override;
    // The control of parameter `index` shows the model's value, and the whole
    // window is redrawn at the next idle.
    void showParameter(int index);
    // Every parameter changed since it was last shown, as showParameter.
    void showParameterChanges() override;
    void valueChanged(gui::CDrawContext* context, gui::CControl* control) override;

    // The needle goes to rest at once.
    virtual void resetMeter();

    CBrasselVuMeter2* getMeter() const { return meter; }
    gui::CHorizontalSwitch* getProcessSwitch() const { return processSwitch; }
    CAbout* getAboutControl() const { return aboutControl; }
    // The knob of parameter `tag` (2, 4, 5 or 6), or null.
    CAnimKnob3* getKnob(int tag) const;

    // Tags of the compressor's own controls: the parameter indices, and two more.
    enum { kProcessTag = 0, kRatioTag = 2, kTimeTag = 4, kCompressionTag = 5, kOutputTag = 6,
           kAboutTag = 13, kMeterTag = 14 };

private:
    // Adds the controls of the layout in drawing order; false when a knob
    // cannot be built.
    bool buildControls();
    void addMeter();
    void addProcessSwitch();
    bool addKnob(int which);
    void addAboutControl();
    void forgetControls();
    // Decides the scale and sizes the rectangle from it.
    void applyScale(void* parent);

    gui::CBitmap* background;
    gui::CHorizontalSwitch* processSwitch = nullptr;
    CAnimKnob3* ratioKnob = nullptr;
    CAnimKnob3* outputKnob = nullptr;
    CAnimKnob3* compressionKnob = nullptr;
    CAnimKnob3* timeKnob = nullptr;
    CBrasselVuMeter2* meter = nullptr;
    CAbout* aboutControl = nullptr;
    // The parameters' change counts the controls show.
    std::uint32_t shownChanges[kNumParams] = {};
    std::atomic<double> hostScale{0.0};
    double scale = 1.0;
    bool scaleDecided = false;
};
