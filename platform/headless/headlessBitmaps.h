// Resource bitmaps of the headless backend. A number is looked up first among
// the bitmaps a test registered, then through the provider, which starts out
// as the plug-in's embedded artwork (embeddedArtwork.h), so that tests, tools
// and renderers see the real pictures unless they choose otherwise.
#pragma once

#include <vector>

namespace platform::headless {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // width * height * 3 bytes, top row first
};

// Answers true and fills `out` when it has picture `id`.
using BitmapProvider = bool (*)(int id, RgbImage& out);

void registerBitmap(int id, int width, int height, const unsigned char* rgb);
// A bitmap of one colour, for tests that only need a size.
void registerSolidBitmap(int id, int width, int height, unsigned char red, unsigned char green,
                         unsigned char blue);
void unregisterBitmap(int id);
void clearRegisteredBitmaps();
// Null leaves only the registered bitmaps.
void setBitmapProvider(BitmapProvider provider);
BitmapProvider bitmapProvider();
// Native bitmaps alive now, for leak checks.
int liveNativeBitmaps();

}  // namespace platform::headless
