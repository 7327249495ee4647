// The image canvas on a cairo image surface.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>

#include "platform/imageCanvas.h"

namespace platform {

namespace {

constexpr const char* kFontFamily = "Liberation Sans";

class CairoImageCanvas : public ImageCanvas {
public:
    CairoImageCanvas(int w, int h)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)), cr(cairo_create(surface)) {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    }
    ~CairoImageCanvas() override {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    CairoImageCanvas(const CairoImageCanvas&) = delete;
    CairoImageCanvas& operator=(const CairoImageCanvas&) = delete;

    int width() const override { return cairo_image_surface_get_width(surface); }
    int height() const override { return cairo_image_surface_get_height(surface); }

    void fillRect(double x, double y, double w, double h, Colour c, double radius) override {
        rectPath(x, y, w, h, radius);
        setColour(c);
        cairo_fill(cr);
    }

    void strokeRect(double x, double y, double w, double h, Colour c, double lineWidth,
                    double radius) override {
        rectPath(x, y, w, h, radius);
        setColour(c);
        cairo_set_line_width(cr, lineWidth);
        cairo_stroke(cr);
    }

    void line(Point from, Point to, Colour c, double lineWidth, double dash) override {
        cairo_save(cr);
        if (dash > 0.0) {
            const double pattern[2] = {dash, dash};
            cairo_set_dash(cr, pattern, 2, 0.0);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        }
        cairo_move_to(cr, from.x, from.y);
        cairo_line_to(cr, to.x, to.y);
        setColour(c);
        cairo_set_line_width(cr, lineWidth);
        cairo_stroke(cr);
        cairo_restore(cr);
    }

    void polyline(const std::vector<Point>& points, Colour c, double lineWidth) override {
        if (points.size() < 2) return;
        pathThrough(points);
        setColour(c);
        cairo_set_line_width(cr, lineWidth);
        cairo_stroke(cr);
    }

    void fillPolygon(const std::vector<Point>& points, Colour top, Colour bottom) override {
        if (points.size() < 3) return;
        double minY = points.front().y, maxY = points.front().y;
        for (const Point& p : points) {
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        pathThrough(points);
        cairo_close_path(cr);
        cairo_pattern_t* gradient = cairo_pattern_create_linear(0.0, minY, 0.0, maxY + 1e-9);
        cairo_pattern_add_color_stop_rgba(gradient, 0.0, top.r, top.g, top.b, top.a);
        cairo_pattern_add_color_stop_rgba(gradient, 1.0, bottom.r, bottom.g, bottom.b, bottom.a);
        cairo_set_source(cr, gradient);
        cairo_fill(cr);
        cairo_pattern_destroy(gradient);
    }

    void clip(double x, double y, double w, double h) override {
        cairo_save(cr);
        cairo_rectangle(cr, x, y, w, h);
        cairo_clip(cr);
    }

    void unclip() override { cairo_restore(cr); }

    void text(Point at, const std::string& utf8, double size, Colour c, TextAlign align, bool bold,
              bool vertical) override {
        cairo_save(cr);
        selectFont(size, bold);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, utf8.c_str(), &extents);
        double offset = 0.0;
        if (align == TextAlign::centre) offset = extents.x_advance / 2.0;
        if (align == TextAlign::right) offset = extents.x_advance;
        cairo_translate(cr, at.x, at.y);
        if (vertical) cairo_rotate(cr, -1.5707963267948966);
        cairo_move_to(cr, -offset, 0.0);
        setColour(c);
        cairo_show_text(cr, utf8.c_str());
        cairo_restore(cr);
    }

    double textWidth(const std::string& utf8, double size, bool bold) override {
        cairo_save(cr);
        selectFont(size, bold);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, utf8.c_str(), &extents);
        cairo_restore(cr);
        return extents.x_advance;
    }

    bool savePng(const std::string& path) override {
        cairo_surface_flush(surface);
        return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    }

private:
    void setColour(Colour c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

    void selectFont(double size, bool bold) {
        cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, size);
    }

    void rectPath(double x, double y, double w, double h, double radius) {
        radius = std::min({radius, w / 2.0, h / 2.0});
        if (radius <= 0.0) {
            cairo_rectangle(cr, x, y, w, h);
            return;
        }
        const double quarter = 1.5707963267948966;
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + w - radius, y + radius, radius, -quarter, 0.0);
        cairo_arc(cr, x + w - radius, y + h - radius, radius, 0.0, quarter);
        cairo_arc(cr, x + radius, y + h - radius, radius, quarter, 2.0 * quarter);
        cairo_arc(cr, x + radius, y + radius, radius, 2.0 * quarter, 3.0 * quarter);
        cairo_close_path(cr);
    }

    void pathThrough(const std::vector<Point>& points) {
        cairo_new_path(cr);
        cairo_move_to(cr, points.front().x, points.front().y);
        for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].x, points[i].y);
    }

    cairo_surface_t* surface;
    cairo_t* cr;
};

}  // namespace

namespace {

// Cairo and fontconfig keep their font caches for the life of the process;
// handing them back at exit keeps leak checkers quiet about memory that is
// not lost. Canvases are gone by then.
void releaseFontCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace

std::unique_ptr<ImageCanvas> createImageCanvas(int width, int height) {
    static const bool releasedAtExit = std::atexit(releaseFontCaches) == 0;
    (void)releasedAtExit;
    return std::make_unique<CairoImageCanvas>(width, height);
}

}  // namespace platform
