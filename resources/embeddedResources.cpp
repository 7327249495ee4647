#include "embeddedResources.h"

// The bitmaps are linked in by the generated assembler file; each has a start and an end label.
#define KVBR_BITMAP(id)                                                                                  \
    extern "C" const unsigned char kvbr_bitmap_##id[], kvbr_bitmap_##id##_end[];                        \
    extern "C" const unsigned char kvbr_bitmap2x_##id[], kvbr_bitmap2x_##id##_end[];
#include "embeddedBitmapList.inc"
#undef KVBR_BITMAP

namespace resources {

namespace {

const EmbeddedBitmap* find(const EmbeddedBitmap* table, unsigned long count, int id)
{
    for (unsigned long i = 0; i < count; ++i)
        if (table[i].id == id)
            return &table[i];
    return nullptr;
}

} // namespace

const EmbeddedBitmap* findEmbeddedBitmap(int id)
{
    static const EmbeddedBitmap table[] = {
#define KVBR_BITMAP(id) \
    {id, kvbr_bitmap_##id, static_cast<unsigned long>(kvbr_bitmap_##id##_end - kvbr_bitmap_##id)},
#include "embeddedBitmapList.inc"
#undef KVBR_BITMAP
    };
    return find(table, sizeof table / sizeof table[0], id);
}

const EmbeddedBitmap* findEmbeddedLargeBitmap(int id)
{
    static const EmbeddedBitmap table[] = {
#define KVBR_BITMAP(id) \
    {id, kvbr_bitmap2x_##id, static_cast<unsigned long>(kvbr_bitmap2x_##id##_end - kvbr_bitmap2x_##id)},
#include "embeddedBitmapList.inc"
#undef KVBR_BITMAP
    };
    return find(table, sizeof table / sizeof table[0], id);
}

} // namespace resources
