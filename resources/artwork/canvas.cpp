#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace artwork {

Colour mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

namespace {
int drawingScale = 1;
}

void setPixelScale(int scale)
{
    drawingScale = scale < 1 ? 1 : scale;
}

int pixelScale()
{
    return drawingScale;
}

Image::Image(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width * drawingScale, height * drawingScale)),
      width_(width), height_(height), scale_(drawingScale)
{
    // New image surfaces are cleared to zero, which is opaque black for RGB24.
    // The device scale lets every drawing routine keep its layout coordinates.
    cairo_surface_set_device_scale(surface_, scale_, scale_);
}

Image::~Image()
{
    if (surface_ != nullptr)
        cairo_surface_destroy(surface_);
}

Image::Image(Image&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)), width_(other.width_), height_(other.height_),
      scale_(other.scale_)
{
}

Image& Image::operator=(Image&& other) noexcept
{
    if (this != &other) {
        if (surface_ != nullptr)
            cairo_surface_destroy(surface_);
        surface_ = std::exchange(other.surface_, nullptr);
        width_ = other.width_;
        height_ = other.height_;
        scale_ = other.scale_;
    }
    return *this;
}

Image Image::crop(const Rect& r) const
{
    Image out(r.width(), r.height());
    cairo_surface_flush(surface_);
    for (int y = 0; y < out.pixelHeight(); ++y)
        for (int x = 0; x < out.pixelWidth(); ++x)
            out.setPixel(x, y, pixel(r.left * scale_ + x, r.top * scale_ + y));
    cairo_surface_mark_dirty(out.surface_);
    return out;
}

void Image::paste(const Image& source, int x, int y)
{
    cairo_surface_flush(source.surface_);
    cairo_surface_flush(surface_);
    for (int sy = 0; sy < source.pixelHeight(); ++sy)
        for (int sx = 0; sx < source.pixelWidth(); ++sx)
            setPixel(x * scale_ + sx, y * scale_ + sy, source.pixel(sx, sy));
    cairo_surface_mark_dirty(surface_);
}

std::uint32_t Image::pixel(int x, int y) const
{
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    return reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride)[x] & 0xFFFFFF;
}

void Image::setPixel(int x, int y, std::uint32_t value)
{
    if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight())
        return;
    unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride)[x] = value | 0xFF000000u;
}

Pen::Pen(Image& image) : cr_(cairo_create(image.surface()))
{
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

Pen::~Pen()
{
    cairo_destroy(cr_);
}

void setColour(cairo_t* cr, Colour c, double alpha)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius)
{
    const double r = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void circle(cairo_t* cr, double x, double y, double radius)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    cairo_close_path(cr);
}

namespace {

void selectFont(cairo_t* cr, const Font& font)
{
    cairo_select_font_face(cr, font.family, font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
}

// Lays the text out letter by letter so that letter spacing can be added.
template <typename Each>
void forEachLetter(cairo_t* cr, const std::string& text, const Font& font, Each each)
{
    double x = 0;
    for (std::size_t i = 0; i < text.size();) {
        // Keep multi-byte UTF-8 letters together.
        std::size_t n = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            n = 4;
        else if (lead >= 0xE0)
            n = 3;
        else if (lead >= 0xC0)
            n = 2;
        const std::string letter = text.substr(i, n);
        cairo_text_extents_t ext;
        cairo_text_extents(cr, letter.c_str(), &ext);
        each(letter, x);
        x += ext.x_advance + font.spacing;
        i += n;
    }
}

} // namespace

double textWidth(cairo_t* cr, const std::string& text, const Font& font)
{
    selectFont(cr, font);
    double width = 0;
    double lastAdvance = 0;
    forEachLetter(cr, text, font, [&](const std::string& letter, double x) {
        cairo_text_extents_t ext;
        cairo_text_extents(cr, letter.c_str(), &ext);
        width = x;
        lastAdvance = ext.x_advance;
    });
    return text.empty() ? 0.0 : width + lastAdvance;
}

void drawText(cairo_t* cr, const std::string& text, double x, double y, const Font& font, Align align,
              Colour colour, double alpha)
{
    const double width = textWidth(cr, text, font);
    double left = x;
    if (align == Align::Centre)
        left = x - width / 2;
    else if (align == Align::Right)
        left = x - width;
    selectFont(cr, font);
    setColour(cr, colour, alpha);
    forEachLetter(cr, text, font, [&](const std::string& letter, double dx) {
        cairo_move_to(cr, left + dx, y);
        cairo_show_text(cr, letter.c_str());
    });
}

void drawTextCentred(cairo_t* cr, const std::string& text, double x, double y, const Font& font, Colour colour)
{
    selectFont(cr, font);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, "0", &ext);
    drawText(cr, text, x, y - (ext.y_bearing / 2.0), font, Align::Centre, colour);
}

void printLegend(cairo_t* cr, const std::string& text, double x, double y, const Font& font, Align align,
                 Colour colour)
{
    drawText(cr, text, x, y + 0.8, font, align, palette::kEngraveDark, 0.55);
    drawText(cr, text, x, y, font, align, colour);
}

void engravedLine(cairo_t* cr, double x0, double y0, double x1, double y1)
{
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, palette::kEngraveLight, 0.55);
    cairo_move_to(cr, x0, y0 + 1.0);
    cairo_line_to(cr, x1, y1 + 1.0);
    cairo_stroke(cr);
    setColour(cr, palette::kEngraveDark, 0.85);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void drawScrew(cairo_t* cr, double x, double y, double radius, double slotDeg)
{
    cairo_save(cr);
    // Countersink shadow around the head.
    circle(cr, x, y, radius + 1.2);
    setColour(cr, palette::kEngraveDark, 0.7);
    cairo_fill(cr);

    cairo_pattern_t* head = cairo_pattern_create_radial(x - radius * 0.4, y - radius * 0.5, radius * 0.1, x, y,
                                                        radius * 1.1);
    cairo_pattern_add_color_stop_rgb(head, 0.0, 0.82, 0.81, 0.78);
    cairo_pattern_add_color_stop_rgb(head, 0.55, 0.52, 0.51, 0.49);
    cairo_pattern_add_color_stop_rgb(head, 1.0, 0.25, 0.25, 0.24);
    circle(cr, x, y, radius);
    cairo_set_source(cr, head);
    cairo_fill(cr);
    cairo_pattern_destroy(head);

    // Cross slot: a dark cut with a lit lower edge.
    cairo_translate(cr, x, y);
    cairo_rotate(cr, slotDeg * M_PI / 180.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double arm = radius * 0.62;
    cairo_set_line_width(cr, radius * 0.34);
    for (int i = 0; i < 2; ++i) {
        cairo_move_to(cr, -arm, 0);
        cairo_line_to(cr, arm, 0);
        cairo_rotate(cr, M_PI / 2);
    }
    cairo_set_source_rgba(cr, 0.08, 0.08, 0.08, 0.9);
    cairo_stroke(cr);
    cairo_restore(cr);
}

std::uint64_t Random::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
}

double Random::uniform()
{
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

void brushedMetal(Image& image, Colour base, double grain, std::uint64_t seed)
{
    Random random(seed);
    const int w = image.pixelWidth();
    const int h = image.pixelHeight();
    std::vector<double> streak(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        // Each row is a long streak: a smoothed random walk, plus a little per-row offset.
        const double rowOffset = random.signedUniform() * grain * 0.5;
        double walk = random.signedUniform();
        for (int x = 0; x < w; ++x) {
            walk = walk * 0.93 + random.signedUniform() * 0.35;
            streak[static_cast<std::size_t>(x)] = walk;
        }
        const double fall = 1.06 - 0.14 * (static_cast<double>(y) / h);
        for (int x = 0; x < w; ++x) {
            const double sheen = 1.0 + 0.04 * std::cos((static_cast<double>(x) / w - 0.35) * M_PI);
            const double d = (streak[static_cast<std::size_t>(x)] * grain + rowOffset
                              + random.signedUniform() * grain * 0.35) / 255.0;
            auto channel = [&](double c) {
                const double v = std::clamp(c * fall * sheen + d, 0.0, 1.0);
                return static_cast<std::uint32_t>(std::lround(v * 255.0));
            };
            image.setPixel(x, y, (channel(base.r) << 16) | (channel(base.g) << 8) | channel(base.b));
        }
    }
    cairo_surface_mark_dirty(image.surface());
}

double pointerDx(double degrees)
{
    return std::sin(degrees * M_PI / 180.0);
}

double pointerDy(double degrees)
{
    return -std::cos(degrees * M_PI / 180.0);
}

} // namespace artwork
