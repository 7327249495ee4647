// OLE drag and drop: the frame window's drop target. Files dragged over the
// editor are counted with DragQueryFileA; the target answers the frame's
// effect while the drag moves and accepts nothing when it is dropped.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../dragDrop.h"
#include "../window.h"

namespace platform {

namespace {

// OLE initialisations of this thread that succeeded and still need undoing.
// A thread whose COM was set up for multi-threaded use refuses OLE; such a
// call is not undone.
thread_local int oleInitialisations = 0;

class OleDragData final : public DragData {
public:
    // Reads the file list of `data`, if it carries one.
    explicit OleDragData(IDataObject* data) {
        if (!data) return;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium;
        std::memset(&medium, 0, sizeof medium);
        if (data->GetData(&format, &medium) != S_OK) return;
        if (auto* drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
            const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                const UINT length = DragQueryFileA(drop, i, nullptr, 0);
                std::string name(length + 1, '\0');
                DragQueryFileA(drop, i, name.data(), length + 1);
                name.resize(std::strlen(name.c_str()));
                files.push_back(std::move(name));
            }
            GlobalUnlock(medium.hGlobal);
        }
        ReleaseStgMedium(&medium);
    }

    int fileCount() override { return static_cast<int>(files.size()); }

    bool fileName(int index, char* buffer, int size) override {
        if (index < 0 || index >= fileCount() || !buffer || size <= 0) return false;
        const std::string& name = files[static_cast<std::size_t>(index)];
        const std::size_t n = std::min(name.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, name.data(), n);
        buffer[n] = 0;
        return true;
    }

private:
    std::vector<std::string> files;
};

DWORD toOle(int effect) {
    if (effect == kDropMove) return DROPEFFECT_MOVE;
    if (effect == kDropCopy) return DROPEFFECT_COPY;
    return DROPEFFECT_NONE;
}

class OleDropTarget final : public IDropTarget {
public:
    explicit OleDropTarget(DropHandler& handler) : handler(&handler) {}

    // The frame is going; OLE may still hold a reference for a moment.
    void detach() {
        handler = nullptr;
        current.reset();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL where,
                                        DWORD* effect) override {
        current = std::make_unique<OleDragData>(data);
        const int answer =
            handler ? handler->onDragEnter(*current, Point{where.x, where.y}) : kDropNone;
        if (effect) *effect = toOle(answer);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL where, DWORD* effect) override {
        const int answer = handler ? handler->onDragOver(Point{where.x, where.y}) : kDropNone;
        if (effect) *effect = toOle(answer);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        if (handler) handler->onDragLeave();
        current.reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL where, DWORD* effect) override {
        if (!current) current = std::make_unique<OleDragData>(data);
        if (handler) handler->onDrop(*current, Point{where.x, where.y});
        current.reset();
        // Nothing was taken: a source that moves files must not delete them.
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }

private:
    ~OleDropTarget() = default;

    LONG references = 1;
    DropHandler* handler;
    std::unique_ptr<OleDragData> current;
};

class OleDropRegistration final : public DropRegistration {
public:
    OleDropRegistration(HWND window, OleDropTarget* target) : window(window), target(target) {}
    ~OleDropRegistration() override {
        RevokeDragDrop(window);
        target->detach();
        target->Release();
    }
    OleDropRegistration(const OleDropRegistration&) = delete;
    OleDropRegistration& operator=(const OleDropRegistration&) = delete;

private:
    HWND window;
    OleDropTarget* target;
};

}  // namespace

std::unique_ptr<DropRegistration> registerDropTarget(Window& window, DropHandler& handler) {
    HWND hwnd = static_cast<HWND>(window.nativeHandle());
    if (!hwnd) return nullptr;
    auto* target = new OleDropTarget(handler);
    if (RegisterDragDrop(hwnd, target) != S_OK) {
        target->Release();
        return nullptr;
    }
    return std::make_unique<OleDropRegistration>(hwnd, target);
}

void beginDragDropServices() {
    const HRESULT result = OleInitialize(nullptr);
    if (SUCCEEDED(result)) ++oleInitialisations;
}

void endDragDropServices() {
    if (oleInitialisations == 0) return;
    --oleInitialisations;
    OleUninitialize();
}

}  // namespace platform
