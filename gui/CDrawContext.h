// A short-lived drawing context: made for one paint, one press, one idle run
// or one wheel event, and released at once. It keeps the current colours,
// line width and font, applies the drawing offset of the view being drawn, and
// hands the operations to a platform device.
#pragma once

#include <memory>

#include "CReferenceCounter.h"
#include "colours.h"
#include "fontTable.h"
#include "geometry.h"
#include "platform/drawDevice.h"

namespace platform {
class Window;
}

namespace gui {

class CFrame;

enum CLineStyle { kLineSolid = 0, kLineOnOffDash };

class CDrawContext : public CReferenceCounter {
public:
    // Draws on `device`, or, when it is null, on a device this context obtains
    // from `window` and releases with itself. `frame` and `window` may be null.
    CDrawContext(CFrame* frame, platform::DrawDevice* device, platform::Window* window);
    ~CDrawContext() override;

    void moveTo(const CPoint& point);
    void lineTo(const CPoint& point);
    // The pixels inside rect (right and bottom edges excluded) in the fill colour.
    void fillRect(const CRect& rect);
    // A one-pixel outline on the edge pixels inside rect, in the line colour.
    void drawRect(const CRect& rect);
    // One line of text, vertically centred; left-aligned text starts one pixel
    // inside. `opaque` fills the text cell with the fill colour first.
    void drawString(const char* text, const CRect& rect, bool opaque = false,
                    CHoriTxtAlign hAlign = kCenterText);

    void setFrameColor(CColor color);  // the line colour
    CColor getFrameColor() const { return frameColor; }
    void setLineWidth(int width);
    int getLineWidth() const { return frameWidth; }
    void setLineStyle(CLineStyle style);
    CLineStyle getLineStyle() const { return lineStyle; }
    void setFillColor(CColor color);
    CColor getFillColor() const { return fillColor; }
    void setFontColor(CColor color);
    CColor getFontColor() const { return fontColor; }
    // Takes the size from the font table whatever `size` says; ids outside the
    // table give font 0, which is always bold.
    void setFont(int fontId, int size = 0, int style = 0);
    int getFont() const { return fontId; }
    int getFontSize() const { return fontSize; }
    int getFontStyle() const { return fontStyle; }

    void setClipRect(const CRect& clip);
    CRect& getClipRect(CRect& clip) const;
    void resetClipRect();

    // The button-and-modifier mask right now.
    int getMouseButtons();
    // The pointer relative to the window (screen position minus screen offset)
    // in layout pixels.
    void getMouseLocation(CPoint& point);

    // The offset added to every coordinate: the origin of the container whose
    // views are being drawn.
    CPoint offset;
    // The window's origin on the screen, in screen pixels.
    const CPoint& getScreenOffset() const { return screenOffset; }
    void setScreenOffset(const CPoint& p) { screenOffset = p; }

    // The raw device, for controls that draw on their own; its pixels are the
    // layout's times getScale().
    platform::DrawDevice* getDevice() const { return device; }
    double getScale() const { return scale; }
    // A rectangle or point of the view being drawn (offset applied) in device pixels.
    platform::Rect toDevice(const CRect& rect) const;
    platform::Point toDevice(const CPoint& point) const;
    platform::Window* getWindow() const { return window; }
    CFrame* getFrame() const { return frame; }

protected:
    void applyPen();
    void applyFont();

    CPoint screenOffset;
    double scale = 1.0;
    platform::DrawDevice* device;
    platform::Window* window;
    CFrame* frame;
    std::unique_ptr<platform::DrawDevice> ownDevice;
    int fontId = -1;
    int fontSize = 0;
    int fontStyle = 0;
    CRect clipRect;
    CColor frameColor = kWhiteCColor;
    int frameWidth = 1;
    CLineStyle lineStyle = kLineSolid;
    CColor fillColor = kBlackCColor;
    CColor fontColor = kWhiteCColor;
    bool penValid = false;
};

// The platform's colour record for a toolkit colour.
platform::Colour toPlatform(CColor color);

}  // namespace gui
