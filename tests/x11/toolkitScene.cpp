#include "toolkitScene.h"

#include <cstdio>

namespace scene {

namespace {

const char* const kMenuEntries[] = {"Current", "-",       "Default", "Gentle", "Punchy",
                                    "-TFactory", "-GGreyed", "Smooth", "Wide"};

}  // namespace

Editor::Editor(Effect* effect, Log& log) : TestEditor(effect, kWidth, kHeight), log(log) {
    setKnobMode(gui::kLinearMode);
}

bool Editor::open(void* parent) {
    TestEditor::open(parent);
    auto* background = new gui::CBitmap(12128);
    frame->setBackground(background);
    background->forget();

    auto* switchPicture = new gui::CBitmap(12129);
    switchControl = new gui::CHorizontalSwitch(kSwitchRect, this, kSwitchTag, 3, 78, 3,
                                               switchPicture);
    switchPicture->forget();
    frame->addView(switchControl);

    auto* strip = new gui::CBitmap(12173);
    knob = new gui::CAnimKnob(kKnobRect, this, kKnobTag, 21, 114, strip);
    strip->forget();
    frame->addView(knob);

    field = new gui::CTextEdit(kFieldRect, this, kFieldTag, "Gentle Bus");
    field->setFont(gui::kNormalFontSmall);
    field->setFontColor(gui::CColor{30, 30, 28, 255});
    field->setBackColor(gui::CColor{207, 222, 235, 255});
    field->setFrameColor(gui::CColor{76, 76, 72, 255});
    field->setHoriAlign(gui::kLeftText);
    frame->addView(field);

    menu = new gui::COptionMenu(kMenuRect, this, kMenuTag, nullptr, nullptr, gui::kCheckStyle);
    for (const char* entry : kMenuEntries) menu->addEntry(entry);
    menu->setNbItemsPerColumn(5);
    menu->setFont(gui::kNormalFontSmall);
    menu->setFontColor(gui::CColor{230, 230, 225, 255});
    menu->setBackColor(gui::CColor{40, 44, 52, 255});
    menu->setFrameColor(gui::CColor{120, 120, 120, 255});
    frame->addView(menu);
    return true;
}

void Editor::close() {
    TestEditor::close();
    switchControl = nullptr;
    knob = nullptr;
    field = nullptr;
    menu = nullptr;
}

void Editor::valueChanged(gui::CDrawContext*, gui::CControl* control) {
    ++changes;
    char line[300];
    if (control == field) {
        char text[256];
        field->getText(text);
        std::snprintf(line, sizeof line, "change %d %s", control->getTag(), text);
    } else {
        std::snprintf(line, sizeof line, "change %d %g", control->getTag(),
                      static_cast<double>(control->getValue()));
    }
    log.push_back(line);
}

void Editor::show(const State& s) {
    if (!frame) return;
    switchControl->setValue(s.switchValue);
    knob->setValue(s.knobValue);
    menu->setCurrent(s.menuIndex, true);
    field->setText(s.text.c_str());
    frame->setDirty(true);
}

State Editor::state() const {
    State s;
    if (!frame) return s;
    s.switchValue = switchControl->getValue();
    s.knobValue = knob->getValue();
    s.menuIndex = menu->getCurrent(nullptr, true);
    char text[256];
    field->getText(text);
    s.text = text;
    return s;
}

}  // namespace scene
