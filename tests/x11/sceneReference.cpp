// Draws the toolkit scene in a given state with the headless backend and
// saves it as PNG: the picture the X11 window must show for that state.
//   kvbr-x11-scene-reference OUT.png SWITCH KNOB MENU TEXT
#include <cstdio>
#include <cstdlib>

#include "bmpImage.h"
#include "embeddedResources.h"
#include "platform/headless/headless.h"
#include "toolkitScene.h"

namespace {

bool embeddedArtwork(int id, platform::headless::RgbImage& out) {
    const resources::EmbeddedBitmap* bitmap = resources::findEmbeddedBitmap(id);
    resources::BmpImage image;
    if (!bitmap || !resources::decodeBmp24(bitmap->data, bitmap->size, image)) return false;
    out.width = image.width;
    out.height = image.height;
    out.rgb = std::move(image.rgb);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s OUT.png SWITCH KNOB MENU TEXT\n", argv[0]);
        return 2;
    }
    namespace hl = platform::headless;
    hl::setBitmapProvider(&embeddedArtwork);
    scene::Log log;
    auto* effect = new scene::Effect(log);
    auto* editor = new scene::Editor(effect, log);
    int parent = 0;
    editor->open(&parent);
    scene::State state;
    state.switchValue = static_cast<float>(std::atof(argv[2]));
    state.knobValue = static_cast<float>(std::atof(argv[3]));
    state.menuIndex = std::atoi(argv[4]);
    state.text = argv[5];
    editor->show(state);
    auto* window = static_cast<hl::HeadlessWindow*>(editor->getFrame()->getPlatformWindow());
    window->processEvents();  // the first paint
    editor->idle();
    const bool saved = window->savePng(argv[1]);
    editor->close();
    delete effect;
    return saved ? 0 : 1;
}
