#include "guiHarness.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace wingui {

namespace {

LRESULT CALLBACK hostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* hostClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = hostProcedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = "KvbrTestHost";
        return RegisterClassA(&wc) != 0;
    }();
    return registered ? "KvbrTestHost" : nullptr;
}

}  // namespace

void RecordingListener::valueChanged(gui::CDrawContext*, gui::CControl* control) {
    char value[32];
    std::snprintf(value, sizeof value, "%g", static_cast<double>(control->getValue()));
    log.push_back("change " + std::to_string(control->getTag()) + " " + value);
    ++changes;
}

HWND testTopLevelWindow() {
    static HWND window = [] {
        RECT r{0, 0, 640, 480};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        AdjustWindowRect(&r, style, FALSE);
        HWND made = CreateWindowExA(0, hostClass(), "Korvane Brassel test host", style | WS_VISIBLE,
                                    40, 40, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(made);
        UpdateWindow(made);
        return made;
    }();
    return window;
}

HostWindow::HostWindow(int width, int height, int x, int y) {
    hwnd = CreateWindowExA(0, hostClass(), "host", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                           width, height, testTopLevelWindow(), nullptr, GetModuleHandleA(nullptr),
                           nullptr);
    UpdateWindow(hwnd);
}

HostWindow::~HostWindow() {
    if (hwnd) DestroyWindow(hwnd);
}

void pump(gui::AEffGUIEditor* editor, int ms) {
    const DWORD start = GetTickCount();
    DWORD lastIdle = start;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD now = GetTickCount();
        if (editor && now - lastIdle >= 20) {
            editor->idle();
            lastIdle = now;
        }
        if (static_cast<int>(now - start) >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void runWhile(gui::AEffGUIEditor* editor, const std::function<void()>& script, int settleMs) {
    std::atomic<bool> finished{false};
    std::thread helper([&] {
        script();
        finished = true;
    });
    while (!finished) pump(editor, 20);
    helper.join();
    pump(editor, settleMs);
}

// The picture of one of this program's bitmap resources.
screenshot::Image resourcePixels(int id) {
    return screenshot::resourcePixels(GetModuleHandleA(nullptr), id);
}

std::string outputPath(const char* fileName) {
    return std::string(KVBR_TEST_OUTPUT_DIR) + "\\" + fileName;
}

void GuiTest::SetUp() {
    liveAtStart = gui::CReferenceCounter::liveObjects();
    host = new HostWindow(kWidth + 100, kHeight + 60);
    ASSERT_NE(host->handle(), nullptr);
    effect = new RecordingEffect(log);
    editor = new TestEditor(effect, kWidth, kHeight);
    editor->open(host->handle());
    frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frameWindow(), nullptr);
    pumpFor(100);
}

void GuiTest::TearDown() {
    editor->close();
    delete effect;  // deletes the editor too
    delete host;
    pump(nullptr, 20);
    EXPECT_EQ(gui::CReferenceCounter::liveObjects(), liveAtStart) << "toolkit objects leaked";
}

HWND GuiTest::frameWindow() const {
    platform::Window* window = frame ? frame->getPlatformWindow() : nullptr;
    return window ? static_cast<HWND>(window->nativeHandle()) : nullptr;
}

POINT GuiTest::screen(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(frameWindow(), &p);
    return p;
}

}  // namespace wingui
