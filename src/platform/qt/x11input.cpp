#include "platform/qt/x11input.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <vector>

namespace lumiko::desktop {

namespace {
using Clock = std::chrono::steady_clock;

// Failed requests (a window that is gone, a denied mapping change) are
// expected here and change nothing; without a handler Xlib would end the
// program on the first one.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }
}  // namespace

unsigned long keysymFor(char32_t cp) {
    switch (cp) {
    case 0x08: return XK_BackSpace;
    case 0x09: return XK_Tab;
    case 0x0A:
    case 0x0D: return XK_Return;
    case 0x1B: return XK_Escape;
    default: break;
    }
    if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0) || cp > 0x10FFFF) return 0;
    if (cp < 0x100) return cp;
    return 0x01000000UL | cp;
}

struct X11Input::Impl {
    Display* dpy = nullptr;
    bool xtest = false;
    int minKeycode = 0, maxKeycode = 0, symsPerKeycode = 0;

    // A keycode lent to characters that have no key of their own.
    struct Spare {
        KeyCode keycode = 0;
        std::vector<KeySym> own;  // its mapping when not lent
        KeySym lent = NoSymbol;
        Clock::time_point used{};
    };
    std::vector<Spare> spares;

    void findSpares() {
        int per = 0;
        const int count = maxKeycode - minKeycode + 1;
        KeySym* map = XGetKeyboardMapping(dpy, static_cast<KeyCode>(minKeycode), count, &per);
        if (!map) return;
        symsPerKeycode = per;
        auto own = [&](int kc) {
            const KeySym* row = map + (kc - minKeycode) * per;
            return std::vector<KeySym>(row, row + per);
        };
        // Keycodes without any keysym first, from the top of the range.
        for (int kc = maxKeycode; kc >= minKeycode && spares.size() < 8; --kc) {
            const auto syms = own(kc);
            if (std::all_of(syms.begin(), syms.end(), [](KeySym s) { return s == NoSymbol; }))
                spares.push_back({static_cast<KeyCode>(kc), syms});
        }
        // A layout that uses every keycode lends its last ones; they get their
        // keysyms back when idle.
        for (int kc = maxKeycode; kc >= minKeycode && spares.size() < 2; --kc)
            if (std::none_of(spares.begin(), spares.end(), [&](const Spare& s) { return s.keycode == kc; }))
                spares.push_back({static_cast<KeyCode>(kc), own(kc)});
        XFree(map);
    }

    // The focus as the server last told it, kept until an event says it may
    // have moved: the timer asks for it many times a second, and a question
    // to the server each time would wake both processes for nothing. The
    // focused window tells this connection when it loses the focus (to any
    // window, an inner one included) or goes away; the root window tells
    // when the focus leaves or takes None or the pointer-root mode.
    Window watched = None;  // the window whose focus changes this connection hears
    Window focus = None;
    bool focusKnown = false;

    // Reads what arrived on this connection; keeps Xlib's copy of the key
    // mapping current when the layout (or a spare keycode) changes, and
    // forgets the focus when it may have moved.
    void drain() {
        while (XPending(dpy) > 0) {
            XEvent e;
            XNextEvent(dpy, &e);
            switch (e.type) {
            case MappingNotify: XRefreshKeyboardMapping(&e.xmapping); break;
            case FocusIn:
            case FocusOut:
            case UnmapNotify:
            case DestroyNotify:
            case ReparentNotify: focusKnown = false; break;
            default: break;
            }
        }
    }

    static bool isWindow(Window w) { return w != None && w != PointerRoot; }

    long maskOf(Window w) const {
        const Window root = DefaultRootWindow(dpy);
        long mask = w == root ? FocusChangeMask : NoEventMask;
        if (w == watched && isWindow(w)) mask |= FocusChangeMask | (w == root ? 0 : StructureNotifyMask);
        return mask;
    }

    // The focus now. A window newly seen is watched first and asked about
    // again, so that a change between the question and the watching is
    // never missed.
    Window currentFocus() {
        drain();
        if (focusKnown) return focus;
        for (int attempt = 0; attempt < 4; ++attempt) {
            Window now = None;
            int revert = 0;
            XGetInputFocus(dpy, &now, &revert);
            if (now == watched) {
                focus = now;
                focusKnown = true;
                return focus;
            }
            const Window before = watched;
            watched = now;
            if (isWindow(before)) XSelectInput(dpy, before, maskOf(before));
            if (isWindow(now)) XSelectInput(dpy, now, maskOf(now));
            focus = now;
        }
        return focus;  // still moving: asked again next time
    }

    Spare* spareFor(KeySym sym) {
        for (auto& s : spares)
            if (s.lent == sym) return &s;
        return nullptr;
    }

    bool isSpare(KeyCode kc) const {
        return std::any_of(spares.begin(), spares.end(), [&](const Spare& s) { return s.keycode == kc; });
    }

    // The keycode that types `sym`, and whether Shift is needed; borrows a
    // spare keycode for a keysym that no key has.
    KeyCode keycodeFor(KeySym sym, bool& shift) {
        shift = false;
        if (Spare* s = spareFor(sym)) {
            s->used = Clock::now();
            return s->keycode;
        }
        const KeyCode kc = XKeysymToKeycode(dpy, sym);
        if (kc != 0 && !isSpare(kc)) {
            if (XkbKeycodeToKeysym(dpy, kc, 0, 0) == sym) return kc;
            if (XkbKeycodeToKeysym(dpy, kc, 0, 1) == sym) {
                shift = true;
                return kc;
            }
        }
        return lend(sym);
    }

    KeyCode lend(KeySym sym) {
        if (spares.empty() || symsPerKeycode <= 0) return 0;
        // The spare used longest ago; one still being read by an application
        // is reused last.
        Spare& s = *std::min_element(spares.begin(), spares.end(),
                                     [](const Spare& a, const Spare& b) { return a.used < b.used; });
        std::vector<KeySym> syms(static_cast<size_t>(symsPerKeycode), sym);
        XChangeKeyboardMapping(dpy, s.keycode, symsPerKeycode, syms.data(), 1);
        XSync(dpy, False);
        s.lent = sym;
        s.used = Clock::now();
        return s.keycode;
    }

    void giveBack(Spare& s) {
        std::vector<KeySym> syms = s.own;
        XChangeKeyboardMapping(dpy, s.keycode, static_cast<int>(syms.size()), syms.data(), 1);
        s.lent = NoSymbol;
    }

    void fakeKey(KeyCode kc, bool shift) {
        const KeyCode shiftKc = XKeysymToKeycode(dpy, XK_Shift_L);
        if (shift && shiftKc) XTestFakeKeyEvent(dpy, shiftKc, True, CurrentTime);
        XTestFakeKeyEvent(dpy, kc, True, CurrentTime);
        XTestFakeKeyEvent(dpy, kc, False, CurrentTime);
        if (shift && shiftKc) XTestFakeKeyEvent(dpy, shiftKc, False, CurrentTime);
    }

    void sendKeyEvents(Window target, KeyCode kc, bool shift) {
        XKeyEvent ev{};
        ev.display = dpy;
        ev.window = target;
        ev.root = DefaultRootWindow(dpy);
        ev.subwindow = None;
        ev.time = CurrentTime;
        ev.x = ev.y = ev.x_root = ev.y_root = 1;
        ev.same_screen = True;
        ev.keycode = kc;
        ev.state = shift ? ShiftMask : 0;
        ev.type = KeyPress;
        XSendEvent(dpy, target, True, KeyPressMask, reinterpret_cast<XEvent*>(&ev));
        ev.type = KeyRelease;
        XSendEvent(dpy, target, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&ev));
    }
};

X11Input::X11Input() : d_(std::make_unique<Impl>()) {
    XSetErrorHandler(ignoreErrors);
    d_->dpy = XOpenDisplay(nullptr);
    if (!d_->dpy) return;
    int event = 0, error = 0, major = 0, minor = 0;
    d_->xtest = XTestQueryExtension(d_->dpy, &event, &error, &major, &minor) == True;
    XDisplayKeycodes(d_->dpy, &d_->minKeycode, &d_->maxKeycode);
    d_->findSpares();
    XSelectInput(d_->dpy, DefaultRootWindow(d_->dpy), FocusChangeMask);
}

X11Input::~X11Input() {
    if (!d_->dpy) return;
    for (auto& s : d_->spares)
        if (s.lent != NoSymbol) d_->giveBack(s);
    XSync(d_->dpy, False);
    XCloseDisplay(d_->dpy);
}

bool X11Input::connected() const { return d_->dpy != nullptr; }

bool X11Input::focusedWindow(std::uint64_t& window) {
    if (!d_->dpy) return false;
    const Window focus = d_->currentFocus();
    if (!Impl::isWindow(focus)) return false;
    window = focus;
    return true;
}

void X11Input::typeChar(std::uint64_t window, char32_t cp) {
    if (!d_->dpy || window == 0) return;
    const KeySym sym = keysymFor(cp);
    if (sym == 0) return;
    d_->drain();
    bool shift = false;
    const KeyCode kc = d_->keycodeFor(sym, shift);
    if (kc == 0) return;
    if (d_->xtest && d_->currentFocus() == window) d_->fakeKey(kc, shift);
    else d_->sendKeyEvents(static_cast<Window>(window), kc, shift);
    XFlush(d_->dpy);
}

void X11Input::pressKey(Key key) {
    if (!d_->dpy || !d_->xtest) return;
    d_->drain();
    auto code = [&](KeySym sym) { return XKeysymToKeycode(d_->dpy, sym); };
    switch (key) {
    case Key::Backspace: d_->fakeKey(code(XK_BackSpace), false); break;
    case Key::Space: d_->fakeKey(code(XK_space), false); break;
    case Key::Enter: d_->fakeKey(code(XK_Return), false); break;
    case Key::CtrlV: {
        const KeyCode ctrl = code(XK_Control_L);
        bool shift = false;
        const KeyCode v = d_->keycodeFor(XK_v, shift);
        if (!ctrl || !v) break;
        XTestFakeKeyEvent(d_->dpy, ctrl, True, CurrentTime);
        d_->fakeKey(v, shift);
        XTestFakeKeyEvent(d_->dpy, ctrl, False, CurrentTime);
        break;
    }
    }
    XFlush(d_->dpy);
}

void X11Input::refuseFocus(std::uint64_t window) {
    if (!d_->dpy || window == 0) return;
    const Window w = static_cast<Window>(window);
    XWMHints* hints = XGetWMHints(d_->dpy, w);
    XWMHints none{};
    XWMHints* h = hints ? hints : &none;
    h->flags |= InputHint;
    h->input = False;
    XSetWMHints(d_->dpy, w, h);
    if (hints) XFree(hints);

    Atom* protocols = nullptr;
    int count = 0;
    if (XGetWMProtocols(d_->dpy, w, &protocols, &count) && protocols) {
        const Atom takeFocus = XInternAtom(d_->dpy, "WM_TAKE_FOCUS", False);
        std::vector<Atom> kept;
        for (int i = 0; i < count; ++i)
            if (protocols[i] != takeFocus) kept.push_back(protocols[i]);
        if (static_cast<int>(kept.size()) != count)
            XSetWMProtocols(d_->dpy, w, kept.data(), static_cast<int>(kept.size()));
        XFree(protocols);
    }
    XSync(d_->dpy, False);
}

void X11Input::setInitialState(std::uint64_t window, bool minimised) {
    if (!d_->dpy || window == 0) return;
    const Window w = static_cast<Window>(window);
    XWMHints* hints = XGetWMHints(d_->dpy, w);
    XWMHints none{};
    XWMHints* h = hints ? hints : &none;
    h->flags |= StateHint;
    h->initial_state = minimised ? IconicState : NormalState;
    XSetWMHints(d_->dpy, w, h);
    if (hints) XFree(hints);
    XSync(d_->dpy, False);
}

bool X11Input::settled() {
    if (!d_->dpy) return false;
    d_->drain();
    return d_->focusKnown;
}

int X11Input::connectionNumber() const { return d_->dpy ? ConnectionNumber(d_->dpy) : -1; }

bool X11Input::releaseSpareKeys(std::chrono::milliseconds idle) {
    if (!d_->dpy) return false;
    const auto now = Clock::now();
    bool changed = false, lent = false;
    for (auto& s : d_->spares) {
        if (s.lent != NoSymbol && now - s.used >= idle) {
            d_->giveBack(s);
            changed = true;
        }
        lent = lent || s.lent != NoSymbol;
    }
    if (changed) XFlush(d_->dpy);
    return lent;
}

}  // namespace lumiko::desktop
