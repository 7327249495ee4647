// The frame's child window: its class and styles, the class's life across
// several frames, paints, presses and the wheel from real input, and the host
// destroying its window under the frame.
#include <cstdio>
#include <cstring>

#include "guiHarness.h"
#include "platform/windows/module.h"
#include "platform/windows/windowClass.h"
#include "pngWriter.h"
#include "realInput.h"

using namespace wingui;
using namespace gui;

namespace {

std::string expectedClassName() {
    char name[32];
    std::snprintf(name, sizeof name, "Plugin%p",
                  static_cast<void*>(platform::windows::moduleHandle()));
    return name;
}

bool classRegistered() {
    WNDCLASSA info;
    const std::string name = expectedClassName();
    return GetClassInfoA(platform::windows::moduleHandle(), name.c_str(), &info) != 0;
}

// Counts the pixels of `a` inside `area` that differ from `b` at the same place.
int differences(const screenshot::Image& a, const screenshot::Image& b, const RECT& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (a.at(x, y) != b.at(x, y)) ++n;
    return n;
}

}  // namespace

using FrameWindow = GuiTest;

TEST_F(FrameWindow, IsAVisibleChildWindowOfTheHostsWindow) {
    HWND hwnd = frameWindow();
    char text[64];
    GetClassNameA(hwnd, text, sizeof text);
    EXPECT_EQ(std::string(text), expectedClassName());
    GetWindowTextA(hwnd, text, sizeof text);
    EXPECT_STREQ(text, "Window");
    EXPECT_EQ(GetParent(hwnd), host->handle());
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    const LONG_PTR wanted = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_BORDER | WS_CAPTION | WS_POPUP), 0);
    RECT r;
    GetWindowRect(hwnd, &r);
    POINT topLeft{r.left, r.top};
    ScreenToClient(host->handle(), &topLeft);
    EXPECT_EQ(topLeft.x, 0);
    EXPECT_EQ(topLeft.y, 0);
    EXPECT_EQ(r.right - r.left, kWidth);
    EXPECT_EQ(r.bottom - r.top, kHeight);
    EXPECT_NE(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 0) << "the frame is stored with its window";

    WNDCLASSA info;
    ASSERT_TRUE(
        GetClassInfoA(platform::windows::moduleHandle(), expectedClassName().c_str(), &info));
    EXPECT_EQ(info.style & CS_GLOBALCLASS, static_cast<UINT>(CS_GLOBALCLASS));
    EXPECT_EQ(info.hbrBackground,
              reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(info.hInstance, platform::windows::moduleHandle());

    const platform::Point origin = frame->getPlatformWindow()->screenOrigin();
    const POINT expected = screen(0, 0);
    EXPECT_EQ(origin.x, expected.x);
    EXPECT_EQ(origin.y, expected.y);
}

TEST(FrameWindowClass, IsSharedByFramesAndUnregisteredAfterTheLast) {
    ASSERT_FALSE(classRegistered());
    Log log;
    HostWindow firstHost(200, 100), secondHost(200, 100, 220, 0);
    RecordingEffect firstEffect(log), secondEffect(log);
    auto* first = new TestEditor(&firstEffect, 200, 100);
    auto* second = new TestEditor(&secondEffect, 200, 100);
    first->open(firstHost.handle());
    EXPECT_TRUE(classRegistered());
    second->open(secondHost.handle());
    EXPECT_EQ(platform::windows::windowClassUsers(), 2);
    first->close();
    EXPECT_TRUE(classRegistered()) << "the second frame still uses the class";
    EXPECT_TRUE(second->getFrame()->isOpen());
    second->close();
    EXPECT_FALSE(classRegistered());
    // A later frame registers the class again.
    first->open(firstHost.handle());
    EXPECT_TRUE(classRegistered());
    first->close();
    EXPECT_FALSE(classRegistered());
}

TEST_F(FrameWindow, PaintsTheDamagedRectangleFromTheOffscreenPicture) {
    auto* background = new CBitmap(12128);
    frame->setBackground(background);
    background->forget();
    EXPECT_TRUE(frame->isFirstDraw() == false) << "the window was painted when it appeared";
    InvalidateRect(frameWindow(), nullptr, FALSE);
    pumpFor(100);
    const screenshot::Image shown = screenshot::capture(frameWindow());
    const screenshot::Image picture = resourcePixels(12128);
    ASSERT_EQ(shown.width, kWidth);
    ASSERT_EQ(picture.width, kWidth);
    EXPECT_EQ(differences(shown, picture, RECT{0, 0, kWidth, kHeight}), 0);

    // Only the damaged part is painted again.
    // (No editor idle here: it would redraw the changed frame whole.)
    frame->setBackgroundColor(kRedCColor);
    frame->setBackground(nullptr);
    const RECT damaged{10, 20, 60, 50};
    InvalidateRect(frameWindow(), &damaged, FALSE);
    pump(nullptr, 50);
    const screenshot::Image after = screenshot::capture(frameWindow());
    EXPECT_EQ(after.at(10, 20), 0xFF0000u);
    EXPECT_EQ(after.at(59, 49), 0xFF0000u);
    EXPECT_EQ(after.at(60, 49), picture.at(60, 49));
    EXPECT_EQ(after.at(9, 20), picture.at(9, 20));
    EXPECT_EQ(differences(after, picture, RECT{0, 0, kWidth, 20}), 0);
}

namespace {

// A view that logs the presses and wheel turns that reach it.
class ProbeView : public CView {
public:
    ProbeView(const CRect& size, Log& log) : CView(size), log(log) {}
    void mouse(CDrawContext* context, CPoint& where, int buttons) override {
        if (buttons == -1) buttons = context->getMouseButtons();
        log.push_back("mouse " + std::to_string(where.h) + "," + std::to_string(where.v) + " " +
                      std::to_string(buttons));
    }
    bool onWheel(CDrawContext*, const CPoint& where, float distance) override {
        log.push_back("wheel " + std::to_string(where.h) + "," + std::to_string(where.v) + " " +
                      std::to_string(static_cast<int>(distance)));
        return true;
    }
    void draw(CDrawContext* context) override {
        context->setFillColor(kGreyCColor);
        context->fillRect(size);
        setDirty(false);
    }

private:
    Log& log;
};

}  // namespace

TEST_F(FrameWindow, ButtonsAndWheelReachTheViewUnderThePointer) {
    frame->addView(new ProbeView(CRect(100, 100, 200, 150), log));
    play([&] {
        realInput::click(screen(120, 110));
        realInput::rightClick(screen(150, 140));
        realInput::click(screen(20, 20));  // on no view
    });
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "mouse 120,110 1") << "frame point, left button";
    EXPECT_EQ(log[1], "mouse 150,140 4") << "right button";
    log.clear();

    // The wheel goes to the focus window, and from there to the view under the pointer.
    SetFocus(frameWindow());
    play([&] {
        realInput::moveTo(screen(130, 120));
        realInput::wheel(240);
        realInput::wheel(-120);
    });
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "wheel 130,120 2");
    EXPECT_EQ(log[1], "wheel 130,120 -1");
}

TEST_F(FrameWindow, ClosesWhenTheHostDestroysItsWindow) {
    EXPECT_TRUE(frame->isOpen());
    DestroyWindow(host->handle());
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getSystemWindow(), nullptr);
    EXPECT_FALSE(frame->idle());
    // Closing the editor afterwards destroys nothing twice.
}

TEST_F(FrameWindow, SwappedButtonsAreReadWhenTheClassIsRegistered) {
    editor->close();
    const BOOL wasSwapped = SwapMouseButton(TRUE);
    editor->open(host->handle());
    frame = editor->getFrame();
    SwapMouseButton(wasSwapped);  // read once: the frame keeps what it saw
    frame->addView(new ProbeView(CRect(0, 0, 100, 100), log));
    play([&] { realInput::click(screen(10, 10)); });
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "mouse 10,10 4") << "the physical left button is the user's right one";

    // The next registration reads the setting again.
    editor->close();
    editor->open(host->handle());
    frame = editor->getFrame();
    frame->addView(new ProbeView(CRect(0, 0, 100, 100), log));
    log.clear();
    play([&] { realInput::click(screen(10, 10)); });
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "mouse 10,10 1");
}
