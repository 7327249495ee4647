#include "embeddedResources.h"

// The bitmaps are linked in by the generated assembler file; each has a start and an end label.
#define KVBR_BITMAP(id) extern "C" const unsigned char kvbr_bitmap_##id[], kvbr_bitmap_##id##_end[];
#include "embeddedBitmapList.inc"
#undef KVBR_BITMAP

namespace resources {

const EmbeddedBitmap* findEmbeddedBitmap(int id)
{
    static const EmbeddedBitmap table[] = {
#define KVBR_BITMAP(id) \
    {id, kvbr_bitmap_##id, static_cast<unsigned long>(kvbr_bitmap_##id##_end - kvbr_bitmap_##id)},
#include "embeddedBitmapList.inc"
#undef KVBR_BITMAP
    };
    for (const EmbeddedBitmap& entry : table)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

} // namespace resources
