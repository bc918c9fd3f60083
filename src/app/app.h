// The panel's core: global state, the panel form, and every operation and
// handler. Front-ends and the simulator construct one App over their
// services, call startUp(), then forward events to the controls' handlers,
// the tray, the menu and the timer.
#pragma once

#include <memory>

#include "app/globals.h"
#include "app/panelform.h"
#include "engine/wordhints.h"
#include "platform/services.h"
#include "web/webpage.h"

namespace lumiko {

enum class Mode { Stroke, ExtraStroke, FourCorner };

class App {
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
    void searchCandidates(int paging, int backward);
    void layoutCandidates();
    void showWordHints();
    void fillHintStrip(int paging, int backward);
    void commitText(Text& text);
    void commitText(Text&& text) { commitText(text); }

    // Modes, keypad, code box, grid.
    Mode mode() const;
    bool strokeMode() const;
    void enterStrokeMode();
    void enterFourCornerMode();
    void enterExtraStrokeMode();
    void clearInput();
    void hidePageButtons();
    void showPageButtons();
    void showUpperKeys();
    void hideUpperKeys();
    void pressKey(int k);
    void codeChanged();
    void gridHover(int x, int y);
    void gridClick();
    void pickText();
    void usePickAsPrefix();

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

private:
    void wireHandlers();
    void loadTables();
    void prepareIndexes();
    Text readDictionaryChoice();
    void openLink(const Text& target);

    Services& svc_;
    WordHintIndex wordHints_;
    bool indexesPrepared_ = false;
    Text tableProblems_;  // what start-up tells about unusable code tables
};

}  // namespace lumiko
