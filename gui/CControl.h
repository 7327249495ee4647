// A view with a value that the user changes: it reports changes to its
// listener, brackets them with begin and end edit, and knows it needs drawing
// when its value moved since it was last drawn.
#pragma once

#include "CControlListener.h"
#include "CView.h"

namespace gui {

class CControl : public CView {
public:
    // Takes a reference to the background bitmap.
    CControl(const CRect& size, CControlListener* listener = nullptr, int tag = 0,
             CBitmap* background = nullptr);
    ~CControl() override;

    // Drawn when the value differs from the value last drawn, or when marked.
    bool isDirty() const override;
    void setDirty(bool state = true) override;
    bool isTypeOf(const char* type) const override;

    // Runs the editor's idle processing; called between polls of a drag.
    virtual void doIdleStuff();
    // The setters store only: they neither mark dirty nor notify.
    virtual void setValue(float value);
    virtual float getValue() const;
    virtual void setMin(float value);
    virtual float getMin() const;
    virtual void setMax(float value);
    virtual float getMax() const;
    virtual void setOldValue(float value);
    virtual float getOldValue() const;
    virtual void setDefaultValue(float value);
    virtual float getDefaultValue() const;
    virtual void setTag(int tag);
    virtual int getTag() const;
    // Makes this the frame's focus view, then begins an edit of the tag.
    virtual void beginEdit();
    virtual void endEdit();
    virtual void setBackOffset(const CPoint& offset);
    // Sets the background offset to the control's own top left corner.
    virtual void copyBackOffset();
    virtual void setWheelInc(float value);
    virtual float getWheelInc() const;
    virtual void bounceValue();
    // Ctrl+click (buttons exactly left + Control): resets to the default value
    // inside an edit and answers true; anything else answers false.
    virtual bool checkDefaultValue(CDrawContext* context, int button);

    CControlListener* getListener() const { return listener; }
    void setListener(CControlListener* l) { listener = l; }
    const CPoint& getBackOffset() const { return backOffset; }

protected:
    // The mask of a press given as -1, read from the context or the system.
    static int currentButtons(CDrawContext* context, int buttons);
    // Asks the listener about a press with a modifier; true if it took it.
    bool listenerTookModifierClick(CDrawContext* context, int buttons);

    CControlListener* listener;
    int tag;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float vmin = 0.0f;
    float vmax = 1.0f;
    float wheelInc = 0.1f;
    int lastTicks = -1;
    int delta;  // the double-click interval, ms
    CPoint backOffset;
};

}  // namespace gui
