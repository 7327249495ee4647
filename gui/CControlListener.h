// How a control tells its owner (the editor) that the user changed it.
#pragma once

namespace gui {

class CControl;
class CDrawContext;

class CControlListener {
public:
    // The user changed `control`; read its tag and value. The context is null
    // for keyboard changes.
    virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
    // Asked by the stock controls before they handle a press with a modifier; a
    // non-zero answer means the listener handled it.
    virtual int controlModifierClicked(CDrawContext* context, CControl* control, int button);

protected:
    // Listeners are never deleted through this interface.
    ~CControlListener() = default;
};

}  // namespace gui
