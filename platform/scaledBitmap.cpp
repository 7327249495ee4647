#include "scaledBitmap.h"

#include "resources/rowRuns.h"
#include "resources/scaledPicture.h"

namespace platform {

ScaledBitmap::ScaledBitmap(std::shared_ptr<resources::ScaledPicture> shared,
                           std::unique_ptr<NativeBitmap> blank)
    : picture(std::move(shared)),
      native(std::move(blank)),
      filled(static_cast<std::size_t>(native->height()), false) {}

ScaledBitmap::~ScaledBitmap() = default;

const NativeBitmap* ScaledBitmap::rows(int first, int count) {
    resources::makeMissingRows(filled, first, count, [this](int from, int rows) {
        native->writeRows(from, rows, picture->rows(from, rows));
    });
    return native.get();
}

}  // namespace platform
