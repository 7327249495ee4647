// A control that shows its value as text over a bitmap or a coloured box;
// the base of the text field and the option menu.
#pragma once

#include "CControl.h"
#include "colours.h"
#include "fontTable.h"

namespace gui {

// Style bits of the display and its descendants.
enum {
    kMultipleCheckStyle = 1,  // option menu: every entry keeps its own check mark
    kShadowText = 4,
    k3DIn = 128,
    k3DOut = 256,
    kPopupStyle = 512,   // option menu opens above the control
    kCheckStyle = 1024,  // option menu checks its current entry
    kNoTextStyle = 2048,
    kNoDrawStyle = 4096,
    kDoubleClickStyle = 8192,  // text field opens on a double click
    kNoFrame = 16384
};

using CParamDisplayValueToStringProc = void (*)(float value, char* string);
using CParamDisplayValueToStringProc2 = void (*)(float value, char* string, void* userData);
using CParamDisplayStringToValueProc = bool (*)(const char* string, float& value, void* userData);

class CParamDisplay : public CControl {
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int style = 0);
    ~CParamDisplay() override;

    void draw(CDrawContext* context) override;

    // Every setter marks the control dirty when the stored value changes.
    virtual void setFont(int fontID);
    virtual void setFontColor(CColor color);
    virtual void setBackColor(CColor color);
    virtual void setFrameColor(CColor color);
    virtual void setShadowColor(CColor color);
    virtual void setHoriAlign(CHoriTxtAlign hAlign);
    virtual void setStringConvert(CParamDisplayValueToStringProc2 convert, void* userData);
    virtual void setStringConvert(CParamDisplayValueToStringProc convert);
    virtual void setString2FloatConvert(CParamDisplayStringToValueProc convert);
    virtual void setStyle(int style);
    virtual void setTxtFace(int face);
    virtual void setTextTransparency(bool state);

    int getFont() const { return fontID; }
    CColor getFontColor() const { return fontColor; }
    CColor getBackColor() const { return backColor; }
    CColor getFrameColor() const { return frameColor; }
    CColor getShadowColor() const { return shadowColor; }
    CHoriTxtAlign getHoriAlign() const { return horiTxtAlign; }
    int getStyle() const { return style; }
    int getTxtFace() const { return txtFace; }
    bool getTextTransparency() const { return bTextTransparencyEnabled; }

protected:
    // The background, the optional 3-D frame and `text`, as every display draws
    // them; `newBack` replaces the own background bitmap.
    void drawText(CDrawContext* context, const char* text, CBitmap* newBack = nullptr);
    // The value as text through the conversion functions, else "%2.2f".
    void valueText(char* out, int size) const;

    CParamDisplayValueToStringProc stringConvert = nullptr;
    CParamDisplayValueToStringProc2 stringConvert2 = nullptr;
    CParamDisplayStringToValueProc string2FloatConvert = nullptr;
    void* userData = nullptr;
    CHoriTxtAlign horiTxtAlign = kCenterText;
    int style;
    int fontID = kNormalFont;
    int txtFace = kNormalFace;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CColor shadowColor = kRedCColor;
    bool bTextTransparencyEnabled = true;
};

}  // namespace gui
