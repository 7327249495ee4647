// A control that shows a list of entries in a pop-up menu and selects the
// one the user chooses. Entries "-" are separators, "-T..." titles, "-G..."
// greyed entries and "-M..." submenu places (not shown).
#pragma once

#include <string>
#include <vector>

#include "CParamDisplay.h"

namespace gui {

class COptionMenu : public CParamDisplay {
public:
    static constexpr int kMaxEntries = 1024;
    static constexpr int kMaxEntryLength = 255;

    COptionMenu(const CRect& size, CControlListener* listener, int tag,
                CBitmap* background = nullptr, CBitmap* bgWhenClick = nullptr, int style = 0);
    ~COptionMenu() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;
    // Shows the pop-up menu and waits for the user's choice.
    void takeFocus(CDrawContext* context = nullptr) override;

    // Appends (index -1 or past the end) or inserts; fails beyond 1024 entries.
    virtual bool addEntry(const char* text, int index = -1);
    // The current entry: its raw position when countSeparator is true, else the
    // number of entries before it that are neither separators nor titles. Copies
    // its text to `text` (256 bytes) if given. -1 when the menu is empty.
    virtual int getCurrent(char* text = nullptr, bool countSeparator = true) const;
    virtual bool setCurrent(int index, bool countSeparator = true);
    virtual bool getEntry(int index, char* text) const;
    virtual bool setEntry(int index, const char* text);
    virtual bool removeEntry(int index);
    virtual bool removeAllEntry();
    virtual int getNbEntries() const;
    virtual int getIndex(const char* text) const;
    virtual bool checkEntry(int index, bool state);
    virtual bool checkEntryAlone(int index);
    virtual bool isCheckEntry(int index) const;
    virtual void setNbItemsPerColumn(int count);
    virtual int getNbItemsPerColumn() const;
    // The menu whose entry was chosen last (this one), or null.
    virtual COptionMenu* getLastResult() const;
    // Shows "1. ", "2. " ... before the entries in the pop-up when on.
    virtual void setPrefixNumbers(bool state);

    int getLastButton() const { return lastButton; }

private:
    static bool isSeparator(const std::string& entry) { return entry == "-"; }
    static bool isTitle(const std::string& entry) { return entry.rfind("-T", 0) == 0; }
    void select(int rawIndex);

    std::vector<std::string> entries;
    std::vector<bool> checked;
    int currentIndex = -1;
    int nbItemsPerColumn = 0;
    int lastButton = 0;
    COptionMenu* lastResult = nullptr;
    CBitmap* bgWhenClick;
    bool prefixNumbers = false;
};

}  // namespace gui
