#include "platform/sharedLibrary.h"

#include <dlfcn.h>

namespace platform {

namespace {

class DlLibrary : public SharedLibrary {
public:
    explicit DlLibrary(void* handle) : handle(handle) {}
    ~DlLibrary() override { dlclose(handle); }
    void* symbol(const char* name) override { return dlsym(handle, name); }

private:
    void* handle;
};

}  // namespace

std::unique_ptr<SharedLibrary> SharedLibrary::open(const std::string& path, std::string* error) {
    // Local symbols: two plug-ins built from the same sources must not share globals.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* reason = dlerror();
            *error = reason ? reason : "unknown loader error";
        }
        return nullptr;
    }
    return std::make_unique<DlLibrary>(handle);
}

}  // namespace platform
