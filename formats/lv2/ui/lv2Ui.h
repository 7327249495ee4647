// One LV2 UI instance: the plug-in's own editor in the host's window. With
// the host's instance access it edits the plug-in instance's effect itself,
// bank and all, exactly as the VST 2.x editor does; without it, an effect of
// its own that mirrors the ports. Either way every edit reaches the host as a
// port write, and host changes arrive as port events.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <memory>

#include "formats/lv2/ports.h"

class ADEditor;
class AutoComp;
class UiEffect;
struct HostLink;
struct Lv2Instance;

class Lv2Ui {
public:
    Lv2Ui(const char* pluginUri, LV2UI_Write_Function write, LV2UI_Controller controller,
          const LV2_Feature* const* features);
    ~Lv2Ui();
    Lv2Ui(const Lv2Ui&) = delete;
    Lv2Ui& operator=(const Lv2Ui&) = delete;

    // Opens the editor in the host's window; false without a parent or an editor.
    bool open();
    // The editor's X11 window, for the host.
    LV2UI_Widget widget() const;
    // Host's GUI thread: a port's new value (controls and the meter).
    void portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
    // Host's GUI thread, 20 to 60 times a second: events, drawing, the meter.
    int idle();
    // The preset panel works only on the plug-in instance's own bank.
    bool hasInstanceAccess() const { return dsp != nullptr; }

private:
    static void automate(void* context, int parameter, float normalised);
    static void gesture(void* context, int parameter, bool begin);
    static void detach(void* context);
    // The control port of a VST 2.x parameter index, or -1 (the blank ones).
    int portOfParameter(int parameter) const;
    void writePort(int port, float value);

    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    void* parent = nullptr;
    const LV2UI_Touch* touch = nullptr;
    const LV2UI_Resize* resize = nullptr;
    Lv2Instance* dsp = nullptr;
    std::unique_ptr<HostLink> ownLink;
    std::unique_ptr<UiEffect> ownEffect;
    HostLink* link = nullptr;
    AutoComp* effect = nullptr;
    ADEditor* editor = nullptr;
    lv2ports::Layout layout;
};
