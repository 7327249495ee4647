// The plug-in's editor in a given state drawn with the headless backend: the
// picture its X11 window must show in that state.
//   kvbr-x11-editor-reference OUT.png [--slot N] [--param I=V]... [--name TEXT] [--about]
//                             [--meter READING] [--no-presets] [--scale S]
//                             [--strip closed|open]
//   kvbr-x11-editor-reference --slot-name N      prints the name of bank slot N
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Compressor.h"
#include "tools/editorPicture/editorPicture.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--slot-name") == 0) {
        Compressor compressor;
        CProgram* program = compressor.bank().getBankProgram(std::atoi(argv[2]));
        if (!program) return 1;
        char name[32] = {0};
        program->getName(name);
        std::printf("%s\n", name);
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [--slot N] [--param I=V]... [--name TEXT] [--about]\n",
                     argv[0]);
        return 2;
    }
    editorpicture::EditorState state;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--about") {
            state.aboutShowing = true;
        } else if (option == "--scale" && i + 1 < argc) {
            state.scale = std::strtod(argv[++i], nullptr);
        } else if (option == "--slot" && i + 1 < argc) {
            state.presetSlot = std::atoi(argv[++i]);
        } else if (option == "--strip" && i + 1 < argc) {
            state.strip = std::strcmp(argv[++i], "open") == 0;
        } else if (option == "--no-presets") {
            state.presetPanelAvailable = false;
        } else if (option == "--meter" && i + 1 < argc) {
            state.meterReading = std::strtod(argv[++i], nullptr);
        } else if (option == "--name" && i + 1 < argc) {
            state.programName = argv[++i];
        } else if (option == "--param" && i + 1 < argc) {
            const std::string assignment = argv[++i];
            const std::size_t equals = assignment.find('=');
            const int index = std::atoi(assignment.substr(0, equals).c_str());
            if (equals == std::string::npos || index < 0 ||
                index >= static_cast<int>(state.parameters.size()))
                return 2;
            state.parameters[static_cast<std::size_t>(index)] =
                std::strtof(assignment.c_str() + equals + 1, nullptr);
        } else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }
    std::string error;
    if (!editorpicture::renderEditorPng(state, argv[1], error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
