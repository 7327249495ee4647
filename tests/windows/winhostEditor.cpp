// winhost --editor: the plug-in's editor in a window of the host's own, on a
// display, driven with real mouse input as a user would: a knob dragged, the
// process switch clicked, a preset chosen from the menu, memory A stored in
// one instance and recalled in another. Checks the parameters and what the
// host was told, compares the picture with the artwork, and leaves
// editor-windows.png (as opened) and editor-windows-used.png in OUTDIR. With
// --scale the editor must open at that factor (the display's DPI over 96);
// every place is then taken in layout pixels times the factor, and the
// pictures are compared with the artwork drawn at 2x.
//
//   winhost.exe --editor korvane-brassel.dll OUTDIR [--scale S]
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "gui/realInput.h"
#include "hostChecks.h"
#include "formats/vst2/aeffect.h"
#include "pngWriter.h"

using namespace vst2;
using hostchecks::check;
using hostchecks::checkText;

namespace {

const char* kMemoA = "SOFTWARE\\Korvane\\KVBRS1\\MemoA";

// The factor the editors must open at; places below are in layout pixels.
double scale = 1.0;
int px(int layout) { return static_cast<int>(std::floor(layout * scale + 0.5)); }

// What the plug-ins told the host, one line per call.
std::vector<std::string> calls;
int idleRequests = 0;

intptr editorHost(AEffect* effect, int32 opcode, int32 index, intptr, void*, float opt) {
    char line[96];
    const int which = effect ? static_cast<int>(reinterpret_cast<intptr>(effect->user)) : 0;
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterAutomate:
            std::snprintf(line, sizeof line, "%d automate %d %g", which, index,
                          static_cast<double>(opt));
            calls.push_back(line);
            return 0;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
            std::snprintf(line, sizeof line, "%d %s %d", which,
                          opcode == audioMasterBeginEdit ? "begin" : "end", index);
            calls.push_back(line);
            return 1;
        case audioMasterIdle:
            ++idleRequests;
            return 0;
        default:
            return 0;
    }
}

intptr dispatch(AEffect* e, int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                float opt = 0.0f) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

LRESULT CALLBACK hostWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND makeHostWindow(int width, int height, int x, int y) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = hostWindowProcedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = "KvbrWinhost";
        registered = RegisterClassA(&wc) != 0;
    }
    RECT r{0, 0, width, height};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    AdjustWindowRect(&r, style, FALSE);
    HWND hwnd = CreateWindowExA(0, "KvbrWinhost", "Korvane Brassel", style | WS_VISIBLE, x, y,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(hwnd);
    return hwnd;
}

// The host's loop: messages, and an editor idle for every open editor about
// every 20 ms.
std::vector<AEffect*> openEditors;

void pump(int ms) {
    const DWORD start = GetTickCount();
    DWORD lastIdle = 0;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD now = GetTickCount();
        if (now - lastIdle >= 20) {
            for (AEffect* e : openEditors) dispatch(e, effEditIdle);
            lastIdle = now;
        }
        if (static_cast<int>(now - start) >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

template <typename Script>
void play(Script script, int settleMs = 300) {
    bool finished = false;
    std::thread hand([&] {
        script();
        finished = true;
    });
    while (!finished) pump(20);
    hand.join();
    pump(settleMs);
}

using Entry = AEffect* (*)(audioMasterCallback);

struct Instance {
    AEffect* effect = nullptr;
    HWND host = nullptr;
    HWND frame = nullptr;
    POINT at(int x, int y) const { return realInput::at(frame, px(x), px(y)); }
    float parameter(int index) const { return effect->getParameter(effect, index); }
    std::string programName() const {
        char name[64] = {0};
        dispatch(effect, effGetProgramName, 0, 0, name);
        return name;
    }
};

// An effect as a host makes one, with its editor open in a window at x, 40.
Instance openInstance(Entry entry, int which, int x) {
    Instance instance;
    AEffect* e = instance.effect = entry(editorHost);
    if (!e) return instance;
    e->user = reinterpret_cast<void*>(static_cast<intptr>(which));
    dispatch(e, effOpen);
    dispatch(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(e, effSetBlockSize, 0, 512);
    dispatch(e, effMainsChanged, 0, 1);
    check((e->flags & effFlagsHasEditor) != 0, "the effect has an editor");
    ERect* rect = nullptr;
    dispatch(e, effEditGetRect, 0, 0, &rect);
    check(rect && rect->right - rect->left == px(400) && rect->bottom - rect->top == px(309),
          "editor rectangle " + std::to_string(px(400)) + " x " + std::to_string(px(309)));
    instance.host = makeHostWindow(px(400), px(309), x, 40);
    check(dispatch(e, effEditOpen, 0, 0, instance.host) == 1, "the editor opens");
    instance.frame = GetWindow(instance.host, GW_CHILD);
    openEditors.push_back(e);
    pump(300);
    return instance;
}

void closeInstance(Instance& instance) {
    if (!instance.effect) return;
    std::erase(openEditors, instance.effect);
    dispatch(instance.effect, effEditClose);
    check(!IsWindow(instance.frame), "closing the editor destroys its window");
    dispatch(instance.effect, effClose);
    DestroyWindow(instance.host);
}

// The film-strip frame a knob shows for a value, as the knob picks it.
int stripFrame(float value, int frames) {
    if (!(value > 0.0f)) return 0;
    return static_cast<int>(static_cast<double>(static_cast<float>(frames - 1) * value) + 0.5);
}

// Whether the window shows `picture`'s area at `from` (w x h) at x, y, all in
// layout pixels: at 2x the picture is the artwork drawn at 2x, pixel for pixel.
bool shows(const screenshot::Image& shown, int x, int y, const screenshot::Image& picture,
           POINT from, int w, int h) {
    if (picture.width == 0) return false;
    for (int row = 0; row < px(h); ++row)
        for (int column = 0; column < px(w); ++column)
            if (shown.at(px(x) + column, px(y) + row) !=
                picture.at(px(from.x) + column, px(from.y) + row))
                return false;
    return true;
}

screenshot::Image artwork(HMODULE library, int id) {
    return scale == 2.0 ? screenshot::packedResourcePixels(library, id)
                        : screenshot::resourcePixels(library, id);
}

void checkPicture(const Instance& instance, HMODULE library) {
    const screenshot::Image shown = screenshot::capture(instance.frame);
    check(shown.width == px(400) && shown.height == px(309), "a picture of the editor's size");
    check(shows(shown, 0, 0, artwork(library, 12128), POINT{0, 0}, 400, 20),
          "the panel picture along the top");
    struct Knob {
        int tag, resource, frames, x, y, size;
    };
    const Knob knobs[] = {{4, 12173, 21, 28, 143, 114},
                          {5, 12171, 41, 143, 143, 114},
                          {6, 12177, 61, 258, 143, 114},
                          {2, 12181, 7, 50, 50, 70}};
    for (const Knob& k : knobs) {
        const int frame = stripFrame(instance.parameter(k.tag), k.frames);
        check(shows(shown, k.x, k.y, artwork(library, k.resource),
                    POINT{0, frame * k.size}, k.size, k.size),
              "knob " + std::to_string(k.tag) + " shows frame " + std::to_string(frame));
    }
    const int position = stripFrame(1.0f - instance.parameter(0), 3);
    check(shows(shown, 262, 46, artwork(library, 12129), POINT{0, position * 78}, 106, 78),
          "the process switch shows position " + std::to_string(position));
}

bool called(const std::string& line, std::size_t from = 0) {
    for (std::size_t i = from; i < calls.size(); ++i)
        if (calls[i] == line) return true;
    return false;
}

std::string withValue(int which, int index, float value) {
    char line[96];
    std::snprintf(line, sizeof line, "%d automate %d %g", which, index, static_cast<double>(value));
    return line;
}

void dragTheCompressionKnob(Instance& one) {
    const float before = one.parameter(5);
    const std::size_t mark = calls.size();
    play([&] { realInput::drag(one.at(200, 200), one.at(200, 150), 5, 30); });
    // 50 pixels up count 100, at 0.002 a pixel; the editor sends the strip's step.
    const int frame = stripFrame(std::fmin(before + 0.2f, 1.0f), 41);
    const float expected = static_cast<float>(frame) / 40.0f;
    check(std::fabs(one.parameter(5) - expected) < 1e-6f,
          "compression after the drag: " + std::to_string(one.parameter(5)) + ", expected " +
              std::to_string(expected));
    check(called("1 begin 5", mark) && called(withValue(1, 5, expected), mark) &&
              called("1 end 5", mark),
          "the drag is an edit of parameter 5 told to the host");
}

void clickTheProcessSwitch(Instance& one) {
    // Left third Valve (1.0), middle third Clear (0.5): whichever it is not yet.
    const bool toClear = one.parameter(0) == 1.0f;
    const float expected = toClear ? 0.5f : 1.0f;
    const std::size_t mark = calls.size();
    play([&] { realInput::click(one.at(262 + (toClear ? 53 : 15), 85)); });
    check(one.parameter(0) == expected,
          "the switch sets the process to " + std::to_string(expected));
    check(called("1 begin 0", mark) && called(withValue(1, 0, expected), mark) &&
              called("1 end 0", mark),
          "the switch is an edit of parameter 0 told to the host");
}

void chooseAPreset(Instance& one) {
    const std::size_t mark = calls.size();
    char entry[64] = {0};
    bool checkedCurrent = false;
    play([&] {
        realInput::click(one.at(259, 292));
        HWND popup = realInput::waitFor([] { return realInput::findTopLevel("#32768", nullptr); });
        if (!popup) return;
        Sleep(200);
        auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED)
                checkedCurrent = true;
        GetMenuStringA(menu, 5, entry, sizeof entry, MF_BYPOSITION);
        RECT item{};
        GetMenuItemRect(nullptr, menu, 5, &item);
        realInput::click(realInput::centre(item));
    });
    check(entry[0] != 0, "the preset menu opened");
    check(checkedCurrent, "the selected preset carries the check mark");
    checkText(one.programName(), entry, "the chosen preset is the host's program");
    int reported = 0;
    for (int index = 0; index < 12; ++index) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "1 automate %d ", index);
        for (std::size_t i = mark; i < calls.size(); ++i)
            if (calls[i].rfind(prefix, 0) == 0) {
                ++reported;
                break;
            }
    }
    check(reported == 12, "choosing a preset reports all 12 parameters, got " +
                              std::to_string(reported));
}

void storeAndRecallMemoryA(Instance& one, Instance& two) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMemoA);
    play([&] { realInput::click(one.at(308, 285)); });
    HKEY key = nullptr;
    const bool stored = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMemoA, 0, KEY_QUERY_VALUE, &key) ==
                        ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    check(stored, "store A writes the memory into HKEY_LOCAL_MACHINE");

    const std::size_t mark = calls.size();
    play([&] { realInput::click(two.at(333, 285)); });
    bool same = true;
    for (int i = 0; i < 12; ++i) same = same && two.parameter(i) == one.parameter(i);
    check(same, "recall A in the second instance brings the first one's twelve values");
    checkText(two.programName(), one.programName(), "and its preset name");
    check(called(withValue(2, 5, one.parameter(5)), mark), "the recall is reported to the host");
}

}  // namespace

int runEditorSession(const char* dllPath, const std::string& outputDir, double expectedScale) {
    scale = expectedScale;
    // As hosts made for dense screens do: the system then tells the editor
    // the display's DPI instead of stretching its window.
    SetProcessDPIAware();
    HMODULE library = LoadLibraryA(dllPath);
    if (!library) {
        std::printf("FAILED: LoadLibraryA(%s), error %lu\n", dllPath, GetLastError());
        return 1;
    }
    auto entry = reinterpret_cast<Entry>(
        reinterpret_cast<void*>(GetProcAddress(library, "VSTPluginMain")));
    Instance one = openInstance(entry, 1, 40);
    if (!one.effect || !one.frame) {
        check(false, "an editor window inside the host's window");
        return hostchecks::summary();
    }
    char className[64] = {0}, expectedClass[64];
    GetClassNameA(one.frame, className, sizeof className);
    std::snprintf(expectedClass, sizeof expectedClass, "Plugin%p", static_cast<void*>(library));
    checkText(className, expectedClass, "the frame window's class");

    checkPicture(one, library);
    check(screenshot::savePng(screenshot::capture(one.frame), outputDir + "/editor-windows.png"),
          "saved editor-windows.png");

    dragTheCompressionKnob(one);
    clickTheProcessSwitch(one);
    chooseAPreset(one);
    Instance two = openInstance(entry, 2, 80 + px(400));
    storeAndRecallMemoryA(one, two);
    check(idleRequests > 0, "the editors asked the host for idle time while tracking");

    pump(200);
    checkPicture(one, library);
    check(screenshot::savePng(screenshot::capture(one.frame),
                              outputDir + "/editor-windows-used.png"),
          "saved editor-windows-used.png");
    closeInstance(two);
    closeInstance(one);
    FreeLibrary(library);
    return hostchecks::summary();
}
