// Points and rectangles of the view tree: 32-bit pixel coordinates, a
// rectangle's left and top inside it and its right and bottom just outside.
#pragma once

#include <algorithm>

namespace gui {

static_assert(sizeof(int) == 4, "the toolkit's coordinates and masks are 32-bit");

struct CPoint {
    int h = 0;
    int v = 0;

    CPoint() = default;
    CPoint(int h, int v) : h(h), v(v) {}

    CPoint& offset(int dh, int dv) {
        h += dh;
        v += dv;
        return *this;
    }
    bool operator==(const CPoint&) const = default;
};

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    CRect() = default;
    CRect(int left, int top, int right, int bottom)
        : left(left), top(top), right(right), bottom(bottom) {}

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }

    CRect& offset(int dh, int dv) {
        left += dh;
        right += dh;
        top += dv;
        bottom += dv;
        return *this;
    }
    // Keeps the size, moves the top left corner to (h, v).
    CRect& moveTo(int h, int v) { return offset(h - left, v - top); }
    // Cuts the rectangle down to its overlap with r.
    CRect& bound(const CRect& r) {
        left = std::max(left, r.left);
        top = std::max(top, r.top);
        right = std::max(left, std::min(right, r.right));
        bottom = std::max(top, std::min(bottom, r.bottom));
        return *this;
    }
    CRect& unite(const CRect& r) {
        if (r.isEmpty()) return *this;
        if (isEmpty()) return *this = r;
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
        return *this;
    }
    // Left and top edges inside, right and bottom outside.
    bool pointInside(const CPoint& p) const {
        return p.h >= left && p.h < right && p.v >= top && p.v < bottom;
    }
    // All four edges inside, as presses hit views.
    bool pointInsideEdges(const CPoint& p) const {
        return p.h >= left && p.h <= right && p.v >= top && p.v <= bottom;
    }
    bool rectOverlap(const CRect& r) const {
        return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
    }
    bool operator==(const CRect&) const = default;
};

}  // namespace gui
