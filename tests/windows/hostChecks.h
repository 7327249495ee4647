// The Windows test host's checks: each passes or prints what failed, and the
// host's exit status counts the failures.
#pragma once

#include <cstdio>
#include <string>

namespace hostchecks {

inline int passed = 0;
inline int failed = 0;

inline void check(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

inline void checkText(const std::string& got, const std::string& expected,
                      const std::string& what) {
    check(got == expected, what + ": got \"" + got + "\", expected \"" + expected + "\"");
}

inline int summary() {
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}

}  // namespace hostchecks
