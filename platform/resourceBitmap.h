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
// The same picture for an editor scale above 1: the artwork drawn at 2x at 2,
// resampled from it at other scales (resources/resample.h); null when there is none.
std::unique_ptr<NativeBitmap> loadResourceBitmap(int id, double scale);

}  // namespace platform
