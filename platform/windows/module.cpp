#include "module.h"

namespace platform::windows {

namespace {
// Written once by the loader thread before any other code of the library runs.
HINSTANCE storedModule = nullptr;
}  // namespace

HINSTANCE moduleHandle() { return storedModule ? storedModule : GetModuleHandleA(nullptr); }

void setModuleHandle(HINSTANCE handle) { storedModule = handle; }

}  // namespace platform::windows
