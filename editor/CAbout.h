// The invisible control over the logo: a left press opens the about screen,
// a picture with the version line shown as the frame's modal view until it
// is clicked.
#pragma once

#include "gui/CSplashScreen.h"

class CAbout : public gui::CSplashScreen {
public:
    CAbout(const gui::CRect& size, gui::CControlListener* listener, int tag, gui::CBitmap* picture,
           const gui::CRect& toDisplay, const gui::CPoint& offset = gui::CPoint(0, 0));
    ~CAbout() override;

    // The logo is part of the editor's background; nothing to draw.
    void draw(gui::CDrawContext* context) override;
    void mouse(gui::CDrawContext* context, gui::CPoint& where, int buttons = -1) override;
};
