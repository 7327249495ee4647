// Pictures carried by the plug-in, found by number (LoadBitmapA on Windows, the
// embedded artwork on Linux).
#pragma once

#include <memory>

namespace platform {

// A picture in the form the backend copies fastest. A loaded one is read-only;
// one made blank for a ScaledBitmap is filled row by row as it is drawn.
class NativeBitmap {
public:
    virtual ~NativeBitmap() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Sets rows first .. first + count - 1 from `rgb` (width * 3 bytes a row,
    // R, G, B). A GDI bitmap that LoadBitmapA made cannot take rows and
    // ignores this; those a ScaledBitmap fills always can.
    virtual void writeRows(int first, int count, const unsigned char* rgb) = 0;
};

class ScaledBitmap;

// The picture with resource number `id`, or null when there is none.
std::unique_ptr<NativeBitmap> loadResourceBitmap(int id);
// The same picture for an editor scale other than 1: the artwork drawn at 2x at
// 2, resampled from it at other scales (resources/resample.h), each row made
// when a draw first needs it and kept for the process (resources/pictureCache.h);
// null when there is none.
std::unique_ptr<ScaledBitmap> loadResourceBitmap(int id, double scale);

}  // namespace platform
