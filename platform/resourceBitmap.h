// Pictures carried by the plug-in, found by number (LoadBitmapA on Windows, the
// embedded artwork on Linux).
#pragma once

#include <memory>

namespace platform {

// A picture in the form the backend copies fastest. Read-only once loaded.
class NativeBitmap {
public:
    virtual ~NativeBitmap() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

// The picture with resource number `id`, or null when there is none.
std::unique_ptr<NativeBitmap> loadResourceBitmap(int id);

}  // namespace platform
