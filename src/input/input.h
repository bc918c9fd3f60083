// The input side of the panel: the three modes, the keypad, the hidden code
// box and the character grid, working on the panel's controls and state.
// What they ask of the rest of the panel (filling the grid and the strip,
// committing a text) goes through Searches, which App provides.
#pragma once

#include "app/globals.h"
#include "app/panelform.h"
#include "engine/gbktext.h"
#include "engine/sharedtext.h"

namespace lumiko {

enum class Mode { Stroke, ExtraStroke, FourCorner };

namespace input {

// The mode lives in the panel itself: the strip is 415 pixels wide in stroke
// mode, and key 10 shows the ring in extra-stroke mode.
Mode modeOf(const PanelForm& form);
bool strokeMode(const PanelForm& form);

// The searches and the commit the input handlers start.
class Searches {
public:
    virtual void searchCandidates(int paging, int backward) = 0;
    virtual void fillHintStrip(int paging, int backward) = 0;
    virtual void commitText(Text&& text) = 0;

protected:
    ~Searches() = default;
};

class Input {
public:
    Input(PanelForm& panel, Globals& state, Searches& searches) : form(panel), g(state), searches_(searches) {}

    void enterStrokeMode();
    void enterFourCornerMode();
    void enterExtraStrokeMode();
    void clearInput();
    void hidePageButtons();
    void showPageButtons();
    void showUpperKeys();
    void hideUpperKeys();
    // Keys 1 to 10 of the keypad.
    void pressKey(int k);
    // Runs on every assignment of the code box 编辑框2.
    void codeChanged();
    void gridHover(int x, int y);
    void gridClick();
    // Commits g.pickedText, or in stroke mode after two picks makes it the
    // code's component.
    void pickText();
    void usePickAsPrefix();

private:
    void enterTenKeyMode(const char* const (&pictures)[10]);
    void showKeypad(const char* const* pictures, size_t count);
    void listFromStart(SharedText list);

    PanelForm& form;
    Globals& g;
    Searches& searches_;
};

}  // namespace input
}  // namespace lumiko
