// The CLAP editor under Wine, embedded as Windows CLAP hosts do it: a child
// window of the host's window, its messages through the host's loop, its
// redraws on the host's timer; a drag with real mouse input comes out as
// gesture begin, values and gesture end.
#include <windows.h>

#include <thread>

#include "clapTestSupport.h"
#include "gui/realInput.h"

namespace {

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcA(window, message, w, l);
}

HWND makeHostWindow() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = hostProcedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "KvbrClapHost";
        return RegisterClassA(&wc) != 0;
    }();
    if (!registered) return nullptr;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE;
    HWND window = CreateWindowExA(0, "KvbrClapHost", "CLAP host", style, 20, 20, 860, 700, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window);
    return window;
}

class ClapWin32Editor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host.create(library, kStereoId), nullptr);
        gui = host.extension<clapabi::PluginGui>(clapabi::kExtGui);
        parent = makeHostWindow();
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override {
        gui->destroy(host.plugin);
        EXPECT_TRUE(host.timers.empty());
        EXPECT_NO_THREAD_VIOLATIONS(host);
        host.destroy();
        DestroyWindow(parent);
    }
    // The host's loop: messages, the plug-in's timers about every 33 ms,
    // and the flushes it asks for.
    void loopFor(int ms) {
        const DWORD start = GetTickCount();
        while (static_cast<int>(GetTickCount() - start) < ms) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            host.fireTimers();
            host.serveFlush(false, sent);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 33, QS_ALLINPUT);
        }
    }
    HWND openEditor(double scale, LONG width, LONG height) {
        EXPECT_TRUE(gui->create(host.plugin, "win32", false));
        if (scale > 0) {
            EXPECT_TRUE(gui->setScale(host.plugin, scale));
        }
        std::uint32_t w = 0, h = 0;
        EXPECT_TRUE(gui->getSize(host.plugin, &w, &h));
        EXPECT_EQ(w, static_cast<std::uint32_t>(width));
        EXPECT_EQ(h, static_cast<std::uint32_t>(height));
        clapabi::Window window{"win32", {nullptr}};
        window.win32 = parent;
        EXPECT_TRUE(gui->setParent(host.plugin, &window));
        EXPECT_TRUE(gui->show(host.plugin));
        loopFor(300);
        HWND child = GetWindow(parent, GW_CHILD);
        RECT client{};
        GetClientRect(child, &client);
        EXPECT_EQ(client.right, width);
        EXPECT_EQ(client.bottom, height);
        return child;
    }

    ClapLibrary library;
    TestClapHost host;
    const clapabi::PluginGui* gui = nullptr;
    HWND parent = nullptr;
    std::vector<std::string> sent;
};

}  // namespace

TEST_F(ClapWin32Editor, AChildOfTheHostsWindowSendsADragAsOneGesture) {
    HWND child = openEditor(0.0, 400, 309);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(host.timers.size(), 1u);
    bool done = false;
    std::thread hand([&] {
        realInput::drag(realInput::at(child, 200, 200), realInput::at(child, 200, 150), 5, 30);
        done = true;
    });
    while (!done) loopFor(20);
    hand.join();
    loopFor(300);
    EXPECT_GT(valueOf(host, kCompression), 5.0);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(), "begin 5");
    EXPECT_EQ(sent.back(), "end 5");
    for (std::size_t i = 1; i + 1 < sent.size(); ++i) EXPECT_EQ(sent[i].rfind("value 5 ", 0), 0u) << sent[i];
    gui->destroy(host.plugin);
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(ClapWin32Editor, AtScaleTwoAndAfterFiftyCyclesNothingIsLeft) {
    HWND child = openEditor(2.0, 800, 618);
    gui->destroy(host.plugin);
    EXPECT_FALSE(IsWindow(child));
    for (int cycle = 0; cycle < 50; ++cycle) {
        ASSERT_TRUE(gui->create(host.plugin, "win32", false));
        clapabi::Window window{"win32", {nullptr}};
        window.win32 = parent;
        ASSERT_TRUE(gui->setParent(host.plugin, &window));
        loopFor(10);
        gui->destroy(host.plugin);
        ASSERT_EQ(GetWindow(parent, GW_CHILD), nullptr) << "cycle " << cycle;
        ASSERT_TRUE(host.timers.empty()) << "cycle " << cycle;
    }
}
