#include "cairoDevice.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>

#include "cairoBitmap.h"
#include "cairoText.h"

namespace platform::cairo_draw {

namespace {

int liveDevices = 0;

void sourceColour(cairo_t* cr, Colour c) {
    // The system draws opaquely; colour alpha is kept for the toolkit only.
    cairo_set_source_rgb(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

}  // namespace

cairo_surface_t* resizedSurface(cairo_surface_t* old, int width, int height, Colour fill) {
    cairo_surface_t* grown =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width > 0 ? width : 0, height > 0 ? height : 0);
    cairo_t* cr = cairo_create(grown);
    cairo_set_source_rgb(cr, fill.red / 255.0, fill.green / 255.0, fill.blue / 255.0);
    cairo_paint(cr);
    if (old) {
        cairo_set_source_surface(cr, old, 0, 0);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    return grown;
}

std::uint32_t surfacePixel(cairo_surface_t* surface, int x, int y) {
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return 0;
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data || x < 0 || y < 0 || x >= w || y >= h) return 0;
    const int stride = cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFFu;
}

bool saveSurfacePng(cairo_surface_t* surface, const std::string& path) {
    return surface && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

bool saveSurfacePngScaled(cairo_surface_t* surface, const std::string& path, int factor) {
    if (!surface || factor < 1) return false;
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    cairo_surface_t* big = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w * factor, h * factor);
    cairo_t* cr = cairo_create(big);
    cairo_scale(cr, factor, factor);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    const bool saved = saveSurfacePng(big, path);
    cairo_surface_destroy(big);
    return saved;
}

CairoDevice::CairoDevice(cairo_surface_t* surface, Stats* stats)
    : CairoDevice(surface, cairo_image_surface_get_width(surface),
                  cairo_image_surface_get_height(surface), stats) {}

CairoDevice::CairoDevice(cairo_surface_t* surface, int width, int height, Stats* stats)
    : target(cairo_surface_reference(surface)),
      cr(cairo_create(surface)),
      w(width),
      h(height),
      stats(stats) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    fontFace = font.face;
    font.face = fontFace.c_str();
    ++liveDevices;
}

CairoDevice::~CairoDevice() {
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    --liveDevices;
}

int CairoDevice::live() { return liveDevices; }

int CairoDevice::width() const { return w; }
int CairoDevice::height() const { return h; }
std::uint32_t CairoDevice::pixel(int x, int y) const { return surfacePixel(target, x, y); }
bool CairoDevice::savePng(const std::string& path) const { return saveSurfacePng(target, path); }

void CairoDevice::counted() const {
    if (stats) ++stats->drawings;
}

void CairoDevice::setPen(Colour colour, int width, LineStyle style) {
    pen = colour;
    penWidth = width < 1 ? 1 : width;
    penStyle = style;
}

void CairoDevice::setFont(const FontSpec& f) {
    font = f;
    fontFace = f.face ? f.face : "Arial";
    font.face = fontFace.c_str();
}

bool CairoDevice::visible(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    return !clipped || (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom);
}

// Bresenham from `from` up to but not including `to`, as a cosmetic GDI pen
// draws. The pixels are gathered as unit squares and filled in one go, which
// sets exactly those pixels on any kind of surface.
void CairoDevice::thinLine(Point from, Point to) {
    const int dx = std::abs(to.x - from.x), sx = from.x < to.x ? 1 : -1;
    const int dy = -std::abs(to.y - from.y), sy = from.y < to.y ? 1 : -1;
    int err = dx + dy;
    int x = from.x, y = from.y;
    cairo_new_path(cr);
    for (int step = 0; !(x == to.x && y == to.y); ++step) {
        if ((penStyle == LineStyle::solid || (step & 1) == 0) && visible(x, y))
            cairo_rectangle(cr, x, y, 1, 1);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    sourceColour(cr, pen);
    cairo_fill(cr);
}

void CairoDevice::lineTo(Point to) {
    counted();
    if (penWidth <= 1) {
        thinLine(current, to);
    } else {
        cairo_save(cr);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
        sourceColour(cr, pen);
        cairo_set_line_width(cr, penWidth);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        if (penStyle == LineStyle::onOffDash) {
            const double dash[] = {double(penWidth) * 2, double(penWidth) * 2};
            cairo_set_dash(cr, dash, 2, 0);
        }
        cairo_move_to(cr, current.x + 0.5, current.y + 0.5);
        cairo_line_to(cr, to.x + 0.5, to.y + 0.5);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    current = to;
}

void CairoDevice::fillRect(const Rect& r) {
    counted();
    if (r.empty()) return;
    sourceColour(cr, brush);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_fill(cr);
}

void CairoDevice::frameRect(const Rect& r) {
    counted();
    if (r.empty()) return;
    sourceColour(cr, pen);
    cairo_rectangle(cr, r.left, r.top, r.width(), 1);
    cairo_rectangle(cr, r.left, r.bottom - 1, r.width(), 1);
    cairo_rectangle(cr, r.left, r.top, 1, r.height());
    cairo_rectangle(cr, r.right - 1, r.top, 1, r.height());
    cairo_fill(cr);
}

void CairoDevice::drawText(const char* text, const Rect& r, TextAlign align, bool opaque) {
    counted();
    if (!text || r.empty()) return;
    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_clip(cr);
    cairo_text::drawLine(cr, font, text, r, align, opaque ? &textBackground : nullptr, textColour);
    cairo_restore(cr);
}

void CairoDevice::setClip(const Rect& r) {
    clipped = true;
    clip = r;
    cairo_reset_clip(cr);
    cairo_rectangle(cr, r.left, r.top, std::max(0, r.width()), std::max(0, r.height()));
    cairo_clip(cr);
}

void CairoDevice::resetClip() {
    clipped = false;
    cairo_reset_clip(cr);
}

void CairoDevice::paintSurface(cairo_surface_t* source, const Rect& dest, Point sourceOrigin,
                               double alpha) {
    if (dest.empty() || !source) return;
    cairo_save(cr);
    cairo_set_source_surface(cr, source, dest.left - sourceOrigin.x, dest.top - sourceOrigin.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, dest.left, dest.top, dest.width(), dest.height());
    if (alpha >= 1.0) {
        cairo_fill(cr);
    } else {
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
}

void CairoDevice::drawBitmap(const NativeBitmap& bitmap, const Rect& dest, Point source) {
    counted();
    paintSurface(static_cast<const CairoBitmap&>(bitmap).surface(), dest, source, 1.0);
}

void CairoDevice::drawBitmapTransparent(const NativeBitmap& bitmap, const Rect& dest, Point source,
                                        Colour key) {
    counted();
    paintSurface(static_cast<const CairoBitmap&>(bitmap).keyedSurface(key), dest, source, 1.0);
}

void CairoDevice::drawBitmapAlpha(const NativeBitmap& bitmap, const Rect& dest, Point source,
                                  std::uint8_t alpha) {
    counted();
    paintSurface(static_cast<const CairoBitmap&>(bitmap).surface(), dest, source, alpha / 255.0);
}

void CairoDevice::copyFrom(DrawDevice& from, const Rect& dest, Point source) {
    if (stats) ++stats->copies;
    auto& other = static_cast<CairoDevice&>(from);
    cairo_surface_flush(other.target);
    if (other.target != target) {
        paintSurface(other.target, dest, source, 1.0);
        return;
    }
    // Overlapping copy within one surface: go through a snapshot.
    cairo_surface_t* snapshot =
        cairo_surface_create_similar(target, cairo_surface_get_content(target), w, h);
    cairo_t* copier = cairo_create(snapshot);
    cairo_set_source_surface(copier, target, 0, 0);
    cairo_paint(copier);
    cairo_destroy(copier);
    paintSurface(snapshot, dest, source, 1.0);
    cairo_surface_destroy(snapshot);
}

}  // namespace platform::cairo_draw
