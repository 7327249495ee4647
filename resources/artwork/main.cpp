// kvbr-artwork: draws every bitmap of the editor and writes them as 24-bit BMP files.
//
//   kvbr-artwork OUTDIR [--preview DIR]
//
// OUTDIR receives <id>.bmp for every resource, and OUTDIR/2x/<id>.bmpz the same picture
// drawn at twice the size, zlib-packed (see packedBitmap.h). With --preview, PNG contact
// sheets and editor mock-ups are written to DIR as well, for looking at the artwork.

#include "bitmaps.h"
#include "bmpWriter.h"
#include "packedWriter.h"
#include "preview.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// Without the Liberation fonts fontconfig would quietly substitute another face and the
// bitmaps would change; refuse instead.
bool fontInstalled(const char* family)
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (pattern == nullptr)
        return false;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* found = nullptr;
    const bool ok = match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch
                    && std::strcmp(reinterpret_cast<const char*>(found), family) == 0;
    if (match != nullptr)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace artwork;
    std::string outDir;
    std::string previewDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--preview" && i + 1 < argc)
            previewDir = argv[++i];
        else if (outDir.empty() && arg.rfind("--", 0) != 0)
            outDir = arg;
        else {
            std::fprintf(stderr, "usage: kvbr-artwork OUTDIR [--preview DIR]\n");
            return 2;
        }
    }
    if (outDir.empty()) {
        std::fprintf(stderr, "usage: kvbr-artwork OUTDIR [--preview DIR]\n");
        return 2;
    }

    for (const char* family : {"Liberation Sans", "Liberation Serif"}) {
        if (!fontInstalled(family)) {
            std::fprintf(stderr, "kvbr-artwork: font \"%s\" not found (install fonts-liberation)\n", family);
            return 1;
        }
    }

    // The large set first, so that the 1x set used by the previews is drawn last.
    setPixelScale(2);
    const std::string largeDir = outDir + "/2x";
    std::error_code ignored;
    std::filesystem::create_directories(largeDir, ignored);
    {
        const Bitmaps large = renderAll();
        for (const auto& [id, image] : large) {
            const std::string path = largeDir + "/" + std::to_string(id) + ".bmpz";
            if (!writePackedBmp(image.surface(), frameCount(id), path)) {
                std::fprintf(stderr, "kvbr-artwork: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        // The open editor as a 2x display shows it, from the 2x pictures themselves.
        if (!previewDir.empty()
            && !writePng(composeOpenMockup(large, MockupState{}), previewDir + "/mockup-strip-2x.png")) {
            std::fprintf(stderr, "kvbr-artwork: cannot write previews to %s\n", previewDir.c_str());
            return 1;
        }
    }
    setPixelScale(1);
    const Bitmaps bitmaps = renderAll();
    for (const auto& [id, image] : bitmaps) {
        const std::string path = outDir + "/" + std::to_string(id) + ".bmp";
        if (!writeBmp24(image.surface(), path)) {
            std::fprintf(stderr, "kvbr-artwork: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::printf("kvbr-artwork: wrote %zu bitmaps to %s and at 2x to %s\n", bitmaps.size(),
                outDir.c_str(), largeDir.c_str());

    if (!previewDir.empty()) {
        bool ok = writePng(contactSheet(bitmaps), previewDir + "/preview.png");
        MockupState state;
        const Image mockup = composeMockup(bitmaps, state);
        ok = ok && writePng(mockup, previewDir + "/mockup.png");
        ok = ok && writePng(enlarged(mockup, 2), previewDir + "/mockup-2x.png");
        MockupState busy;
        busy.timeFrame = 0;
        busy.compressionFrame = 40;
        busy.outputFrame = 60;
        busy.ratioFrame = 6;
        busy.switchFrame = 2;
        busy.reductionDb = 24.0;
        busy.hoveredButton = kLoadPreset;
        busy.rockerFrame = 2;
        const Image extremes = composeMockup(bitmaps, busy);
        ok = ok && writePng(extremes, previewDir + "/mockup-extremes.png");
        ok = ok && writePng(enlarged(extremes.crop(Rect{40, 40, 380, 124}), 3), previewDir + "/preview-top-extremes-3x.png");
        MockupState about;
        about.about = true;
        ok = ok && writePng(composeMockup(bitmaps, about), previewDir + "/mockup-about.png");
        const Image strip = composeMockup(bitmaps, busy).crop(Rect{40, 262, 360, 309});
        ok = ok && writePng(enlarged(strip, 4), previewDir + "/preview-strip-4x.png");
        ok = ok && writePng(enlarged(mockup.crop(Rect{136, 52, 264, 124}), 5), previewDir + "/preview-meter-5x.png");
        ok = ok && writePng(enlarged(mockup.crop(Rect{40, 40, 380, 124}), 3), previewDir + "/preview-top-3x.png");
        ok = ok && writePng(enlarged(mockup.crop(Rect{140, 118, 260, 262}), 4), previewDir + "/preview-knob-4x.png");
        ok = ok && writePng(enlarged(composeMockup(bitmaps, about).crop(Rect{0, 0, 400, 276}), 2),
                            previewDir + "/preview-about-2x.png");
        ok = ok && writePng(enlarged(buttonSheet(bitmaps), 5), previewDir + "/preview-buttons-5x.png");
        const Image open = composeOpenMockup(bitmaps, state);
        ok = ok && writePng(open, previewDir + "/mockup-strip.png");
        ok = ok && writePng(enlarged(open.crop(Rect{0, 262, 400, layout::kOpenWindowHeight}), 3),
                            previewDir + "/preview-strip-open-3x.png");
        MockupState other;
        other.mixFrame = 0;
        other.oversamplingFrame = 2;
        other.sidechainFrame = 4;
        other.keyFrame = 1;
        ok = ok && writePng(composeOpenMockup(bitmaps, other), previewDir + "/mockup-strip-extremes.png");
        if (!ok) {
            std::fprintf(stderr, "kvbr-artwork: cannot write previews to %s\n", previewDir.c_str());
            return 1;
        }
    }
    return 0;
}
