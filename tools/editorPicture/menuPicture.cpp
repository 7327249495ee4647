#include "menuPicture.h"

#include <algorithm>
#include <vector>

#include "gui/COffscreenContext.h"
#include "platform/headless/cairoDevice.h"

namespace editorpicture {

namespace hl = platform::headless;
using namespace gui;

namespace {

constexpr int kRowHeight = 20;
constexpr int kColumnWidth = 176;
constexpr int kCheckGutter = 24;
constexpr int kPadding = 6;
constexpr CColor kPaper{246, 245, 241, 255};
constexpr CColor kBorder{88, 88, 86, 255};
constexpr CColor kRule{208, 205, 198, 255};
constexpr CColor kInk{32, 32, 30, 255};
constexpr CColor kMuted{150, 148, 142, 255};
constexpr CColor kCheckedBand{222, 230, 240, 255};
constexpr CColor kCheckInk{40, 70, 120, 255};

struct Placed {
    const hl::MenuItemRecord* item;
    int column;
    int row;
};

void drawCheck(CDrawContext& c, int x, int y) {
    // A tick, two pixels thick, in the gutter.
    c.setFrameColor(kCheckInk);
    c.setLineWidth(1);
    for (int d = 0; d < 2; ++d) {
        c.moveTo(CPoint(x + 6, y + 10 + d));
        c.lineTo(CPoint(x + 9, y + 13 + d));
        c.lineTo(CPoint(x + 16, y + 5 + d));
    }
}

}  // namespace

bool renderMenuPng(const hl::MenuRecord& menu, const std::string& path, std::string& error) {
    std::vector<Placed> placed;
    int column = 0, row = 0, rows = 0;
    for (const hl::MenuItemRecord& item : menu.items) {
        if ((item.flags & platform::kMenuColumnBreak) && row > 0) {
            ++column;
            row = 0;
        }
        placed.push_back({&item, column, row});
        rows = std::max(rows, ++row);
    }
    if (placed.empty()) {
        error = "the menu has no items";
        return false;
    }
    const int columns = column + 1;
    const int width = columns * kColumnWidth + 2 * kPadding;
    const int height = rows * kRowHeight + 2 * kPadding;

    auto* picture = new COffscreenContext(nullptr, width, height, kPaper);
    CDrawContext& c = *picture;
    c.setFrameColor(kBorder);
    c.drawRect(CRect(0, 0, width, height));
    c.setFrameColor(kRule);
    for (int k = 1; k < columns; ++k) {
        const int x = kPadding + k * kColumnWidth;
        c.moveTo(CPoint(x, kPadding));
        c.lineTo(CPoint(x, height - kPadding));
    }
    c.setFont(kNormalFont);
    for (const Placed& p : placed) {
        const int x = kPadding + p.column * kColumnWidth;
        const int y = kPadding + p.row * kRowHeight;
        if (p.item->separator) {
            c.setFrameColor(kRule);
            c.moveTo(CPoint(x + 8, y + kRowHeight / 2));
            c.lineTo(CPoint(x + kColumnWidth - 8, y + kRowHeight / 2));
            continue;
        }
        const bool checked = (p.item->flags & platform::kMenuChecked) != 0;
        if (checked) {
            c.setFillColor(kCheckedBand);
            c.fillRect(CRect(x + 2, y + 1, x + kColumnWidth - 2, y + kRowHeight - 1));
            drawCheck(c, x, y);
        }
        const bool disabled = (p.item->flags & (platform::kMenuGreyed | platform::kMenuDisabled)) != 0;
        c.setFontColor(disabled ? kMuted : kInk);
        c.drawString(p.item->text.c_str(),
                     CRect(x + kCheckGutter, y, x + kColumnWidth - 4, y + kRowHeight), false,
                     kLeftText);
    }
    auto* device = static_cast<hl::CairoDevice*>(picture->getDevice());
    const bool saved = device && device->savePng(path);
    picture->forget();
    if (!saved) error = "cannot write " + path;
    return saved;
}

}  // namespace editorpicture
