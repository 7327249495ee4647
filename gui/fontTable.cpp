#include "fontTable.h"

namespace gui {

namespace {
const CFontDesc kFontTable[kNumStandardFonts] = {
    {"Arial", 12}, {"Arial", 18}, {"Arial", 14}, {"Arial", 12},
    {"Arial", 11}, {"Arial", 10}, {"Arial", 9},  {"Symbol", 13},
};
}  // namespace

const CFontDesc& fontDescription(int id) {
    if (id < 0 || id >= kNumStandardFonts) id = kSystemFont;
    return kFontTable[id];
}

}  // namespace gui
