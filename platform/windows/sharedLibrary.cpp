#include "platform/sharedLibrary.h"

#include <windows.h>

namespace platform {

namespace {

class WindowsLibrary : public SharedLibrary {
public:
    explicit WindowsLibrary(HMODULE module) : module(module) {}
    ~WindowsLibrary() override { FreeLibrary(module); }
    void* symbol(const char* name) override {
        return reinterpret_cast<void*>(GetProcAddress(module, name));
    }

private:
    HMODULE module;
};

}  // namespace

std::unique_ptr<SharedLibrary> SharedLibrary::open(const std::string& path, std::string* error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        if (error) *error = "LoadLibrary failed with error " + std::to_string(GetLastError());
        return nullptr;
    }
    return std::make_unique<WindowsLibrary>(module);
}

}  // namespace platform
