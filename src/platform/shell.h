// The panel shell: everything a desktop front-end does between a native
// event and the core, written once for every desktop. It runs the core's
// handlers one at a time, turns the mouse into the controls' events (with
// the hit tests of the grid and the list box and the dragging of the panel),
// walks the menu, takes the tray clicks and the timer, and decides when the
// panel must be painted again. A front-end keeps only what is native: its
// windows, painting with its toolkit, the tray icon, message boxes and the
// typing into other programs. The shell is a front-end's only door to the
// core: it holds the App and shows the front-end the form it draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/panelform.h"
#include "web/settingsform.h"  // the other form a front-end draws
#include "platform/pointer.h"
#include "platform/services.h"

namespace lumiko {

class App;

// What the pointer is over, for painting hover and press feedback.
struct PointerState {
    const Control* hovered = nullptr;
    const Control* pressed = nullptr;
    int gridRow = -1, gridCol = -1;  // the hovered cell of a grid, or -1
};

// How a front-end lays out a list box: the height of one line and the
// distance of the first line from the box's top, in the form's pixels.
struct ListMetrics {
    int line = 16;
    int inset = 2;
};

enum class TrayClick { Left, Right };

// One step of a walk over the menu (see PanelShell::walkMenu).
struct MenuVisitor {
    virtual ~MenuVisitor() = default;
    // A command: `id` (1, 2, …) is what chooseMenu() takes back.
    virtual void item(const Text& caption, bool checked, int id) = 0;
    virtual void separator() = 0;
    virtual void beginSubmenu(const Text& caption) = 0;
    virtual void endSubmenu() = 0;
};

class PanelShell {
public:
    // A shell over its own App, which works through `services`.
    PanelShell(Services& services, ListMetrics list);
    // A shell over an App made elsewhere (the tests).
    PanelShell(App& app, ListMetrics list);
    ~PanelShell();
    PanelShell(const PanelShell&) = delete;
    PanelShell& operator=(const PanelShell&) = delete;

    // What the front-end draws and keeps its windows in line with.
    const PanelForm& form() const { return form_; }
    // The dictionary settings window's form once the menu opened it, else
    // null; the front-end's settings window shows it and hands its events
    // to its controls through dispatch().
    SettingsForm* settingsForm();
    // True once the menu's 退出 ended the program.
    bool exited() const;

    // The core's start-up, and the handwriting page asking for a new
    // window; both are handlers, run through dispatch().
    void startUp();
    void newWindowRequested();

    // The window system moved the panel, or minimised or restored it: the
    // form follows (the core's handlers are not involved).
    void windowMoved(int left, int top);
    void windowMinimized(bool minimized);
    // The panel was hidden where nothing could show it again (a session
    // without a tray): it shows as its strip instead.
    void hiddenWithNoWayBack();

    // Runs a core handler, unless one is already running (a message box or a
    // menu runs an event loop inside its handler: events arriving meanwhile
    // are dropped, so handlers never overlap) or the program has ended.
    // After the outermost handler, onSettled brings the windows in line.
    // Returns whether the handler ran.
    bool dispatch(const std::function<void()>& handler);
    bool busy() const { return depth_ > 0; }
    // Brings the front-end's windows in line with the form (set by the
    // front-end; runs after every handler).
    std::function<void()> onSettled;
    // Runs a native loop that must not be interrupted by the core (a popup
    // menu): handlers arriving meanwhile are dropped as during a handler.
    void hold(const std::function<void()>& nativeLoop);

    // The zoom in percent: 100 draws the form in its own pixels. A front-end
    // that draws the form zoomed scales its drawing and its window by
    // scaled() and hands the shell the window's pixels, which the shell maps
    // back to the form's, so that the core and the hit tests keep the form's
    // pixels at every zoom.
    void setZoom(int percent);
    int zoom() const { return zoom_; }
    // The monitor's pixels per inch, for a front-end whose toolkit leaves
    // the desktop's scale to it (Windows): the panel is drawn at dpi / 96
    // times the zoom. 96, the default, leaves the zoom alone; the menu's
    // check mark and the stored choice stay the user's zoom.
    void setDpi(int dpi);
    int dpi() const { return dpi_; }
    // A length or position of the form in the window's pixels, and back.
    int scaled(int formPixels) const;
    int formPixels(int windowPixels) const;
    // Places the zoomed panel as start-up places it at 100 %: 60 pixels off
    // the bottom-right corner of the screen, or nearer to it when a large
    // zoom leaves no room for the 60 pixels.
    void placeOnScreen(int screenWidth, int screenHeight);
    // Moves the zoomed panel the least that brings it whole onto the screen
    // area (left, top, width, height); a panel larger than the area keeps
    // its top-left corner on it.
    void keepOnScreen(int areaLeft, int areaTop, int areaWidth, int areaHeight);
    // The zooms the menu's "缩放" offers, smallest first.
    static const std::vector<int>& zoomChoices();
    // A zoom written as the user writes it ("150" or "150%"), or 0 when the
    // text is not a whole number of percent in the range setZoom() keeps.
    static int parseZoom(std::string_view text);
    // Runs after the user chose a zoom from the menu and setZoom() took it:
    // the front-end resizes its window, keeps it on the screen and stores
    // the choice for the next start. The menu offers the zooms only when it
    // is set.
    std::function<void()> onZoomChosen;
    // The panel's entry among the programs the session starts, set by a
    // front-end that offers "登录时启动" (the shell does not own it).
    SessionStart* sessionStart = nullptr;

    // The mouse over the panel, in the window's client coordinates; `screenX`,
    // `screenY` is the same point on the screen (dragging moves the panel by
    // it). A double click is the second press of a left button.
    void press(MouseButton button, int x, int y, int screenX, int screenY);
    void doubleClick(int x, int y, int screenX, int screenY);
    void move(int x, int y, int screenX, int screenY);
    void release(MouseButton button, int x, int y);
    // The pointer left the panel (or entered a child window over it).
    void leave();
    // The native capture was taken away: any press or drag ends.
    void cancelPress();
    bool dragging() const { return dragging_; }

    const PointerState& pointer() const { return pointer_; }
    Pointer pointerAt(int x, int y) const;

    // True when everything the page told of has been read and typed: the
    // front-end may then let its page go.
    bool pageSettled() const;
    // The timer. A tick with nothing to commit changes nothing drawn, so
    // only a tick with text to commit brings the windows in line.
    void tick();
    // How often the timer must tick now. Shown, or with text queued, at the
    // front-end's usual period. Hidden with nothing queued a tick has
    // nothing to do (focus is tracked only while shown) but read the page's
    // field, which the pad may still fill: slowly while the browser view
    // exists (`pageMade`), and not at all before. Shown, with no page and
    // nothing queued, a tick only records the focus: a front-end whose
    // typing learns of focus changes from events (`focusSettled`: the focus
    // last recorded still holds) stops its timer until one comes. A
    // front-end asks again after every handler, tick and such event, and
    // starts or stops its timer.
    enum class TickRate { Usual, Slow, Stopped };
    TickRate tickRate(bool pageMade, bool focusSettled = false) const { return tickRate(pageMade, focusSettled, false); }
    // A front-end whose page tells when the field the tick reads changes
    // (`pageTells`, with pageChanged() at every change) needs no ticks to
    // look at it: its made page counts as none, shown or hidden, and the
    // timer runs only from a change until a tick has read the field.
    TickRate tickRate(bool pageMade, bool focusSettled, bool pageTells) const;
    // The same as the timer's period in milliseconds, `usualMs` for the
    // usual rate, 0 when it must stop.
    int tickPeriod(int usualMs, bool pageMade, bool focusSettled = false, bool pageTells = false) const;
    // The page's field has something new: ticks run until one has read it.
    void pageChanged() { pageNews_ = true; }
    // The period of the slow ticks: text the pad recognises while the panel
    // is hidden is still typed, within half a second.
    static constexpr int kSlowTickMs = 500;
    void trayClick(TrayClick click);
    // A second start of the program asked this panel to show itself: a
    // hidden panel is shown as a click on the tray icon shows it; a shown
    // one stays as it is.
    void showRequest();
    // The window system asked to close the panel.
    void closeRequest();

    // Walks the menu with the check marks of the moment; chooseMenu() takes
    // the id of an item of the last walk. For a front-end that draws the
    // panel zoomed (one that sets onZoomChosen) the submenu "缩放", with a
    // check mark on the current zoom, ends the submenu "帮助/其它"; after it,
    // for a front-end that sets sessionStart, "登录时启动", checked while the
    // session starts the panel.
    void walkMenu(MenuVisitor& visitor);
    void chooseMenu(int id);

    // True when anything drawn (the shown controls or the pointer's
    // feedback) changed since the last call that answered true.
    bool needsRepaint();

    // The list line at y of the list box's own coordinates, -1 outside
    // every line.
    int listLineAt(const Control& list, int y) const;

private:
    void pressAt(MouseButton button, int x, int y, int screenX, int screenY, bool second);
    void hoverAt(int x, int y);
    std::uint64_t drawnState() const;
    void walk(MenuVisitor& visitor, const std::vector<MenuItem>& items);

    std::unique_ptr<App> ownApp_;  // when the shell made its App
    App& app_;
    PanelForm& form_;
    ListMetrics list_;
    PointerRouter router_;
    PointerState pointer_;
    int depth_ = 0;
    bool pageNews_ = false;  // pageChanged() since the last tick that read the page
    int zoom_ = 100;
    int dpi_ = 96;
    std::uint64_t drawn_ = 0;
    // The items of the last menu walk, by id: a core item's name, or a zoom.
    struct MenuChoice {
        std::string name;
        int zoom = 0;
        bool sessionStart = false;
    };
    void toggleSessionStart();
    std::vector<MenuChoice> menuChoices_;

    // Dragging the panel by its background.
    bool pressed_ = false;  // a press reached the panel and waits for its release
    bool dragArmed_ = false, dragging_ = false;
    int dragScreenX_ = 0, dragScreenY_ = 0, dragLeft_ = 0, dragTop_ = 0;
};

}  // namespace lumiko
