// The UI object's entry point: one X11 UI for both plug-ins.
#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstring>

#include "lv2Ui.h"

namespace {

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
    // No exception may cross into the host: a UI that cannot be built is a refusal.
    try {
        auto* ui = new Lv2Ui(pluginUri, write, controller, features);
        if (!ui->open()) {
            delete ui;
            return nullptr;
        }
        if (widget) *widget = ui->widget();
        return ui;
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle handle) { delete static_cast<Lv2Ui*>(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
    static_cast<Lv2Ui*>(handle)->portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle handle) { return static_cast<Lv2Ui*>(handle)->idle(); }

const LV2UI_Idle_Interface kIdle = {idle};

const void* extensionData(const char* uri) {
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdle;
    return nullptr;
}

const LV2UI_Descriptor kDescriptor = {lv2ports::kUiUri, instantiate, cleanup, portEvent,
                                      extensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
