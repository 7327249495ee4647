#include "bitmaps.h"

#include "about.h"
#include "buttons.h"
#include "knobs.h"
#include "meter.h"
#include "panel.h"
#include "processSwitch.h"
#include "strip.h"

namespace artwork {

Bitmaps renderAll()
{
    Bitmaps out;
    Image panel = renderPanel();

    out.emplace(kProcessSwitchStrip, renderProcessSwitch(panel));
    out.emplace(kMeterFace, renderMeterFace());
    out.emplace(kMeterOverlay, panel.crop(layout::kMeterOverlay));
    out.emplace(kCompressionKnob, renderKnobStrip(panel, layout::kCompressionKnob, largeKnob(), 41));
    out.emplace(kTimeKnob, renderKnobStrip(panel, layout::kTimeKnob, largeKnob(), 21));
    out.emplace(kOutputKnob, renderKnobStrip(panel, layout::kOutputKnob, largeKnob(), 61));
    out.emplace(kRatioKnob, renderKnobStrip(panel, layout::kRatioKnob, smallKnob(), 7));
    out.emplace(kAbout, renderAbout());

    out.emplace(kRecallA, renderSmallButton(panel, layout::kRecallA, ButtonIcon::Recall));
    out.emplace(kRecallB, renderSmallButton(panel, layout::kRecallB, ButtonIcon::Recall));
    out.emplace(kLoadBank, renderSmallButton(panel, layout::kLoadBank, ButtonIcon::Load));
    out.emplace(kSaveBank, renderSmallButton(panel, layout::kSaveBank, ButtonIcon::Save));
    out.emplace(kStoreA, renderSmallButton(panel, layout::kStoreA, ButtonIcon::Store));
    out.emplace(kStoreB, renderSmallButton(panel, layout::kStoreB, ButtonIcon::Store));
    out.emplace(kRocker, renderRocker(panel, layout::kRocker));
    out.emplace(kLoadPreset, renderSmallButton(panel, layout::kLoadPreset, ButtonIcon::Load));
    out.emplace(kSavePreset, renderSmallButton(panel, layout::kSavePreset, ButtonIcon::Save));
    out.emplace(kStripTab, renderStripTab(panel, layout::kStripTab));

    Image strip = renderStrip();
    out.emplace(kMixKnob, renderKnobStrip(strip, onStrip(layout::kMixKnob), mixKnob(), 101));
    out.emplace(kOversampling, renderSelector(strip, layout::kOversampling, {"Off", "2x", "4x"}));
    out.emplace(kSidechainFilter, renderSelector(strip, layout::kSidechainFilter, {"Off", "60", "90", "150", "250"}));
    out.emplace(kKeySelector, renderSelector(strip, layout::kKeySelector, {"Int", "Ext"}));
    out.emplace(kStrip, std::move(strip));

    out.emplace(kBackground, std::move(panel));
    return out;
}

int frameCount(int id)
{
    switch (id) {
    case kProcessSwitchStrip: return 3;
    case kCompressionKnob: return 41;
    case kTimeKnob: return 21;
    case kOutputKnob: return 61;
    case kRatioKnob: return 7;
    case kRocker: return 5;
    case kMixKnob: return 101;
    case kOversampling: return 3;
    case kSidechainFilter: return 5;
    case kKeySelector: return 2;
    case kStripTab: return 2;
    case kRecallA: case kRecallB: case kLoadBank: case kSaveBank:
    case kStoreA: case kStoreB: case kLoadPreset: case kSavePreset: return 4;
    default: return 1;
    }
}

} // namespace artwork
