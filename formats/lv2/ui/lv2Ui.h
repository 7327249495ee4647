// One LV2 UI instance: the plug-in's own editor in the host's window. With
// the host's instance access it edits the plug-in instance's compressor
// itself, bank and all, exactly as the VST 2.x editor does; without it, a
// mirror of the ports without a bank. Either way every edit reaches the host
// as a port write, and host changes arrive as port events.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <atomic>
#include <memory>

#include "core/editorModel.h"
#include "core/hostPort.h"
#include "core/parameters.h"
#include "editor/editorSizeListener.h"
#include "formats/lv2/ports.h"

#include "formats/lv2/lv2Instance.h"

class ADEditor;

class Lv2Ui final : public Lv2InstanceUser, private EditorSizeListener {
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
    // The instance is going away first: its editor goes with it.
    void instanceGone() override;
    ADEditor* getEditor() const { return editor.get(); }

private:
    // The user's edits as port writes and touches.
    class Port : public HostPort {
    public:
        explicit Port(Lv2Ui& ui) : ui(ui) {}
        void beginEdit(int parameter) override { ui.touchPort(parameter, true); }
        void endEdit(int parameter) override { ui.touchPort(parameter, false); }
        void automate(int parameter, float value) override;
        // The host learns of a program through its controls.
        void updateDisplay() override {}

    private:
        Lv2Ui& ui;
    };

    // The strip opened or closed: the host sizes its window anew.
    void editorResized(int width, int height) override;
    // The control port of a parameter index, or -1 (the blank ones).
    int portOfParameter(int parameter) const;
    void writePort(int port, float value);
    void touchPort(int parameter, bool begin);

    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    void* parent = nullptr;
    const LV2UI_Touch* touch = nullptr;
    const LV2UI_Resize* resize = nullptr;
    Lv2Instance* dsp = nullptr;
    // Without instance access: the ports' values and the meter the host passes on.
    Parameters mirror;
    std::atomic<double> mirrorMeter{1.0};
    Port port{*this};
    std::unique_ptr<EditorModel> model;
    std::unique_ptr<ADEditor> editor;
    lv2ports::Layout layout;
};
