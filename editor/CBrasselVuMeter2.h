// The needle meter: a face picture with a needle whose angle follows the
// value (0.0 at 120 degrees, upper left; 1.0 at 60 degrees, upper right),
// composed offscreen with an overlay picture and copied to the screen face
// area only, so the needle never flickers and never leaves the face.
#pragma once

#include "gui/CControl.h"

class CBrasselVuMeter2 : public gui::CControl {
public:
    // `size` gives the face's top left corner; the face picture gives its size.
    // The control takes a reference to both pictures. `unused` is ignored.
    CBrasselVuMeter2(const gui::CRect& size, gui::CControlListener* listener, int tag,
                     gui::CBitmap* face, gui::CBitmap* overlay, void* unused,
                     const gui::CPoint& overlayPosition, const gui::CPoint& pivot,
                     float innerRadius, float outerRadius, float spare1, float spare2,
                     const gui::CRect& spareRect1, const gui::CRect& spareRect2);
    ~CBrasselVuMeter2() override;

    // Does not mark the meter clean: it is redrawn while its value differs
    // from the value it was last updated with.
    void draw(gui::CDrawContext* context) override;
    // A left press is reported to the listener; the value does not change.
    void mouse(gui::CDrawContext* context, gui::CPoint& where, int buttons = -1) override;

    // Auxiliary levels. Each setter stores its level and sets the value to a
    // sum of them, which moves the needle until the next value arrives.
    virtual bool isBOff() const;
    virtual void resetB();
    virtual void resetAll();
    virtual void setA(float x);
    virtual void setB(float x);
    virtual void setC(float x);
    virtual void setD(float x);
    virtual void setE(float x);
    virtual void setAll(float a, float b, float c, float d, float e);

    float getLevelA() const { return levelA; }
    float getLevelB() const { return levelB; }
    float getLevelC() const { return levelC; }
    double getLevelD() const { return levelD; }
    double getLevelE() const { return levelE; }
    const gui::CRect& getFaceRect() const { return faceRect; }

    // The needle's five one-pixel segments for `value`: start and end of each,
    // in frame coordinates, in drawing order.
    struct Segment {
        gui::CPoint from;
        gui::CPoint to;
    };
    void needleSegments(float needleValue, Segment (&out)[5]) const;

protected:
    // A and C share their clamp: at least 1e-8 (else 1e-9), at most 4.0.
    static float clampedLevel(float x);
    // B with its clamp and latch: once B has reached 0.5, a value below 0.5
    // switches it off (-1.0) until a value of at least 0.5 arrives.
    void storeB(float x);

    float levelC = 1e-8f;
    gui::CBitmap* faceBitmap;
    gui::CBitmap* overlayBitmap;
    gui::CPoint overlayPosition;
    float spareFactor = 1.0f;
    float innerRadius;
    float outerRadius;
    float spareNumbers[2];
    int spareFlag = 1;
    gui::CRect faceRect;
    gui::CPoint pivot;
    gui::CRect spareRects[2];
    double levelD = 0.0;
    double levelE = 0.0;
    float levelB = 1e-8f;
    float levelA = 1e-8f;
};
