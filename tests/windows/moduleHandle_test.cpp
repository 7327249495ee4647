// DllMain keeps the library's own module handle: resources are loaded through
// it, and the host program's handle would find none of them.
#include <gtest/gtest.h>

#include "platform/windows/module.h"

TEST(ModuleHandle, ALibraryKeepsItsOwnHandle) {
    HMODULE probe = LoadLibraryA("kvbr_module_probe.dll");
    ASSERT_NE(probe, nullptr) << "error " << GetLastError();
    using Query = HINSTANCE (*)();
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(probe, "kvbrProbeModuleHandle")));
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query(), probe);
    EXPECT_NE(query(), GetModuleHandleA(nullptr));
    FreeLibrary(probe);
}

TEST(ModuleHandle, AProgramLinkedDirectlyUsesItsOwn) {
    EXPECT_EQ(platform::windows::moduleHandle(), GetModuleHandleA(nullptr));
}
