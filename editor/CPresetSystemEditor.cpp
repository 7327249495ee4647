#include "CPresetSystemEditor.h"

#include <initializer_list>

#include "CPSOnOffButton.h"
#include "CPSRockerSwitch.h"
#include "CSaveLoadButton.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/CTextEdit.h"

using namespace gui;

namespace {

constexpr int kBackgroundId = 12128;
constexpr int kRockerId = 19997;
constexpr int kButtonFrameHeight = 14;
constexpr CColor kNameFieldBack{207, 222, 235, 255};
constexpr CColor kNameFieldInk{76, 76, 72, 255};
// The menu draws nothing itself and checks its current entry in the pop-up.
constexpr int kPresetMenuStyle = kCheckStyle | kNoDrawStyle;
constexpr int kMenuEntriesPerColumn = 16;

struct FileButtonPlace {
    int tag;
    int kind;
    int left;
    int topFromBottom;  // H minus the top edge
    int bitmap;
};

// Save at x 55, load at x 119; presets on the upper row, banks on the lower.
constexpr FileButtonPlace kFileButtons[] = {
    {CPresetSystemEditor::kLoadBankTag, CSaveLoadButton::kLoadBank, 119, 15, 19993},
    {CPresetSystemEditor::kSaveBankTag, CSaveLoadButton::kSaveBank, 55, 15, 19994},
    {CPresetSystemEditor::kLoadPresetTag, CSaveLoadButton::kLoadPreset, 119, 31, 19998},
    {CPresetSystemEditor::kSavePresetTag, CSaveLoadButton::kSavePreset, 55, 31, 19999},
};

struct MemoryButtonPlace {
    int tag;
    int left;
    int topFromBottom;
    int bitmap;
};

// Store at x 302, recall at x 327; A on the upper row, B on the lower.
constexpr MemoryButtonPlace kMemoryButtons[] = {
    {CPresetSystemEditor::kRecallATag, 327, 31, 19991},
    {CPresetSystemEditor::kRecallBTag, 327, 15, 19992},
    {CPresetSystemEditor::kStoreATag, 302, 31, 19995},
    {CPresetSystemEditor::kStoreBTag, 302, 15, 19996},
};

// Buttons are 12 x 14 pixels.
CRect buttonRect(int left, int top) { return CRect(left, top, left + 12, top + 14); }

}  // namespace

CPresetSystemEditor::CPresetSystemEditor(EditorModel& model)
    : model(model), fileOperations(&model, this), panelSync(model.bank(), *this) {}

void CPresetSystemEditor::slotName(int slot, char (&name)[25]) const {
    name[0] = 0;
    if (CProgram* program = model.bank() ? model.bank()->getBankProgram(slot) : nullptr)
        program->getName(name);
}

int CPresetSystemEditor::selectedSlot() const {
    return model.bank() ? model.bank()->getCurrentPreset() : 0;
}

void CPresetSystemEditor::showBankChanges() {
    if (frame) panelSync.update();
    showParameterChanges();
}

// ------------------------------------------------------------ open and close

int CPresetSystemEditor::panelBottom() const { return frame ? frame->getHeight() : 0; }

bool CPresetSystemEditor::open(void*) {
    if (!frame) return false;
    // The panel sits along the bottom of the layout, whatever the window's scale.
    const int h = panelBottom();
    CControlListener* self = this;

    auto* background = new CBitmap(kBackgroundId);
    char name[25];
    slotName(selectedSlot(), name);
    nameField = new CTextEdit(CRect(138, h - 24, 251, h - 10), self, kNameFieldTag, name,
                              background);
    nameField->setWantsFocus(true);
    // The field shows the part of the panel picture that lies under it.
    nameField->setBackOffset(CPoint(138, h - 24));
    nameField->setBackColor(kNameFieldBack);
    nameField->setFont(kNormalFontSmall);
    nameField->setFontColor(kNameFieldInk);
    nameField->setFrameColor(kNameFieldInk);
    nameField->setHoriAlign(kCenterText);
    frame->addView(nameField);

    presetMenu = new COptionMenu(CRect(254, h - 24, 264, h - 10), self, kPresetMenuTag, nullptr,
                                 nullptr, 0);
    // Entry 0 is the working program, entry 1 a separator, then slots 1 to 32.
    slotName(0, name);
    presetMenu->addEntry(name);
    presetMenu->addEntry("-");
    for (int slot = 1; slot < kBankPrograms; ++slot) {
        slotName(slot, name);
        presetMenu->addEntry(name);
    }
    presetMenu->setNbItemsPerColumn(kMenuEntriesPerColumn);
    presetMenu->setStyle(kPresetMenuStyle);
    presetMenu->setCurrent(selectedSlot(), false);
    frame->addView(presetMenu);

    auto* rockerStrip = new CBitmap(kRockerId);
    presetRocker = new CPSRockerSwitch(CRect(269, h - 24, 300, h - 10), self, kRockerTag,
                                       kButtonFrameHeight, rockerStrip, CPoint(0, 0), kHorizontal,
                                       this);
    frame->addView(presetRocker);
    rockerStrip->forget();

    CSaveLoadButton** fileButtons[] = {&loadBankButton, &saveBankButton, &loadPresetButton,
                                       &savePresetButton};
    for (int i = 0; i < 4; ++i) {
        const FileButtonPlace& place = kFileButtons[i];
        auto* strip = new CBitmap(place.bitmap);
        *fileButtons[i] = new CSaveLoadButton(buttonRect(place.left, h - place.topFromBottom), self,
                                              place.tag, kButtonFrameHeight, strip, CPoint(0, 0),
                                              place.kind, this);
        frame->addView(*fileButtons[i]);
        strip->forget();
    }

    CPSOnOffButton** memoryButtons[] = {&recallAButton, &recallBButton, &storeAButton,
                                        &storeBButton};
    for (int i = 0; i < 4; ++i) {
        const MemoryButtonPlace& place = kMemoryButtons[i];
        auto* strip = new CBitmap(place.bitmap);
        *memoryButtons[i] = new CPSOnOffButton(buttonRect(place.left, h - place.topFromBottom),
                                               self, place.tag, strip, 0);
        frame->addView(*memoryButtons[i]);
        strip->forget();
    }

    background->forget();
    panelSync.shown();
    if (!presetPanelAvailable || !model.bank()) {
        nameField->setText(kPanelUnavailableText);
        for (CControl* control : std::initializer_list<CControl*>{
                 nameField, presetMenu, presetRocker, loadBankButton, saveBankButton,
                 loadPresetButton, savePresetButton, recallAButton, recallBButton, storeAButton,
                 storeBButton})
            control->setMouseEnabled(false);
    }
    return true;
}

void CPresetSystemEditor::forgetPanelControls() {
    nameField = nullptr;
    presetMenu = nullptr;
    presetRocker = nullptr;
    loadBankButton = saveBankButton = loadPresetButton = savePresetButton = nullptr;
    recallAButton = recallBButton = storeAButton = storeBButton = nullptr;
}

void CPresetSystemEditor::close() { forgetPanelControls(); }

// ----------------------------------------------------------------- editing

void CPresetSystemEditor::beginEdit(int index) { model.beginEdit(index); }

void CPresetSystemEditor::endEdit(int index) { model.endEdit(index); }

// --------------------------------------------------------- what is shown

void CPresetSystemEditor::displayPresetName(const char* name) {
    if (nameField) nameField->setText(name);
    if (presetMenu) {
        presetMenu->setEntry(presetMenu->getCurrent(nullptr, true), name);
        presetMenu->setEntry(0, name);
    }
}

void CPresetSystemEditor::setNameFieldText(const char* text) {
    if (nameField) nameField->setText(text);
}

void CPresetSystemEditor::setMenuEntryText(int entry, const char* text) {
    if (presetMenu) presetMenu->setEntry(entry, text);
}

void CPresetSystemEditor::selectMenuEntry(int slot) {
    if (presetMenu) presetMenu->setCurrent(slot, false);
}

void CPresetSystemEditor::presetRenamed(const char* text) {
    char cut[kProgramNameLength + 1] = {};
    for (int i = 0; text && i < kProgramNameLength && text[i]; ++i) cut[i] = text[i];
    if (nameField) nameField->setText(cut);
    if (presetMenu) {
        presetMenu->setEntry(presetMenu->getCurrent(nullptr, true), cut);
        presetMenu->setEntry(0, cut);
    }
    if (ProgramBank* bank = model.bank()) bank->renamePreset(cut, model.hostPort());
    // The panel shows what was typed already.
    if (frame) panelSync.shown();
}

void CPresetSystemEditor::presetChosen(int index, const char* name) {
    if (nameField) nameField->setText(name);
    if (presetMenu) presetMenu->setEntry(0, name);
    if (ProgramBank* bank = model.bank()) bank->selectPreset(index, model.hostPort());
    panelSync.shown();
    showParameterChanges();
}

void CPresetSystemEditor::stepPreset(bool up) {
    ProgramBank* bank = model.bank();
    if (!bank) return;
    int slot = bank->getCurrentPreset() + (up ? 1 : -1);
    if (slot < 0) slot = 0;
    if (slot > kBankPrograms - 1) slot = kBankPrograms - 1;
    if (presetMenu) presetMenu->setCurrent(slot, false);
    char name[25];
    slotName(slot, name);
    if (nameField) nameField->setText(name);
    if (presetMenu) presetMenu->setEntry(0, name);
    bank->selectPreset(slot, model.hostPort());
    panelSync.shown();
    showParameterChanges();
}

// ------------------------------------------------------------ the controls

void CPresetSystemEditor::valueChanged(CDrawContext*, CControl* control) {
    ProgramBank* bank = model.bank();
    if (!bank || !control) return;
    switch (control->getTag()) {
        case kNameFieldTag:
            if (control == nameField) presetRenamed(nameField->getText());
            break;
        case kPresetMenuTag:
            if (control == presetMenu) {
                char text[COptionMenu::kMaxEntryLength + 1];
                const int index = presetMenu->getCurrent(text, false);
                presetChosen(index, text);
            }
            break;
        case kRecallATag:
            bank->recallMemoA(model.hostPort());
            showBankChanges();
            break;
        case kRecallBTag:
            bank->recallMemoB(model.hostPort());
            showBankChanges();
            break;
        case kStoreATag: bank->storeMemoA(); break;
        case kStoreBTag: bank->storeMemoB(); break;
        default: break;  // the derived editor's own tags, and the rocker's wheel
    }
}

// The file operations show what they load themselves.
void CPresetSystemEditor::loadBank() {
    fileOperations.loadBank();
    if (frame) panelSync.shown();
    showParameterChanges();
}
void CPresetSystemEditor::saveBank() { fileOperations.saveBank(); }
void CPresetSystemEditor::loadPreset() {
    fileOperations.loadPreset();
    if (frame) panelSync.shown();
    showParameterChanges();
}
void CPresetSystemEditor::savePreset() { fileOperations.savePreset(); }

// -------------------------------------------------------------- hover pass

void CPresetSystemEditor::idle() {
    if (!frame) return;
    showBankChanges();
    CPoint where;
    frame->getCurrentLocation(where);
    CView* under = frame->getModalView();
    if (!under) under = frame->getViewAt(where);

    // Each button learns once whether it is the one under the pointer, so
    // that only a change redraws it.
    for (CSaveLoadButton* button :
         {loadBankButton, saveBankButton, loadPresetButton, savePresetButton})
        if (button) button->setHover(under == button);
    if (presetRocker) presetRocker->setHover(under == presetRocker, where);
    for (CPSOnOffButton* button : {recallAButton, recallBButton, storeAButton, storeBButton})
        if (button) button->setHover(under == button);
}
