// The system's millisecond tick count and short sleeps.
#include <windows.h>

#include "../clock.h"

namespace platform {

namespace {

class Win32Clock final : public Clock {
public:
    std::uint32_t tickCount() override { return GetTickCount(); }
    void sleep(int milliseconds) override { Sleep(milliseconds > 0 ? milliseconds : 0); }
};

}  // namespace

Clock& clock() {
    static Win32Clock instance;
    return instance;
}

}  // namespace platform
