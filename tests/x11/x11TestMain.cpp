// The X11 suites run as a threaded host would: Xlib's thread support and the
// host's own error handler are set up before any test; the font caches the
// backend leaves to the process are handed back after the last.
#include <gtest/gtest.h>

#include "platform/linux/testing/x11Driver.h"

int main(int argc, char** argv) {
    platform::linux_backend::testing::X11Driver::prepareProcess();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    platform::linux_backend::testing::X11Driver::finishProcess();
    return result;
}
