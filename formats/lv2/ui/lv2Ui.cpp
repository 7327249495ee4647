#include "lv2Ui.h"

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <cstring>

#include "core/programs/factoryPresets.h"
#include "editor/ADEditor.h"
#include "formats/lv2/lv2Instance.h"
#include "gui/CFrame.h"
#include "platform/window.h"

namespace {

const void* feature(const LV2_Feature* const* features, const char* uri) {
    if (!features) return nullptr;
    for (const LV2_Feature* const* f = features; *f; ++f)
        if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
    return nullptr;
}

// The host's ui:scaleFactor option, or 0 when it gives none.
double hostScaleFactor(const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(feature(features, LV2_URID__map));
    const auto* options = static_cast<const LV2_Options_Option*>(feature(features, LV2_OPTIONS__options));
    if (!map || !map->map || !options) return 0.0;
    const LV2_URID scaleFactor = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID atomFloat = map->map(map->handle, LV2_ATOM__Float);
    for (const LV2_Options_Option* o = options; o->key; ++o)
        if (o->key == scaleFactor && o->type == atomFloat && o->size == sizeof(float) && o->value)
            return *static_cast<const float*>(o->value);
    return 0.0;
}

}  // namespace

Lv2Ui::Lv2Ui(const char* pluginUri, LV2UI_Write_Function write, LV2UI_Controller controller,
             const LV2_Feature* const* features)
    : write(write),
      controller(controller),
      layout(pluginUri && std::strcmp(pluginUri, lv2ports::kMonoUri) == 0 ? lv2ports::kMonoLayout
                                                                          : lv2ports::kStereoLayout) {
    parent = const_cast<void*>(feature(features, LV2_UI__parent));
    touch = static_cast<const LV2UI_Touch*>(feature(features, LV2_UI__touch));
    resize = static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize));
    auto* instance =
        static_cast<Lv2Instance*>(const_cast<void*>(feature(features, LV2_INSTANCE_ACCESS_URI)));
    // Only an instance of ours, of the plug-in this UI was made for, and not
    // already edited by another UI.
    if (instance && instance->magic == Lv2Instance::kMagic &&
        instance->layout.audioInputs == layout.audioInputs && !instance->ui)
        dsp = instance;
    if (dsp) {
        dsp->ui = this;
        Compressor& shown = dsp->compressor;
        model = std::make_unique<EditorModel>(shown.parameters(), &shown.bank(), &port,
                                              shown.meterSource());
    } else {
        // The controls start at the first factory program until the host's ports speak.
        CProgram first;
        writeFactoryPreset(0, first);
        for (int i = 0; i < kProgramParams; ++i) mirror.set(i, first.getParam(i));
        model = std::make_unique<EditorModel>(mirror, nullptr, &port, &mirrorMeter);
    }
    editor = std::make_unique<ADEditor>(*model);
    editor->offerStrip();
    editor->setSizeListener(this);
    // The editor clamps and rounds it, and the user's override stands above it.
    editor->setHostScale(hostScaleFactor(features));
}

Lv2Ui::~Lv2Ui() {
    if (editor) editor->close();
    editor.reset();
    if (dsp) dsp->ui = nullptr;
}

void Lv2Ui::instanceGone() {
    // The editor works on the instance's compressor; it closes before that goes.
    if (editor) editor->close();
    editor.reset();
    model.reset();
    dsp = nullptr;
}

bool Lv2Ui::open() {
    if (!editor || !parent || !write) return false;
    if (!editor->open(parent)) return false;
    gui::ERect* rect = nullptr;
    if (editor->getRect(&rect) && rect) editorResized(rect->right - rect->left, rect->bottom - rect->top);
    return true;
}

void Lv2Ui::editorResized(int width, int height) {
    if (resize && resize->ui_resize) resize->ui_resize(resize->handle, width, height);
}

LV2UI_Widget Lv2Ui::widget() const {
    gui::CFrame* frame = editor ? editor->getFrame() : nullptr;
    return frame && frame->getPlatformWindow() ? frame->getPlatformWindow()->nativeHandle()
                                               : nullptr;
}

void Lv2Ui::portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (!model || format != 0 || size != sizeof(float) || !buffer) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    if (static_cast<int>(port) == layout.gainReduction()) {
        // With the instance at hand the editor reads its meter directly.
        if (!dsp) mirrorMeter.store(controls::meterReadingOf(value), std::memory_order_relaxed);
        return;
    }
    const int control = layout.controlOfPort(static_cast<int>(port));
    if (control < 0) return;
    const controls::Control& c = controls::kControls[control];
    const int step = controls::stepOf(c, value);
    // Only a real change is taken; the editor shows it at its next idle and
    // tells the host nothing back. A step run() has taken already is shown the same way.
    Parameters& parameters = dsp ? dsp->compressor.parameters() : mirror;
    if (step != controls::stepOfNormalised(c, parameters.get(c.parameter)))
        parameters.set(c.parameter, controls::normalisedOfStep(c, step));
}

int Lv2Ui::idle() {
    if (editor) editor->idle();
    return 0;
}

int Lv2Ui::portOfParameter(int parameter) const {
    for (int c = 0; c < controls::kCount; ++c)
        if (controls::kControls[c].parameter == parameter) return layout.controlPort(c);
    return -1;
}

void Lv2Ui::writePort(int port, float value) {
    if (write && port >= 0) write(controller, static_cast<uint32_t>(port), sizeof value, 0, &value);
}

void Lv2Ui::touchPort(int parameter, bool begin) {
    const int port = portOfParameter(parameter);
    if (port >= 0 && touch && touch->touch)
        touch->touch(touch->handle, static_cast<uint32_t>(port), begin);
}

void Lv2Ui::Port::automate(int parameter, float normalised) {
    const int port = ui.portOfParameter(parameter);
    if (port < 0) return;
    const controls::Control& c = controls::kControls[ui.layout.controlOfPort(port)];
    ui.writePort(port, controls::valueOfStep(c, controls::stepOfNormalised(c, normalised)));
}
