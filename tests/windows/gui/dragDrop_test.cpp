// OLE drag and drop onto the frame window: a file list dragged over the
// editor with the mouse reaches the view under the pointer with its file
// count, the system is shown the move effect, and the drop is not taken.
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <thread>

#include "guiHarness.h"
#include "realInput.h"

using namespace wingui;
using namespace gui;

namespace {

// A file list as the shell offers one: CF_HDROP in global memory.
class FileListData final : public IDataObject {
public:
    explicit FileListData(const std::vector<std::string>& files) {
        std::string names;
        for (const std::string& f : files) names += f + '\0';
        names += '\0';
        size = sizeof(DROPFILES) + names.size();
        memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
        GlobalUnlock(memory);
    }
    ~FileListData() { GlobalFree(memory); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(medium->hGlobal), GlobalLock(memory), size);
        GlobalUnlock(memory);
        GlobalUnlock(medium->hGlobal);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL)
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    HGLOBAL memory;
    std::size_t size;
};

// Drops when the left button is let go; remembers the effects it was shown.
class ButtonSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropSource)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        if (effect == DROPEFFECT_MOVE) ++movesShown;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    int movesShown = 0;
};

class DropProbe : public CView {
public:
    DropProbe(const CRect& size, Log& log) : CView(size), log(log) {}
    void onDragEnter(CDrawContext*, CDragContainer* drag, const CPoint&) override {
        int size = 0, type = 0;
        const char* first = static_cast<const char*>(drag->first(size, type));
        log.push_back("enter " + std::to_string(drag->getCount()) + " " + (first ? first : "-"));
    }
    void onDragMove(CDrawContext*, CDragContainer*, const CPoint&) override { ++moves; }
    void onDragLeave(CDrawContext*, CDragContainer*, const CPoint&) override {
        log.push_back("leave");
    }
    bool onDrop(CDrawContext*, CDragContainer* drag, const CPoint& where) override {
        log.push_back("drop " + std::to_string(drag->getCount()) + " at " +
                      std::to_string(where.h) + "," + std::to_string(where.v));
        return false;
    }
    int moves = 0;

private:
    Log& log;
};

}  // namespace

using DragAndDrop = GuiTest;

TEST_F(DragAndDrop, FilesDraggedOntoTheEditorAreSeenButNotTaken) {
    auto* probe = new DropProbe(CRect(100, 100, 300, 200), log);
    frame->addView(probe);
    FileListData files({"C:\\presets\\one.kvp", "C:\\presets\\two.kvp"});
    ButtonSource source;
    DWORD effect = 12345;
    HRESULT result = E_FAIL;
    // The drag starts on the host's window, outside the editor, with the left
    // button held; the helper thread then carries it over the probe and lets go.
    const POINT start = realInput::at(testTopLevelWindow(), 450, 350);
    const POINT over = screen(150, 150);
    HANDLE pressed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hand([&] {
        realInput::moveTo(start);
        Sleep(80);
        realInput::leftDown();
        Sleep(100);
        SetEvent(pressed);
        Sleep(300);
        for (int i = 1; i <= 4; ++i)
            realInput::moveTo(POINT{start.x + (over.x - start.x) * i / 4,
                                    start.y + (over.y - start.y) * i / 4});
        realInput::moveTo(POINT{over.x + 5, over.y});
        Sleep(200);
        realInput::leftUp();
    });
    while (MsgWaitForMultipleObjects(1, &pressed, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        pumpFor(0);
    // The drag runs here, on the GUI thread, while the hand moves the mouse.
    result = DoDragDrop(&files, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    hand.join();
    CloseHandle(pressed);
    pumpFor(50);

    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "a moving source must keep its files";
    EXPECT_GT(source.movesShown, 0) << "the move effect is shown over the editor";
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "enter 2 C:\\presets\\one.kvp");
    EXPECT_EQ(log[log.size() - 2], "drop 2 at 155,150");
    EXPECT_EQ(log.back(), "leave");
}
