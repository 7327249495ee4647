// A loaded shared library (a plug-in), for hosts such as the offline renderer.
#pragma once

#include <memory>
#include <string>

namespace platform {

class SharedLibrary {
public:
    // Loads the library with all its symbols resolved now; null on failure,
    // with the loader's reason in *error.
    static std::unique_ptr<SharedLibrary> open(const std::string& path, std::string* error);
    virtual ~SharedLibrary() = default;  // unloads
    // The address of an exported symbol, or null.
    virtual void* symbol(const char* name) = 0;
};

}  // namespace platform
