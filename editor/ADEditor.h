// The plug-in's editor: a 400 x 309 layout with the process switch, the four
// film-strip knobs, the needle meter and the about screen over the panel
// picture, and the preset panel of its base along the bottom edge. Controls
// send their changes to the model as automated parameter changes; changes
// made elsewhere are found at the next idle. The window is the layout times
// the scale decided when it opens (editorScale.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "CPresetSystemEditor.h"
#include "editorSizeListener.h"

namespace gui {
class CBitmap;
class CHorizontalSwitch;
class COnOffButton;
}  // namespace gui

class CAbout;
class CAnimKnob3;
class CBrasselVuMeter2;
class CSettingsStrip;

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
    // Host's GUI thread, before open: the formats with the instance's
    // settings offer the strip that holds them, behind a tab on the panel.
    // Without it the editor is the twelve-parameter one it always was.
    void offerStrip();
    // Host's GUI thread: who hears of the open window's new sizes (null: nobody).
    void setSizeListener(EditorSizeListener* listener) { sizeListener = listener; }
    bool offersStrip() const { return strip != nullptr; }
    bool isStripOpen() const { return stripShown; }
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
    gui::COnOffButton* getStripTab() const { return stripTab; }
    // The strip's control of parameter `index` (12 to 15), or null.
    gui::CControl* getStripControl(int index) const;
    // The knob of parameter `tag` (2, 4, 5 or 6), or null.
    CAnimKnob3* getKnob(int tag) const;

    // Tags of the compressor's own controls: the parameter indices (the
    // strip's too), and two more.
    enum { kProcessTag = 0, kRatioTag = 2, kTimeTag = 4, kCompressionTag = 5, kOutputTag = 6,
           kStripTabTag = kEditorStripParameter, kAboutTag = 60, kMeterTag = 61 };

protected:
    // The panel's bottom edge: the panel picture's, with the strip open or not.
    int panelBottom() const override;

private:
    // Adds the controls of the layout in drawing order; false when a knob
    // cannot be built.
    bool buildControls();
    void addMeter();
    void addProcessSwitch();
    bool addKnob(int which);
    void addAboutControl();
    bool addStrip();
    void forgetControls();
    // Decides the scale and sizes the rectangle from it.
    void applyScale(void* parent);
    // The layout's height with the strip as the model has it.
    int layoutHeight() const;
    bool stripWanted() const;
    // Opens or closes the strip of the open editor as the model says, and
    // tells the listener of the new size.
    void followStrip();

    gui::CBitmap* background;
    gui::CHorizontalSwitch* processSwitch = nullptr;
    CAnimKnob3* ratioKnob = nullptr;
    CAnimKnob3* outputKnob = nullptr;
    CAnimKnob3* compressionKnob = nullptr;
    CAnimKnob3* timeKnob = nullptr;
    CBrasselVuMeter2* meter = nullptr;
    CAbout* aboutControl = nullptr;
    gui::COnOffButton* stripTab = nullptr;
    std::unique_ptr<CSettingsStrip> strip;
    EditorSizeListener* sizeListener = nullptr;
    bool stripShown = false;
    // The parameters' change counts the controls show.
    std::uint32_t shownChanges[kNumParams] = {};
    std::atomic<double> hostScale{0.0};
    double scale = 1.0;
    bool scaleDecided = false;
};
