// The handwriting page in the browser view: showing it and opening its pad.
#pragma once

#include "platform/controls.h"
#include "platform/services.h"
#include "web/webpage.h"

namespace lumiko::handwriting {

// The page's pad is opened by its first link whose address holds this.
inline constexpr const char* kPadLink = "javascript:void(0)";

// Whether text read from the page's field may be typed: printable GBK text
// on one line (characters of two bytes, and the visible ASCII characters and
// the space), with no tab, line break, DEL or any other control character.
// Anything else is refused whole: a line break would press Return in a
// terminal.
bool typable(const Text& text);
// The line that tells the developer of a refused text, its bytes that are
// not printable written as \xNN and its length capped.
Text refusalNote(const Text& text);

// Where the view may go: the page itself (also to a place in it) and the
// pad's own addresses; the page's scripts (javascript:) and the empty page
// about:blank stay in the view too. `page` is the page's path as the core
// wrote it or its file:// address; `address` is what the browser engine
// reports, percent-escapes of ASCII characters allowed. Anything else, in
// particular every other file and every web address, is refused.
bool viewMayGo(const Text& address, const Text& page);
// Whether an address the page asks to open in a new window (or that a link
// leads to) is handed to the desktop's web browser: http and https only.
bool opensOutside(const Text& address);

// Shows the browser view in place of the picture that covers it.
void showPage(Control& view, Control& cover);

// Opening the pad from the tray and the menu. Without a network the page's
// script cannot have loaded the pad; the page is reloaded instead, so that
// its script tries again and the pad is there once the network is back.
void openPad(Network& network, Browser& browser, WebPage& page);

// The page asked for a new browser window. The browser goes on with its own
// handling; the pad is opened besides, when there is a network.
void newWindowRequested(Network& network, WebPage& page);

}  // namespace lumiko::handwriting
