// Windows: the VST 3 editor as a child of the host's HWND under Wine, driven
// by its own window timer through the host's message loop: a knob dragged
// with real input reaches the host as one edit gesture, the host's meter
// value moves the needle, a content scale of 2 reopens it at 800 x 618.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "tests/windows/gui/realInput.h"
#include "formats/vst3/abi/view.h"
#include "vst3TestHost.h"

using namespace vst3test;

namespace {

class HostFrame final : public Held<IPlugFrame> {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<HostFrame, IPlugFrame>(this, iid, obj);
    }
    tresult KVBR_VST3_CALL resizeView(IPlugView* view, ViewRect* size) override {
        if (!view || !size) return kInvalidArgument;
        resized.push_back(*size);
        return view->onSize(size);
    }
    std::vector<ViewRect> resized;
};

// The host's message loop for a while.
void pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
}

SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The sum of a region's pixels as the window shows them.
long long regionSum(HWND window, int left, int top, int right, int bottom) {
    HDC dc = GetDC(window);
    long long sum = 0;
    for (int y = top; y < bottom; y += 2)
        for (int x = left; x < right; x += 2) sum += GetPixel(dc, x, y) & 0xFFFFFF;
    ReleaseDC(window, dc);
    return sum;
}

}  // namespace

TEST(Vst3WindowsView, TheEditorLivesInTheHostsWindow) {
    // KVBR_VST3_INSTALLED names an installed bundle's binary instead of the
    // build's (the installer trial opens what the setup program put in place).
    const char* installed = std::getenv("KVBR_VST3_INSTALLED");
    Module module(installed && *installed ? installed : KVBR_VST3_BINARY);
    ASSERT_TRUE(module.valid()) << module.error;
    Instance plugin(module);
    ASSERT_TRUE(plugin.valid());
    HWND top = CreateWindowExA(0, "STATIC", "VST 3 host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 900,
                               700, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(top, nullptr);
    pump(200);

    HostFrame frame;
    IPlugView* view = plugin.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    view->setFrame(&frame);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 400);
    EXPECT_EQ(size.bottom, 309);
    ASSERT_EQ(view->attached(top, "HWND"), kResultOk);
    HWND editor = GetWindow(top, GW_CHILD);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(clientSize(editor).cx, 400);
    EXPECT_EQ(clientSize(editor).cy, 309);
    pump(300);

    // The compression knob, dragged up while the host's loop runs.
    std::atomic<bool> dragged{false};
    std::thread hands([&] {
        realInput::drag(realInput::at(editor, 200, 200), realInput::at(editor, 200, 140), 6, 40);
        dragged = true;
    });
    while (!dragged) pump(20);
    hands.join();
    pump(200);
    std::vector<std::string> gesture;
    for (const std::string& entry : plugin.handler.log)
        if (entry == "begin 5" || entry == "end 5" || (entry.rfind("perform 5 ", 0) == 0 && (gesture.empty() || gesture.back() != "perform")))
            gesture.push_back(entry.rfind("perform", 0) == 0 ? "perform" : entry);
    EXPECT_EQ(gesture, (std::vector<std::string>{"begin 5", "perform", "end 5"}));
    EXPECT_GT(plugin.handler.lastPerformed(5), 0.5);

    // The window timer moves the needle to the host's meter value.
    const long long resting = regionSum(editor, 150, 66, 250, 150);
    ASSERT_EQ(plugin.controller->setParamNormalized(kGainReductionId, 0.5), kResultOk);
    pump(800);
    EXPECT_NE(regionSum(editor, 150, 66, 250, 150), resting);

    // Twice the scale: reopened at 800 x 618, and the host told.
    void* support = nullptr;
    ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid, &support), kResultOk);
    EXPECT_EQ(static_cast<IPlugViewContentScaleSupport*>(support)->setContentScaleFactor(2.0f), kResultTrue);
    static_cast<FUnknown*>(support)->release();
    ASSERT_FALSE(frame.resized.empty());
    EXPECT_EQ(frame.resized.back().right, 800);
    EXPECT_EQ(frame.resized.back().bottom, 618);
    editor = GetWindow(top, GW_CHILD);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(clientSize(editor).cx, 800);
    EXPECT_EQ(clientSize(editor).cy, 618);
    pump(200);

    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
    view->setFrame(nullptr);
    EXPECT_EQ(view->release(), 0u);
    EXPECT_EQ(frame.held(), 0);
    DestroyWindow(top);
}
