// The stock controls on the editor's own picture, built as the editor builds
// them and driven by real mouse and keyboard input: the process switch, the
// film-strip knobs, the name field with its native edit box and the preset
// menu with its native pop-up. Leaves stock-controls-windows.png and
// preset-menu-windows.png in the build folder.
#include <cstring>

#include "guiHarness.h"
#include "pngWriter.h"
#include "realInput.h"

using namespace wingui;
using namespace gui;

namespace {

constexpr CColor kFieldBackground{207, 222, 235, 255};
constexpr CColor kFieldText{76, 76, 72, 255};

CAnimKnob* filmStripKnob(const CRect& place, CControlListener* listener, int tag, int resource,
                         int frames, float value) {
    auto* strip = new CBitmap(resource);
    const int frameHeight = strip->getHeight() / frames;
    CRect size(place.left, place.top, place.left + strip->getWidth(), place.top + frameHeight);
    auto* knob = new CAnimKnob(size, listener, tag, frames, frameHeight, strip);
    knob->setDefaultValue(0.5f);
    knob->setValue(value);
    strip->forget();
    return knob;
}

std::string lastWords(const Log& log, std::size_t n) {
    std::string s;
    for (std::size_t i = log.size() > n ? log.size() - n : 0; i < log.size(); ++i)
        s += log[i] + "; ";
    return s;
}

HWND editBoxOf(HWND frameWindow) { return realInput::findChild(frameWindow, "Edit"); }

std::uint32_t packed(CColor c) {
    return (std::uint32_t(c.red) << 16) | (std::uint32_t(c.green) << 8) | c.blue;
}

}  // namespace

class StockControls : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        auto* background = new CBitmap(12128);
        frame->setBackground(background);
        background->forget();
        editor->setKnobMode(kLinearMode);

        auto* switchPicture = new CBitmap(12129);
        processSwitch = new CHorizontalSwitch(CRect(262, 46, 368, 124), &listener, 0, 3,
                                              switchPicture->getHeight() / 3, 3, switchPicture);
        processSwitch->setValue(0.5f);
        frame->addView(processSwitch);
        switchPicture->forget();

        timeKnob = filmStripKnob(CRect(28, 143, 0, 0), &listener, 4, 12173, 21, 0.5f);
        frame->addView(timeKnob);
        compressionKnob = filmStripKnob(CRect(143, 143, 0, 0), &listener, 5, 12171, 41, 0.5f);
        frame->addView(compressionKnob);
        frame->addView(filmStripKnob(CRect(258, 143, 0, 0), &listener, 6, 12177, 61, 0.0f));
        frame->addView(filmStripKnob(CRect(50, 50, 0, 0), &listener, 2, 12181, 7, 0.5f));

        auto* panel = new CBitmap(12128);
        nameField = new CTextEdit(CRect(138, 285, 251, 299), &listener, 43, "Current", panel);
        nameField->setBackOffset(CPoint(138, 285));
        nameField->setBackColor(kFieldBackground);
        nameField->setFont(4);
        nameField->setFontColor(kFieldText);
        nameField->setFrameColor(kFieldText);
        nameField->setHoriAlign(kCenterText);
        nameField->setWantsFocus(true);
        frame->addView(nameField);
        panel->forget();

        presetMenu = new COptionMenu(CRect(254, 285, 264, 299), &listener, 49);
        presetMenu->addEntry("Current");
        presetMenu->addEntry("-");
        for (int slot = 1; slot <= 32; ++slot)
            presetMenu->addEntry(("Preset " + std::to_string(slot)).c_str());
        presetMenu->setNbItemsPerColumn(16);
        presetMenu->setStyle(kNoDrawStyle | kCheckStyle);
        presetMenu->setCurrent(0, false);
        frame->addView(presetMenu);

        frame->setDirty(true);
        pumpFor(100);
        log.clear();
    }

    CHorizontalSwitch* processSwitch = nullptr;
    CAnimKnob* timeKnob = nullptr;
    CAnimKnob* compressionKnob = nullptr;
    CTextEdit* nameField = nullptr;
    COptionMenu* presetMenu = nullptr;
};

TEST_F(StockControls, SwitchAndKnobsFollowTheMouse) {
    play([&] { realInput::click(screen(262 + 10, 80)); });
    EXPECT_EQ(processSwitch->getValue(), 0.0f) << lastWords(log, 4);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "begin 0");
    EXPECT_EQ(log[1], "change 0 0");
    EXPECT_EQ(log.back(), "end 0");

    // Dragging sideways pins the switch at its end.
    play([&] { realInput::drag(screen(262 + 80, 80), screen(262 + 200, 90)); });
    EXPECT_EQ(processSwitch->getValue(), 1.0f) << lastWords(log, 4);

    // Linear knob drag: 60 pixels up turns the knob by 60 / 200 of its range.
    log.clear();
    play([&] { realInput::drag(screen(200, 200), screen(200, 140), 6, 30); });
    EXPECT_NEAR(compressionKnob->getValue(), 0.8f, 1e-6) << lastWords(log, 4);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "begin 5");
    EXPECT_EQ(log.back(), "end 5");
    EXPECT_EQ(log[log.size() - 2], "change 5 0.8");

    // The wheel over a knob (the editor's window has the focus).
    log.clear();
    SetFocus(frameWindow());
    play([&] {
        realInput::moveTo(screen(85, 200));
        realInput::wheel(120);
    });
    EXPECT_NEAR(timeKnob->getValue(), 0.6f, 1e-6);
    EXPECT_EQ(lastWords(log, 3), "begin 4; change 4 0.6; end 4; ");

    pumpFor(100);
    const screenshot::Image shown = screenshot::capture(frameWindow());
    EXPECT_TRUE(screenshot::savePng(shown, outputPath("stock-controls-windows.png")));
    // The switch shows its right-hand picture (the bitmap's third frame).
    const screenshot::Image strip = resourcePixels(12129);
    int wrong = 0;
    for (int y = 0; y < 78; ++y)
        for (int x = 0; x < 106; ++x)
            if (shown.at(262 + x, 46 + y) != strip.at(x, 156 + y)) ++wrong;
    EXPECT_EQ(wrong, 0);
}

TEST_F(StockControls, NameFieldEditsInANativeBoxAndCommitsOnEnterOrAClickElsewhere) {
    HWND box = nullptr;
    RECT boxRect{};
    char boxText[64] = {0};
    DWORD selection = 0, margins = 1, limit = 0;
    LONG_PTR style = 0;
    LOGFONTA font{};
    HWND focus = nullptr;
    screenshot::Image whileTyping;
    const DWORD guiThread = GetCurrentThreadId();
    play([&] {
        realInput::click(screen(150, 292));
        box = realInput::waitFor([&] { return editBoxOf(frameWindow()); });
        if (!box) return;
        GetWindowRect(box, &boxRect);
        GetWindowTextA(box, boxText, sizeof boxText);
        selection = static_cast<DWORD>(SendMessageA(box, EM_GETSEL, 0, 0));
        margins = static_cast<DWORD>(SendMessageA(box, EM_GETMARGINS, 0, 0));
        limit = static_cast<DWORD>(SendMessageA(box, EM_GETLIMITTEXT, 0, 0));
        style = GetWindowLongPtrA(box, GWL_STYLE);
        auto boxFont = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
        GetObjectA(boxFont, sizeof font, &font);
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(guiThread, &info);
        focus = info.hwndFocus;
        realInput::type("Tight Bus");
        Sleep(100);
        whileTyping = screenshot::capture(frameWindow());
        realInput::pressKey(VK_RETURN);
    });
    ASSERT_NE(box, nullptr) << "no edit box appeared";
    const POINT corner = screen(138, 285);
    EXPECT_EQ(boxRect.left, corner.x);
    EXPECT_EQ(boxRect.top, corner.y);
    EXPECT_EQ(boxRect.right - boxRect.left, 113);
    EXPECT_EQ(boxRect.bottom - boxRect.top, 14);
    EXPECT_STREQ(boxText, "Current");
    EXPECT_EQ(LOWORD(selection), 0) << "the whole text is selected";
    EXPECT_EQ(HIWORD(selection), 7);
    EXPECT_EQ(margins, 0u);
    EXPECT_EQ(limit, 255u);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_CENTER),
              WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_CENTER);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(focus, box) << "the box has the keyboard focus";
    // Coloured by the frame's answer to WM_CTLCOLOREDIT: the field's background.
    EXPECT_EQ(whileTyping.at(139, 286), packed(kFieldBackground));
    EXPECT_EQ(whileTyping.at(249, 297), packed(kFieldBackground));

    EXPECT_EQ(editBoxOf(frameWindow()), nullptr) << "Enter closes the box";
    EXPECT_STREQ(nameField->getText(), "Tight Bus");
    EXPECT_EQ(lastWords(log, 3), "begin 43; end 43; change 43 0; ");
    EXPECT_EQ(frame->getFocusView(), nullptr);

    // A click elsewhere commits too; the click itself goes nowhere else.
    log.clear();
    play([&] {
        realInput::click(screen(150, 292));
        if (!realInput::waitFor([&] { return editBoxOf(frameWindow()); })) return;
        realInput::type("Glue");
        realInput::click(screen(20, 20));
    });
    EXPECT_EQ(editBoxOf(frameWindow()), nullptr);
    EXPECT_STREQ(nameField->getText(), "Glue");
    EXPECT_EQ(lastWords(log, 3), "begin 43; end 43; change 43 0; ");

    // An unchanged text tells nobody.
    log.clear();
    play([&] {
        realInput::click(screen(150, 292));
        if (!realInput::waitFor([&] { return editBoxOf(frameWindow()); })) return;
        realInput::pressKey(VK_RETURN);
    });
    EXPECT_STREQ(nameField->getText(), "Glue");
    EXPECT_EQ(lastWords(log, 3), "begin 43; end 43; ");
}

TEST_F(StockControls, PresetMenuShowsColumnsAndACheckAndSelectsTheChosenEntry) {
    int items = 0;
    UINT separatorState = 0, currentState = 0, otherState = 0;
    std::vector<int> breaks;
    RECT first{}, seventeenth{}, chosen{};
    screenshot::Image menuPicture;
    play([&] {
        realInput::click(screen(258, 292));
        HWND popup = realInput::waitFor([] { return realInput::findTopLevel("#32768", nullptr); });
        if (!popup) return;
        Sleep(200);
        auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        items = GetMenuItemCount(menu);
        separatorState = GetMenuState(menu, 1, MF_BYPOSITION);
        currentState = GetMenuState(menu, 0, MF_BYPOSITION);
        otherState = GetMenuState(menu, 5, MF_BYPOSITION);
        for (int i = 0; i < items; ++i)
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_MENUBREAK)
                breaks.push_back(i);
        GetMenuItemRect(nullptr, menu, 0, &first);
        GetMenuItemRect(nullptr, menu, 16, &seventeenth);
        GetMenuItemRect(nullptr, menu, 6, &chosen);
        RECT whole;
        GetWindowRect(popup, &whole);
        const POINT origin = screen(0, 0);
        menuPicture = screenshot::capture(nullptr, origin.x, origin.y,
                                          std::max<int>(kWidth, whole.right - origin.x),
                                          std::max<int>(kHeight, whole.bottom - origin.y));
        realInput::click(realInput::centre(chosen));
    });
    EXPECT_EQ(items, 34);
    EXPECT_TRUE(separatorState & MF_SEPARATOR);
    EXPECT_TRUE(currentState & MF_CHECKED) << "the current entry carries the check";
    EXPECT_FALSE(otherState & MF_CHECKED);
    EXPECT_EQ(breaks, (std::vector<int>{16, 32})) << "16 entries per column: three columns";
    EXPECT_GT(seventeenth.left, first.left);
    const POINT below = screen(254, 299);
    EXPECT_EQ(first.top >= below.y && first.top < below.y + 8, true) << "opens below the control";
    EXPECT_TRUE(screenshot::savePng(menuPicture, outputPath("preset-menu-windows.png")));

    // Entry 6 is "Preset 5", the sixth choice counted without separators.
    EXPECT_EQ(presetMenu->getValue(), 6.0f);
    EXPECT_EQ(presetMenu->getCurrent(nullptr, true), 6);
    EXPECT_EQ(presetMenu->getCurrent(nullptr, false), 5);
    EXPECT_EQ(lastWords(log, 3), "begin 49; change 49 6; end 49; ");

    // Closed without a choice: nobody is told.
    log.clear();
    play([&] {
        realInput::click(screen(258, 292));
        if (!realInput::waitFor([] { return realInput::findTopLevel("#32768", nullptr); })) return;
        Sleep(100);
        realInput::pressKey(VK_ESCAPE);
    });
    EXPECT_EQ(realInput::findTopLevel("#32768", nullptr), nullptr);
    EXPECT_EQ(presetMenu->getCurrent(nullptr, true), 6);
    EXPECT_EQ(lastWords(log, 3), "begin 49; end 49; ");
}
