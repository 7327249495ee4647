// A picture for an editor scale other than 1 in the backend's own form, as big
// as the whole picture for that scale, whose rows are copied in from the
// process's shared picture (resources/scaledPicture.h) the first time a draw
// needs them. It belongs to one editor and is used on that editor's thread.
#pragma once

#include <memory>
#include <vector>

#include "resourceBitmap.h"

namespace resources {
class ScaledPicture;
}

namespace platform {

class ScaledBitmap {
public:
    // `native` is blank and as big as `picture`.
    ScaledBitmap(std::shared_ptr<resources::ScaledPicture> picture,
                 std::unique_ptr<NativeBitmap> native);
    ~ScaledBitmap();
    ScaledBitmap(const ScaledBitmap&) = delete;
    ScaledBitmap& operator=(const ScaledBitmap&) = delete;

    // The picture with rows first .. first + count - 1 in place (those outside
    // it are left out).
    const NativeBitmap* rows(int first, int count);

private:
    std::shared_ptr<resources::ScaledPicture> picture;
    std::unique_ptr<NativeBitmap> native;
    std::vector<bool> filled;
};

}  // namespace platform
