// The panel's core: it holds the global state and the panel form, ties the
// input side, the palette and the web page to them, and has every operation
// and handler. Front-ends and the simulator construct one App over their
// services, call startUp(), then forward events to the controls' handlers,
// the tray, the menu and the timer.
#pragma once

#include <memory>

#include "app/globals.h"
#include "app/learning.h"
#include "app/panelform.h"
#include "engine/wordhints.h"
#include "input/input.h"
#include "platform/services.h"
#include "web/settingsform.h"
#include "web/webpage.h"

namespace lumiko {

class App : private input::Searches {
public:
    explicit App(Services& services);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Globals g;
    PanelForm form;
    WebPage webPage;
    std::unique_ptr<SettingsForm> settings;  // the dictionary settings window, once opened
    FileLayout files;                        // where the tables and the user's files are, from start-up
    bool exited = false;

    // Start-up and panel shell.
    void startUp();
    void tick();
    // Whether the next tick may commit text or open the pad; any other tick
    // changes nothing a front-end draws.
    bool tickMayCommit() const;
    // Whether the first tick, which makes the tables' indexes, has run.
    bool firstTickDone() const { return indexesPrepared_; }
    void refreshInfoStrip();
    void trayLeftClick();
    void trayRightClick();
    // A close request from the window system: hides the panel; returns false
    // (the window must not close).
    bool closeRequest();
    void chooseMenu(std::string_view item);
    void backspace();
    void openPad();
    void showPanel();
    void hidePanel();
    void help();
    void about();
    void updateCheck();
    static Text extractVersion(std::string_view page);

    // Candidate engine.
    void searchCandidates(int paging, int backward) override;
    void layoutCandidates();
    void showWordHints();
    void fillHintStrip(int paging, int backward) override;
    // The strip shows `items` (word hints or the basic strokes), not paged.
    void showStrip(CandidateList items);
    void learnedWordsFirst(const Text& c, CandidateList& words);
    void commitText(Text& text);
    void commitText(Text&& text) override { commitText(text); }

    // Modes, keypad, code box, grid: input/ over the panel's form and state.
    Mode mode() const { return input::modeOf(form); }
    bool strokeMode() const { return input::strokeMode(form); }
    void enterStrokeMode() { input_.enterStrokeMode(); }
    void enterFourCornerMode() { input_.enterFourCornerMode(); }
    void enterExtraStrokeMode() { input_.enterExtraStrokeMode(); }
    void clearInput() { input_.clearInput(); }
    void hidePageButtons() { input_.hidePageButtons(); }
    void showPageButtons() { input_.showPageButtons(); }
    void showUpperKeys() { input_.showUpperKeys(); }
    void hideUpperKeys() { input_.hideUpperKeys(); }
    void pressKey(int k) { input_.pressKey(k); }
    void codeChanged() { input_.codeChanged(); }
    void gridHover(int x, int y) { input_.gridHover(x, y); }
    void gridClick() { input_.gridClick(); }
    void pickText() { input_.pickText(); }
    void usePickAsPrefix() { input_.usePickAsPrefix(); }

    // Word-hint strip, symbol palette, date page.
    void stripMouseMove(int x);
    void stripRelease(int x);
    void togglePalette();
    void showSymbolPage(int page);  // 0 字母 … 10 俄文字母
    void showDatePage();
    void dateLineChosen();
    void paletteCellPicked();

    // Handwriting page and dictionary settings.
    void showHandwritingPage();
    void newWindowRequested();
    void openSettings();
    void settingsSelected();
    void settingsSave();
    void settingsOpenFolder();
    void settingsDownloadLink();

    Services& services() { return svc_; }
    const Learning& learning() const { return learning_; }
    // Whether the pick memory waits to be written (the timer must run).
    bool learningUnsaved() const { return learning_.waitingToSave(); }

private:
    void wireHandlers();
    void loadTables();
    void prepareIndexes();
    Text readDictionaryChoice();
    void openLink(const Text& target);
    // The reordering step for the grid's list now, or null for the shipped order.
    const CandidateOrder* gridOrder() { return learning_.order(g.gridListKind); }
    // The kind of list a search of g.searchTable for g.searchCode is.
    char listKind() const;
    // Reads the pick memory at start-up; tells a damaged file once.
    void loadLearning(const Text& path);
    // Writes the pick memory when due (`force`: now); tells a failure once.
    void saveLearning(bool force);

    Services& svc_;
    Learning learning_{svc_};
    input::Input input_{form, g, *this};
    WordHints wordHints_;
    bool indexesPrepared_ = false;
    Text tableProblems_;  // what start-up tells about unusable code tables
};

}  // namespace lumiko
