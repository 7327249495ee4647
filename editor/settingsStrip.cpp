#include "settingsStrip.h"

#include "CAnimKnob3.h"
#include "core/parameters.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/CHorizontalSwitch.h"

using namespace gui;

namespace {

constexpr int kStripPictureId = 12300;
constexpr int kMixKnobId = 12301;
constexpr int kMixFrames = 101;  // one picture per percent

struct SwitchPlace {
    int parameter;
    int bitmap;
    int positions;
    int left;
    int top;  // below the strip's top
};

constexpr SwitchPlace kSwitches[3] = {
    {kOversamplingParameter, 12302, 3, 104, 33},
    {kSidechainFilterParameter, 12303, 5, 192, 33},
    {kKeyParameter, 12304, 2, 312, 33},
};
constexpr int kMixLeft = 20;
constexpr int kMixTop = 9;

}  // namespace

CSettingsStrip::CSettingsStrip() : picture(new CBitmap(kStripPictureId)) {}

CSettingsStrip::~CSettingsStrip() { picture->forget(); }

int CSettingsStrip::height() const { return picture->getHeight(); }

bool CSettingsStrip::add(CFrame& frame, CControlListener* listener, EditorModel& model, int top) {
    if (picture->getHeight() < 1) return false;
    auto* strip = new CBitmap(kMixKnobId);
    const int frameHeight = strip->getHeight() / kMixFrames;
    if (frameHeight < 1) {
        strip->forget();
        return false;
    }
    background = new CView(CRect(0, top, picture->getWidth(), top + picture->getHeight()));
    background->setBackground(picture);
    background->setMouseEnabled(false);
    frame.addView(background);

    mixKnob = new CAnimKnob3(CRect(kMixLeft, top + kMixTop, kMixLeft + strip->getWidth(),
                                   top + kMixTop + frameHeight),
                             listener, kMixParameter, strip, kMixFrames);
    mixKnob->setDefaultValue(1.0f);
    mixKnob->setSensitivity(0.5);
    frame.addView(mixKnob);
    strip->forget();

    for (int i = 0; i < 3; ++i) {
        const SwitchPlace& place = kSwitches[i];
        auto* cells = new CBitmap(place.bitmap);
        const int cellHeight = cells->getHeight() / place.positions;
        switches[i] = new CHorizontalSwitch(
            CRect(place.left, top + place.top, place.left + cells->getWidth(),
                  top + place.top + cellHeight),
            listener, place.parameter, place.positions, cellHeight, place.positions, cells);
        switches[i]->setDefaultValue(0.0f);
        frame.addView(switches[i]);
        cells->forget();
    }
    for (int index : {kOversamplingParameter, kMixParameter, kSidechainFilterParameter, kKeyParameter})
        show(index, model);
    return true;
}

void CSettingsStrip::forget() {
    background = nullptr;
    mixKnob = nullptr;
    for (auto*& control : switches) control = nullptr;
}

CControl* CSettingsStrip::controlOf(int index) const {
    if (index == kMixParameter) return mixKnob;
    for (int i = 0; i < 3; ++i)
        if (kSwitches[i].parameter == index) return switches[i];
    return nullptr;
}

void CSettingsStrip::show(int index, EditorModel& model) {
    if (CControl* control = controlOf(index)) {
        control->setValue(model.getParameter(index));
        control->setDirty();
    }
}

float CSettingsStrip::valueOf(const CControl* control) const {
    if (!control) return -1.0f;
    // The nearest percent, as the knob's picture shows it.
    if (control == mixKnob) return mixKnob->shownValue();
    for (CHorizontalSwitch* s : switches)
        if (control == s) return control->getValue();
    return -1.0f;
}
