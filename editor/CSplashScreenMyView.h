// The open about screen: the about picture over the top of the editor with
// the version line and the editor's scale, taking every press until one
// closes it.
#pragma once

#include "gui/CView.h"

class CAbout;

class CSplashScreenMyView : public gui::CView {
public:
    // Takes the splash's display rectangle, transparency and picture (with a
    // reference of its own); `version` is copied.
    CSplashScreenMyView(CAbout* splash, const char* version);
    ~CSplashScreenMyView() override;

    void draw(gui::CDrawContext* context) override;
    // A left press closes the screen: the splash is told, the frame redrawn
    // whole, the view removed and released (which destroys it).
    void mouse(gui::CDrawContext* context, gui::CPoint& where, int buttons = -1) override;

    const char* getVersionText() const { return versionText; }

protected:
    CAbout* splash;
    char versionText[256];
};
