#include "ADEditor.h"

#include <cstdint>

#include "CAbout.h"
#include "CAnimKnob3.h"
#include "CBrasselVuMeter2.h"
#include "editorScale.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/CHorizontalSwitch.h"
#include "gui/CKnob.h"
#include "gui/COnOffButton.h"
#include "gui/scale.h"
#include "settingsStrip.h"

using namespace gui;

namespace {

constexpr int kBackgroundId = 12128;
constexpr int kProcessSwitchId = 12129;
constexpr int kMeterFaceId = 12151;
constexpr int kMeterOverlayId = 12152;
constexpr int kAboutPictureId = 12200;
constexpr int kStripTabId = 12305;
constexpr int kStripTabLeft = 348;
constexpr int kStripTabTop = 281;

struct KnobPlace {
    int tag;
    int bitmap;
    int frames;  // the parameter's own step grid
    int left;
    int top;
    float defaultValue;
    double sensitivity;  // 500 pixels of travel for the big knobs, 250 for the ratio
};

// Drawing order: time, compression, output, ratio.
constexpr KnobPlace kKnobs[] = {
    {ADEditor::kTimeTag, 12173, 21, 28, 143, 0.5f, 0.5},
    {ADEditor::kCompressionTag, 12171, 41, 143, 143, 0.5f, 0.5},
    {ADEditor::kOutputTag, 12177, 61, 258, 143, 0.0f, 0.5},
    {ADEditor::kRatioTag, 12181, 7, 50, 50, 0.5f, 0.25},
};

}  // namespace

ADEditor::ADEditor(EditorModel& model)
    : CPresetSystemEditor(model), background(new CBitmap(kBackgroundId)) {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<std::int16_t>(background->getHeight());
    rect.right = static_cast<std::int16_t>(background->getWidth());
}

void ADEditor::applyScale(void* parent) {
    scale = decideEditorScale(hostScale.load(), parent);
    scaleDecided = true;
    rect.bottom = static_cast<std::int16_t>(gui::scaled(layoutHeight(), scale));
    rect.right = static_cast<std::int16_t>(gui::scaled(background->getWidth(), scale));
}

bool ADEditor::stripWanted() const {
    return strip && model.getParameter(kEditorStripParameter) >= 0.5f;
}

int ADEditor::layoutHeight() const {
    const bool open = frame ? stripShown : stripWanted();
    return background->getHeight() + (open ? strip->height() : 0);
}

int ADEditor::panelBottom() const { return background->getHeight(); }

void ADEditor::offerStrip() {
    if (!strip) strip = std::make_unique<CSettingsStrip>();
}

bool ADEditor::getRect(ERect** r) {
    // Hosts size their window before they open the editor: answer at the scale
    // the editor would open at, decided once until the next close, and with
    // the strip as the session has it.
    if (!frame && !scaleDecided) applyScale(nullptr);
    if (!frame) rect.bottom = static_cast<std::int16_t>(gui::scaled(layoutHeight(), scale));
    return CPresetSystemEditor::getRect(r);
}

double ADEditor::getScale() const { return frame ? frame->getScale() : 1.0; }

ADEditor::~ADEditor() {
    if (frame) close();
    background->forget();
}

CAnimKnob3* ADEditor::getKnob(int tag) const {
    switch (tag) {
        case kRatioTag: return ratioKnob;
        case kTimeTag: return timeKnob;
        case kCompressionTag: return compressionKnob;
        case kOutputTag: return outputKnob;
        default: return nullptr;
    }
}

// ------------------------------------------------------------ open and close

bool ADEditor::open(void* ptr) {
    if (!background || !ptr) return false;
    // A second open without a close in between starts afresh.
    if (frame) close();
    AEffGUIEditor::open(ptr);
    stripShown = stripWanted();
    applyScale(ptr);
    frame = new CFrame(CRect(0, 0, background->getWidth(), layoutHeight()), ptr, this, scale);
    frame->setBackground(background);
    // The film-strip knobs drag linearly whatever the mode; the mode is set
    // for any stock knob that asks.
    setKnobMode(kLinearMode);
    if (!buildControls()) {
        close();
        return false;
    }
    CPresetSystemEditor::open(ptr);
    return true;
}

bool ADEditor::buildControls() {
    addMeter();
    addProcessSwitch();
    for (int which = 0; which < 4; ++which)
        if (!addKnob(which)) return false;
    if (strip && !addStrip()) return false;
    addAboutControl();
    return true;
}

bool ADEditor::addStrip() {
    // Built whole even while closed: the window's height hides it.
    if (!strip->add(*frame, this, model, background->getHeight())) return false;
    auto* picture = new CBitmap(kStripTabId);
    stripTab = new COnOffButton(CRect(kStripTabLeft, kStripTabTop, kStripTabLeft + picture->getWidth(),
                                      kStripTabTop + picture->getHeight() / 2),
                                this, kStripTabTag, picture);
    stripTab->setValue(stripShown ? 1.0f : 0.0f);
    shownChanges[kEditorStripParameter] = model.parameterChanges(kEditorStripParameter);
    for (int index = kOversamplingParameter; index < kEditorStripParameter; ++index)
        shownChanges[index] = model.parameterChanges(index);
    frame->addView(stripTab);
    picture->forget();
    return true;
}

CControl* ADEditor::getStripControl(int index) const { return strip ? strip->controlOf(index) : nullptr; }

void ADEditor::followStrip() {
    const bool want = stripWanted();
    if (frame && want != stripShown) {
        CRect size(0, 0, background->getWidth(), background->getHeight() + (want ? strip->height() : 0));
        frame->setViewSize(size);
        CRect now;
        frame->getViewSize(now);
        // A window the system would not resize keeps the strip as it was.
        if (now.height() == size.height()) {
            stripShown = want;
            rect.bottom = static_cast<std::int16_t>(gui::scaled(size.height(), scale));
            if (sizeListener) sizeListener->editorResized(rect.right - rect.left, rect.bottom - rect.top);
        }
    }
    // The tab shows what the window shows.
    if (stripTab) stripTab->setValue(stripShown ? 1.0f : 0.0f);
}

void ADEditor::addMeter() {
    auto* face = new CBitmap(kMeterFaceId);
    auto* overlay = new CBitmap(kMeterOverlayId);
    meter = new CBrasselVuMeter2(CRect(150, 66, 150 + face->getWidth(), 66 + face->getHeight()),
                                 this, kMeterTag, face, overlay, nullptr, CPoint(143, 110),
                                 CPoint(200, 155), 3.0f, 86.0f, 47.0f, 86.0f,
                                 CRect(200, 100, 210, 110), CRect(200, 100, 210, 110));
    meter->setDefaultValue(1.0f);
    meter->setA(0.001f);
    meter->setB(0.001f);
    meter->setC(0.001f);
    meter->setValue(1.0f);
    frame->addView(meter);
    face->forget();
    overlay->forget();
}

void ADEditor::addProcessSwitch() {
    auto* picture = new CBitmap(kProcessSwitchId);
    processSwitch = new CHorizontalSwitch(CRect(262, 46, 368, 124), this, kProcessTag, 3,
                                          picture->getHeight() / 3, 3, picture);
    processSwitch->setDefaultValue(0.0f);
    // Left to right the switch shows Valve, Clear, Off: the parameter reversed.
    processSwitch->setValue(1.0f - model.getParameter(kProcessTag));
    shownChanges[kProcessTag] = model.parameterChanges(kProcessTag);
    frame->addView(processSwitch);
    picture->forget();
}

bool ADEditor::addKnob(int which) {
    const KnobPlace& place = kKnobs[which];
    auto* strip = new CBitmap(place.bitmap);
    const int frameHeight = strip->getHeight() / place.frames;
    if (frameHeight < 1) {
        // A knob from an empty strip would divide by nothing.
        strip->forget();
        return false;
    }
    auto* knob = new CAnimKnob3(
        CRect(place.left, place.top, place.left + strip->getWidth(), place.top + frameHeight), this,
        place.tag, strip, place.frames);
    knob->setDefaultValue(place.defaultValue);
    knob->setValue(model.getParameter(place.tag));
    shownChanges[place.tag] = model.parameterChanges(place.tag);
    knob->setSensitivity(place.sensitivity);
    frame->addView(knob);
    strip->forget();
    switch (place.tag) {
        case kRatioTag: ratioKnob = knob; break;
        case kTimeTag: timeKnob = knob; break;
        case kCompressionTag: compressionKnob = knob; break;
        case kOutputTag: outputKnob = knob; break;
        default: break;
    }
    return true;
}

void ADEditor::addAboutControl() {
    auto* picture = new CBitmap(kAboutPictureId);
    aboutControl = new CAbout(CRect(96, 22, 304, 46), this, kAboutTag, picture,
                              CRect(0, 0, 400, 276));
    frame->addView(aboutControl);
    picture->forget();
}

void ADEditor::forgetControls() {
    processSwitch = nullptr;
    stripTab = nullptr;
    if (strip) strip->forget();
    ratioKnob = outputKnob = compressionKnob = timeKnob = nullptr;
    meter = nullptr;
    aboutControl = nullptr;
}

void ADEditor::close() {
    CPresetSystemEditor::close();
    forgetControls();
    if (frame) {
        CFrame* leaving = frame;
        frame = nullptr;
        leaving->forget();
    }
    // The parent window belongs to the host.
    AEffGUIEditor::close();
    scaleDecided = false;
}

// ---------------------------------------------------------------- changes

void ADEditor::valueChanged(CDrawContext* context, CControl* control) {
    CPresetSystemEditor::valueChanged(context, control);
    if (!control) return;
    const int tag = control->getTag();
    switch (tag) {
        case kProcessTag:
            if (control != processSwitch) break;
            model.setParameterAutomated(kProcessTag, 1.0f - control->getValue());
            showParameter(kProcessTag);
            control->setDirty();
            break;
        case kRatioTag:
        case kTimeTag:
        case kCompressionTag:
        case kOutputTag: {
            CAnimKnob3* knob = getKnob(tag);
            if (control != knob) break;
            // The knob keeps its own value until the model's step is shown back.
            model.setParameterAutomated(tag, knob->shownValue());
            showParameter(tag);
            control->setDirty();
            break;
        }
        case kStripTabTag:
            // The window changes size at the next idle, outside this press.
            if (control == stripTab) model.setParameterAutomated(kEditorStripParameter, control->getValue());
            break;
        default: {
            const float value = strip ? strip->valueOf(control) : -1.0f;
            if (value < 0.0f) break;  // the meter, the about screen and the panel's tags
            model.setParameterAutomated(tag, value);
            showParameter(tag);
            break;
        }
    }
}

void ADEditor::showParameterChanges() {
    // Every parameter, those without a control too: a change redraws the window.
    for (int index = 0; index < kNumParams; ++index)
        if (model.parameterChanges(index) != shownChanges[index]) showParameter(index);
}

void ADEditor::showParameter(int index) {
    if (!frame || !Parameters::isIndex(index)) return;
    // The count first: a change after it is found again at the next idle.
    shownChanges[index] = model.parameterChanges(index);
    // The model's stored value, clamped, is what the control shows.
    switch (index) {
        case kProcessTag:
            if (processSwitch) processSwitch->setValue(1.0f - model.getParameter(kProcessTag));
            break;
        case kRatioTag:
        case kTimeTag:
        case kCompressionTag:
        case kOutputTag:
            if (CAnimKnob3* knob = getKnob(index)) knob->setValue(model.getParameter(index));
            break;
        case kEditorStripParameter: followStrip(); break;
        default:
            if (strip) strip->show(index, model);
            break;
    }
    frame->setDirty(true);
}

// --------------------------------------------------------------- idle

void ADEditor::idle() {
    if (!frame) return;
    showParameterChanges();
    AEffGUIEditor::idle();
    CPresetSystemEditor::idle();

    float needle = static_cast<float>(1.0 - model.getMeterReading());
    if (needle > 1.0f)
        needle = 1.0f;
    else if (!(needle >= 0.0f))  // below 0, or not a number
        needle = 0.0f;
    // The needle stands still while the about picture covers it.
    const bool aboutShowing = aboutControl && aboutControl->getValue() != 0.0f;
    if (!aboutShowing && meter) meter->setValue(needle);
}

void ADEditor::resetMeter() {
    if (meter) meter->setValue(0.0f);
}
